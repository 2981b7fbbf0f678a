// Appearance proxies: one recording class per proxied view class, and the replay on new views.
#include "AppearanceInternal.h"
#include "Registration.h"

#include <UIKit/UIAppearance.h>
#include <UIKit/UIGeometry.h>
#include <UIKit/UIView.h>
#include <objc/NSException.h>

#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

// The setters a proxy accepts: those UIKit marks as appearance selectors, for the classes
// that implement them.
constexpr const char* kAppearanceSetters[] = {
    "setBackgroundColor:",
    "setTintColor:",
    "setAlpha:",
    "setTextColor:",
    "setFont:",
    "setKeyboardAppearance:",
    "setBarTintColor:",
    "setBarStyle:",
    "setTranslucent:",
    "setTitleTextAttributes:",
    "setLargeTitleTextAttributes:",
    "setShadowImage:",
    "setBackIndicatorImage:",
    "setBackgroundImage:forBarMetrics:",
    "setUnselectedItemTintColor:",
    "setSelectionIndicatorImage:",
    "setSearchFieldBackgroundImage:forState:",
    "setSearchTextPositionAdjustment:",
    "setSearchFieldBackgroundPositionAdjustment:",
    "setSeparatorColor:",
    "setSeparatorStyle:",
    "setSectionIndexColor:",
    "setSectionIndexBackgroundColor:",
    "setColor:",
    "setTitleColor:forState:",
    "setTitleShadowColor:forState:",
    "setImage:forState:",
    "setBackgroundImage:forState:",
    "setLinkTextAttributes:",
    "setOnTintColor:",
    "setThumbTintColor:",
    "setProgressTintColor:",
    "setTrackTintColor:",
};

struct RecordedCall {
    SEL selector;
    std::vector<objc::Value> arguments;
    std::vector<objc::Strong<objc_object>> retained;  // keeps object arguments alive for replay
};

class UIAppearanceProxy : public NSObject {
public:
    Class target = nullptr;
};

Class gProxyBase = nullptr;

std::mutex gLock;
// One proxy per class for the life of the process, as on the phone: the table is never
// destroyed, so the proxies stay reachable until exit instead of being orphaned by it.
std::unordered_map<Class, UIAppearanceProxy*>& gProxies = *new std::unordered_map<Class, UIAppearanceProxy*>;
std::unordered_map<Class, std::vector<RecordedCall>> gRecords;  // by proxied class

template <class T>
void keepArgument(RecordedCall& call, const T& value) {
    if constexpr (std::is_same_v<T, id>) {
        if (value) call.retained.push_back(objc::retain(value));
    }
}

// The recording implementation for one argument list; installed under every appearance
// setter whose signature it matches.
template <class... A>
void record(id self, SEL cmd, A... args) {
    RecordedCall call{cmd, {objc::detail::toValue<A>(args)...}, {}};
    (keepArgument(call, args), ...);
    Class target = static_cast<UIAppearanceProxy*>(self)->target;
    std::lock_guard lock(gLock);
    gRecords[target].push_back(std::move(call));
}

struct Recorder {
    const char* types;
    IMP imp;
};

template <class... A>
Recorder recorder() {
    return {objc::detail::registerSignature<void, A...>(), reinterpret_cast<IMP>(&record<A...>)};
}

const std::vector<Recorder>& recorders() {
    static const std::vector<Recorder> list = {
        recorder<id>(),        recorder<long>(),          recorder<unsigned long>(),  recorder<bool>(),
        recorder<double>(),    recorder<float>(),         recorder<id, unsigned long>(), recorder<id, long>(),
        recorder<UIOffset>(),  recorder<UIEdgeInsets>(),  recorder<UIOffset, long>(), recorder<double, long>(),
    };
    return list;
}

IMP recorderFor(const char* types) {
    for (const Recorder& r : recorders())
        if (types && std::strcmp(r.types, types) == 0) return r.imp;
    return nullptr;
}

// A recording class for `target`, answering each appearance setter that the target
// implements with that setter's own signature.
Class proxyClassFor(Class target) {
    std::string name = std::string("_UIAppearance(") + class_getName(target) + ")";
    Class cls = objc_allocateClassPair(gProxyBase, name.c_str(), 0);
    if (!cls) return objc_getClass(name.c_str());
    for (const char* setter : kAppearanceSetters) {
        SEL sel = sel_registerName(setter);
        Method m = class_getInstanceMethod(target, sel);
        if (!m) continue;
        const char* types = method_getTypeEncoding(m);
        if (IMP imp = recorderFor(types)) class_addMethod(cls, sel, imp, types);
    }
    objc_registerClassPair(cls);
    return cls;
}

}  // namespace

namespace platform {

std::map<std::string, std::vector<AppearanceRecord>> appearanceRecords() {
    std::lock_guard lock(gLock);
    std::map<std::string, std::vector<AppearanceRecord>> out;
    for (const auto& [cls, calls] : gRecords) {
        if (calls.empty()) continue;
        auto& list = out[class_getName(cls)];
        for (const auto& call : calls) list.push_back({sel_getName(call.selector), call.arguments});
    }
    return out;
}

void resetAppearance() {
    std::vector<RecordedCall> released;  // released outside the lock: releasing may run code
    {
        std::lock_guard lock(gLock);
        for (auto& [cls, calls] : gRecords)
            for (auto& call : calls) released.push_back(std::move(call));
        gRecords.clear();
    }
}

}  // namespace platform

namespace platform::uikit {

id appearanceProxyFor(Class cls) {
    if (!cls) return nil;
    {
        std::lock_guard lock(gLock);
        if (auto it = gProxies.find(cls); it != gProxies.end()) return it->second;
    }
    Class proxyClass = proxyClassFor(cls);  // outside the lock: registration takes runtime locks
    std::lock_guard lock(gLock);
    auto [it, inserted] = gProxies.emplace(cls, nullptr);
    if (inserted) {
        it->second = static_cast<UIAppearanceProxy*>(class_createInstance(proxyClass));
        it->second->target = cls;
    }
    return it->second;
}

void applyAppearance(UIView* view) {
    std::vector<Class> chain;
    for (Class c = object_getClass(view); c; c = class_getSuperclass(c)) chain.insert(chain.begin(), c);
    std::vector<RecordedCall> calls;
    {
        std::lock_guard lock(gLock);
        if (gRecords.empty()) return;
        for (Class c : chain)
            if (auto it = gRecords.find(c); it != gRecords.end())
                calls.insert(calls.end(), it->second.begin(), it->second.end());
    }
    for (const auto& call : calls) {
        try {
            objc::invoke(view, call.selector, call.arguments);
        } catch (const NSException&) {
            // A setter that raises for this view leaves the others to apply.
        } catch (const objc::InvokeError&) {
        }
    }
}

void registerUIAppearance() {
    gProxyBase = objc::ClassBuilder<UIAppearanceProxy>("_UIAppearance", NSObject::class_()).registerClass();
}

}  // namespace platform::uikit
