// UIButton: per-state images and titles, and the image view and label that show the current ones.
#include "Registration.h"

#include <QuartzCore/CALayer.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>

#include <algorithm>

namespace {

Class gUIButton = nullptr;

id valueForState(const UIButton::PerState& values, unsigned long state) {
    if (auto it = values.find(state); it != values.end()) return it->second.get();
    if (auto it = values.find(UIControlStateNormal); it != values.end()) return it->second.get();
    return nil;
}

void setValueForState(UIButton::PerState& values, id value, unsigned long state) {
    if (value) values[state] = objc::retain(value);
    else values.erase(state);
}

UIImageView* imageViewOf(UIButton* self) {
    if (!self->imageView) {
        Class cls = UIImageView::class_();
        self->imageView = objc::adopt(static_cast<UIImageView*>(msg<id>(msg<id>(cls, sel<"alloc">()), sel<"initWithFrame:">(), CGRectZero)));
        msg<void>(self, sel<"addSubview:">(), static_cast<id>(self->imageView.get()));
    }
    return self->imageView.get();
}

UILabel* titleLabelOf(UIButton* self) {
    if (!self->titleLabel) {
        Class cls = objc_getClass("UIButtonLabel");
        if (!cls) cls = UILabel::class_();
        self->titleLabel = objc::adopt(static_cast<UILabel*>(msg<id>(msg<id>(cls, sel<"alloc">()), sel<"initWithFrame:">(), CGRectZero)));
        msg<void>(self, sel<"addSubview:">(), static_cast<id>(self->titleLabel.get()));
    }
    return self->titleLabel.get();
}

// Shows the current state's image and title, through messages so that replacements of the
// image view's and label's setters see them.
void refreshContent(UIButton* self) {
    unsigned long state = self->controlState();
    id image = valueForState(self->images, state);
    if (image || self->imageView) {
        UIImageView* view = imageViewOf(self);
        if (msg<id>(view, sel<"image">()) != image) msg<void>(view, sel<"setImage:">(), image);
    }
    id title = valueForState(self->titles, state);
    if (title || self->titleLabel) {
        UILabel* label = titleLabelOf(self);
        msg<void>(label, sel<"setText:">(), title);
        if (id color = valueForState(self->titleColors, state)) msg<void>(label, sel<"setTextColor:">(), color);
    }
    self->needsLayout = true;
}

// The image left of the title, the pair centred in the bounds. An image larger than the
// bounds is shrunk to fit them, keeping its proportions, as the phone's buttons do.
void layoutContent(UIButton* self) {
    // A system button without a title colour of its own shows its title in its tint colour,
    // asked at each layout as UIKit does, so that a replaced tintColor reaches the title.
    if (self->buttonType == UIButtonTypeSystem && self->titleLabel && !valueForState(self->titleColors, self->controlState()))
        msg<void>(self->titleLabel.get(), sel<"setTextColor:">(), msg<id>(self, sel<"tintColor">()));
    CGSize bounds = self->frame.size;
    CGSize imageSize = self->imageView ? msg<CGSize>(self->imageView.get(), sel<"sizeThatFits:">(), bounds) : CGSizeZero;
    if (imageSize.width > bounds.width || imageSize.height > bounds.height) {
        double shrink = 1;
        if (imageSize.width > 0) shrink = std::min(shrink, std::max(bounds.width, 0.0) / imageSize.width);
        if (imageSize.height > 0) shrink = std::min(shrink, std::max(bounds.height, 0.0) / imageSize.height);
        imageSize = {imageSize.width * shrink, imageSize.height * shrink};
    }
    CGSize titleSize = self->titleLabel ? msg<CGSize>(self->titleLabel.get(), sel<"sizeThatFits:">(), bounds) : CGSizeZero;
    titleSize.width = std::min(titleSize.width, std::max(0.0, bounds.width - imageSize.width));
    double x = (bounds.width - imageSize.width - titleSize.width) / 2;
    if (self->imageView)
        msg<void>(self->imageView.get(), sel<"setFrame:">(), CGRect{{x, (bounds.height - imageSize.height) / 2}, imageSize});
    if (self->titleLabel)
        msg<void>(self->titleLabel.get(), sel<"setFrame:">(),
                  CGRect{{x + imageSize.width, (bounds.height - titleSize.height) / 2}, titleSize});
}

template <UIButton::PerState UIButton::*Values>
auto perStateSetter() {
    return [](UIButton* self, SEL, id value, unsigned long state) {
        setValueForState(self->*Values, value, state);
        refreshContent(self);
    };
}

template <UIButton::PerState UIButton::*Values>
auto perStateGetter() {
    return [](UIButton* self, SEL, unsigned long state) { return valueForState(self->*Values, state); };
}

template <UIButton::PerState UIButton::*Values>
auto currentGetter() {
    return [](UIButton* self, SEL) { return valueForState(self->*Values, self->controlState()); };
}

}  // namespace

