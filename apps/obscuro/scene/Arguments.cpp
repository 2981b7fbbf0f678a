// Making scene JSON into objects and message arguments: colours, strings, attributed text, images and scalars.
#include "Arguments.h"

#include "SceneError.h"
#include "SceneSchema.h"

#include "UIColor+Tarnwick.h"

#include <Foundation/NSString.h>
#include <UIKit/UIGeometry.h>
#include <UIKit/UIGraphics.h>

#include <cmath>

namespace obscuro::scene {

namespace {

using nlohmann::ordered_json;

constexpr int kLargestImageSide = 4096;

Class classNamed(const char* name) { return objc_getClass(name); }

std::string kindOf(const ordered_json& value) {
    switch (value.type()) {
    case ordered_json::value_t::null: return "null";
    case ordered_json::value_t::object: return "an object";
    case ordered_json::value_t::array: return "an array";
    case ordered_json::value_t::string: return "a string";
    case ordered_json::value_t::boolean: return "a boolean";
    default: return "a number";
    }
}

// The numbers of a JSON array of exactly `count` (or `alternative`) finite numbers.
std::vector<double> numbers(const ordered_json& value, std::size_t count, const std::string& where, std::size_t alternative = 0) {
    if (!value.is_array() || (value.size() != count && value.size() != alternative))
        throw SceneError(where + ": expected an array of " + std::to_string(count) + " numbers, not " + value.dump());
    std::vector<double> out;
    for (const auto& item : value) {
        if (!item.is_number() || !std::isfinite(item.get<double>()))
            throw SceneError(where + ": expected numbers, not " + item.dump());
        out.push_back(item.get<double>());
    }
    return out;
}

id colourFromHex(const ordered_json& value, const std::string& where) {
    if (!value.is_string()) throw SceneError(where + ": a colour is \"#RRGGBB\" or [r, g, b, a], not " + value.dump());
    return tw_colorFromHexString(objc::str(value.get_ref<const std::string&>()));
}

// An opaque image of one colour, drawn the way an app makes one.
id solidImage(double width, double height, double scale, id colour) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(width, height), true, scale);
    msg<void>(colour, sel<"setFill">());
    UIRectFill(CGRectMake(0, 0, width, height));
    id image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

id patternColour() {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(2, 2), false, 1);
    msg<void>(msg<id>(classNamed("UIColor"), sel<"lightGrayColor">()), sel<"setFill">());
    UIRectFill(CGRectMake(0, 0, 1, 1));
    UIRectFill(CGRectMake(1, 1, 1, 1));
    id tile = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return msg<id>(classNamed("UIColor"), sel<"colorWithPatternImage:">(), tile);
}

// The size is read first; the other keys are checked as they are reached.
id imageFromJson(const ordered_json& spec, const std::string& where) {
    checkPart(spec, ScenePart::image, where);
    std::vector<double> size = numbers(spec.value("size", ordered_json::array({1, 1})), 2, where + ".size");
    double scale = 1;
    bool resizable = false;
    bool asTemplate = false;
    id fill = msg<id>(classNamed("UIColor"), sel<"whiteColor">());
    for (const auto& [key, value] : spec.items()) {
        checkPartEntry(ScenePart::image, key, value, where);
        if (key == "scale") {
            scale = value.get<double>();
        } else if (key == "resizable" || key == "template") {
            (key == "resizable" ? resizable : asTemplate) = value.get<bool>();
        } else if (key == "fill") {
            fill = colourFromHex(value, where + ".fill");
            if (!fill) throw partKeyError(ScenePart::image, "fill", where);
        }
    }
    // A scene's images stand in for artwork and glyphs; the cap keeps a scene of many of them
    // within memory (64 MB a picture).
    if (!(size[0] > 0) || !(size[1] > 0) || size[0] * scale > kLargestImageSide || size[1] * scale > kLargestImageSide)
        throw SceneError(where + ".size: expected a size between 1 pixel and " + std::to_string(kLargestImageSide) + " pixels a side");
    id image = solidImage(size[0], size[1], scale, fill);
    if (resizable) image = msg<id>(image, sel<"resizableImageWithCapInsets:">(), UIEdgeInsetsZero);
    if (asTemplate) image = msg<id>(image, sel<"imageWithRenderingMode:">(), 2L);
    return image;
}

