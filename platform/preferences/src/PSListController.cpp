// PSListController: pages loaded from specifier files, detail pages, and the stock settings-file getter and setter.
#include "DomainFile.h"
#include "SpecifiersFromPlist.h"
#include "Registration.h"

#include <CoreFoundation/CoreFoundation.h>
#include <Foundation/Foundation.h>
#include <Preferences/PSListController.h>

namespace {

Class gPSListController = nullptr;

using Self = PSListController;

NSArray* loadSpecifiers(Self* self, NSString* name, id target) {
    NSDictionary* plist = nullptr;
    // A name is one file of the bundle, never a path out of it.
    if (name && !name->utf16().empty() && name->utf8().find('/') == std::string::npos) {
        auto* path = msg<NSString*>(self->bundle.get(), sel<"pathForResource:ofType:">(), name, static_cast<NSString*>(NSSTR("plist")));
        if (path) plist = msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), path);
        self->specifierFileName = name->utf8();
    }
    auto loaded = platform::preferences::specifiersFromPlist(plist, target);
    if (loaded.title) msg<void>(self, sel<"setTitle:">(), static_cast<id>(loaded.title.get()));
    return objc::autorelease(loaded.specifiers.release());
}

id readPreferenceValue(PSSpecifier* specifier) {
    if (!specifier) return nullptr;
    NSString* key = specifier->stringProperty("key");
    NSDictionary* settings = platform::preferences::readSettingsFile(platform::preferencesFilePath(specifier->stringProperty("defaults")));
    id value = settings && key ? settings->objectForKey(key) : nullptr;
    return value ? value : specifier->properties->objectForKey(NSSTR("default"));
}

void setPreferenceValue(id value, PSSpecifier* specifier) {
    if (!specifier) return;
    std::string path = platform::preferencesFilePath(specifier->stringProperty("defaults"));
    if (!platform::preferences::storeSetting(path, specifier->stringProperty("key"), value)) return;
    if (NSString* notification = specifier->stringProperty("PostNotification"))
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                             CFStringCreateWithCString(nullptr, notification->utf8().c_str(), kCFStringEncodingUTF8),
                                             nullptr, nullptr, true);
}

}  // namespace

Class PSListController::class_() { return gPSListController; }

namespace platform {

std::string preferencesFilePath(id domain) {
    if (!object_isKindOfClass(domain, NSString::class_())) return {};
    const std::string& name = static_cast<NSString*>(domain)->utf8();
    if (name.empty() || name.starts_with('.') || name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
        return {};
    return "/var/mobile/Library/Preferences/" + name + ".plist";
}

}  // namespace platform

namespace platform::preferences {

void registerPSListController() {
    gPSListController =
        objc::ClassBuilder<PSListController>("PSListController", UIViewController::class_())
            .method(sel<"specifiers">(), [](Self* self, SEL) -> id { return self->_specifiers.get(); })
            .method(sel<"setSpecifiers:">(), [](Self* self, SEL, NSArray* specifiers) { self->_specifiers = objc::retain(specifiers); })
            .method(sel<"reloadSpecifiers">(),
                    [](Self* self, SEL) {
                        self->_specifiers = nullptr;
                        msg<id>(self, sel<"specifiers">());
                    })
            .method(sel<"loadSpecifiersFromPlistName:target:">(),
                    [](Self* self, SEL, NSString* name, id target) { return loadSpecifiers(self, name, target); })
            .method(sel<"specifier">(), [](Self* self, SEL) { return self->specifier.get(); })
            .method(sel<"setSpecifier:">(), [](Self* self, SEL, PSSpecifier* specifier) { self->specifier = objc::retain(specifier); })
            .method(sel<"parentController">(), [](Self* self, SEL) -> id { return self->parentController; })
            .method(sel<"setParentController:">(),
                    [](Self* self, SEL, UIViewController* parent) { self->parentController = parent; })
            .method(sel<"bundle">(), [](Self* self, SEL) { return self->bundle.get(); })
            .method(sel<"setBundle:">(), [](Self* self, SEL, NSBundle* bundle) { self->bundle = objc::retain(bundle); })
            .method(sel<"specifierForID:">(),
                    [](Self* self, SEL, NSString* identifier) -> PSSpecifier* {
                        auto* specifiers = msg<NSArray*>(self, sel<"specifiers">());
                        if (!identifier || !object_isKindOfClass(specifiers, NSArray::class_())) return nullptr;
                        for (const auto& object : specifiers->objects()) {
                            auto* specifier = static_cast<PSSpecifier*>(object.get());
                            if (object_isKindOfClass(specifier, PSSpecifier::class_()) && specifier->identifier &&
                                specifier->identifier->utf16() == identifier->utf16())
                                return specifier;
                        }
                        return nullptr;
                    })
            .method(sel<"controllerForSpecifier:">(),
                    [](Self* self, SEL, PSSpecifier* specifier) -> PSListController* {
                        if (!specifier || !class_isSubclassOfClass(specifier->detailControllerClass, gPSListController)) return nullptr;
                        auto* page = msg<PSListController*>(msg<id>(specifier->detailControllerClass, sel<"alloc">()), sel<"init">());
                        if (!page) return nullptr;
                        page->specifier = objc::retain(specifier);
                        page->parentController = self;
                        page->bundle = self->bundle;
                        return objc::autorelease(page);
                    })
            .method(sel<"readPreferenceValue:">(), [](Self*, SEL, PSSpecifier* specifier) { return readPreferenceValue(specifier); })
            .method(sel<"setPreferenceValue:specifier:">(),
                    [](Self*, SEL, id value, PSSpecifier* specifier) { setPreferenceValue(value, specifier); })
            .registerClass();
}

}  // namespace platform::preferences
