// UIButton: a control with an image, a title and a background image for each control state.
#pragma once

#include <UIKit/UIControl.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>

#include <map>

// Selectors:
//   + buttonWithType:(long)        0 custom (what init gives), 1 system, ...
//   - (long)buttonType
//   - setImage:(id)forState:(unsigned long), (id)imageForState:(unsigned long), (id)currentImage
//   - setBackgroundImage:(id)forState:, (id)backgroundImageForState:, (id)currentBackgroundImage
//   - setTitle:(id)forState:, (id)titleForState:, (id)currentTitle
//   - setTitleColor:(id)forState:, (id)titleColorForState:, (id)currentTitleColor
//        The getters fall back to the normal state's value when a state has none.
//   - (id)imageView, (id)titleLabel   subviews made on first use; the image view is sent
//        setImage: with the current image whenever the image or the state changes
//   - layoutSubviews                  places the image and the title side by side, centred; a
//        system button without a title colour for its state gives its title its `tintColor`
class UIButton : public UIControl {
public:
    static Class class_();

    using PerState = std::map<unsigned long, objc::Strong<objc_object>>;

    long buttonType = 0;
    PerState images, backgroundImages, titles, titleColors;
    objc::Strong<UIImageView> imageView;
    objc::Strong<UILabel> titleLabel;
};

// UIButtonType
constexpr long UIButtonTypeCustom = 0;
constexpr long UIButtonTypeSystem = 1;
