// UITableView: style, separator colour and style, row height and the header, footer and background views.
#include "Registration.h"

#include <UIKit/UIColor.h>
#include <UIKit/UITableView.h>

namespace {

Class gUITableView = nullptr;

// Replaces a view the table shows as a subview.
void replaceSubview(UITableView* table, objc::Strong<UIView>& slot, UIView* view, bool atBack) {
    if (slot.get() == view) return;
    if (slot && slot->superview == table) msg<void>(slot.get(), sel<"removeFromSuperview">());
    slot = objc::retain(view);
    if (!view) return;
    if (atBack) msg<void>(table, sel<"insertSubview:atIndex:">(), static_cast<id>(view), 0L);
    else msg<void>(table, sel<"addSubview:">(), static_cast<id>(view));
}

}  // namespace

Class UITableView::class_() { return gUITableView; }

UITableView::UITableView() : separatorColor(objc::retain(UIColor::colorWithRGBA(200 / 255.0, 199 / 255.0, 204 / 255.0, 1))) {}

namespace platform::uikit {

void registerUITableView() {
    using objc::ClassBuilder;
    gUITableView =
        ClassBuilder<UITableView>("UITableView", objc_getClass("UIScrollView"))
            .method(sel<"initWithFrame:style:">(),
                    [](UITableView* self, SEL, CGRect frame, long style) {
                        self->style = style;
                        return msg<id>(self, sel<"initWithFrame:">(), frame);
                    })
            .method(sel<"style">(), [](UITableView* self, SEL) { return self->style; })
            .method(sel<"separatorColor">(), [](UITableView* self, SEL) -> id { return self->separatorColor.get(); })
            .method(sel<"setSeparatorColor:">(), [](UITableView* self, SEL, UIColor* color) { self->separatorColor = objc::retain(color); })
            .method(sel<"separatorEffect">(), [](UITableView* self, SEL) -> id { return self->separatorEffect.get(); })
            .method(sel<"setSeparatorEffect:">(), [](UITableView* self, SEL, id effect) { self->separatorEffect = objc::retain(effect); })
            .method(sel<"separatorStyle">(), [](UITableView* self, SEL) { return self->separatorStyle; })
            .method(sel<"setSeparatorStyle:">(),
                    [](UITableView* self, SEL, long style) {
                        self->separatorStyle = style;
                        for (auto& sub : self->subviews) sub->needsLayout = true;
                    })
            .method(sel<"separatorInset">(), [](UITableView* self, SEL) { return self->separatorInset; })
            .method(sel<"setSeparatorInset:">(), [](UITableView* self, SEL, UIEdgeInsets insets) { self->separatorInset = insets; })
            .method(sel<"rowHeight">(), [](UITableView* self, SEL) { return self->rowHeight; })
            .method(sel<"setRowHeight:">(), [](UITableView* self, SEL, double height) { self->rowHeight = height; })
            .method(sel<"backgroundView">(), [](UITableView* self, SEL) -> id { return self->backgroundView.get(); })
            .method(sel<"setBackgroundView:">(),
                    [](UITableView* self, SEL, UIView* view) { replaceSubview(self, self->backgroundView, view, true); })
            .method(sel<"tableHeaderView">(), [](UITableView* self, SEL) -> id { return self->tableHeaderView.get(); })
            .method(sel<"setTableHeaderView:">(),
                    [](UITableView* self, SEL, UIView* view) { replaceSubview(self, self->tableHeaderView, view, false); })
            .method(sel<"tableFooterView">(), [](UITableView* self, SEL) -> id { return self->tableFooterView.get(); })
            .method(sel<"setTableFooterView:">(),
                    [](UITableView* self, SEL, UIView* view) { replaceSubview(self, self->tableFooterView, view, false); })
            .method(sel<"dataSource">(), [](UITableView* self, SEL) -> id { return self->dataSource.get(); })
            .method(sel<"setDataSource:">(), [](UITableView* self, SEL, id source) { self->dataSource = objc::retain(source); })
            .method(sel<"layoutSubviews">(),
                    [](UITableView* self, SEL) {
                        if (self->backgroundView)
                            msg<void>(self->backgroundView.get(), sel<"setFrame:">(), CGRect{self->boundsOrigin, self->frame.size});
                    })
            .registerClass();
}

}  // namespace platform::uikit
