// The slow path of message sending: method lookup, cache filling, forwarding errors, generic invocation.
#include "runtime_internal.h"

#include <objc/NSException.h>

#include <cstdio>
#include <cstdlib>

namespace objc::detail {

namespace {

MethodCache* newCache(std::uintptr_t capacity) {
    void* memory = ::operator new(sizeof(MethodCache) + capacity * sizeof(std::atomic<Method>));
    auto* cache = new (memory) MethodCache;
    cache->mask = capacity - 1;
    cache->slots = reinterpret_cast<std::atomic<Method>*>(static_cast<char*>(memory) + sizeof(MethodCache));
    for (std::uintptr_t i = 0; i < capacity; ++i) new (&cache->slots[i]) std::atomic<Method>(nullptr);
    return cache;
}

void insertLocked(MethodCache* cache, Method m) {
    runtime().methodLock.assertLocked();
    std::uintptr_t i = selectorHash(m->name) & cache->mask;
    while (Method present = cache->slots[i].load(std::memory_order_relaxed)) {
        if (present->name == m->name) return;
        i = (i + 1) & cache->mask;
    }
    cache->slots[i].store(m, std::memory_order_release);
}

std::size_t occupancy(MethodCache* cache) {
    std::size_t n = 0;
    for (std::uintptr_t i = 0; i <= cache->mask; ++i)
        if (cache->slots[i].load(std::memory_order_relaxed)) ++n;
    return n;
}

// Adds `m` to the cache of `cls`, growing it (into a new table, since readers never lock)
// when it would pass three quarters full.
void fillCacheLocked(Class cls, Method m) {
    runtime().methodLock.assertLocked();
    MethodCache* cache = cls->cache.load(std::memory_order_acquire);
    if (!cache) {
        cache = newCache(16);
        cls->cache.store(cache, std::memory_order_release);
    } else if ((occupancy(cache) + 1) * 4 > (cache->mask + 1) * 3) {
        MethodCache* bigger = newCache((cache->mask + 1) * 2);
        for (std::uintptr_t i = 0; i <= cache->mask; ++i)
            if (Method old = cache->slots[i].load(std::memory_order_relaxed)) insertLocked(bigger, old);
        cls->cache.store(bigger, std::memory_order_release);
        runtime().retiredCaches.push_back(cache);
        cache = bigger;
    }
    insertLocked(cache, m);
}

}  // namespace

Method lookUpMethodOrForward(id receiver, SEL sel) {
    Class cls = receiver->isa;
    {
        std::lock_guard lock(runtime().methodLock);
        for (Class c = cls; c; c = c->superclass) {
            auto it = c->data->methods.find(sel);
            if (it != c->data->methods.end()) {
                fillCacheLocked(cls, it->second);
                return it->second;
            }
        }
    }
    bool isClass = class_isMetaClass(cls);
    std::string reason = std::string(isClass ? "+[" : "-[") + class_getName(isClass ? reinterpret_cast<Class>(receiver) : cls) +
                         " " + sel_getName(sel) + "]: unrecognized selector sent to " + (isClass ? "class" : "instance");
    NSException::raise("NSInvalidArgumentException", reason);
}

const char* internTypes(std::string_view types) {
    auto& rt = runtime();
    std::lock_guard lock(rt.typesLock);
    return rt.types.emplace(types).first->c_str();
}

void signatureMismatch(id receiver, SEL sel, const char* methodTypes, const char* callTypes) {
    std::fprintf(stderr, "objc: message %s sent to %s with signature %s, but the method's signature is %s\n", sel_getName(sel),
                 class_getName(object_getClass(receiver)), callTypes, methodTypes);
    std::abort();
}

std::string describeValue(const Value& v) {
    struct Describe {
        std::string operator()(std::monostate) const { return "null"; }
        std::string operator()(id o) const { return std::string("an object of class ") + class_getName(object_getClass(o)); }
        std::string operator()(Class c) const { return std::string("the class ") + class_getName(c); }
        std::string operator()(SEL s) const { return std::string("the selector ") + sel_getName(s); }
        std::string operator()(bool) const { return "a boolean"; }
        std::string operator()(long long) const { return "an integer"; }
        std::string operator()(double) const { return "a number"; }
        std::string operator()(const StructValue& s) const { return "a struct of " + std::to_string(s.fields.size()) + " numbers"; }
        std::string operator()(void*) const { return "a pointer"; }
        std::string operator()(const std::string&) const { return "a string"; }
    };
    return std::visit(Describe{}, v);
}

}  // namespace objc::detail

namespace objc {

void registerInvoker(const char* internedTypes, Invoker invoker) {
    auto& rt = detail::runtime();
    std::lock_guard lock(rt.typesLock);
    rt.invokers.emplace(internedTypes, invoker);
}

Value invoke(id receiver, SEL sel, std::span<const Value> args) {
    if (!receiver) return {};
    Method m = detail::cachedMethod(receiver->isa, sel);
    if (!m) m = detail::lookUpMethodOrForward(receiver, sel);
    Invoker invoker = nullptr;
    {
        auto& rt = detail::runtime();
        std::lock_guard lock(rt.typesLock);
        auto it = rt.invokers.find(m->types);
        if (it != rt.invokers.end()) invoker = it->second;
    }
    if (!invoker)
        throw InvokeError(std::string("cannot send ") + sel_getName(sel) + " from data: no invoker for signature " + m->types);
    return invoker(m->imp.load(std::memory_order_acquire), receiver, sel, args);
}

namespace {

// Skips one type in signature text, returning the position after it.
std::size_t skipType(const char* types, std::size_t pos) {
    if (!types[pos]) return pos;
    char c = types[pos];
    if (c == '^') return skipType(types, pos + 1);
    if (c == '{') {
        int depth = 0;
        do {
            if (types[pos] == '{') ++depth;
            else if (types[pos] == '}') --depth;
            ++pos;
        } while (types[pos] && depth > 0);
        return pos;
    }
    if (c == '^' || c == '?') return pos + 1;
    return pos + 1;
}

std::vector<std::string> splitSignature(const char* types) {
    std::vector<std::string> parts;
    if (!types) return parts;
    std::size_t pos = 0;
    while (types[pos]) {
        std::size_t end = skipType(types, pos);
        if (end == pos) break;
        parts.emplace_back(types + pos, end - pos);
        pos = end;
    }
    return parts;
}

}  // namespace

int signatureArgumentCount(const char* types) {
    auto parts = splitSignature(types);
    if (parts.size() < 3 || parts[1] != "@" || parts[2] != ":") return -1;
    return static_cast<int>(parts.size()) - 3;
}

std::string signatureArgumentType(const char* types, int index) {
    auto parts = splitSignature(types);
    if (index < 0) return parts.empty() ? std::string() : parts[0];
    std::size_t at = static_cast<std::size_t>(index) + 3;
    return at < parts.size() ? parts[at] : std::string();
}

}  // namespace objc
