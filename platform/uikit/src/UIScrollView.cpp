// UIScrollView: content size, offset (the bounds origin) and insets.
#include "Registration.h"

#include <UIKit/UIRefreshControl.h>
#include <UIKit/UIScrollView.h>

namespace {
Class gUIScrollView = nullptr;
}

Class UIScrollView::class_() { return gUIScrollView; }

namespace platform::uikit {

void registerUIScrollView() {
    using objc::ClassBuilder;
    gUIScrollView =
        ClassBuilder<UIScrollView>("UIScrollView", UIView::class_())
            .method(sel<"contentSize">(), [](UIScrollView* self, SEL) { return self->contentSize; })
            .method(sel<"setContentSize:">(), [](UIScrollView* self, SEL, CGSize size) { self->contentSize = size; })
            .method(sel<"contentOffset">(), [](UIScrollView* self, SEL) { return self->boundsOrigin; })
            .method(sel<"setContentOffset:">(), [](UIScrollView* self, SEL, CGPoint offset) { self->boundsOrigin = offset; })
            .method(sel<"setContentOffset:animated:">(),
                    [](UIScrollView* self, SEL, CGPoint offset, BOOL) { msg<void>(self, sel<"setContentOffset:">(), offset); })
            .method(sel<"contentInset">(), [](UIScrollView* self, SEL) { return self->contentInset; })
            .method(sel<"setContentInset:">(), [](UIScrollView* self, SEL, UIEdgeInsets insets) { self->contentInset = insets; })
            .method(sel<"isScrollEnabled">(), [](UIScrollView* self, SEL) { return self->scrollEnabled; })
            .method(sel<"setScrollEnabled:">(), [](UIScrollView* self, SEL, BOOL enabled) { self->scrollEnabled = enabled; })
            .method(sel<"showsVerticalScrollIndicator">(), [](UIScrollView* self, SEL) { return self->showsVerticalScrollIndicator; })
            .method(sel<"setShowsVerticalScrollIndicator:">(),
                    [](UIScrollView* self, SEL, BOOL shows) { self->showsVerticalScrollIndicator = shows; })
            .method(sel<"showsHorizontalScrollIndicator">(), [](UIScrollView* self, SEL) { return self->showsHorizontalScrollIndicator; })
            .method(sel<"setShowsHorizontalScrollIndicator:">(),
                    [](UIScrollView* self, SEL, BOOL shows) { self->showsHorizontalScrollIndicator = shows; })
            .method(sel<"delegate">(), [](UIScrollView* self, SEL) -> id { return self->delegate.get(); })
            .method(sel<"setDelegate:">(), [](UIScrollView* self, SEL, id delegate) { self->delegate = objc::retain(delegate); })
            .method(sel<"refreshControl">(), [](UIScrollView* self, SEL) -> id { return self->refreshControl.get(); })
            .method(sel<"setRefreshControl:">(),
                    [](UIScrollView* self, SEL, UIRefreshControl* control) {
                        if (self->refreshControl && self->refreshControl->superview == self)
                            msg<void>(self->refreshControl.get(), sel<"removeFromSuperview">());
                        self->refreshControl = objc::retain(control);
                        if (control) msg<void>(self, sel<"insertSubview:atIndex:">(), static_cast<id>(control), 0L);
                    })
            // A scroll view re-reads its background colour for its layer at each layout, so a
            // subclass that answers its own backgroundColor is drawn in that colour.
            .method(sel<"layoutSubviews">(), [](UIScrollView* self, SEL) { applyBackgroundColorToLayer(self); })
            .registerClass();
}

}  // namespace platform::uikit
