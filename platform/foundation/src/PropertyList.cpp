// Property lists read and written with libplist, mapped onto Foundation's value classes.
#include "PropertyList.h"

#include <Foundation/NSData.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSNumber.h>
#include <Foundation/NSPropertyListSerialization.h>

#include "BinaryPlistKeys.h"
#include "DeviceFile.h"
#include "Internal.h"

#include <plist/plist.h>

#include <cstdlib>
#include <limits>
#include <memory>

namespace foundation {

namespace {

// Deeper nesting than any real property list, shallow enough for the stack.
constexpr int kMaximumDepth = 512;
// Seconds between the property-list reference date (2001-01-01) and 1970-01-01.
constexpr double kReferenceDateOffset = 978307200.0;

struct PlistFree {
    void operator()(void* node) const { plist_free(node); }
};
using PlistTree = std::unique_ptr<void, PlistFree>;

struct MallocFree {
    void operator()(void* p) const { std::free(p); }
};

objc::Strong<objc_object> fromNode(plist_t node, Mutability mutability, int depth) {
    if (!node || depth > kMaximumDepth) return nullptr;
    bool mutableContainers = mutability != Mutability::immutable;
    bool mutableLeaves = mutability == Mutability::mutableContainersAndLeaves;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return NSNumber::createBool(value != 0);
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return NSNumber::createInteger(static_cast<long long>(value));  // this libplist keeps signed values in two's complement
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return NSNumber::createReal(value);
    }
    case PLIST_DATE: {
        int32_t seconds = 0, microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return NSNumber::createReal(seconds + microseconds / 1e6 + kReferenceDateOffset);
    }
    case PLIST_STRING: {
        // By length: a string may hold NUL characters, and the C-string getter aborts on those.
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return NSString::createFromUTF8(text ? std::string_view(text, length) : std::string_view(),
                                        mutableLeaves ? NSMutableString::class_() : nullptr);
    }
    case PLIST_KEY: {
        char* raw = nullptr;
        plist_get_string_val(node, &raw);
        std::unique_ptr<char, MallocFree> text(raw);
        return NSString::createFromUTF8(text ? text.get() : "", mutableLeaves ? NSMutableString::class_() : nullptr);
    }
    case PLIST_DATA: {
        char* raw = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &raw, &length);
        std::unique_ptr<char, MallocFree> bytes(raw);
        auto* begin = reinterpret_cast<const std::uint8_t*>(bytes.get());
        return NSData::create(std::vector<std::uint8_t>(begin, begin + (bytes ? length : 0)),
                              mutableLeaves ? NSMutableData::class_() : nullptr);
    }
    case PLIST_ARRAY: {
        NSArray::Objects objects;
        uint32_t count = plist_array_get_size(node);
        for (uint32_t i = 0; i < count; ++i) {
            auto item = fromNode(plist_array_get_item(node, i), mutability, depth + 1);
            if (!item) return nullptr;
            objects.push_back(std::move(item));
        }
        return NSArray::create(std::move(objects), mutableContainers ? NSMutableArray::class_() : nullptr);
    }
    case PLIST_DICT: {
        NSDictionary::Entries entries;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        std::unique_ptr<void, MallocFree> iterOwner(iter);
        while (true) {
            char* rawKey = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iter, &rawKey, &value);
            std::unique_ptr<char, MallocFree> key(rawKey);
            if (!value) break;
            auto object = fromNode(value, mutability, depth + 1);
            if (!object) return nullptr;
            entries.push_back({NSString::createFromUTF8(key ? key.get() : ""), std::move(object)});
        }
        return NSDictionary::create(std::move(entries), mutableContainers ? NSMutableDictionary::class_() : nullptr);
    }
    default:
        return nullptr;  // UIDs belong to keyed archives, which are not property-list values here
    }
}

