// UIActivityIndicatorView: style, colour and the animating state of the spinner.
#include "Registration.h"

#include <UIKit/UIActivityIndicatorView.h>
#include <UIKit/UIGraphics.h>

#include <numbers>

namespace {

Class gUIActivityIndicatorView = nullptr;

UIColor* colorForStyle(long style) { return UIColor::colorWithWhite(style == UIActivityIndicatorViewStyleGray ? 0.5 : 1.0, 1.0); }

void setAnimating(UIActivityIndicatorView* self, bool animating) {
    self->animating = animating;
    if (animating) msg<void>(self, sel<"setHidden:">(), NO);
    else if (self->hidesWhenStopped) msg<void>(self, sel<"setHidden:">(), YES);
}

// Twelve spokes around the centre in the indicator's colour (asked by message, so a replaced
// `color` shows), fading clockwise from the one at the top as the phone draws a frame of the spin.
void drawSpokes(UIActivityIndicatorView* self, CGRect bounds) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    id color = msg<id>(self, sel<"color">());
    if (!context || !object_isKindOfClass(color, UIColor::class_())) return;
    double red = 0, green = 0, blue = 0, alpha = 0;
    if (!msg<BOOL>(color, sel<"getRed:green:blue:alpha:">(), &red, &green, &blue, &alpha)) return;
    double radius = std::min(bounds.size.width, bounds.size.height) / 2;
    double length = radius * 0.45, width = radius * 0.16;
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, bounds.size.width / 2, bounds.size.height / 2);
    for (int i = 0; i < 12; ++i) {
        CGContextSetRGBFillColor(context, red, green, blue, alpha * (1.0 - i / 14.0));
        CGContextFillRect(context, {{-width / 2, -radius}, {width, length}});
        CGContextRotateCTM(context, std::numbers::pi / 6);
    }
    CGContextRestoreGState(context);
}

}  // namespace

Class UIActivityIndicatorView::class_() { return gUIActivityIndicatorView; }

namespace platform::uikit {

void registerUIActivityIndicatorView() {
    using objc::ClassBuilder;
    gUIActivityIndicatorView =
        ClassBuilder<UIActivityIndicatorView>("UIActivityIndicatorView", UIView::class_())
            .method(sel<"initWithActivityIndicatorStyle:">(),
                    [](UIActivityIndicatorView* self, SEL, long style) {
                        self->style = style;
                        self->color = objc::retain(colorForStyle(style));
                        double side = style == UIActivityIndicatorViewStyleWhiteLarge ? 37 : 20;
                        return msg<id>(self, sel<"initWithFrame:">(), CGRect{{0, 0}, {side, side}});
                    })
            .method(sel<"initWithFrame:">(),
                    [](UIActivityIndicatorView* self, SEL, CGRect frame) {
                        if (!self->color) self->color = objc::retain(colorForStyle(self->style));
                        id indicator = callSuper<id>(UIView::class_(), self, sel<"initWithFrame:">(), frame);
                        if (!self->animating && self->hidesWhenStopped) msg<void>(indicator, sel<"setHidden:">(), YES);
                        return indicator;
                    })
            .method(sel<"activityIndicatorViewStyle">(), [](UIActivityIndicatorView* self, SEL) { return self->style; })
            .method(sel<"setActivityIndicatorViewStyle:">(),
                    [](UIActivityIndicatorView* self, SEL, long style) {
                        self->style = style;
                        self->color = objc::retain(colorForStyle(style));
                    })
            .method(sel<"color">(), [](UIActivityIndicatorView* self, SEL) -> id { return self->color.get(); })
            .method(sel<"setColor:">(), [](UIActivityIndicatorView* self, SEL, UIColor* color) { self->color = objc::retain(color); })
            .method(sel<"drawRect:">(), [](UIActivityIndicatorView* self, SEL, CGRect) { drawSpokes(self, {{0, 0}, self->frame.size}); })
            .method(sel<"startAnimating">(), [](UIActivityIndicatorView* self, SEL) { setAnimating(self, true); })
            .method(sel<"stopAnimating">(), [](UIActivityIndicatorView* self, SEL) { setAnimating(self, false); })
            .method(sel<"isAnimating">(), [](UIActivityIndicatorView* self, SEL) { return self->animating; })
            .method(sel<"hidesWhenStopped">(), [](UIActivityIndicatorView* self, SEL) { return self->hidesWhenStopped; })
            .method(sel<"setHidesWhenStopped:">(),
                    [](UIActivityIndicatorView* self, SEL, BOOL hides) {
                        self->hidesWhenStopped = hides;
                        if (!self->animating) msg<void>(self, sel<"setHidden:">(), hides);
                    })
            .method(sel<"intrinsicContentSize">(), [](UIActivityIndicatorView* self, SEL) { return msg<CGSize>(self, sel<"sizeThatFits:">(), CGSizeZero); })
            .method(sel<"sizeThatFits:">(),
                    [](UIActivityIndicatorView* self, SEL, CGSize) {
                        double side = self->style == UIActivityIndicatorViewStyleWhiteLarge ? 37 : 20;
                        return CGSize{side, side};
                    })
            .registerClass();
}

}  // namespace platform::uikit
