// UIStackView: the arranged subviews and their placement along the axis.
#include "Collections.h"
#include "Registration.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIStackView.h>

#include <algorithm>

namespace {

Class gUIStackView = nullptr;

void insertArranged(UIStackView* self, UIView* view, std::size_t index) {
    if (!view || view == self) return;
    auto& list = self->arrangedSubviews;
    auto keep = objc::retain(view);
    std::erase_if(list, [&](auto& a) { return a.view.get() == view; });
    list.insert(list.begin() + static_cast<long>(std::min(index, list.size())), {keep, view->frame.size});
    if (view->superview != self) msg<void>(self, sel<"addSubview:">(), static_cast<id>(view));
    self->needsLayout = true;
}

void removeArranged(UIStackView* self, UIView* view) {
    std::erase_if(self->arrangedSubviews, [&](auto& a) { return a.view.get() == view; });
    self->needsLayout = true;
}

// Lengths run along the axis, breadths across it.
struct AxisGeometry {
    bool vertical;
    double length(CGSize size) const { return vertical ? size.height : size.width; }
    double breadth(CGSize size) const { return vertical ? size.width : size.height; }
    CGRect rect(double along, double across, double length, double breadth) const {
        return vertical ? CGRect{{across, along}, {breadth, length}} : CGRect{{along, across}, {length, breadth}};
    }
};

// The intrinsic size where the view has one, else the size it came with: a plain view keeps
// its own size however the stack stretched it before.
CGSize naturalSize(const UIStackView::Arranged& arranged) {
    CGSize intrinsic = msg<CGSize>(arranged.view.get(), sel<"intrinsicContentSize">());
    return {intrinsic.width >= 0 ? intrinsic.width : arranged.sizeWhenArranged.width,
            intrinsic.height >= 0 ? intrinsic.height : arranged.sizeWhenArranged.height};
}

void layoutStack(UIStackView* self) {
    std::vector<const UIStackView::Arranged*> visible;
    for (auto& arranged : self->arrangedSubviews)
        if (arranged.view->superview == self && !msg<BOOL>(arranged.view.get(), sel<"isHidden">())) visible.push_back(&arranged);
    if (visible.empty()) return;
    AxisGeometry axis{self->axis == UILayoutConstraintAxisVertical};
    CGSize bounds = self->frame.size;
    double available = axis.length(bounds) - self->spacing * static_cast<double>(visible.size() - 1);
    double equalLength = std::max(0.0, available / static_cast<double>(visible.size()));
    double position = 0;
    for (std::size_t i = 0; i < visible.size(); ++i) {
        UIView* view = visible[i]->view;
        CGSize fitting = naturalSize(*visible[i]);
        double length = equalLength;
        if (self->distribution != UIStackViewDistributionFillEqually)
            length = i + 1 == visible.size() ? std::max(0.0, axis.length(bounds) - position) : axis.length(fitting);
        double breadth = axis.breadth(bounds);
        double across = 0;
        if (self->alignment != UIStackViewAlignmentFill) {
            across = (breadth - axis.breadth(fitting)) / 2;
            breadth = axis.breadth(fitting);
        }
        msg<void>(view, sel<"setFrame:">(), axis.rect(position, across, length, breadth));
        position += length + self->spacing;
    }
}

}  // namespace

Class UIStackView::class_() { return gUIStackView; }

namespace platform::uikit {

void registerUIStackView() {
    using objc::ClassBuilder;
    gUIStackView =
        ClassBuilder<UIStackView>("UIStackView", UIView::class_())
            .method(sel<"initWithArrangedSubviews:">(),
                    [](UIStackView* self, SEL, id views) {
                        id stack = msg<id>(self, sel<"initWithFrame:">(), CGRectZero);
                        unsigned long count = msg<unsigned long>(views, sel<"count">());
                        for (unsigned long i = 0; i < count; ++i)
                            msg<void>(stack, sel<"addArrangedSubview:">(), msg<id>(views, sel<"objectAtIndex:">(), i));
                        return stack;
                    })
            .method(sel<"arrangedSubviews">(),
                    [](UIStackView* self, SEL) -> id {
                        std::vector<id> views;
                        for (auto& arranged : self->arrangedSubviews) views.push_back(arranged.view.get());
                        return arrayWithObjects(views);
                    })
            .method(sel<"addArrangedSubview:">(),
                    [](UIStackView* self, SEL, UIView* view) { insertArranged(self, view, self->arrangedSubviews.size()); })
            .method(sel<"insertArrangedSubview:atIndex:">(),
                    [](UIStackView* self, SEL, UIView* view, unsigned long index) { insertArranged(self, view, index); })
            .method(sel<"removeArrangedSubview:">(), [](UIStackView* self, SEL, UIView* view) { removeArranged(self, view); })
            .method(sel<"willRemoveSubview:">(), [](UIStackView* self, SEL, UIView* view) { removeArranged(self, view); })
            .method(sel<"axis">(), [](UIStackView* self, SEL) { return self->axis; })
            .method(sel<"setAxis:">(),
                    [](UIStackView* self, SEL, long axis) {
                        self->axis = axis;
                        self->needsLayout = true;
                    })
            .method(sel<"distribution">(), [](UIStackView* self, SEL) { return self->distribution; })
            .method(sel<"setDistribution:">(),
                    [](UIStackView* self, SEL, long distribution) {
                        self->distribution = distribution;
                        self->needsLayout = true;
                    })
            .method(sel<"alignment">(), [](UIStackView* self, SEL) { return self->alignment; })
            .method(sel<"setAlignment:">(),
                    [](UIStackView* self, SEL, long alignment) {
                        self->alignment = alignment;
                        self->needsLayout = true;
                    })
            .method(sel<"spacing">(), [](UIStackView* self, SEL) { return self->spacing; })
            .method(sel<"setSpacing:">(),
                    [](UIStackView* self, SEL, double spacing) {
                        self->spacing = spacing;
                        self->needsLayout = true;
                    })
            .method(sel<"layoutSubviews">(), [](UIStackView* self, SEL) { layoutStack(self); })
            .registerClass();
}

}  // namespace platform::uikit
