// UIControl: the state flags, their bit mask, and target-action dispatch.
#include "Registration.h"

#include <UIKit/UIControl.h>
#include <objc/NSException.h>

#include <algorithm>

namespace {

Class gUIControl = nullptr;

// Subclasses that draw their state (buttons) refresh themselves when it changes.
void stateChanged(UIControl* control) { msg<void>(control, sel<"_stateDidChange">()); }

void sendAction(UIControl* control, const UIControl::TargetAction& pair) {
    if (!pair.target || !msg<BOOL>(pair.target.get(), sel<"respondsToSelector:">(), pair.action)) return;
    Method m = class_getInstanceMethod(object_getClass(pair.target.get()), pair.action);
    int arguments = objc::signatureArgumentCount(method_getTypeEncoding(m));
    std::vector<objc::Value> args;
    if (arguments >= 1) args.emplace_back(static_cast<id>(control));
    if (arguments >= 2) args.emplace_back(std::monostate{});  // the event: none in the stand-in
    if (arguments > 2) return;
    objc::invoke(pair.target.get(), pair.action, args);
}

}  // namespace

Class UIControl::class_() { return gUIControl; }

unsigned long UIControl::controlState() const {
    return (highlighted ? UIControlStateHighlighted : 0) | (enabled ? 0 : UIControlStateDisabled) | (selected ? UIControlStateSelected : 0);
}

namespace platform::uikit {

void registerUIControl() {
    using objc::ClassBuilder;
    gUIControl =
        ClassBuilder<UIControl>("UIControl", UIView::class_())
            .method(sel<"state">(), [](UIControl* self, SEL) { return self->controlState(); })
            .method(sel<"selected">(), [](UIControl* self, SEL) { return self->selected; })
            .method(sel<"isSelected">(), [](UIControl* self, SEL) { return msg<BOOL>(self, sel<"selected">()); })
            .method(sel<"setSelected:">(),
                    [](UIControl* self, SEL, BOOL selected) {
                        self->selected = selected;
                        stateChanged(self);
                    })
            .method(sel<"highlighted">(), [](UIControl* self, SEL) { return self->highlighted; })
            .method(sel<"isHighlighted">(), [](UIControl* self, SEL) { return msg<BOOL>(self, sel<"highlighted">()); })
            .method(sel<"setHighlighted:">(),
                    [](UIControl* self, SEL, BOOL highlighted) {
                        self->highlighted = highlighted;
                        stateChanged(self);
                    })
            .method(sel<"enabled">(), [](UIControl* self, SEL) { return self->enabled; })
            .method(sel<"isEnabled">(), [](UIControl* self, SEL) { return msg<BOOL>(self, sel<"enabled">()); })
            .method(sel<"setEnabled:">(),
                    [](UIControl* self, SEL, BOOL enabled) {
                        self->enabled = enabled;
                        stateChanged(self);
                    })
            .method(sel<"_stateDidChange">(), [](UIControl*, SEL) {})
            .method(sel<"contentHorizontalAlignment">(), [](UIControl* self, SEL) { return self->contentHorizontalAlignment; })
            .method(sel<"setContentHorizontalAlignment:">(),
                    [](UIControl* self, SEL, long alignment) { self->contentHorizontalAlignment = alignment; })
            .method(sel<"contentVerticalAlignment">(), [](UIControl* self, SEL) { return self->contentVerticalAlignment; })
            .method(sel<"setContentVerticalAlignment:">(),
                    [](UIControl* self, SEL, long alignment) { self->contentVerticalAlignment = alignment; })
            .method(sel<"addTarget:action:forControlEvents:">(),
                    [](UIControl* self, SEL, id target, SEL action, unsigned long events) {
                        if (action) self->actions.push_back({objc::retain(target), action, events});
                    })
            .method(sel<"removeTarget:action:forControlEvents:">(),
                    [](UIControl* self, SEL, id target, SEL action, unsigned long events) {
                        std::erase_if(self->actions, [&](const UIControl::TargetAction& p) {
                            return (!target || p.target.get() == target) && (!action || p.action == action) && (p.events & events);
                        });
                    })
            .method(sel<"sendActionsForControlEvents:">(),
                    [](UIControl* self, SEL, unsigned long events) {
                        auto snapshot = self->actions;
                        for (const auto& pair : snapshot)
                            if (pair.events & events) sendAction(self, pair);
                    })
            .registerClass();
}

}  // namespace platform::uikit
