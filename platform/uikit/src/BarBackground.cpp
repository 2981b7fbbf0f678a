// The bar background view: made once per bar, kept at the back, painted from the bar's tint and style.
#include "BarBackground.h"

#include "Registration.h"

#include <UIKit/UIColor.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UIView.h>

namespace platform::uikit {

namespace {

UIColor* defaultBarColor(UIView* bar, bool translucent) {
    bool black = msg<long>(bar, sel<"barStyle">()) == UIBarStyleBlack;
    if (black) return UIColor::colorWithWhite(0.11, translucent ? 0.73 : 1.0);
    return UIColor::colorWithWhite(0.97, translucent ? 0.8 : 1.0);
}

}  // namespace

void layoutBarBackground(UIView* bar, objc::Strong<UIView>& slot) {
    if (!slot) {
        Class cls = objc_getClass("_UIBarBackground");
        slot = newView<UIView>(cls ? cls : UIView::class_());
    }
    if (slot->superview != bar || bar->subviews.front().get() != slot.get())
        msg<void>(bar, sel<"insertSubview:atIndex:">(), static_cast<id>(slot.get()), 0L);
    msg<void>(slot.get(), sel<"setFrame:">(), CGRect{{0, 0}, bar->frame.size});
    bool translucent = msg<BOOL>(bar, sel<"translucent">());
    id tint = msg<id>(bar, sel<"barTintColor">());
    msg<void>(slot.get(), sel<"setBackgroundColor:">(), tint ? tint : static_cast<id>(defaultBarColor(bar, translucent)));
}

}  // namespace platform::uikit
