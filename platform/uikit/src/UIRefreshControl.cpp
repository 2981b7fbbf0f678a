// UIRefreshControl: the refreshing state and the spinner that shows it in the control's tint.
#include "Registration.h"

#include <UIKit/UIActivityIndicatorView.h>
#include <UIKit/UIRefreshControl.h>

namespace {

Class gUIRefreshControl = nullptr;

constexpr CGRect kStockFrame{{0, 0}, {320, 60}};

}  // namespace

Class UIRefreshControl::class_() { return gUIRefreshControl; }

namespace platform::uikit {

void registerUIRefreshControl() {
    using objc::ClassBuilder;
    gUIRefreshControl =
        ClassBuilder<UIRefreshControl>("UIRefreshControl", UIControl::class_())
            .method(sel<"init">(), [](UIRefreshControl* self, SEL) { return msg<id>(self, sel<"initWithFrame:">(), kStockFrame); })
            .method(sel<"initWithFrame:">(),
                    [](UIRefreshControl* self, SEL, CGRect frame) {
                        id spinner = msg<id>(UIActivityIndicatorView::class_(), sel<"alloc">());
                        self->spinner = objc::adopt(static_cast<UIActivityIndicatorView*>(
                            msg<id>(spinner, sel<"initWithActivityIndicatorStyle:">(), UIActivityIndicatorViewStyleGray)));
                        id control = callSuper<id>(UIControl::class_(), self, sel<"initWithFrame:">(), frame);
                        msg<void>(control, sel<"addSubview:">(), static_cast<id>(self->spinner.get()));
                        return control;
                    })
            .method(sel<"beginRefreshing">(),
                    [](UIRefreshControl* self, SEL) {
                        self->refreshing = true;
                        msg<void>(self->spinner.get(), sel<"startAnimating">());
                    })
            .method(sel<"endRefreshing">(),
                    [](UIRefreshControl* self, SEL) {
                        self->refreshing = false;
                        msg<void>(self->spinner.get(), sel<"stopAnimating">());
                    })
            .method(sel<"isRefreshing">(), [](UIRefreshControl* self, SEL) { return self->refreshing; })
            .method(sel<"attributedTitle">(), [](UIRefreshControl* self, SEL) -> id { return self->attributedTitle.get(); })
            .method(sel<"setAttributedTitle:">(),
                    [](UIRefreshControl* self, SEL, id title) { self->attributedTitle = objc::adopt(msg<id>(title, sel<"copy">())); })
            .method(sel<"setTintColor:">(),
                    [](UIRefreshControl* self, SEL cmd, UIColor* color) {
                        callSuper(UIControl::class_(), self, cmd, static_cast<id>(color));
                        if (color) msg<void>(self->spinner.get(), sel<"setColor:">(), static_cast<id>(color));
                    })
            .method(sel<"layoutSubviews">(),
                    [](UIRefreshControl* self, SEL) {
                        if (!self->spinner) return;
                        CGSize size = self->spinner->frame.size;
                        msg<void>(self->spinner.get(), sel<"setFrame:">(),
                                  CGRect{{(self->frame.size.width - size.width) / 2, (self->frame.size.height - size.height) / 2}, size});
                    })
            .registerClass();
}

}  // namespace platform::uikit
