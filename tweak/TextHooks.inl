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
    Decided<id> decision = decideThemedTextColour(colour);
    reportDecision(Entry, self, decision.step, colour, decision.outcome);
    callThrough<Entry>(self, cmd, decision.outcome);
}

template <std::size_t Entry>
id textTextColor(id self, SEL cmd) {
    bool active = enabled;
    id colour = active ? mainTextColor : callThrough<Entry, id>(self, cmd);
    reportDecision(Entry, self, active ? kRuleApplied : kPassedThrough, id{nullptr}, colour);
    return colour;
}

template <std::size_t Entry>
void textSetAttributedText(id self, SEL cmd, id attributedText) {
    bool active = enabled;
    id passed = active ? replaceColorsWith(attributedText, mainTextColor) : attributedText;
    reportDecision(Entry, self, active ? kRuleApplied : kPassedThrough, attributedText, passed);
    callThrough<Entry>(self, cmd, passed);
}

template <std::size_t Entry>
id textViewLinkTextAttributes(id self, SEL cmd) {
    bool active = enabled;  // read before calling through
    id attributes = callThrough<Entry, id>(self, cmd);
    if (!active) {
        reportDecision(Entry, self, kPassedThrough, attributes, attributes);
        return attributes;
    }
    id mutableAttributes = attributes ? msg<id>(attributes, sel<"mutableCopy">())
                                      : msg<id>(objc_getClass("NSMutableDictionary"), sel<"new">());
    objc::autorelease(mutableAttributes);
    msg<void>(mutableAttributes, sel<"setObject:forKey:">(), offsetColor(mainTextColor), text::foregroundColorKey());
    id linkAttributes = objc::autorelease(msg<id>(mutableAttributes, sel<"copy">()));
    reportDecision(Entry, self, kRuleApplied, attributes, linkAttributes);
    return linkAttributes;
}

template <std::size_t Entry>
id labelTextColor(id self, SEL cmd) {
    id stored = callThrough<Entry, id>(self, cmd);
    Decided<id> decision = decideLabelStoredColour(stored);
    reportDecision(Entry, self, decision.step, stored, decision.outcome);
    return decision.outcome;
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
    if (!labelTakesTextColour(reinterpret_cast<Class>(self))) {
        reportDecision(Entry, self, kPassedThrough, attributes, attributes);
        return attributes;
    }
    id mutableAttributes = attributes ? msg<id>(attributes, sel<"mutableCopy">())
                                      : msg<id>(objc_getClass("NSMutableDictionary"), sel<"new">());
    objc::autorelease(mutableAttributes);
    msg<void>(mutableAttributes, sel<"setObject:forKey:">(), mainTextColor, text::foregroundColorKey());
    reportDecision(Entry, self, kRuleApplied, attributes, mutableAttributes);
    return mutableAttributes;
}

template <std::size_t Entry>
void labelSetAttributedText(id self, SEL cmd, id attributedText) {
    bool recolours = labelTakesTextColour(object_getClass(self));
    id passed = recolours ? replaceColorsWith(attributedText, mainTextColor) : attributedText;
    reportDecision(Entry, self, recolours ? kRuleApplied : kPassedThrough, attributedText, passed);
    callThrough<Entry>(self, cmd, passed);
}

// No enabled test: the colour is forced while ColorFlow colours the app's own text drawing.
template <std::size_t Entry>
void textDrawingViewDrawRect(id self, SEL cmd, CGRect rect) {
    if (!colorFlowMusicEnabled) {  // step 1
        reportDecision(Entry, self, Step{1}, id{nullptr}, id{nullptr});
        return callThrough<Entry>(self, cmd, rect);
    }
    replaceMember(textDrawingColor, mainTextColor);  // step 2
    reportDecision(Entry, self, Step{2}, id{nullptr}, textDrawingColor);
    callThrough<Entry>(self, cmd, rect);
    replaceMember(textDrawingColor, nullptr);
}

// No enabled test: strings drawn directly always lose their background colour.
template <std::size_t Entry>
void stringDrawWithRect(id self, SEL cmd, CGRect rect, long options, id attributes, id context) {
    id drawn = attributes ? objc::autorelease(msg<id>(attributes, sel<"mutableCopy">())) : nullptr;  // step 1
    msg<void>(drawn, sel<"setObject:forKey:">(), msg<id>(objc_getClass("UIColor"), sel<"clearColor">()),
              NSBackgroundColorAttributeName);  // step 2
    Step step;
    if (colorFlowMusicEnabled) {
        step = 3;
        if (textDrawingColor) msg<void>(drawn, sel<"setObject:forKey:">(), textDrawingColor, text::foregroundColorKey());
    } else {
        step = 4;
        msg<void>(drawn, sel<"setObject:forKey:">(), mainTextColor, text::foregroundColorKey());
    }
    reportDecision(Entry, self, step, attributes, drawn);
    callThrough<Entry>(self, cmd, rect, options, drawn, context);  // step 5
}

}  // namespace obscuro
