// The shared fixture of the tweak tests.
#include "tweak_fixture.h"

#include "HookTable.h"
#include "UIColor+Tarnwick.h"

#include <Foundation/Foundation.h>
#include <music/MusicClasses.h>
#include <objc/swift.h>

namespace obscuro::testing {

Class ensureClass(const char* name, const char* superclass) {
    if (Class existing = objc_getClass(name)) return existing;
    std::string runtimeName = name;
    if (auto mangled = objc::swiftMangledClassName(name)) runtimeName = *mangled;
    Class cls = objc_allocateClassPair(objc_getClass(superclass), runtimeName.c_str(), 0);
    objc_registerClassPair(cls);
    return cls;
}

id colour(double r, double g, double b, double a) {
    return msg<id>(objc_getClass("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), r, g, b, a);
}

id white(double w, double a) { return msg<id>(objc_getClass("UIColor"), sel<"colorWithWhite:alpha:">(), w, a); }

std::string hexOf(id c) { return c ? objc::utf8(tw_hexStringFromColor(c)) : "nil"; }

void installHooksOnce() {
    static bool installed = (music::registerMusicClasses(), installHookTable(), true);
    (void)installed;
}

SavedImplementationStandIn::SavedImplementationStandIn(const char* className, const char* selector, IMP standIn) {
    installHooksOnce();
    const HookEntry* entry = findHookEntry(className, selector);
    EXPECT_NE(entry, nullptr) << className << " " << selector;
    slot_ = &hookSlots.savedImplementations[entry ? entry->number : 0];
    original_ = *slot_;
    *slot_ = standIn;
}

SavedImplementationStandIn::~SavedImplementationStandIn() { *slot_ = original_; }

void ThemeTest::SetUp() {
    installHooksOnce();
    replaceMember(bgColor, colour(0x10 / 255.0, 0x10 / 255.0, 0x10 / 255.0));
    replaceMember(darkerBgColor, colour(0x08 / 255.0, 0x08 / 255.0, 0x08 / 255.0));
    replaceMember(mainTextColor, colour(0xF0 / 255.0, 0xF0 / 255.0, 0xF0 / 255.0));
    replaceMember(barColor, colour(0x20 / 255.0, 0x20 / 255.0, 0x20 / 255.0));
    replaceMember(tintColor, colour(0xFF / 255.0, 0x40 / 255.0, 0x80 / 255.0));
    enabled = true;
    enableDarkKeyboard = true;
    useCustomColors = false;
    noctisIntegration = false;
    displayArtworkShadow = false;
    useDarkPlaceholder = true;
    colorFlowMusicEnabled = false;
}

void ThemeTest::TearDown() {
    for (id* member : {&bgColor, &darkerBgColor, &mainTextColor, &barColor, &tintColor, &textDrawingColor})
        replaceMember(*member, nullptr);
    enabled = false;
    colorFlowMusicEnabled = true;
}

id ThemeTest::view(const char* className, CGRect frame) {
    Class cls = objc_getClass(className);
    EXPECT_NE(cls, nullptr) << className;
    id v = msg<id>(msg<id>(cls, sel<"alloc">()), sel<"initWithFrame:">(), frame);
    keep_.push_back(objc::adopt(v));
    return v;
}

id ThemeTest::controllerFor(id rootView, const char* controllerClass) {
    id controller = msg<id>(msg<id>(objc_getClass(controllerClass), sel<"alloc">()), sel<"init">());
    keep_.push_back(objc::adopt(controller));
    msg<void>(controller, sel<"setView:">(), rootView);
    return controller;
}

void ThemeTest::addSubview(id parent, id child) { msg<void>(parent, sel<"addSubview:">(), child); }

}  // namespace obscuro::testing