Class UIButton::class_() { return gUIButton; }

namespace platform::uikit {

void registerUIButton() {
    using objc::ClassBuilder;
    gUIButton =
        ClassBuilder<UIButton>("UIButton", UIControl::class_())
            .classMethod(sel<"buttonWithType:">(),
                         [](Class self, SEL, long type) -> id {
                             auto* button = static_cast<UIButton*>(msg<id>(self, sel<"alloc">()));
                             button->buttonType = type;
                             return objc::autorelease(msg<id>(button, sel<"initWithFrame:">(), CGRectZero));
                         })
            .method(sel<"buttonType">(), [](UIButton* self, SEL) { return self->buttonType; })
            .method(sel<"setImage:forState:">(), perStateSetter<&UIButton::images>())
            .method(sel<"imageForState:">(), perStateGetter<&UIButton::images>())
            .method(sel<"currentImage">(), currentGetter<&UIButton::images>())
            .method(sel<"setBackgroundImage:forState:">(), perStateSetter<&UIButton::backgroundImages>())
            .method(sel<"backgroundImageForState:">(), perStateGetter<&UIButton::backgroundImages>())
            .method(sel<"currentBackgroundImage">(), currentGetter<&UIButton::backgroundImages>())
            .method(sel<"setTitle:forState:">(), perStateSetter<&UIButton::titles>())
            .method(sel<"titleForState:">(), perStateGetter<&UIButton::titles>())
            .method(sel<"currentTitle">(), currentGetter<&UIButton::titles>())
            .method(sel<"setTitleColor:forState:">(), perStateSetter<&UIButton::titleColors>())
            .method(sel<"titleColorForState:">(), perStateGetter<&UIButton::titleColors>())
            .method(sel<"currentTitleColor">(), currentGetter<&UIButton::titleColors>())
            .method(sel<"imageView">(), [](UIButton* self, SEL) -> id { return imageViewOf(self); })
            .method(sel<"titleLabel">(), [](UIButton* self, SEL) -> id { return titleLabelOf(self); })
            .method(sel<"_stateDidChange">(), [](UIButton* self, SEL) { refreshContent(self); })
            .method(sel<"layoutSubviews">(), [](UIButton* self, SEL) { layoutContent(self); })
            .method(sel<"tintColorDidChange">(), [](UIButton* self, SEL) { self->needsLayout = true; })
            .method(sel<"intrinsicContentSize">(), [](UIButton* self, SEL) { return msg<CGSize>(self, sel<"sizeThatFits:">(), CGSizeZero); })
            .method(sel<"sizeThatFits:">(),
                    [](UIButton* self, SEL, CGSize size) {
                        CGSize image = self->imageView ? msg<CGSize>(self->imageView.get(), sel<"sizeThatFits:">(), size) : CGSizeZero;
                        CGSize title = self->titleLabel ? msg<CGSize>(self->titleLabel.get(), sel<"sizeThatFits:">(), size) : CGSizeZero;
                        return CGSize{image.width + title.width, std::max(image.height, title.height)};
                    })
            .registerClass();
}

}  // namespace platform::uikit
