// UIVisualEffectView and its effects: blurred, tinted backdrops built from private effect subviews.
#pragma once

#include <UIKit/UIView.h>

// UIVisualEffect: the base of effects. UIBlurEffect: + effectWithStyle:(long), - (long)style.
// UIVibrancyEffect: + effectForBlurEffect:(id), - (id)blurEffect.
class UIVisualEffect : public NSObject {
public:
    static Class class_();
};

class UIBlurEffect : public UIVisualEffect {
public:
    static Class class_();
    long style = 0;
};

class UIVibrancyEffect : public UIVisualEffect {
public:
    static Class class_();
    objc::Strong<UIBlurEffect> blurEffect;
};

// Selectors:
//   - initWithEffect:(id)   (initWithFrame: has no effect)
//   - (id)effect, setEffect:(id)
//   - (id)contentView   a _UIVisualEffectContentView, made at init, in front of the effect subviews
// A blur effect gives the view, below its content view, a _UIVisualEffectBackdropView and a
// _UIVisualEffectSubview sent setBackgroundColor: with the style's tint (extra light: white 0.97
// at 0.8; light and regular: white 1 at 0.3; dark: white 0.11 at 0.73; prominent: as extra light),
// as the phone tints its blur; no effect, or a vibrancy effect, leaves only the content view.
// layoutSubviews makes every effect subview fill the bounds.
class UIVisualEffectView : public UIView {
public:
    static Class class_();

    objc::Strong<UIVisualEffect> effect;
    objc::Strong<UIView> contentView;
    objc::Strong<UIView> backdropView;
    objc::Strong<UIView> tintView;
};

// UIBlurEffectStyle
constexpr long UIBlurEffectStyleExtraLight = 0;
constexpr long UIBlurEffectStyleLight = 1;
constexpr long UIBlurEffectStyleDark = 2;
constexpr long UIBlurEffectStyleRegular = 4;
constexpr long UIBlurEffectStyleProminent = 5;
