// UIImageView: a view that shows an image, drawn in its tint colour when the image is a template.
#pragma once

#include <UIKit/UIImage.h>
#include <UIKit/UIView.h>

// Selectors:
//   - initWithImage:(id)        a frame of the image's size at the origin
//   - initWithImage:(id)highlightedImage:(id)
//   - (id)image, setImage:(id), (id)highlightedImage, setHighlightedImage:(id)
//   - (BOOL)isHighlighted, setHighlighted:(BOOL)
//   - tintColor as every view; (CGSize)sizeThatFits: the image's size
class UIImageView : public UIView {
public:
    static Class class_();
    UIImageView();

    objc::Strong<UIImage> image;
    objc::Strong<UIImage> highlightedImage;
    bool highlighted = false;
};
