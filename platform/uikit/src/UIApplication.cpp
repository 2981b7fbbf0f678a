// UIApplication: the shared application, its windows and URL opening through the host.
#include "Collections.h"
#include "Registration.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIWindow.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <mutex>

namespace {

Class gUIApplication = nullptr;
std::atomic<UIApplication*> gSharedApplication{nullptr};

std::mutex gURLLock;
platform::URLHandler gURLHandler;
std::set<std::string> gOpenableSchemes{"http", "https", "mailto"};

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool canOpen(id url) {
    if (!object_isKindOfClass(url, NSURL::class_())) return false;
    std::string scheme = lowercase(objc::utf8(msg<id>(url, sel<"scheme">())));
    if (scheme.empty()) return false;
    std::lock_guard lock(gURLLock);
    for (const auto& openable : gOpenableSchemes)
        if (lowercase(openable) == scheme) return true;
    return false;
}

bool open(id url) {
    if (!canOpen(url)) return false;
    platform::URLHandler handler;
    {
        std::lock_guard lock(gURLLock);
        handler = gURLHandler;
    }
    return handler ? handler(objc::utf8(msg<id>(url, sel<"absoluteString">()))) : true;
}

}  // namespace

Class UIApplication::class_() { return gUIApplication; }

UIApplication* UIApplication::shared() { return gSharedApplication.load(std::memory_order_acquire); }

namespace platform {

UIApplication* createApplication() {
    static std::once_flag once;
    std::call_once(once, [] { gSharedApplication.store(objc::createInstance<UIApplication>(gUIApplication), std::memory_order_release); });
    return UIApplication::shared();
}

void setURLHandler(URLHandler handler) {
    std::lock_guard lock(gURLLock);
    gURLHandler = std::move(handler);
}

void setOpenableSchemes(std::set<std::string> schemes) {
    std::lock_guard lock(gURLLock);
    gOpenableSchemes = std::move(schemes);
}

}  // namespace platform

namespace platform::uikit {

void registerUIApplication() {
    using objc::ClassBuilder;
    gUIApplication =
        ClassBuilder<UIApplication>("UIApplication", UIResponder::class_())
            .classMethod(sel<"sharedApplication">(), [](Class, SEL) -> id { return UIApplication::shared(); })
            .method(sel<"windows">(),
                    [](UIApplication* self, SEL) { return arrayWithObjects(std::vector<id>(self->windows.begin(), self->windows.end())); })
            .method(sel<"keyWindow">(), [](UIApplication* self, SEL) -> id { return self->keyWindow; })
            .method(sel<"delegate">(), [](UIApplication* self, SEL) -> id { return self->delegate.get(); })
            .method(sel<"setDelegate:">(), [](UIApplication* self, SEL, id delegate) { self->delegate = objc::retain(delegate); })
            .method(sel<"canOpenURL:">(), [](UIApplication*, SEL, id url) { return canOpen(url); })
            .method(sel<"openURL:">(), [](UIApplication*, SEL, id url) { return open(url); })
            .method(sel<"openURL:options:completionHandler:">(), [](UIApplication*, SEL, id url, id, id) { open(url); })
            .method(sel<"statusBarStyle">(), [](UIApplication* self, SEL) { return self->statusBarStyle; })
            .method(sel<"setStatusBarStyle:">(), [](UIApplication* self, SEL, long style) { self->statusBarStyle = style; })
            .registerClass();
}

}  // namespace platform::uikit
