// TarnPrefsRootListController: settings read afresh, written whole under a lock, announced, and the restart and support actions.
#include "TarnPrefsRootListController.h"

#include "TarnPrefsConfiguration.h"
#include "TarnPrefsFolderLock.h"

#include <CoreFoundation/CoreFoundation.h>
#include <Foundation/Foundation.h>
#include <UIKit/UIApplication.h>
#include <device/libc.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace {

Class gTarnPrefsRootListController = nullptr;

using Self = TarnPrefsRootListController;

NSString* stringProperty(PSSpecifier* specifier, NSString* key) {
    id value = msg<id>(specifier, sel<"propertyForKey:">(), static_cast<id>(key));
    return object_isKindOfClass(value, NSString::class_()) ? static_cast<NSString*>(value) : nullptr;
}

id readPreferenceValue(PSSpecifier* specifier) {
    std::string path = tarnprefs::settingsFilePath(msg<id>(specifier, sel<"propertyForKey:">(), static_cast<id>(NSSTR("defaults"))));
    NSString* key = stringProperty(specifier, NSSTR("key"));
    if (!path.empty() && key) {
        auto* settings = msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(path));
        if (id value = msg<id>(settings, sel<"objectForKey:">(), static_cast<id>(key))) return value;
    }
    return msg<id>(specifier, sel<"propertyForKey:">(), static_cast<id>(NSSTR("default")));
}

// Writes one key into the whole file; false when the specifier names no usable file or key, or
// when the write failed (the file then holds what it held before, and the log says why).
bool writePreferenceValue(id value, PSSpecifier* specifier) {
    std::string path = tarnprefs::settingsFilePath(msg<id>(specifier, sel<"propertyForKey:">(), static_cast<id>(NSSTR("defaults"))));
    NSString* key = stringProperty(specifier, NSSTR("key"));
    if (path.empty() || !key || !value) return false;
    tarnprefs::TarnPrefsFolderLock lock(path);
    auto settings = objc::adopt(
        msg<id>(msg<id>(NSMutableDictionary::class_(), sel<"alloc">()), sel<"initWithContentsOfFile:">(), objc::str(path)));
    if (!settings) settings = objc::adopt(msg<id>(msg<id>(NSMutableDictionary::class_(), sel<"alloc">()), sel<"init">()));
    msg<void>(settings.get(), sel<"setObject:forKey:">(), value, static_cast<id>(key));
    errno = 0;
    if (msg<BOOL>(settings.get(), sel<"writeToFile:atomically:">(), objc::str(path), YES)) return true;
    NSLog("[TarnPrefs] Could not write %s: %s", path.c_str(), errno ? std::strerror(errno) : "the value is not a property list");
    return false;
}

void setPreferenceValue(Self* self, id value, PSSpecifier* specifier) {
    if (writePreferenceValue(value, specifier))
        if (NSString* notification = stringProperty(specifier, NSSTR("PostNotification")))
            CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                                 CFStringCreateWithCString(nullptr, notification->utf8().c_str(), kCFStringEncodingUTF8),
                                                 nullptr, nullptr, true);
    IMP inherited = method_getImplementation(class_getInstanceMethod(PSListController::class_(), sel<"setPreferenceValue:specifier:">()));
    objc::callIMP<void>(inherited, self, sel<"setPreferenceValue:specifier:">(), value, static_cast<id>(specifier));
}

void respring() {
    pid_t pid = 0;
    const char* arguments[] = {"killall", "-9", "backboardd", nullptr};
    // Waiting for a process that never started would wait for whatever child comes next.
    if (device::posix_spawn(&pid, "/usr/bin/killall", nullptr, nullptr, const_cast<char* const*>(arguments), nullptr) != 0) return;
    int status = 0;
    device::waitpid(pid, &status, 4 /* WEXITED */);
}

