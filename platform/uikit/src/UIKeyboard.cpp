// The keyboard: first responders, the keyboard view with its key caps and dock, and its light and dark looks.
#include "Keyboard.h"
#include "Registration.h"

#include <Foundation/Foundation.h>
#include <UIKit/NSStringDrawing.h>
#include <UIKit/UIBezierPath.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIKeyboard.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>

namespace {

constexpr double kKeyplaneHeight = 216;
constexpr double kDockHeight = 75;
constexpr double kKeyHeight = 42;
constexpr double kKeyGap = 6;
constexpr double kRowPitch = 54;
constexpr double kKeyCornerRadius = 5;

double dockHeight() { return platform::homeIndicatorHeight() > 0 ? kDockHeight : 0; }

// The key caps' colours of the two looks.
struct Look {
    double background, letterKey, functionKey, label;
};
constexpr Look kLight{0.82, 1.0, 0.68, 0.0};
constexpr Look kDark{0.09, 0.36, 0.22, 1.0};

// Instance variables of the private views, named after their properties as the phone's are.
template <class T>
T* ivarSlot(id self, const char* name) {
    Ivar ivar = class_getInstanceVariable(object_getClass(self), name);
    return ivar ? reinterpret_cast<T*>(reinterpret_cast<char*>(self) + ivar_getOffset(ivar)) : nullptr;
}

id loadObject(id self, const char* name) {
    id* slot = ivarSlot<id>(self, name);
    return slot ? *slot : nil;
}

void storeStrong(id self, const char* name, id value) {
    if (id* slot = ivarSlot<id>(self, name)) objc_release(std::exchange(*slot, objc_retain(value)));
}

template <objc::FixedString Name, objc::FixedString Setter>
void addObjectProperty(Class cls) {
    static constexpr auto encoding = objc::encode<id>();
    class_addIvar(cls, Name.data, sizeof(id), alignof(id), encoding.chars.data());
    objc::addMethod(cls, sel<Name>(), [](id self, SEL) { return loadObject(self, Name.data); });
    objc::addMethod(cls, sel<Setter>(), [](id self, SEL, id value) { storeStrong(self, Name.data, value); });
}

id str(const std::string& text) { return objc::autorelease(static_cast<id>(NSString::createFromUTF8(text).release())); }

// A key cap: a rounded key in its colour with its label centred and the secondary label (the
// letters of a keypad digit) below it.
void drawKey(id self, CGRect bounds) {
    id keyColor = loadObject(self, "keyColor");
    if (keyColor) {
        msg<void>(keyColor, sel<"setFill">());
        msg<void>(msg<id>(objc_getClass("UIBezierPath"), sel<"bezierPathWithRoundedRect:cornerRadius:">(), bounds, kKeyCornerRadius), sel<"fill">());
    }
    id labelColor = loadObject(self, "labelColor");
    if (!labelColor) labelColor = UIColor::colorWithWhite(0, 1);
    id secondary = loadObject(self, "secondaryLabel");
    auto drawCentred = [&](id text, double size, double centreY) {
        if (!text) return;
        id attributes = objc::dict({{NSFontAttributeName, UIFont::systemFont(size)}, {NSForegroundColorAttributeName, labelColor}});
        CGSize extent = msg<CGSize>(text, sel<"sizeWithAttributes:">(), attributes);
        platform::uikit::drawStringDirectly(text, {{(bounds.size.width - extent.width) / 2, centreY - extent.height / 2}, extent},
                                            NSStringDrawingUsesLineFragmentOrigin, attributes);
    };
    double labelSize = std::round(bounds.size.height * (secondary ? 0.5 : 0.55));
    double centre = bounds.size.height / 2 - (secondary ? bounds.size.height * 0.1 : 0);
    drawCentred(loadObject(self, "label"), labelSize, centre);
    drawCentred(secondary, 10, bounds.size.height * 0.78);
}

void addKeyView(Class cls) {
    addObjectProperty<"label", "setLabel:">(cls);
    addObjectProperty<"secondaryLabel", "setSecondaryLabel:">(cls);
    addObjectProperty<"keyColor", "setKeyColor:">(cls);
    addObjectProperty<"labelColor", "setLabelColor:">(cls);
    objc::addMethod(cls, sel<"drawRect:">(), [](id self, SEL, CGRect) { drawKey(self, msg<CGRect>(self, sel<"bounds">())); });
}

objc::Strong<UIView> keyView(const std::string& label, CGRect frame, bool function) {
    auto key = platform::uikit::newView<UIView>(objc_getClass("UIKBKeyView"), frame);
    msg<void>(key.get(), sel<"setLabel:">(), str(label));
    if (function) msg<void>(key.get(), sel<"setTag:">(), 1L);  // function keys take the darker key colour
    return key;
}

// The letter rows of the phone's English keyboard with shift, delete, numbers, space and return.
void addKeys(UIView* keyplane, double width) {
    constexpr std::array<const char*, 3> rows{"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    double keyWidth = (width - kKeyGap * 10) / 10;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::string letters = rows[r];
        double rowWidth = letters.size() * keyWidth + (letters.size() - 1) * kKeyGap;
        double x = (width - rowWidth) / 2, y = 10 + r * kRowPitch;
        for (char c : letters) {
            msg<void>(keyplane, sel<"addSubview:">(), static_cast<id>(keyView(std::string(1, c), {{x, y}, {keyWidth, kKeyHeight}}, false).get()));
            x += keyWidth + kKeyGap;
        }
    }
    double sideWidth = keyWidth * 1.3, y = 10 + 2 * kRowPitch;
    msg<void>(keyplane, sel<"addSubview:">(), static_cast<id>(keyView("\u21E7", {{kKeyGap / 2, y}, {sideWidth, kKeyHeight}}, true).get()));
    msg<void>(keyplane, sel<"addSubview:">(),
              static_cast<id>(keyView("\u232B", {{width - kKeyGap / 2 - sideWidth, y}, {sideWidth, kKeyHeight}}, true).get()));
    y = 10 + 3 * kRowPitch;
    double returnWidth = keyWidth * 2.5, numbersWidth = keyWidth * 2.5;
    msg<void>(keyplane, sel<"addSubview:">(), static_cast<id>(keyView("123", {{kKeyGap / 2, y}, {numbersWidth, kKeyHeight}}, true).get()));
    double spaceX = kKeyGap / 2 + numbersWidth + kKeyGap;
    msg<void>(keyplane, sel<"addSubview:">(),
              static_cast<id>(keyView("space", {{spaceX, y}, {width - spaceX - returnWidth - kKeyGap * 1.5, kKeyHeight}}, false).get()));
    msg<void>(keyplane, sel<"addSubview:">(),
              static_cast<id>(keyView("return", {{width - kKeyGap / 2 - returnWidth, y}, {returnWidth, kKeyHeight}}, true).get()));
}

// The dock's glyphs as template images: a globe and a microphone, drawn in strokes.
id dockGlyph(bool globe) {
    constexpr double side = 26;
    UIGraphicsBeginImageContextWithOptions({side, side}, false, 0);
    msg<void>(UIColor::colorWithWhite(0, 1), sel<"setStroke">());
    Class path = objc_getClass("UIBezierPath");
    auto stroke = [](id p) {
        msg<void>(p, sel<"setLineWidth:">(), 1.5);
        msg<void>(p, sel<"stroke">());
    };
    if (globe) {
        stroke(msg<id>(path, sel<"bezierPathWithOvalInRect:">(), CGRect{{2, 2}, {22, 22}}));
        stroke(msg<id>(path, sel<"bezierPathWithOvalInRect:">(), CGRect{{8, 2}, {10, 22}}));
        stroke(msg<id>(path, sel<"bezierPathWithRect:">(), CGRect{{2, 13}, {22, 0}}));
    } else {
        stroke(msg<id>(path, sel<"bezierPathWithRoundedRect:cornerRadius:">(), CGRect{{9, 2}, {8, 15}}, 4.0));
        stroke(msg<id>(path, sel<"bezierPathWithArcCenter:radius:startAngle:endAngle:clockwise:">(), CGPoint{13, 12}, 8.0, 0.0,
                       std::numbers::pi, YES));
        stroke(msg<id>(path, sel<"bezierPathWithRect:">(), CGRect{{13, 20}, {0, 4}}));
    }
    id image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return msg<id>(image, sel<"imageWithRenderingMode:">(), 2L);
}

objc::Strong<UIView> makeDock(double width) {
    auto dock = platform::uikit::newView<UIView>(objc_getClass("UIKeyboardDockView"), {{0, kKeyplaneHeight}, {width, kDockHeight}});
    Class buttonClass = objc_getClass("UIKeyboardDockItemButton");
    for (bool globe : {true, false}) {
        auto button = objc::retain(static_cast<UIView*>(msg<id>(buttonClass, sel<"buttonWithType:">(), 0L)));
        msg<void>(button.get(), sel<"setImage:forState:">(), dockGlyph(globe), 0UL);
        msg<void>(button.get(), sel<"setFrame:">(), CGRect{{globe ? 18.0 : width - 18 - 44, 8}, {44, 44}});
        msg<void>(dock.get(), sel<"addSubview:">(), static_cast<id>(button.get()));
    }
    return dock;
}

Class gKeyboardSuperclass = nullptr;

// The keyboard asks for the responder's look at each layout, so a replaced keyboardAppearance or
// lightKeyboard shows at the next pass.
void layoutKeyboard(UIView* keyboard) {
    id responder = loadObject(keyboard, "inputResponder");
    id traits = msg<id>(responder, sel<"textInputTraits">());
    long appearance = msg<long>(traits, sel<"keyboardAppearance">());
    id config = msg<id>(objc_getClass("UIKBRenderConfig"), sel<"configForAppearance:">(), appearance);
    storeStrong(keyboard, "renderConfig", config);
    const Look& look = msg<BOOL>(config, sel<"lightKeyboard">()) ? kLight : kDark;
    msg<void>(keyboard, sel<"setBackgroundColor:">(), static_cast<id>(UIColor::colorWithWhite(look.background, 1)));
    UIColor* labelColor = UIColor::colorWithWhite(look.label, 1);
    for (auto& part : keyboard->subviews) {
        if (part.get() == nullptr) continue;
        if (object_isKindOfClass(part.get(), objc_getClass("UIKBKeyplaneView"))) {
            for (auto& key : part->subviews) {
                double shade = key->tag == 1 ? look.functionKey : look.letterKey;
                msg<void>(key.get(), sel<"setKeyColor:">(), static_cast<id>(UIColor::colorWithWhite(shade, 1)));
                msg<void>(key.get(), sel<"setLabelColor:">(), static_cast<id>(labelColor));
            }
        } else {
            for (auto& button : part->subviews) msg<void>(button.get(), sel<"setTintColor:">(), static_cast<id>(UIColor::colorWithWhite(look.label > 0 ? 1 : 0.33, 1)));
        }
    }
}

void addKeyboard(Class cls) {
    gKeyboardSuperclass = class_getSuperclass(cls);
    addObjectProperty<"renderConfig", "setRenderConfig:">(cls);
    addObjectProperty<"inputResponder", "setInputResponder:">(cls);
    objc::addMethod(cls, sel<"initWithFrame:">(), [](UIView* self, SEL cmd, CGRect frame) {
        id keyboard = platform::uikit::callSuper<id>(gKeyboardSuperclass, self, cmd, frame);
        auto keyplane = platform::uikit::newView<UIView>(objc_getClass("UIKBKeyplaneView"), {{0, 0}, {frame.size.width, kKeyplaneHeight}});
        addKeys(keyplane.get(), frame.size.width);
        msg<void>(keyboard, sel<"addSubview:">(), static_cast<id>(keyplane.get()));
        if (dockHeight() > 0) msg<void>(keyboard, sel<"addSubview:">(), static_cast<id>(makeDock(frame.size.width).get()));
        return keyboard;
    });
    objc::addMethod(cls, sel<"layoutSubviews">(), [](UIView* self, SEL) { layoutKeyboard(self); });
}

void showKeyboard(UIWindow* window, UIView* input) {
    CGSize size = window->frame.size;
    double height = platform::keyboardHeight();
    if (!window->keyboard) window->keyboard = platform::uikit::newView<UIView>(objc_getClass("UIKeyboard"), {{0, 0}, {size.width, height}});
    UIView* keyboard = window->keyboard.get();
    msg<void>(keyboard, sel<"setInputResponder:">(), static_cast<id>(input));
    msg<void>(keyboard, sel<"setFrame:">(), CGRect{{0, size.height - height}, {size.width, height}});
    msg<void>(window, sel<"addSubview:">(), static_cast<id>(keyboard));
    msg<void>(keyboard, sel<"setNeedsLayout">());
}

void hideKeyboard(UIWindow* window) {
    if (!window->keyboard) return;
    msg<void>(window->keyboard.get(), sel<"setInputResponder:">(), static_cast<id>(nil));
    msg<void>(window->keyboard.get(), sel<"removeFromSuperview">());
    window->keyboard = nullptr;
}

// DevicePINKeypad: the twelve keys of the pass-code keypad at the phone's size, digits with their letters.
Class gKeypadSuperclass = nullptr;

constexpr double kKeypadKeyHeight = 46;

void addKeypad(Class cls) {
    gKeypadSuperclass = class_getSuperclass(cls);
    objc::addMethod(cls, sel<"initWithFrame:">(), [](UIView* self, SEL cmd, CGRect frame) {
        id keypad = platform::uikit::callSuper<id>(gKeypadSuperclass, self, cmd, frame);
        constexpr std::array<std::pair<const char*, const char*>, 12> keys{{{"1", ""},
                                                                             {"2", "A B C"},
                                                                             {"3", "D E F"},
                                                                             {"4", "G H I"},
                                                                             {"5", "J K L"},
                                                                             {"6", "M N O"},
                                                                             {"7", "P Q R S"},
                                                                             {"8", "T U V"},
                                                                             {"9", "W X Y Z"},
                                                                             {"", ""},
                                                                             {"0", ""},
                                                                             {"\u232B", ""}}};
        double keyWidth = (frame.size.width - 4 * kKeyGap) / 3;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            CGRect keyFrame{{kKeyGap + (i % 3) * (keyWidth + kKeyGap), kKeyGap + (i / 3) * (kKeypadKeyHeight + kKeyGap)}, {keyWidth, kKeypadKeyHeight}};
            bool blank = i == 9 || i == 11;
            auto key = keyView(keys[i].first, keyFrame, blank);
            if (*keys[i].second) msg<void>(key.get(), sel<"setSecondaryLabel:">(), str(keys[i].second));
            if (!blank) msg<void>(key.get(), sel<"setKeyColor:">(), static_cast<id>(UIColor::colorWithWhite(1, 1)));
            msg<void>(key.get(), sel<"setLabelColor:">(), static_cast<id>(UIColor::colorWithWhite(0, 1)));
            msg<void>(keypad, sel<"addSubview:">(), static_cast<id>(key.get()));
        }
        return keypad;
    });
    objc::addMethod(cls, sel<"sizeThatFits:">(), [](UIView*, SEL, CGSize size) { return CGSize{size.width, 4 * (kKeypadKeyHeight + kKeyGap) + kKeyGap}; });
}

}  // namespace

namespace platform {

UIView* keyboardOfWindow(UIWindow* window) { return window ? window->keyboard.get() : nullptr; }

double keyboardHeight() { return kKeyplaneHeight + dockHeight(); }

}  // namespace platform

namespace platform::uikit {

bool becomeFirstResponder(UIView* input) {
    UIWindow* window = windowOfView(input);
    if (!window) return false;
    if (window->firstResponder == input) return true;
    if (UIView* current = window->firstResponder) msg<BOOL>(current, sel<"resignFirstResponder">());
    window->firstResponder = input;
    showKeyboard(window, input);
    return true;
}

bool resignFirstResponder(UIView* input) {
    UIWindow* window = windowOfView(input);
    if (window && window->firstResponder == input) {
        window->firstResponder = nullptr;
        hideKeyboard(window);
    }
    return true;
}

bool isFirstResponder(UIView* input) {
    UIWindow* window = windowOfView(input);
    return window && window->firstResponder == input;
}

void addKeyViewStock(Class cls) { addKeyView(cls); }
void addKeyboardStock(Class cls) { addKeyboard(cls); }
void addPINKeypadStock(Class cls) { addKeypad(cls); }

}  // namespace platform::uikit
