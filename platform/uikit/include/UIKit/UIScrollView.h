// UIScrollView: a view whose bounds move over a larger content area.
#pragma once

#include <UIKit/UIRefreshControl.h>
#include <UIKit/UIView.h>

// Selectors: - (CGSize)contentSize, setContentSize:, (CGPoint)contentOffset, setContentOffset:
// (moves the bounds origin), setContentOffset:animated:, (UIEdgeInsets)contentInset, setContentInset:,
// (BOOL)isScrollEnabled, setScrollEnabled:, (BOOL)showsVerticalScrollIndicator,
// showsHorizontalScrollIndicator and their setters, (id)delegate, setDelegate: (retained: the
// stand-in has no zeroing weak references, and a dangling delegate would crash),
// (id)refreshControl, setRefreshControl:(id UIRefreshControl)   the control becomes a subview;
// layoutSubviews gives the layer the colour `backgroundColor` answers (subclasses call super).
class UIScrollView : public UIView {
public:
    static Class class_();

    CGSize contentSize{};
    UIEdgeInsets contentInset{};
    bool scrollEnabled = true;
    bool showsVerticalScrollIndicator = true;
    bool showsHorizontalScrollIndicator = true;
    objc::Strong<objc_object> delegate;
    objc::Strong<UIRefreshControl> refreshControl;
};
