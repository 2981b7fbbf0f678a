// The container controllers' private views and the child swap with its appearance callbacks.
#include "Containers.h"

#include "Registration.h"

#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>

namespace platform::uikit {

objc::Strong<UIView> containerView(const char* runtimeName, CGRect frame) {
    Class cls = objc_getClass(runtimeName);
    return newView<UIView>(cls ? cls : UIView::class_(), frame);
}

void showChild(UIViewController* container, UIView* wrapper, UIViewController* outgoing, UIViewController* incoming, bool animated) {
    if (!wrapper || outgoing == incoming) return;
    bool onScreen = container->view && windowOfView(container->view.get());
    auto* view = incoming ? static_cast<UIView*>(msg<id>(incoming, sel<"view">())) : nullptr;
    if (onScreen) {
        platform::forwardDisappearance(outgoing, false, animated);
        platform::forwardAppearance(incoming, false, animated);
    }
    if (outgoing && outgoing->view && outgoing->view->superview == wrapper) msg<void>(outgoing->view.get(), sel<"removeFromSuperview">());
    if (view) {
        msg<void>(view, sel<"setFrame:">(), CGRect{{0, 0}, wrapper->frame.size});
        msg<void>(wrapper, sel<"addSubview:">(), static_cast<id>(view));
    }
    if (onScreen) {
        platform::forwardAppearance(incoming, true, animated);
        platform::forwardDisappearance(outgoing, true, animated);
    }
}

void replaceChildren(UIViewController* controller, id array) {
    auto old = controller->children;
    for (auto& child : old) {
        if (child->view) msg<void>(child->view.get(), sel<"removeFromSuperview">());
        msg<void>(child.get(), sel<"willMoveToParentViewController:">(), static_cast<id>(nil));
        msg<void>(child.get(), sel<"removeFromParentViewController">());
    }
    unsigned long count = msg<unsigned long>(array, sel<"count">());
    for (unsigned long i = 0; i < count; ++i) {
        id child = msg<id>(array, sel<"objectAtIndex:">(), i);
        if (!object_isKindOfClass(child, UIViewController::class_())) continue;
        msg<void>(controller, sel<"addChildViewController:">(), child);
        msg<void>(child, sel<"didMoveToParentViewController:">(), static_cast<id>(controller));
    }
}

}  // namespace platform::uikit