PlistTree toNode(id object, int depth, std::string* error) {
    auto refuse = [&](std::string why) {
        if (error && error->empty()) *error = std::move(why);
        return PlistTree();
    };
    if (!object) return refuse("nil is not a property-list value");
    if (depth > kMaximumDepth) return refuse("the property list nests too deeply (or contains itself)");
    if (auto* s = as<NSString>(object)) return PlistTree(plist_new_string(s->utf8().c_str()));
    if (auto* n = as<NSNumber>(object)) {
        switch (n->kind()) {
        case NSNumber::Kind::boolean: return PlistTree(plist_new_bool(n->longLongValue() != 0));
        case NSNumber::Kind::integer: return PlistTree(plist_new_uint(static_cast<uint64_t>(n->longLongValue())));
        case NSNumber::Kind::real: return PlistTree(plist_new_real(n->doubleValue()));
        }
    }
    if (auto* d = as<NSData>(object))
        return PlistTree(plist_new_data(reinterpret_cast<const char*>(d->bytes().data()), d->bytes().size()));
    if (auto* a = as<NSArray>(object)) {
        PlistTree array(plist_new_array());
        for (const auto& item : a->objects()) {
            PlistTree child = toNode(item.get(), depth + 1, error);
            if (!child) return nullptr;
            plist_array_append_item(array.get(), child.release());
        }
        return array;
    }
    if (auto* d = as<NSDictionary>(object)) {
        PlistTree dict(plist_new_dict());
        for (const auto& entry : d->entries()) {
            auto* key = as<NSString>(entry.key.get());
            if (!key) return refuse("dictionary key " + describe(entry.key.get()) + " is not a string");
            PlistTree child = toNode(entry.value.get(), depth + 1, error);
            if (!child) return nullptr;
            plist_dict_set_item(dict.get(), key->utf8().c_str(), child.release());
        }
        return dict;
    }
    return refuse(objc::utf8(NSStringFromClass(object_getClass(object))) + " is not a property-list value");
}

}  // namespace

objc::Strong<objc_object> decodePropertyList(std::span<const std::uint8_t> bytes, Mutability mutability, NSUInteger* format,
                                             std::string* error) {
    auto refuse = [&](const char* why) {
        if (error) *error = why;
        return objc::Strong<objc_object>();
    };
    if (bytes.empty()) return refuse("no data");
    if (bytes.size() > std::numeric_limits<uint32_t>::max()) return refuse("the data is too large for a property list");
    const char* text = reinterpret_cast<const char*>(bytes.data());
    auto length = static_cast<uint32_t>(bytes.size());
    bool binary = plist_is_binary(text, length);
    if (binary && binaryPlistHasKeyWithNul(bytes)) return refuse("the binary property list has a key holding a NUL character");
    plist_t raw = nullptr;
    if (binary) plist_from_bin(text, length, &raw);
    else plist_from_xml(text, length, &raw);
    PlistTree tree(raw);
    if (!tree) return refuse(binary ? "the binary property list is damaged" : "the data is not an XML or binary property list");
    auto object = fromNode(tree.get(), mutability, 0);
    if (!object) return refuse("the property list holds a value that cannot be read");
    if (format) *format = binary ? NSPropertyListBinaryFormat_v1_0 : NSPropertyListXMLFormat_v1_0;
    return object;
}

std::optional<std::vector<std::uint8_t>> encodePropertyList(id object, NSUInteger format, std::string* error) {
    if (format != NSPropertyListXMLFormat_v1_0 && format != NSPropertyListBinaryFormat_v1_0) {
        if (error) *error = "property lists are written as XML or binary only";
        return std::nullopt;
    }
    PlistTree tree = toNode(object, 0, error);
    if (!tree) return std::nullopt;
    char* raw = nullptr;
    uint32_t length = 0;
    if (format == NSPropertyListXMLFormat_v1_0) plist_to_xml(tree.get(), &raw, &length);
    else plist_to_bin(tree.get(), &raw, &length);
    if (!raw) {
        if (error) *error = "the property list could not be encoded";
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(raw), reinterpret_cast<std::uint8_t*>(raw) + length);
    if (format == NSPropertyListXMLFormat_v1_0) plist_to_xml_free(raw);
    else plist_to_bin_free(raw);
    return bytes;
}

objc::Strong<objc_object> readPropertyListFile(std::string_view devicePath, Mutability mutability) {
    auto bytes = readDeviceFile(devicePath);
    if (!bytes) return nullptr;
    return decodePropertyList(*bytes, mutability, nullptr);
}

bool writePropertyListFile(id object, std::string_view devicePath, bool atomically) {
    auto bytes = encodePropertyList(object, NSPropertyListXMLFormat_v1_0);
    return bytes && writeDeviceFile(devicePath, *bytes, atomically);
}

}  // namespace foundation