id attributedFromJson(const ordered_json& runs, const ObjectResolver& resolve, const std::string& where) {
    if (!runs.is_array()) throw SceneError(where + ": attributed text is [[\"text\", {attribute: value}], …]");
    id text = objc::autorelease(msg<id>(msg<id>(classNamed("NSMutableAttributedString"), sel<"alloc">()), sel<"init">()));
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const ordered_json& run = runs[i];
        std::string at = where + "[" + std::to_string(i) + "]";
        const ordered_json* characters = &run;
        id attributes = nullptr;
        if (run.is_array()) {
            if (run.empty() || run.size() > 2) throw SceneError(at + ": a run is [\"text\"] or [\"text\", {attribute: value}]");
            characters = &run[0];
            if (run.size() == 2) {
                if (!run[1].is_object()) throw SceneError(at + ": the attributes of a run are an object");
                attributes = objectFromJson(ordered_json{{"dict", run[1]}}, resolve, at);
            }
        }
        if (!characters->is_string()) throw SceneError(at + ": the text of a run is a string");
        id piece = objc::autorelease(msg<id>(msg<id>(classNamed("NSAttributedString"), sel<"alloc">()), sel<"initWithString:attributes:">(),
                                             static_cast<id>(objc::str(characters->get_ref<const std::string&>())), attributes));
        msg<void>(text, sel<"appendAttributedString:">(), piece);
    }
    return objc::autorelease(msg<id>(text, sel<"copy">()));
}

id dictionaryFromJson(const ordered_json& entries, const ObjectResolver& resolve, const std::string& where) {
    if (!entries.is_object()) throw SceneError(where + ": a dictionary is {\"key\": value, …}");
    id dictionary = msg<id>(classNamed("NSMutableDictionary"), sel<"dictionary">());
    for (const auto& [key, item] : entries.items()) {
        id value = objectFromJson(item, resolve, where + "." + key);
        if (!value) throw SceneError(where + "." + key + ": a dictionary cannot hold null");
        msg<void>(dictionary, sel<"setObject:forKey:">(), value, static_cast<id>(objc::str(key)));
    }
    return objc::autorelease(msg<id>(dictionary, sel<"copy">()));
}

id number(const ordered_json& value) {
    Class numberClass = classNamed("NSNumber");
    if (value.is_boolean()) return msg<id>(numberClass, sel<"numberWithBool:">(), value.get<bool>());
    if (value.is_number_integer()) return msg<id>(numberClass, sel<"numberWithLongLong:">(), value.get<long long>());
    return msg<id>(numberClass, sel<"numberWithDouble:">(), value.get<double>());
}

// The tagged form: an object of exactly one key.
id taggedObject(const std::string& tag, const ordered_json& value, const ObjectResolver& resolve, const std::string& where) {
    Class colorClass = classNamed("UIColor");
    if (tag == "color") {
        if (value.is_array()) {
            std::vector<double> c = numbers(value, 4, where + ".color", 3);
            return msg<id>(colorClass, sel<"colorWithRed:green:blue:alpha:">(), c[0], c[1], c[2], c.size() == 4 ? c[3] : 1.0);
        }
        return colourFromHex(value, where + ".color");
    }
    if (tag == "white") {
        std::vector<double> c = numbers(value, 2, where + ".white");
        return msg<id>(colorClass, sel<"colorWithWhite:alpha:">(), c[0], c[1]);
    }
    if (tag == "pattern") {
        if (value != true) throw SceneError(where + ": a pattern colour is {\"pattern\": true}");
        return patternColour();
    }
    if (tag == "number") {
        if (!value.is_number() && !value.is_boolean()) throw SceneError(where + ".number: expected a number or a boolean");
        return number(value);
    }
    if (tag == "string") {
        if (!value.is_string()) throw SceneError(where + ".string: expected text");
        return objc::str(value.get_ref<const std::string&>());
    }
    if (tag == "attributed") return attributedFromJson(value, resolve, where + ".attributed");
    if (tag == "dict") return dictionaryFromJson(value, resolve, where + ".dict");
    if (tag == "image") return imageFromJson(value, where + ".image");
    if (tag == "ref") {
        if (!value.is_string()) throw SceneError(where + ".ref: expected an object id");
        return resolve(value.get_ref<const std::string&>());
    }
    if (tag == "class") {
        if (!value.is_string()) throw SceneError(where + ".class: expected a class name");
        Class cls = objc_getClass(value.get_ref<const std::string&>().c_str());
        if (!cls) throw SceneError(where + ": unknown class '" + value.get<std::string>() + "'");
        return reinterpret_cast<id>(cls);
    }
    throw SceneError(where + ": unknown tag \"" + tag +
                     "\" (known: color, white, pattern, number, string, attributed, dict, image, ref, class)");
}

// Reads a struct of `count` doubles, given as an array.
objc::StructValue structFromJson(const ordered_json& value, std::string_view encoding, const std::string& where) {
    std::size_t fields = 0;
    auto equals = encoding.find('=');
    if (equals != std::string_view::npos)
        for (char c : encoding.substr(equals + 1)) fields += c == 'd';
    if (equals == std::string_view::npos || fields == 0)
        throw SceneError(where + ": cannot pass a value of type " + std::string(encoding));
    std::vector<double> values = numbers(value, fields, where);
    return objc::StructValue{std::string(encoding), values};
}

}  // namespace

