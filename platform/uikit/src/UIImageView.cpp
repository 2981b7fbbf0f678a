// UIImageView: the image it shows and its size.
#include "Registration.h"

#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>

namespace {

Class gUIImageView = nullptr;

id initWithImages(UIImageView* self, UIImage* image, UIImage* highlighted) {
    CGRect frame{{0, 0}, image ? image->pointSize() : CGSizeZero};
    id result = msg<id>(self, sel<"initWithFrame:">(), frame);
    if (image) msg<void>(result, sel<"setImage:">(), static_cast<id>(image));
    if (highlighted) msg<void>(result, sel<"setHighlightedImage:">(), static_cast<id>(highlighted));
    return result;
}

}  // namespace

Class UIImageView::class_() { return gUIImageView; }

UIImageView::UIImageView() { userInteractionEnabled = false; }

namespace platform::uikit {

void registerUIImageView() {
    using objc::ClassBuilder;
    gUIImageView =
        ClassBuilder<UIImageView>("UIImageView", UIView::class_())
            .method(sel<"initWithImage:">(), [](UIImageView* self, SEL, UIImage* image) { return initWithImages(self, image, nullptr); })
            .method(sel<"initWithImage:highlightedImage:">(),
                    [](UIImageView* self, SEL, UIImage* image, UIImage* highlighted) { return initWithImages(self, image, highlighted); })
            .method(sel<"image">(), [](UIImageView* self, SEL) -> id { return self->image.get(); })
            .method(sel<"setImage:">(), [](UIImageView* self, SEL, UIImage* image) { self->image = objc::retain(image); })
            .method(sel<"highlightedImage">(), [](UIImageView* self, SEL) -> id { return self->highlightedImage.get(); })
            .method(sel<"setHighlightedImage:">(),
                    [](UIImageView* self, SEL, UIImage* image) { self->highlightedImage = objc::retain(image); })
            .method(sel<"isHighlighted">(), [](UIImageView* self, SEL) { return self->highlighted; })
            .method(sel<"setHighlighted:">(), [](UIImageView* self, SEL, BOOL highlighted) { self->highlighted = highlighted; })
            .method(sel<"intrinsicContentSize">(), [](UIImageView* self, SEL) { return msg<CGSize>(self, sel<"sizeThatFits:">(), CGSizeZero); })
            .method(sel<"sizeThatFits:">(),
                    [](UIImageView* self, SEL, CGSize) { return self->image ? self->image->pointSize() : CGSizeZero; })
            .registerClass();
}

}  // namespace platform::uikit
