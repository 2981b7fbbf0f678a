// NSDictionary and NSMutableDictionary: keys compared with isEqual:/hash, kept in insertion order.
#pragma once

#include <Foundation/NSArray.h>

#include <initializer_list>
#include <unordered_map>
#include <utility>
#include <vector>

// Selectors: +dictionary +dictionaryWithObject:forKey: +dictionaryWithDictionary: +dictionaryWithContentsOfFile:
//   -initWithDictionary: -initWithContentsOfFile: -count -objectForKey: -objectForKeyedSubscript: -allKeys -allValues
//   -isEqual: -isEqualToDictionary: -hash -description -copy -mutableCopy -writeToFile:atomically:
// NSMutableDictionary adds -setObject:forKey: -setObject:forKeyedSubscript: -setValue:forKey:
//   -removeObjectForKey: -removeAllObjects -addEntriesFromDictionary:
// Keys are copied when they answer -copy (a mutable string key cannot change under the
// dictionary). setObject:forKey: raises NSInvalidArgumentException for a nil object or key;
// setValue:forKey: with nil removes the key. Files are device paths; contents are property lists.
class NSDictionary : public NSObject {
public:
    static Class class_();

    struct Entry {
        objc::Strong<objc_object> key;
        objc::Strong<objc_object> value;
    };
    using Entries = std::vector<Entry>;

    // A new dictionary (+1) of class `cls` (NSDictionary when nil); a later entry replaces an
    // earlier one with an equal key.
    static objc::Strong<NSDictionary> create(Entries entries, Class cls = nullptr);

    const Entries& entries() const { return entries_; }
    NSUInteger count() const { return entries_.size(); }
    id objectForKey(id key) const;  // borrowed; nil when absent

protected:
    void setObject(id object, id key);  // both non-nil
    void removeObjectForKey(id key);
    void removeAll();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
    static objc::Strong<NSDictionary> contentsOfFile(NSString* path, Class cls);
    std::size_t find(id key, unsigned long hash) const;  // index into entries_, or entries_.size()
    void reindex();

    Entries entries_;
    std::unordered_multimap<unsigned long, std::size_t> index_;  // key hash → position in entries_
};

class NSMutableDictionary : public NSDictionary {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};

// for (id key : dictionary) visits the keys in insertion order, as fast enumeration does.
struct NSDictionaryKeyIterator {
    const NSDictionary::Entry* entry;
    id operator*() const { return entry->key.get(); }
    NSDictionaryKeyIterator& operator++() {
        ++entry;
        return *this;
    }
    bool operator==(const NSDictionaryKeyIterator&) const = default;
};
inline NSDictionaryKeyIterator begin(const NSDictionary* d) { return {d ? d->entries().data() : nullptr}; }
inline NSDictionaryKeyIterator end(const NSDictionary* d) { return {d ? d->entries().data() + d->entries().size() : nullptr}; }

namespace objc {
// An autoreleased NSDictionary: dict({{NSSTR("enabled"), yes}, {NSSTR("theme"), NSSTR("midnight")}}).
// Raises NSInvalidArgumentException for a nil key or value, as a dictionary literal does.
NSDictionary* dict(std::initializer_list<std::pair<id, id>> entries);
}  // namespace objc
