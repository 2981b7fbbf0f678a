// Replacements that darken the app's chrome: status bar, bars, separators, indicators, action sheets, keyboard.
#pragma once

#include "Decision.h"
#include "HookTable.h"
#include "ThemeState.h"

#include <CoreGraphics/CGGeometry.h>

namespace obscuro {

// Theme values the one-line replacements hand out while the product is enabled.
namespace themed {
inline id background() { return bgColor; }
inline id darkerBackground() { return darkerBgColor; }
inline id mainText() { return mainTextColor; }
inline id bar() { return barColor; }
inline id tint() { return tintColor; }
id clear();
id unselectedTab();           // offsetColor of mainTextColor
id noEffect();                // nil
inline long lightStatusBar() { return 1; }
inline long noSeparators() { return 0; }
inline bool no() { return false; }
inline bool yes() { return true; }
}  // namespace themed

// A getter that answers a theme value without calling through while enabled.
template <std::size_t Entry, class R, R (*Value)()>
R themedGetter(id self, SEL cmd) {
    if (!enabled) {
        R own = callThrough<Entry, R>(self, cmd);
        reportDecision(Entry, self, kPassedThrough, id{nullptr}, own);
        return own;
    }
    R value = Value();
    reportDecision(Entry, self, kRuleApplied, id{nullptr}, value);
    return value;
}

// A setter that passes a theme value on in place of its argument while enabled.
template <std::size_t Entry, class A, A (*Value)()>
void themedSetter(id self, SEL cmd, A argument) {
    bool active = enabled;
    A passed = active ? Value() : argument;
    reportDecision(Entry, self, active ? kRuleApplied : kPassedThrough, argument, passed);
    callThrough<Entry>(self, cmd, passed);
}

// A layout method that calls through, then paints its own background while enabled.
template <std::size_t Entry, id (*Colour)()>
void layoutThenPaintBackground(id self, SEL cmd) {
    callThrough<Entry>(self, cmd);
    if (!enabled) return reportDecision(Entry, self, kPassedThrough, id{nullptr}, id{nullptr});
    id colour = Colour();
    reportDecision(Entry, self, kRuleApplied, id{nullptr}, colour);
    msg<void>(self, sel<"setBackgroundColor:">(), colour);
}

template <std::size_t Entry> id activityIndicatorInitWithStyle(id self, SEL cmd, long style);
template <std::size_t Entry> void downloadRingLayoutSubviews(id self, SEL cmd);
template <std::size_t Entry> void downloadRingSetProgress(id self, SEL cmd, double progress);
template <std::size_t Entry> bool renderConfigLightKeyboard(id self, SEL cmd);
template <std::size_t Entry> long inputTraitsKeyboardAppearance(id self, SEL cmd);
template <std::size_t Entry> id pinKeypadInitWithFrame(id self, SEL cmd, CGRect frame);
template <std::size_t Entry> void keyboardDockLayoutSubviews(id self, SEL cmd);
template <std::size_t Entry> id layerCompositingFilter(id self, SEL cmd);

// The stroke of a download ring's layer in the theme's tint.
void strokeRingWithTint(id ring);
id passcodeKeypadGrey();
id black();
bool isPlusDarkerFilter(id filter);

template <std::size_t Entry>
id activityIndicatorInitWithStyle(id self, SEL cmd, long style) {
    bool active = enabled;  // read before calling through
    id indicator = callThrough<Entry, id>(self, cmd, style);
    // Reported on what the initialiser returned: the receiver may be gone by now.
    if (!active) {
        reportDecision(Entry, indicator, kPassedThrough, style, id{nullptr});
        return indicator;
    }
    reportDecision(Entry, indicator, kRuleApplied, style, mainTextColor);
    msg<void>(indicator, sel<"setColor:">(), mainTextColor);
    msg<void>(indicator, sel<"setTintColor:">(), mainTextColor);
    return indicator;
}

template <std::size_t Entry>
void downloadRingLayoutSubviews(id self, SEL cmd) {
    callThrough<Entry>(self, cmd);
    if (!enabled) return reportDecision(Entry, self, kPassedThrough, id{nullptr}, id{nullptr});
    reportDecision(Entry, self, kRuleApplied, id{nullptr}, tintColor);
    strokeRingWithTint(self);
}

template <std::size_t Entry>
void downloadRingSetProgress(id self, SEL cmd, double progress) {
    callThrough<Entry>(self, cmd, progress);
    if (!enabled) return reportDecision(Entry, self, kPassedThrough, progress, id{nullptr});
    reportDecision(Entry, self, kRuleApplied, progress, tintColor);
    strokeRingWithTint(self);
}

template <std::size_t Entry>
bool renderConfigLightKeyboard(id self, SEL cmd) {
    if (!enabled) {
        bool own = callThrough<Entry, bool>(self, cmd);
        reportDecision(Entry, self, kPassedThrough, id{nullptr}, own);
        return own;
    }
    bool light = !enableDarkKeyboard;
    reportDecision(Entry, self, kRuleApplied, id{nullptr}, light);
    return light;
}

template <std::size_t Entry>
long inputTraitsKeyboardAppearance(id self, SEL cmd) {
    if (enabled && enableDarkKeyboard) {
        reportDecision(Entry, self, kRuleApplied, id{nullptr}, 1L);
        return 1;
    }
    long own = callThrough<Entry, long>(self, cmd);
    reportDecision(Entry, self, kPassedThrough, id{nullptr}, own);
    return own;
}

template <std::size_t Entry>
id pinKeypadInitWithFrame(id self, SEL cmd, CGRect frame) {
    id keypad = callThrough<Entry, id>(self, cmd, frame);
    // Reported on what the initialiser returned: the receiver may be gone by now.
    if (!enabled || !enableDarkKeyboard) {
        reportDecision(Entry, keypad, kPassedThrough, id{nullptr}, id{nullptr});
        return keypad;
    }
    id grey = passcodeKeypadGrey();
    reportDecision(Entry, keypad, kRuleApplied, id{nullptr}, grey);
    msg<void>(keypad, sel<"setBackgroundColor:">(), grey);
    return keypad;
}

template <std::size_t Entry>
void keyboardDockLayoutSubviews(id self, SEL cmd) {
    callThrough<Entry>(self, cmd);
    if (!enabled || !enableDarkKeyboard) return reportDecision(Entry, self, kPassedThrough, id{nullptr}, id{nullptr});
    id colour = black();
    reportDecision(Entry, self, kRuleApplied, id{nullptr}, colour);
    msg<void>(self, sel<"setBackgroundColor:">(), colour);
}

// No enabled test: a plus-darker layer would darken the dark theme into black.
template <std::size_t Entry>
id layerCompositingFilter(id self, SEL cmd) {
    id filter = callThrough<Entry, id>(self, cmd);
    bool plusDarker = isPlusDarkerFilter(filter);
    id composited = plusDarker ? nullptr : filter;
    reportDecision(Entry, self, plusDarker ? kRuleApplied : kPassedThrough, filter, composited);
    return composited;
}

}  // namespace obscuro
