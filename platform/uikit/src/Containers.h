// What the container controllers share: their private views and the swap of the child they show.
#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <objc/Strong.h>

class UIView;
class UIViewController;

namespace platform::uikit {

// A new view of the UIKit class with this runtime name (a plain UIView where it is absent).
objc::Strong<UIView> containerView(const char* runtimeName, CGRect frame);

// Puts `incoming`'s view into `wrapper` in place of `outgoing`'s view. When `container`'s view is
// in a window, the outgoing child is sent viewWillDisappear: and viewDidDisappear: and the
// incoming one viewWillAppear: and viewDidAppear: around the swap. Either controller may be nil.
void showChild(UIViewController* container, UIView* wrapper, UIViewController* outgoing, UIViewController* incoming, bool animated);

// Replaces the children of `controller` with the controllers of an NSArray, in order (other
// objects skipped), sending the containment messages; the old children's views leave their superviews.
void replaceChildren(UIViewController* controller, id array);

}  // namespace platform::uikit