id objectFromJson(const ordered_json& value, const ObjectResolver& resolve, const std::string& where) {
    switch (value.type()) {
    case ordered_json::value_t::null: return nullptr;
    case ordered_json::value_t::string: return objc::str(value.get_ref<const std::string&>());
    case ordered_json::value_t::boolean:
    case ordered_json::value_t::number_integer:
    case ordered_json::value_t::number_unsigned:
    case ordered_json::value_t::number_float: return number(value);
    case ordered_json::value_t::array: {
        id array = msg<id>(classNamed("NSMutableArray"), sel<"array">());
        for (std::size_t i = 0; i < value.size(); ++i) {
            id item = objectFromJson(value[i], resolve, where + "[" + std::to_string(i) + "]");
            if (!item) throw SceneError(where + "[" + std::to_string(i) + "]: an array cannot hold null");
            msg<void>(array, sel<"addObject:">(), item);
        }
        return objc::autorelease(msg<id>(array, sel<"copy">()));
    }
    case ordered_json::value_t::object:
        if (value.size() != 1) throw SceneError(where + ": a tagged value has exactly one key, as {\"color\": \"#FFFFFF\"}");
        return taggedObject(value.begin().key(), value.begin().value(), resolve, where);
    default: throw SceneError(where + ": cannot make an object of " + value.dump());
    }
}

objc::Value argumentFromJson(const ordered_json& value, std::string_view encoding, const ObjectResolver& resolve,
                             const std::string& where) {
    if (encoding.empty()) throw SceneError(where + ": the method's signature gives no type for this argument");
    auto wrong = [&](const char* wanted) {
        return SceneError(where + ": expected " + wanted + " for an argument of type " + std::string(encoding) + ", not " + kindOf(value));
    };
    switch (encoding.front()) {
    case '@':
        // A bare number or boolean would reach the method as an NSNumber where it expects some
        // other object; a scene that means an NSNumber says so.
        if (value.is_number() || value.is_boolean()) throw wrong("an object (an NSNumber is {\"number\": …})");
        return objectFromJson(value, resolve, where);
    case '#': {
        if (value.is_null()) return objc::Value{};
        if (value.is_string()) {
            Class cls = objc_getClass(value.get_ref<const std::string&>().c_str());
            if (!cls) throw SceneError(where + ": unknown class '" + value.get<std::string>() + "'");
            return cls;
        }
        id cls = objectFromJson(value, resolve, where);
        // Only a class object is a class: any other object would be read as one.
        if (cls && !class_isMetaClass(object_getClass(cls))) throw wrong("a class name or {\"class\": …}");
        return reinterpret_cast<Class>(cls);
    }
    case ':':
        if (value.is_null()) return objc::Value{};
        if (!value.is_string()) throw wrong("a selector name");
        return sel_registerName(value.get_ref<const std::string&>().c_str());
    case 'B':
        if (value.is_boolean()) return value.get<bool>();
        if (value.is_number_integer()) return static_cast<long long>(value.get<long long>());
        throw wrong("true or false");
    case 'c': case 'C': case 's': case 'S': case 'i': case 'I': case 'l': case 'L': case 'q': case 'Q':
        if (value.is_boolean()) return value.get<bool>();
        if (value.is_number_integer() || value.is_number_unsigned()) return static_cast<long long>(value.get<long long>());
        if (value.is_number_float() && value.get<double>() == std::trunc(value.get<double>()) && std::isfinite(value.get<double>()))
            return value.get<double>();
        throw wrong("an integer");
    case 'f': case 'd':
        if (value.is_number()) return value.get<double>();
        throw wrong("a number");
    case '{': return structFromJson(value, encoding, where);
    case '*':
        if (value.is_null()) return objc::Value{};
        if (!value.is_string()) throw wrong("a string");
        return value.get<std::string>();
    case '^': {
        // The pointer arguments the app's methods take are Core Graphics colours (a layer's
        // stroke, fill and border): given as a colour, passed as its CGColor. Pointers to
        // anything else (out-parameters, functions) cannot be made from a scene.
        if (encoding != "^v") throw SceneError(where + ": cannot pass a value of type " + std::string(encoding));
        if (value.is_null()) return objc::Value{};
        id colour = objectFromJson(value, resolve, where);
        if (!object_isKindOfClass(colour, classNamed("UIColor"))) throw wrong("a colour");
        return static_cast<void*>(msg<CGColorRef>(colour, sel<"CGColor">()));
    }
    default: throw SceneError(where + ": cannot pass a value of type " + std::string(encoding));
    }
}

}  // namespace obscuro::scene
