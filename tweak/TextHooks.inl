// Text colour replacements: the rules of each hooked method, in the order of their tests.
#include "ClassTests.h"
#include "Decision.h"
#include "NSAttributedString+color.h"
#include "ThemeState.h"
#include "UIColor+Tarnwick.h"
#include "ViewQueries.h"

#include <Foundation/Foundation.h>

namespace obscuro {

namespace text {
inline id foregroundColorKey() { return NSForegroundColorAttributeName; }
}  // namespace text

template <std::size_t Entry>
void textSetTextColor(id self, SEL cmd, id colour) {
    callThrough<Entry>(self, cmd, enabled ? mainTextColor : colour);
}

template <std::size_t Entry>
id textTextColor(id self, SEL cmd) {
    if (!enabled) return callThrough<Entry, id>(self, cmd);
    return mainTextColor;
}

template <std::size_t Entry>
void textSetAttributedText(id self, SEL cmd, id attributedText) {
    callThrough<Entry>(self, cmd, enabled ? replaceColorsWith(attributedText, mainTextColor) : attributedText);
}

template <std::size_t Entry>
id textViewLinkTextAttributes(id self, SEL cmd) {
    bool active = enabled;  // read before calling through
    id attributes = callThrough<Entry, id>(self, cmd);
    if (!active) return attributes;
    id mutableAttributes = attributes ? msg<id>(attributes, sel<"mutableCopy">())
                                      : msg<id>(objc_getClass("NSMutableDictionary"), sel<"new">());
    objc::autorelease(mutableAttributes);
    msg<void>(mutableAttributes, sel<"setObject:forKey:">(), offsetColor(mainTextColor), text::foregroundColorKey());
    return objc::autorelease(msg<id>(mutableAttributes, sel<"copy">()));
}

template <std::size_t Entry>
id labelTextColor(id self, SEL cmd) {
    id colour = callThrough<Entry, id>(self, cmd);
    if (enabled && hexIs(colour, "#FF2D55")) return mainTextColor;
    return colour;
}

template <std::size_t Entry>
void labelSetTextColor(id self, SEL cmd, id colour) {
    Decided<id> decision = decideLabelTextColour(self, colour);
    reportDecision(Entry, self, decision.step, colour, decision.outcome);
    callThrough<Entry>(self, cmd, decision.outcome);
}

template <std::size_t Entry>
id labelTintColor(id self, SEL cmd) {
    Decided<bool> keepsOwn = decideLabelTintKeepsOwn(self);
    id tint = keepsOwn.outcome ? callThrough<Entry, id>(self, cmd) : mainTextColor;
    reportDecision(Entry, self, keepsOwn.step, id{nullptr}, tint);
    return tint;
}

// A class method: the receiver is the label class itself.
template <std::size_t Entry>
id labelDefaultAttributes(id self, SEL cmd) {
    id attributes = callThrough<Entry, id>(self, cmd);
    if (!enabled || classNameBeginsWithUnderscore(reinterpret_cast<Class>(self))) return attributes;
    id mutableAttributes = attributes ? msg<id>(attributes, sel<"mutableCopy">())
                                      : msg<id>(objc_getClass("NSMutableDictionary"), sel<"new">());
    objc::autorelease(mutableAttributes);
    msg<void>(mutableAttributes, sel<"setObject:forKey:">(), mainTextColor, text::foregroundColorKey());
    return mutableAttributes;
}

template <std::size_t Entry>
void labelSetAttributedText(id self, SEL cmd, id attributedText) {
    if (!enabled || classNameBeginsWithUnderscore(object_getClass(self))) return callThrough<Entry>(self, cmd, attributedText);
    callThrough<Entry>(self, cmd, replaceColorsWith(attributedText, mainTextColor));
}

// No enabled test: the colour is forced while ColorFlow colours the app's own text drawing.
template <std::size_t Entry>
void textDrawingViewDrawRect(id self, SEL cmd, CGRect rect) {
    if (!colorFlowMusicEnabled) return callThrough<Entry>(self, cmd, rect);
    replaceMember(textDrawingColor, mainTextColor);
    callThrough<Entry>(self, cmd, rect);
    replaceMember(textDrawingColor, nullptr);
}

// No enabled test: strings drawn directly always lose their background colour.
template <std::size_t Entry>
void stringDrawWithRect(id self, SEL cmd, CGRect rect, long options, id attributes, id context) {
    id drawn = attributes ? objc::autorelease(msg<id>(attributes, sel<"mutableCopy">())) : nullptr;
    msg<void>(drawn, sel<"setObject:forKey:">(), msg<id>(objc_getClass("UIColor"), sel<"clearColor">()),
              NSBackgroundColorAttributeName);
    if (colorFlowMusicEnabled) {
        if (textDrawingColor) msg<void>(drawn, sel<"setObject:forKey:">(), textDrawingColor, text::foregroundColorKey());
    } else {
        msg<void>(drawn, sel<"setObject:forKey:">(), mainTextColor, text::foregroundColorKey());
    }
    callThrough<Entry>(self, cmd, rect, options, drawn, context);
}

}  // namespace obscuro
