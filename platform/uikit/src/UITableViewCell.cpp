// UITableViewCell: content view, labels, selection backgrounds and the separator along the bottom edge.
#include "Registration.h"

#include <UIKit/UIColor.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITableViewCell.h>

#include <algorithm>

namespace {

Class gUITableViewCell = nullptr;

UITableView* enclosingTable(UIView* view) {
    for (UIView* v = view->superview; v; v = v->superview)
        if (object_isKindOfClass(v, UITableView::class_())) return static_cast<UITableView*>(v);
    return nullptr;
}

long indexOfSubview(UIView* parent, UIView* child) {
    auto it = std::find_if(parent->subviews.begin(), parent->subviews.end(), [&](auto& s) { return s.get() == child; });
    return it == parent->subviews.end() ? 0 : static_cast<long>(it - parent->subviews.begin());
}

template <class T>
T* contentSubview(UITableViewCell* self, objc::Strong<T>& slot, Class cls) {
    if (!slot) {
        slot = platform::uikit::newView<T>(cls);
        msg<void>(self->contentView.get(), sel<"addSubview:">(), static_cast<id>(slot.get()));
    }
    return slot.get();
}

// Shows the selected background (the cell's own, or the stock one in the selection grey)
// below the content view while the cell is selected.
void updateSelection(UITableViewCell* self) {
    bool show = self->selected && self->selectionStyle != 0;
    UIView* wanted = nullptr;
    if (show) {
        if (self->selectedBackgroundView) {
            wanted = self->selectedBackgroundView.get();
        } else if (self->shownSelectionView) {
            wanted = self->shownSelectionView.get();
        } else if (Class stock = objc_getClass("UITableViewCellSelectedBackground")) {
            auto view = platform::uikit::newView<UIView>(stock);
            msg<void>(view.get(), sel<"setSelectionTintColor:">(), static_cast<id>(UIColor::colorWithWhite(217 / 255.0, 1)));
            self->shownSelectionView = view;
            wanted = view.get();
        }
    }
    if (self->shownSelectionView && self->shownSelectionView.get() != wanted) {
        msg<void>(self->shownSelectionView.get(), sel<"removeFromSuperview">());
        self->shownSelectionView = nullptr;
    }
    if (wanted && wanted->superview != self) {
        self->shownSelectionView = objc::retain(wanted);
        msg<void>(wanted, sel<"setFrame:">(), CGRect{{0, 0}, self->frame.size});
        msg<void>(self, sel<"insertSubview:atIndex:">(), static_cast<id>(wanted), indexOfSubview(self, self->contentView.get()));
    }
}

void layoutSeparator(UITableViewCell* self) {
    UITableView* table = enclosingTable(self);
    if (!table) return;
    if (!self->separatorView) {
        Class cls = objc_getClass("_UITableViewCellSeparatorView");
        if (!cls) return;
        self->separatorView = platform::uikit::newView<UIView>(cls);
        msg<void>(self, sel<"addSubview:">(), static_cast<id>(self->separatorView.get()));
    }
    double hairline = 1.0 / UIScreen::mainScreenScale();
    UIEdgeInsets inset = msg<UIEdgeInsets>(table, sel<"separatorInset">());
    CGSize size = self->frame.size;
    msg<void>(self->separatorView.get(), sel<"setFrame:">(),
              CGRect{{inset.left, size.height - hairline}, {std::max(0.0, size.width - inset.left - inset.right), hairline}});
    msg<void>(self->separatorView.get(), sel<"setBackgroundColor:">(), msg<id>(table, sel<"separatorColor">()));
    msg<void>(self->separatorView.get(), sel<"setSeparatorEffect:">(), msg<id>(table, sel<"separatorEffect">()));
    msg<void>(self->separatorView.get(), sel<"setHidden:">(), msg<long>(table, sel<"separatorStyle">()) == UITableViewCellSeparatorStyleNone);
}

void layoutCell(UITableViewCell* self) {
    CGRect bounds{{0, 0}, self->frame.size};
    for (UIView* view : {self->backgroundView.get(), self->shownSelectionView.get(), self->contentView.get()})
        if (view) msg<void>(view, sel<"setFrame:">(), bounds);
    double x = 15;
    if (self->imageView) {
        CGSize image = msg<CGSize>(self->imageView.get(), sel<"sizeThatFits:">(), bounds.size);
        msg<void>(self->imageView.get(), sel<"setFrame:">(), CGRect{{x, (bounds.size.height - image.height) / 2}, image});
        x += image.width + 15;
    }
    double width = std::max(0.0, bounds.size.width - x - 15);
    if (self->textLabel && self->detailTextLabel) {
        msg<void>(self->textLabel.get(), sel<"setFrame:">(), CGRect{{x, 0}, {width, bounds.size.height / 2}});
        msg<void>(self->detailTextLabel.get(), sel<"setFrame:">(), CGRect{{x, bounds.size.height / 2}, {width, bounds.size.height / 2}});
    } else if (self->textLabel) {
        msg<void>(self->textLabel.get(), sel<"setFrame:">(), CGRect{{x, 0}, {width, bounds.size.height}});
    }
    layoutSeparator(self);
}

}  // namespace

