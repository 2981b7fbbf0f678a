// NSDictionary and NSMutableDictionary: entries in insertion order, found by key hash and isEqual:.
#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>

#include "Description.h"
#include "Internal.h"
#include "PropertyList.h"

namespace {

Class gNSDictionary = nullptr;
Class gNSMutableDictionary = nullptr;

unsigned long hashOf(id key) {
    if (auto* s = foundation::as<NSString>(key)) return std::hash<std::u16string>{}(s->utf16());
    return msg<NSUInteger>(key, sel<"hash">());
}

bool equalKeys(id a, id b) {
    if (a == b) return true;
    auto* x = foundation::as<NSString>(a);
    auto* y = foundation::as<NSString>(b);
    if (x && y) return x->utf16() == y->utf16();
    return msg<BOOL>(a, sel<"isEqual:">(), b);
}

bool equalValues(id a, id b) { return a == b || (a && b && msg<BOOL>(a, sel<"isEqual:">(), b)); }

// A key is stored as a copy when it can make one, so that changing the caller's mutable key
// cannot move it under the dictionary.
objc::Strong<objc_object> storedKey(id key) {
    if (class_respondsToSelector(object_getClass(key), sel<"copy">())) return objc::adopt(msg<id>(key, sel<"copy">()));
    return objc::retain(key);
}

bool equalDictionaries(NSDictionary* a, NSDictionary* b) {
    if (a->count() != b->count()) return false;
    for (const auto& entry : a->entries())
        if (!equalValues(entry.value.get(), b->objectForKey(entry.key.get()))) return false;
    return true;
}

NSArray* collect(NSDictionary* self, bool keys) {
    NSArray::Objects objects;
    for (const auto& entry : self->entries()) objects.push_back(keys ? entry.key : entry.value);
    return foundation::autoreleased(NSArray::create(std::move(objects)));
}

}  // namespace

Class NSDictionary::class_() { return gNSDictionary; }
Class NSMutableDictionary::class_() { return gNSMutableDictionary; }

std::size_t NSDictionary::find(id key, unsigned long hash) const {
    auto [first, last] = index_.equal_range(hash);
    for (auto it = first; it != last; ++it)
        if (equalKeys(entries_[it->second].key.get(), key)) return it->second;
    return entries_.size();
}

void NSDictionary::reindex() {
    index_.clear();
    index_.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(hashOf(entries_[i].key.get()), i);
}

id NSDictionary::objectForKey(id key) const {
    if (!key) return nullptr;
    std::size_t i = find(key, hashOf(key));
    return i < entries_.size() ? entries_[i].value.get() : nullptr;
}

void NSDictionary::setObject(id object, id key) {
    unsigned long hash = hashOf(key);
    std::size_t i = find(key, hash);
    if (i < entries_.size()) {
        // Replacing may release the old value, which could own the new one; retain first.
        entries_[i].value = objc::retain(object);
        return;
    }
    entries_.push_back({storedKey(key), objc::retain(object)});
    index_.emplace(hash, entries_.size() - 1);
}

void NSDictionary::removeObjectForKey(id key) {
    std::size_t i = find(key, hashOf(key));
    if (i == entries_.size()) return;
    Entry removed = std::move(entries_[i]);  // released after the dictionary is consistent again
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    reindex();
}

void NSDictionary::removeAll() {
    Entries removed = std::move(entries_);
    entries_.clear();
    index_.clear();
}

// nil for a missing or unreadable file and for a property list whose root is not a dictionary.
objc::Strong<NSDictionary> NSDictionary::contentsOfFile(NSString* path, Class cls) {
    auto contents = foundation::readPropertyListFile(objc::utf8(path));
    auto* d = foundation::as<NSDictionary>(contents.get());
    return d ? create(d->entries_, cls) : nullptr;
}

objc::Strong<NSDictionary> NSDictionary::create(Entries entries, Class cls) {
    auto d = objc::adopt(objc::createInstance<NSDictionary>(cls ? cls : gNSDictionary));
    d->entries_.reserve(entries.size());
    for (auto& entry : entries) d->setObject(entry.value.get(), entry.key.get());
    return d;
}

NSDictionary* objc::dict(std::initializer_list<std::pair<id, id>> entries) {
    NSDictionary::Entries list;
    for (auto& [key, value] : entries) {
        if (!key || !value) foundation::raiseInvalidArgument(nullptr, nullptr, "dictionary literal with a nil key or value");
        list.push_back({objc::retain(key), objc::retain(value)});
    }
    return foundation::autoreleased(NSDictionary::create(std::move(list)));
}

