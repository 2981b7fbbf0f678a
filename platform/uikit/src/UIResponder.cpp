// UIResponder: the stock responder methods every view, controller and the application inherit.
#include "Registration.h"

#include <UIKit/UIResponder.h>

namespace {
Class gUIResponder = nullptr;
}

Class UIResponder::class_() { return gUIResponder; }

namespace platform::uikit {

void registerUIResponder() {
    gUIResponder = objc::ClassBuilder<UIResponder>("UIResponder", NSObject::class_())
                       .method(sel<"nextResponder">(), [](UIResponder*, SEL) -> id { return nil; })
                       .method(sel<"canBecomeFirstResponder">(), [](UIResponder*, SEL) { return NO; })
                       .method(sel<"becomeFirstResponder">(), [](UIResponder*, SEL) { return NO; })
                       .method(sel<"resignFirstResponder">(), [](UIResponder*, SEL) { return YES; })
                       .method(sel<"isFirstResponder">(), [](UIResponder*, SEL) { return NO; })
                       .registerClass();
}

}  // namespace platform::uikit