Class UITableViewCell::class_() { return gUITableViewCell; }

namespace platform::uikit {

void registerUITableViewCell() {
    using objc::ClassBuilder;
    gUITableViewCell =
        ClassBuilder<UITableViewCell>("UITableViewCell", UIView::class_())
            .method(sel<"initWithStyle:reuseIdentifier:">(),
                    [](UITableViewCell* self, SEL, long style, id reuseIdentifier) -> id {
                        self->style = style;
                        self->reuseIdentifier = objc::retain(reuseIdentifier);
                        Class contentClass = objc_getClass("UITableViewCellContentView");
                        self->contentView = newView<UIView>(contentClass ? contentClass : UIView::class_());
                        id cell = callSuper<id>(UIView::class_(), self, sel<"initWithFrame:">(), CGRect{{0, 0}, {320, 44}});
                        msg<void>(cell, sel<"addSubview:">(), static_cast<id>(self->contentView.get()));
                        return cell;
                    })
            .method(sel<"initWithFrame:">(),
                    [](UITableViewCell* self, SEL, CGRect frame) {
                        id cell = msg<id>(self, sel<"initWithStyle:reuseIdentifier:">(), 0L, static_cast<id>(nil));
                        msg<void>(cell, sel<"setFrame:">(), frame);
                        return cell;
                    })
            .method(sel<"contentView">(), [](UITableViewCell* self, SEL) -> id { return self->contentView.get(); })
            .method(sel<"textLabel">(),
                    [](UITableViewCell* self, SEL) -> id { return contentSubview(self, self->textLabel, UILabel::class_()); })
            .method(sel<"detailTextLabel">(),
                    [](UITableViewCell* self, SEL) -> id { return contentSubview(self, self->detailTextLabel, UILabel::class_()); })
            .method(sel<"imageView">(),
                    [](UITableViewCell* self, SEL) -> id { return contentSubview(self, self->imageView, UIImageView::class_()); })
            .method(sel<"reuseIdentifier">(), [](UITableViewCell* self, SEL) -> id { return self->reuseIdentifier.get(); })
            .method(sel<"backgroundView">(), [](UITableViewCell* self, SEL) -> id { return self->backgroundView.get(); })
            .method(sel<"setBackgroundView:">(),
                    [](UITableViewCell* self, SEL, UIView* view) {
                        if (self->backgroundView && self->backgroundView->superview == self)
                            msg<void>(self->backgroundView.get(), sel<"removeFromSuperview">());
                        self->backgroundView = objc::retain(view);
                        if (view) msg<void>(self, sel<"insertSubview:atIndex:">(), static_cast<id>(view), 0L);
                    })
            .method(sel<"selectedBackgroundView">(), [](UITableViewCell* self, SEL) -> id { return self->selectedBackgroundView.get(); })
            .method(sel<"setSelectedBackgroundView:">(),
                    [](UITableViewCell* self, SEL, UIView* view) {
                        self->selectedBackgroundView = objc::retain(view);
                        updateSelection(self);
                    })
            .method(sel<"isSelected">(), [](UITableViewCell* self, SEL) { return self->selected; })
            .method(sel<"setSelected:">(),
                    [](UITableViewCell* self, SEL, BOOL selected) { msg<void>(self, sel<"setSelected:animated:">(), selected, NO); })
            .method(sel<"setSelected:animated:">(),
                    [](UITableViewCell* self, SEL, BOOL selected, BOOL) {
                        self->selected = selected;
                        updateSelection(self);
                    })
            .method(sel<"isHighlighted">(), [](UITableViewCell* self, SEL) { return self->highlighted; })
            .method(sel<"setHighlighted:">(),
                    [](UITableViewCell* self, SEL, BOOL highlighted) {
                        msg<void>(self, sel<"setHighlighted:animated:">(), highlighted, NO);
                    })
            .method(sel<"setHighlighted:animated:">(),
                    [](UITableViewCell* self, SEL, BOOL highlighted, BOOL) { self->highlighted = highlighted; })
            .method(sel<"selectionStyle">(), [](UITableViewCell* self, SEL) { return self->selectionStyle; })
            .method(sel<"setSelectionStyle:">(),
                    [](UITableViewCell* self, SEL, long style) {
                        self->selectionStyle = style;
                        updateSelection(self);
                    })
            .method(sel<"accessoryType">(), [](UITableViewCell* self, SEL) { return self->accessoryType; })
            .method(sel<"setAccessoryType:">(), [](UITableViewCell* self, SEL, long type) { self->accessoryType = type; })
            .method(sel<"layoutSubviews">(), [](UITableViewCell* self, SEL) { layoutCell(self); })
            .registerClass();
}

}  // namespace platform::uikit
