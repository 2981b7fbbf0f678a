// UIControl: a view with a state (highlighted, disabled, selected) and target-action pairs.
#pragma once

#include <UIKit/UIView.h>

#include <vector>

// Selectors:
//   - (unsigned long)state          UIControlState bits from the three flags below
//   - (BOOL)isSelected, (BOOL)selected, setSelected:(BOOL)
//   - (BOOL)isHighlighted, (BOOL)highlighted, setHighlighted:(BOOL)
//   - (BOOL)isEnabled, (BOOL)enabled, setEnabled:(BOOL)
//   - addTarget:(id)action:(SEL)forControlEvents:(unsigned long), removeTarget:action:forControlEvents:
//   - sendActionsForControlEvents:(unsigned long)   sends each matching action to its target
//     with the control as argument (or none, for actions without one). Targets are retained:
//     the stand-in has no zeroing weak references, and a dangling target would crash
//   - (long)contentHorizontalAlignment, (long)contentVerticalAlignment and their setters
class UIControl : public UIView {
public:
    static Class class_();

    // The state bits of the three flags.
    unsigned long controlState() const;

    struct TargetAction {
        objc::Strong<objc_object> target;
        SEL action;
        unsigned long events;
    };

    bool selected = false;
    bool highlighted = false;
    bool enabled = true;
    long contentHorizontalAlignment = 0;
    long contentVerticalAlignment = 0;
    std::vector<TargetAction> actions;
};

// UIControlState
constexpr unsigned long UIControlStateNormal = 0;
constexpr unsigned long UIControlStateHighlighted = 1;
constexpr unsigned long UIControlStateDisabled = 2;
constexpr unsigned long UIControlStateSelected = 4;

// UIControlEvents
constexpr unsigned long UIControlEventTouchDown = 1;
constexpr unsigned long UIControlEventTouchUpInside = 1 << 6;
constexpr unsigned long UIControlEventValueChanged = 1 << 12;
constexpr unsigned long UIControlEventPrimaryActionTriggered = 1 << 13;
