// UIVisualEffectView and the blur and vibrancy effects: the effect subviews a blur is made of.
#include "Registration.h"

#include <UIKit/UIVisualEffectView.h>

namespace {

Class gUIVisualEffect = nullptr;
Class gUIBlurEffect = nullptr;
Class gUIVibrancyEffect = nullptr;
Class gUIVisualEffectView = nullptr;

UIColor* blurTint(long style) {
    switch (style) {
    case UIBlurEffectStyleLight:
    case UIBlurEffectStyleRegular:
        return UIColor::colorWithWhite(1.0, 0.3);
    case UIBlurEffectStyleDark:
        return UIColor::colorWithWhite(0.11, 0.73);
    default:
        return UIColor::colorWithWhite(0.97, 0.8);
    }
}

objc::Strong<UIView> newEffectSubview(const char* className) {
    Class cls = objc_getClass(className);
    return platform::uikit::newView<UIView>(cls ? cls : UIView::class_());
}

void removeSubview(UIVisualEffectView* self, objc::Strong<UIView>& slot) {
    if (slot && slot->superview == self) msg<void>(slot.get(), sel<"removeFromSuperview">());
    slot = nullptr;
}

// Rebuilds the subviews below the content view for the current effect.
void applyEffect(UIVisualEffectView* self) {
    removeSubview(self, self->backdropView);
    removeSubview(self, self->tintView);
    if (!object_isKindOfClass(self->effect.get(), gUIBlurEffect)) return;
    long style = static_cast<UIBlurEffect*>(self->effect.get())->style;
    self->backdropView = newEffectSubview("_UIVisualEffectBackdropView");
    self->tintView = newEffectSubview("_UIVisualEffectSubview");
    CGRect bounds{{0, 0}, self->frame.size};
    for (UIView* view : {self->backdropView.get(), self->tintView.get()}) msg<void>(view, sel<"setFrame:">(), bounds);
    msg<void>(self->tintView.get(), sel<"setBackgroundColor:">(), static_cast<id>(blurTint(style)));
    msg<void>(self, sel<"insertSubview:atIndex:">(), static_cast<id>(self->backdropView.get()), 0L);
    msg<void>(self, sel<"insertSubview:atIndex:">(), static_cast<id>(self->tintView.get()), 1L);
}

}  // namespace

Class UIVisualEffect::class_() { return gUIVisualEffect; }
Class UIBlurEffect::class_() { return gUIBlurEffect; }
Class UIVibrancyEffect::class_() { return gUIVibrancyEffect; }
Class UIVisualEffectView::class_() { return gUIVisualEffectView; }

namespace platform::uikit {

void registerUIVisualEffectView() {
    using objc::ClassBuilder;
    gUIVisualEffect = ClassBuilder<UIVisualEffect>("UIVisualEffect", NSObject::class_()).registerClass();
    gUIBlurEffect = ClassBuilder<UIBlurEffect>("UIBlurEffect", gUIVisualEffect)
                        .classMethod(sel<"effectWithStyle:">(),
                                     [](Class cls, SEL, long style) -> id {
                                         auto* effect = static_cast<UIBlurEffect*>(class_createInstance(cls));
                                         effect->style = style;
                                         return objc::autorelease(effect);
                                     })
                        .method(sel<"style">(), [](UIBlurEffect* self, SEL) { return self->style; })
                        .registerClass();
    gUIVibrancyEffect = ClassBuilder<UIVibrancyEffect>("UIVibrancyEffect", gUIVisualEffect)
                            .classMethod(sel<"effectForBlurEffect:">(),
                                         [](Class cls, SEL, UIBlurEffect* blur) -> id {
                                             auto* effect = static_cast<UIVibrancyEffect*>(class_createInstance(cls));
                                             effect->blurEffect = objc::retain(blur);
                                             return objc::autorelease(effect);
                                         })
                            .method(sel<"blurEffect">(), [](UIVibrancyEffect* self, SEL) -> id { return self->blurEffect.get(); })
                            .registerClass();

    gUIVisualEffectView =
        ClassBuilder<UIVisualEffectView>("UIVisualEffectView", UIView::class_())
            .method(sel<"initWithEffect:">(),
                    [](UIVisualEffectView* self, SEL, UIVisualEffect* effect) {
                        id view = msg<id>(self, sel<"initWithFrame:">(), CGRectZero);
                        msg<void>(view, sel<"setEffect:">(), static_cast<id>(effect));
                        return view;
                    })
            .method(sel<"initWithFrame:">(),
                    [](UIVisualEffectView* self, SEL, CGRect frame) {
                        id view = callSuper<id>(UIView::class_(), self, sel<"initWithFrame:">(), frame);
                        self->contentView = newEffectSubview("_UIVisualEffectContentView");
                        msg<void>(self->contentView.get(), sel<"setFrame:">(), CGRect{{0, 0}, frame.size});
                        msg<void>(view, sel<"addSubview:">(), static_cast<id>(self->contentView.get()));
                        return view;
                    })
            .method(sel<"effect">(), [](UIVisualEffectView* self, SEL) -> id { return self->effect.get(); })
            .method(sel<"setEffect:">(),
                    [](UIVisualEffectView* self, SEL, UIVisualEffect* effect) {
                        self->effect = objc::retain(effect);
                        applyEffect(self);
                    })
            .method(sel<"contentView">(), [](UIVisualEffectView* self, SEL) -> id { return self->contentView.get(); })
            .method(sel<"layoutSubviews">(),
                    [](UIVisualEffectView* self, SEL) {
                        CGRect bounds{{0, 0}, self->frame.size};
                        for (UIView* view : {self->backdropView.get(), self->tintView.get(), self->contentView.get()})
                            if (view && view->superview == self) msg<void>(view, sel<"setFrame:">(), bounds);
                    })
            .registerClass();
}

}  // namespace platform::uikit
