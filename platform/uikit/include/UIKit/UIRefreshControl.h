// UIRefreshControl: the pull-to-refresh control of a scroll view, with its spinner.
#pragma once

#include <UIKit/UIActivityIndicatorView.h>
#include <UIKit/UIControl.h>

// Selectors:
//   - (id)init       a 60-point-high control holding a UIActivityIndicatorView
//   - beginRefreshing, endRefreshing, (BOOL)isRefreshing   the spinner animates while refreshing
//   - (id)attributedTitle, setAttributedTitle:(id)
//   - setTintColor:(id)   the control's tint, passed on to its spinner with setColor:, as the phone
//        colours the spinner from the control's tint
// A scroll view's setRefreshControl: makes it a subview (see <UIKit/UIScrollView.h>).
class UIRefreshControl : public UIControl {
public:
    static Class class_();

    objc::Strong<UIActivityIndicatorView> spinner;
    objc::Strong<objc_object> attributedTitle;
    bool refreshing = false;
};
