// UIScreen: the one main screen, whose scale and size the host may choose.
#include "Registration.h"

#include <UIKit/UIScreen.h>
#include <UIKit/UITraitCollection.h>

#include <atomic>
#include <cmath>

namespace {

Class gUIScreen = nullptr;
std::atomic<double> gScale{3.0};
std::atomic<double> gWidth{375.0};
std::atomic<double> gHeight{812.0};

id mainScreen() {
    // One screen object for the life of the process, as on the phone.
    static id screen = class_createInstance(gUIScreen);
    return screen;
}

}  // namespace

Class UIScreen::class_() { return gUIScreen; }

double UIScreen::mainScreenScale() { return gScale.load(std::memory_order_relaxed); }

CGRect UIScreen::mainScreenBounds() { return {{0, 0}, {gWidth.load(std::memory_order_relaxed), gHeight.load(std::memory_order_relaxed)}}; }

namespace platform {

void setMainScreenScale(double scale) {
    if (std::isfinite(scale) && scale > 0) gScale.store(scale, std::memory_order_relaxed);
}

void setMainScreenSize(CGSize size) {
    if (!(std::isfinite(size.width) && std::isfinite(size.height) && size.width > 0 && size.height > 0)) return;
    gWidth.store(size.width, std::memory_order_relaxed);
    gHeight.store(size.height, std::memory_order_relaxed);
}

}  // namespace platform

namespace platform::uikit {

void registerUIScreen() {
    using objc::ClassBuilder;
    gUIScreen = ClassBuilder<UIScreen>("UIScreen", NSObject::class_())
                    .classMethod(sel<"mainScreen">(), [](Class, SEL) { return mainScreen(); })
                    .method(sel<"scale">(), [](UIScreen*, SEL) { return UIScreen::mainScreenScale(); })
                    .method(sel<"nativeScale">(), [](UIScreen*, SEL) { return UIScreen::mainScreenScale(); })
                    .method(sel<"bounds">(), [](UIScreen*, SEL) { return UIScreen::mainScreenBounds(); })
                    .method(sel<"nativeBounds">(),
                            [](UIScreen*, SEL) {
                                CGRect b = UIScreen::mainScreenBounds();
                                double s = UIScreen::mainScreenScale();
                                return CGRect{{0, 0}, {b.size.width * s, b.size.height * s}};
                            })
                    .method(sel<"traitCollection">(), [](UIScreen*, SEL) -> id { return UITraitCollection::forScreenOf(nullptr); })
                    .registerClass();
}

}  // namespace platform::uikit
