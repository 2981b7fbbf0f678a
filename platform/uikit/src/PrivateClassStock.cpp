// Stock state and methods of the private classes that keep values: traits, render configs, separators, rings.
#include "Keyboard.h"
#include "PrivateStock.h"
#include "Registration.h"

#include <QuartzCore/CALayer.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIView.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace platform::uikit {

namespace {

// Private classes keep their state in instance variables named after their properties, as the
// phone's do, so that class_getInstanceVariable finds them too.
template <class T>
T* ivarSlot(id self, const char* name) {
    Ivar ivar = class_getInstanceVariable(object_getClass(self), name);
    return ivar ? reinterpret_cast<T*>(reinterpret_cast<char*>(self) + ivar_getOffset(ivar)) : nullptr;
}

void storeStrong(id self, const char* name, id value) {
    if (id* slot = ivarSlot<id>(self, name)) objc_release(std::exchange(*slot, objc_retain(value)));
}

id loadObject(id self, const char* name) {
    id* slot = ivarSlot<id>(self, name);
    return slot ? *slot : nil;
}

template <class T>
void addIvar(Class cls, const char* name) {
    static constexpr auto encoding = objc::encode<T>();
    class_addIvar(cls, name, sizeof(T), alignof(T), encoding.chars.data());
}

// A getter and a setter of a scalar property kept in the instance variable `Name`.
template <class T, objc::FixedString Name, objc::FixedString Setter>
void addScalarProperty(Class cls) {
    addIvar<T>(cls, Name.data);
    objc::addMethod(cls, sel<Name>(), [](id self, SEL) -> T {
        T* slot = ivarSlot<T>(self, Name.data);
        return slot ? *slot : T{};
    });
    objc::addMethod(cls, sel<Setter>(), [](id self, SEL, T value) {
        if (T* slot = ivarSlot<T>(self, Name.data)) *slot = value;
    });
}

// The same for an object property, retained.
template <objc::FixedString Name, objc::FixedString Setter>
void addObjectProperty(Class cls) {
    addIvar<id>(cls, Name.data);
    objc::addMethod(cls, sel<Name>(), [](id self, SEL) { return loadObject(self, Name.data); });
    objc::addMethod(cls, sel<Setter>(), [](id self, SEL, id value) { storeStrong(self, Name.data, value); });
}

// UITextInputTraits: the values a text input reports to the keyboard.
void addTextInputTraits(Class cls) {
    addScalarProperty<long, "keyboardAppearance", "setKeyboardAppearance:">(cls);
    addScalarProperty<long, "keyboardType", "setKeyboardType:">(cls);
    addScalarProperty<long, "returnKeyType", "setReturnKeyType:">(cls);
    addScalarProperty<long, "autocorrectionType", "setAutocorrectionType:">(cls);
    addScalarProperty<long, "autocapitalizationType", "setAutocapitalizationType:">(cls);
    addScalarProperty<bool, "secureTextEntry", "setSecureTextEntry:">(cls);
    objc::addMethod(cls, sel<"isSecureTextEntry">(), [](id self, SEL) { return msg<BOOL>(self, sel<"secureTextEntry">()); });
}

// UIKBRenderConfig: light unless made for the dark keyboard appearance.
id newRenderConfig(Class cls, bool light) {
    id config = msg<id>(msg<id>(cls, sel<"alloc">()), sel<"init">());
    msg<void>(config, sel<"setLightKeyboard:">(), light);
    return objc::autorelease(config);
}

void addRenderConfig(Class cls) {
    addScalarProperty<bool, "lightKeyboard", "setLightKeyboard:">(cls);
    objc::addMethod(cls, sel<"init">(), [](id self, SEL cmd) {
        id config = callSuper<id>(NSObject::class_(), self, cmd);
        if (bool* light = ivarSlot<bool>(config, "lightKeyboard")) *light = true;
        return config;
    });
    Class meta = object_getClass(reinterpret_cast<id>(cls));
    objc::addMethod(meta, sel<"defaultConfig">(), [](Class self, SEL) { return newRenderConfig(self, true); });
    objc::addMethod(meta, sel<"darkConfig">(), [](Class self, SEL) { return newRenderConfig(self, false); });
    objc::addMethod(meta, sel<"configForAppearance:">(),
                    [](Class self, SEL, long appearance) { return newRenderConfig(self, appearance != 1); });
}

// UITableViewCellSelectedBackground: draws its selection tint over its bounds.
void addSelectedBackground(Class cls) {
    addObjectProperty<"selectionTintColor", "setSelectionTintColor:">(cls);
    objc::addMethod(cls, sel<"drawRect:">(), [](id self, SEL, CGRect) {
        id tint = loadObject(self, "selectionTintColor");
        if (!tint || !UIGraphicsGetCurrentContext()) return;
        msg<void>(tint, sel<"setFill">());
        UIRectFill(msg<CGRect>(self, sel<"bounds">()));
    });
}

// _UITableViewCellSeparatorView: the effect a separator is drawn with (nil: its plain colour).
// At layout it settles its appearance as the phone's separator does, hidden or not: it asks its
// effect, and re-reads its background colour for its layer, so the answers of both getters are
// what the separator shows once it is shown again.
void addSeparatorView(Class cls) {
    addObjectProperty<"separatorEffect", "setSeparatorEffect:">(cls);
    objc::addMethod(cls, sel<"layoutSubviews">(), [](UIView* self, SEL) {
        msg<id>(self, sel<"separatorEffect">());
        applyBackgroundColorToLayer(self);
    });
}

// _MPDownloadProgressRingView: a stroked ring whose drawn part follows the progress.
Class gRingSuperclass = nullptr;

void addDownloadProgressRing(Class cls) {
    gRingSuperclass = class_getSuperclass(cls);
    addIvar<double>(cls, "progress");
    objc::addMethod(object_getClass(reinterpret_cast<id>(cls)), sel<"layerClass">(), [](Class, SEL) { return CAShapeLayer::class_(); });
    objc::addMethod(cls, sel<"initWithFrame:">(), [](id self, SEL cmd, CGRect frame) {
        id ring = callSuper<id>(gRingSuperclass, self, cmd, frame);
        id layer = msg<id>(ring, sel<"layer">());
        msg<void>(layer, sel<"setFillColor:">(), static_cast<CGColorRef>(nullptr));
        msg<void>(layer, sel<"setLineWidth:">(), 2.0);
        msg<void>(layer, sel<"setStrokeEnd:">(), 0.0);
        return ring;
    });
    objc::addMethod(cls, sel<"progress">(), [](id self, SEL) {
        double* slot = ivarSlot<double>(self, "progress");
        return slot ? *slot : 0.0;
    });
    objc::addMethod(cls, sel<"setProgress:">(), [](id self, SEL, double progress) {
        progress = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 0.0;
        if (double* slot = ivarSlot<double>(self, "progress")) *slot = progress;
        msg<void>(msg<id>(self, sel<"layer">()), sel<"setStrokeEnd:">(), progress);
    });
}

// _UIInterfaceActionSystemRepresentationView: re-reads its background colour for its layer when
// laid out, as the phone's action views do.
void addActionRepresentationView(Class cls) {
    objc::addMethod(cls, sel<"layoutSubviews">(), [](UIView* self, SEL) { applyBackgroundColorToLayer(self); });
}

struct Stock {
    std::string_view runtimeName;
    AddStock add;
};

constexpr std::array kStock = {
    Stock{"UITextInputTraits", addTextInputTraits},
    Stock{"UIKBRenderConfig", addRenderConfig},
    Stock{"UITableViewCellSelectedBackground", addSelectedBackground},
    Stock{"_UITableViewCellSeparatorView", addSeparatorView},
    Stock{"_MPDownloadProgressRingView", addDownloadProgressRing},
    Stock{"_UIInterfaceActionSystemRepresentationView", addActionRepresentationView},
    Stock{"UIKBKeyView", addKeyViewStock},
    Stock{"UIKeyboard", addKeyboardStock},
    Stock{"DevicePINKeypad", addPINKeypadStock},
};

}  // namespace

AddStock stockFor(std::string_view runtimeName) {
    for (const Stock& stock : kStock)
        if (stock.runtimeName == runtimeName) return stock.add;
    return nullptr;
}

}  // namespace platform::uikit