void openURL(NSString* text) {
    id url = msg<id>(NSURL::class_(), sel<"URLWithString:">(), static_cast<id>(text));
    msg<void>(msg<id>(UIApplication::class_(), sel<"sharedApplication">()), sel<"openURL:options:completionHandler:">(), url,
              static_cast<id>(objc::dict({})), static_cast<id>(nullptr));
}

void openEmail(Self* self) {
    id label = msg<id>(msg<id>(self, sel<"specifier">()), sel<"propertyForKey:">(), static_cast<id>(NSSTR("label")));
    NSString* subject = objc::format("%@ Support", label);
    NSString* url = objc::format("mailto:%s?subject=%@&body=%@", tarnprefs::kSupportAddress, subject, NSSTR(""));
    id allowed = msg<id>(objc_getClass("NSCharacterSet"), sel<"URLQueryAllowedCharacterSet">());
    openURL(msg<NSString*>(url, sel<"stringByAddingPercentEncodingWithAllowedCharacters:">(), allowed));
}

struct TwitterClient {
    const char* scheme;
    const char* profilePrefix;
};

constexpr std::array<TwitterClient, 4> kTwitterClients = {{
    {"twitter:", "twitter://user?screen_name="},
    {"tweetbot:", "tweetbot:///user_profile/"},
    {"twitterrific:", "twitterrific:///profile?screen_name="},
    {"tweetings:", "tweetings:///user?screen_name="},
}};

void openTwitter() {
    id application = msg<id>(UIApplication::class_(), sel<"sharedApplication">());
    for (const TwitterClient& client : kTwitterClients) {
        id schemeURL = msg<id>(NSURL::class_(), sel<"URLWithString:">(), static_cast<id>(objc::str(client.scheme)));
        if (msg<BOOL>(application, sel<"canOpenURL:">(), schemeURL)) {
            openURL(objc::format("%s%s", client.profilePrefix, tarnprefs::kTwitterAccount));
            return;
        }
    }
    openURL(objc::str(tarnprefs::kTwitterProfilePage));
}

}  // namespace

namespace tarnprefs {

std::string settingsFilePath(id domain) {
    if (!object_isKindOfClass(domain, NSString::class_())) return {};
    const std::string& name = static_cast<NSString*>(domain)->utf8();
    if (name.empty() || name.find('/') != std::string::npos) return {};
    return objc::utf8(objc::format("/var/mobile/Library/Preferences/%@.plist", domain));
}

}  // namespace tarnprefs

Class TarnPrefsRootListController::class_() { return gTarnPrefsRootListController; }

void TarnPrefsRootListController::registerClass() {
    if (gTarnPrefsRootListController) return;
    if (Class existing = objc_getClass("TarnPrefsRootListController")) {
        gTarnPrefsRootListController = existing;
        return;
    }
    gTarnPrefsRootListController =
        objc::ClassBuilder<Self>("TarnPrefsRootListController", PSListController::class_())
            .method(sel<"specifiers">(),
                    [](Self* self, SEL) -> id {
                        if (!self->_specifiers)
                            self->_specifiers = objc::retain(msg<NSArray*>(self, sel<"loadSpecifiersFromPlistName:target:">(),
                                                                           static_cast<NSString*>(NSSTR("Root")), static_cast<id>(self)));
                        return self->_specifiers.get();
                    })
            .method(sel<"readPreferenceValue:">(), [](Self*, SEL, PSSpecifier* specifier) { return readPreferenceValue(specifier); })
            .method(sel<"setPreferenceValue:specifier:">(),
                    [](Self* self, SEL, id value, PSSpecifier* specifier) { setPreferenceValue(self, value, specifier); })
            .method(sel<"respring">(), [](Self*, SEL) { respring(); })
            .method(sel<"openEmail">(), [](Self* self, SEL) { openEmail(self); })
            .method(sel<"openTwitter">(), [](Self*, SEL) { openTwitter(); })
            .registerClass();
}