void NSDictionary::registerClass() {
    using foundation::autoreleased;
    gNSDictionary =
        objc::ClassBuilder<NSDictionary>("NSDictionary", NSObject::class_())
            .classMethod(sel<"dictionary">(), [](Class cls, SEL) { return autoreleased(create({}, cls)); })
            .classMethod(sel<"dictionaryWithObject:forKey:">(),
                         [](Class cls, SEL sel, id object, id key) {
                             if (!object || !key) foundation::raiseInvalidArgument(cls, sel, "object and key cannot be nil");
                             return autoreleased(create({{objc::retain(key), objc::retain(object)}}, cls));
                         })
            .classMethod(sel<"dictionaryWithDictionary:">(),
                         [](Class cls, SEL, NSDictionary* other) { return autoreleased(create(other ? other->entries_ : Entries{}, cls)); })
            .classMethod(sel<"dictionaryWithContentsOfFile:">(),
                         [](Class cls, SEL, NSString* path) { return autoreleased(contentsOfFile(path, cls)); })
            .method(sel<"initWithDictionary:">(),
                    [](NSDictionary* self, SEL, NSDictionary* other) {
                        if (other) {
                            self->entries_ = other->entries_;
                            self->reindex();
                        }
                        return self;
                    })
            .method(sel<"initWithContentsOfFile:">(),
                    [](NSDictionary* self, SEL, NSString* path) -> NSDictionary* {
                        auto contents = contentsOfFile(path, nullptr);
                        if (!contents) {
                            objc_release(self);
                            return nullptr;
                        }
                        self->entries_ = contents->entries_;
                        self->reindex();
                        return self;
                    })
            .method(sel<"count">(), [](NSDictionary* self, SEL) -> NSUInteger { return self->entries_.size(); })
            .method(sel<"objectForKey:">(), [](NSDictionary* self, SEL, id key) { return self->objectForKey(key); })
            .method(sel<"objectForKeyedSubscript:">(), [](NSDictionary* self, SEL, id key) { return self->objectForKey(key); })
            .method(sel<"valueForKey:">(), [](NSDictionary* self, SEL, NSString* key) { return self->objectForKey(key); })
            .method(sel<"allKeys">(), [](NSDictionary* self, SEL) { return collect(self, true); })
            .method(sel<"allValues">(), [](NSDictionary* self, SEL) { return collect(self, false); })
            .method(sel<"isEqual:">(),
                    [](NSDictionary* self, SEL, id other) -> BOOL {
                        auto* d = foundation::as<NSDictionary>(other);
                        return d && equalDictionaries(self, d);
                    })
            .method(sel<"isEqualToDictionary:">(),
                    [](NSDictionary* self, SEL, NSDictionary* other) -> BOOL { return other && equalDictionaries(self, other); })
            .method(sel<"hash">(), [](NSDictionary* self, SEL) -> NSUInteger { return self->entries_.size(); })
            .method(sel<"description">(), [](NSDictionary* self, SEL) { return objc::str(foundation::describeCollection(self)); })
            .method(sel<"copy">(),
                    [](NSDictionary* self, SEL) -> id {
                        if (object_getClass(self) == gNSDictionary) return objc_retain(self);
                        return create(self->entries_).release();
                    })
            .method(sel<"mutableCopy">(),
                    [](NSDictionary* self, SEL) -> id { return create(self->entries_, gNSMutableDictionary).release(); })
            .method(sel<"writeToFile:atomically:">(),
                    [](NSDictionary* self, SEL, NSString* path, BOOL atomically) -> BOOL {
                        return foundation::writePropertyListFile(self, objc::utf8(path), atomically);
                    })
            .registerClass();
}

void NSMutableDictionary::registerClass() {
    auto set = [](NSMutableDictionary* self, SEL sel, id object, id key) {
        if (!key) foundation::raiseInvalidArgument(self, sel, "key cannot be nil");
        if (!object) foundation::raiseInvalidArgument(self, sel, "object cannot be nil (key: " + foundation::describe(key) + ")");
        self->setObject(object, key);
    };
    gNSMutableDictionary =
        objc::ClassBuilder<NSMutableDictionary>("NSMutableDictionary", gNSDictionary)
            .method(sel<"setObject:forKey:">(), set)
            .method(sel<"setObject:forKeyedSubscript:">(),
                    [](NSMutableDictionary* self, SEL sel, id object, id key) {
                        // The subscript form removes the key when given nil, as on the phone.
                        if (!object && key) self->removeObjectForKey(key);
                        else decltype(set){}(self, sel, object, key);
                    })
            .method(sel<"setValue:forKey:">(),
                    [](NSMutableDictionary* self, SEL sel, id object, NSString* key) {
                        if (!object && key) self->removeObjectForKey(key);
                        else decltype(set){}(self, sel, object, key);
                    })
            .method(sel<"removeObjectForKey:">(),
                    [](NSMutableDictionary* self, SEL, id key) {
                        if (key) self->removeObjectForKey(key);
                    })
            .method(sel<"removeAllObjects">(), [](NSMutableDictionary* self, SEL) { self->removeAll(); })
            .method(sel<"addEntriesFromDictionary:">(),
                    [](NSMutableDictionary* self, SEL, NSDictionary* other) {
                        if (!other) return;
                        Entries added = other->entries();  // a copy first: `other` may be this dictionary
                        for (auto& entry : added) self->setObject(entry.value.get(), entry.key.get());
                    })
            .registerClass();
}
