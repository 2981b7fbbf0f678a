// The Darwin notification centre: observer table, registration, posting and delivery on the main run loop.
#include <CoreFoundation/CFNotificationCenter.h>
#include <CoreFoundation/RunLoop.h>

#include "NotificationPort.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

struct CFNotificationCenter {};

namespace {

struct Observer {
    const void* observer;
    CFNotificationCallback callback;
    CFNotificationSuspensionBehavior behaviour;

    bool sameRegistration(const Observer& other) const { return observer == other.observer && callback == other.callback; }
};

struct DarwinCentre {
    CFNotificationCenter object;
    std::mutex lock;
    std::map<std::string, std::vector<Observer>> observersByName;  // each list in registration order
    // Opened at the first observation and kept for the life of the process.
    std::unique_ptr<platform::notify::Port> port;
    bool reportedNoDevice = false;

    std::set<std::string> observedNames() const {
        std::set<std::string> names;
        for (const auto& [name, observers] : observersByName)
            if (!observers.empty()) names.insert(name);
        return names;
    }

    bool isRegistered(const std::string& name, const Observer& candidate) {
        std::lock_guard guard(lock);
        auto it = observersByName.find(name);
        if (it == observersByName.end()) return false;
        return std::any_of(it->second.begin(), it->second.end(), [&](const Observer& o) { return o.sameRegistration(candidate); });
    }
};

DarwinCentre& centre() {
    // Never destroyed: callbacks may arrive while static objects of the process are going away.
    static DarwinCentre* instance = new DarwinCentre;
    return *instance;
}

bool isDarwinCentre(CFNotificationCenterRef center) { return center == &centre().object; }

std::string nameText(CFStringRef name) { return CFStringGetCStringPtr(name, kCFStringEncodingUTF8); }

// Runs on the main run loop whenever the port has datagrams: everything that arrived since
// the last turn is delivered now, which is where coalescing happens.
void deliverArrivedNotifications() {
    DarwinCentre& c = centre();
    std::vector<std::string> arrived;
    {
        std::lock_guard guard(c.lock);
        arrived = c.port->receive();
    }
    std::vector<std::pair<std::string, int>> postsByName;  // first-arrival order
    for (auto& name : arrived) {
        auto it = std::find_if(postsByName.begin(), postsByName.end(), [&](const auto& entry) { return entry.first == name; });
        if (it == postsByName.end()) postsByName.emplace_back(std::move(name), 1);
        else ++it->second;
    }
    for (const auto& [name, posts] : postsByName) {
        std::vector<Observer> observers;
        {
            std::lock_guard guard(c.lock);
            auto it = c.observersByName.find(name);
            if (it != c.observersByName.end()) observers = it->second;
        }
        CFStringRef handle = platform::internCFString(name);
        for (const Observer& o : observers) {
            int calls = o.behaviour == CFNotificationSuspensionBehaviorCoalesce ? 1 : posts;
            // An earlier callback may have removed this observer; it must not hear the name then.
            for (int i = 0; i < calls && c.isRegistered(name, o); ++i)
                o.callback(&c.object, const_cast<void*>(o.observer), handle, nullptr, nullptr);
        }
    }
}

// Opens the port and hooks it to the main run loop; called with the centre's lock held.
bool ensurePortLocked(DarwinCentre& c) {
    if (c.port) return true;
    auto folder = platform::notify::registryFolder();
    if (!folder) {
        if (!c.reportedNoDevice) std::fprintf(stderr, "notifications: no device root is set; observers will not be called\n");
        c.reportedNoDevice = true;
        return false;
    }
    c.port = platform::notify::Port::open(*folder);
    if (!c.port) return false;
    platform::RunLoop::main().addFileDescriptor(c.port->descriptor(), deliverArrivedNotifications);
    return true;
}

bool acceptableName(CFStringRef name) {
    if (!name) return false;
    if (platform::notify::isValidName(nameText(name))) return true;
    std::fprintf(stderr, "notifications: the name \"%s\" cannot be observed or posted (empty, a line break, or too long)\n",
                 nameText(name).c_str());
    return false;
}

void removeObservers(CFNotificationCenterRef center, const void* observer, CFStringRef name) {
    if (!isDarwinCentre(center)) return;
    DarwinCentre& c = centre();
    std::lock_guard guard(c.lock);
    for (auto& [observedName, observers] : c.observersByName) {
        if (name && observedName != nameText(name)) continue;
        std::erase_if(observers, [&](const Observer& o) { return o.observer == observer; });
    }
    if (c.port) c.port->publish(c.observedNames());
}

}  // namespace

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() { return &centre().object; }

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer, CFNotificationCallback callback,
                                     CFStringRef name, const void*, CFNotificationSuspensionBehavior suspensionBehavior) {
    if (!isDarwinCentre(center) || !callback || !acceptableName(name)) return;
    DarwinCentre& c = centre();
    std::lock_guard guard(c.lock);
    if (!ensurePortLocked(c)) return;
    auto& observers = c.observersByName[nameText(name)];
    Observer added{observer, callback, suspensionBehavior};
    bool wasObserved = !observers.empty();
    auto existing = std::find_if(observers.begin(), observers.end(), [&](const Observer& o) { return o.sameRegistration(added); });
    if (existing != observers.end()) {
        existing->behaviour = suspensionBehavior;
        return;
    }
    observers.push_back(added);
    if (!wasObserved) c.port->publish(c.observedNames());
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, CFStringRef name, const void*) {
    removeObservers(center, observer, name);
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer) {
    removeObservers(center, observer, nullptr);
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name, const void*, CFDictionaryRef, Boolean) {
    if (!isDarwinCentre(center) || !acceptableName(name)) return;
    if (auto folder = platform::notify::registryFolder()) platform::notify::post(*folder, nameText(name));
}
