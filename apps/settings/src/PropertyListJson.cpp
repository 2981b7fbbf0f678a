// Property-list values to JSON and back, keeping booleans apart from numbers.
#include "PropertyListJson.h"

#include <Foundation/Foundation.h>

namespace settings {

nlohmann::json jsonFromValue(id value) {
    if (!value) return nullptr;
    if (object_isKindOfClass(value, NSString::class_())) return objc::utf8(value);
    if (object_isKindOfClass(value, NSNumber::class_())) {
        auto* number = static_cast<NSNumber*>(value);
        switch (number->kind()) {
        case NSNumber::Kind::boolean: return number->longLongValue() != 0;
        case NSNumber::Kind::integer: return number->longLongValue();
        case NSNumber::Kind::real: return number->doubleValue();
        }
    }
    if (object_isKindOfClass(value, NSArray::class_())) {
        nlohmann::json array = nlohmann::json::array();
        for (const auto& element : static_cast<NSArray*>(value)->objects()) array.push_back(jsonFromValue(element.get()));
        return array;
    }
    if (object_isKindOfClass(value, NSDictionary::class_())) {
        nlohmann::json object = nlohmann::json::object();
        for (const auto& entry : static_cast<NSDictionary*>(value)->entries())
            object[objc::utf8(msg<id>(entry.key.get(), sel<"description">()))] = jsonFromValue(entry.value.get());
        return object;
    }
    return objc::utf8(msg<id>(value, sel<"description">()));
}

objc::Strong<objc_object> valueFromJson(const nlohmann::json& value) {
    if (value.is_boolean()) return NSNumber::createBool(value.get<bool>());
    if (value.is_number_integer()) return NSNumber::createInteger(value.get<long long>());
    if (value.is_number()) return NSNumber::createReal(value.get<double>());
    if (value.is_string()) return NSString::createFromUTF8(value.get<std::string>());
    if (value.is_array()) {
        NSArray::Objects objects;
        for (const auto& element : value)
            if (auto object = valueFromJson(element)) objects.push_back(object);
        return NSArray::create(std::move(objects));
    }
    if (value.is_object()) {
        NSDictionary::Entries entries;
        for (const auto& [key, element] : value.items())
            if (auto object = valueFromJson(element)) entries.push_back({NSString::createFromUTF8(key), object});
        return NSDictionary::create(std::move(entries));
    }
    return nullptr;
}

}  // namespace settings
