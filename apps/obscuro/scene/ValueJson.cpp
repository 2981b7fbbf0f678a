// Printing scene values: objects, message results and images.
#include "ValueJson.h"

#include "../colour_json.h"

#include <CoreGraphics/CGBitmapContext.h>
#include <CoreGraphics/CGContext.h>
#include <CoreGraphics/CGImage.h>
#include <Foundation/NSArray.h>
#include <Foundation/NSAttributedString.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSNumber.h>
#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSString.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIImage.h>

#include <array>
#include <cctype>
#include <cstdint>

namespace obscuro::scene {

namespace {

using nlohmann::ordered_json;

std::string className(Class cls) { return objc::utf8(NSStringFromClass(cls)); }

bool isKind(id object, const char* name) {
    Class cls = objc_getClass(name);
    return cls && object_isKindOfClass(object, cls);
}

ordered_json colour(id colourObject) { return ordered_json(cli::colourJson(colourObject)); }

// The colour of one pixel, un-premultiplied; null outside the image or for an image without pixels.
ordered_json pixelColour(CGImageRef image, std::size_t x, std::size_t y) {
    if (!image || x >= CGImageGetWidth(image) || y >= CGImageGetHeight(image)) return nullptr;
    CGImageRef pixel = CGImageCreateWithImageInRect(image, CGRectMake(double(x), double(y), 1, 1));
    if (!pixel) return nullptr;
    std::array<std::uint8_t, 4> rgba{};
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(rgba.data(), 1, 1, 8, 4, space, kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    CGColorSpaceRelease(space);
    if (context) {
        CGContextSetBlendMode(context, kCGBlendModeCopy);
        CGContextDrawImage(context, CGRectMake(0, 0, 1, 1), pixel);
        CGContextRelease(context);
    }
    CGImageRelease(pixel);
    if (!context) return nullptr;
    double alpha = rgba[3] / 255.0;
    auto component = [&](std::uint8_t premultiplied) { return rgba[3] ? std::min(1.0, premultiplied / double(rgba[3])) : 0.0; };
    return colour(UIColor::colorWithRGBA(component(rgba[0]), component(rgba[1]), component(rgba[2]), alpha));
}

ordered_json attributedJson(NSAttributedString* text, const SceneIdOf& sceneId) {
    ordered_json runs = ordered_json::array();
    const std::u16string& units = text->string()->utf16();
    for (const NSAttributedString::Run& run : text->runs()) {
        auto piece = NSString::create(units.substr(run.range.location, run.range.length));
        ordered_json attributes = ordered_json::object();
        for (const NSDictionary::Entry& entry : run.attributes->entries())
            attributes[objc::utf8(msg<id>(entry.key.get(), sel<"description">()))] = objectJson(entry.value.get(), sceneId);
        runs.push_back(ordered_json::array({piece->utf8(), attributes}));
    }
    return runs;
}

ordered_json numberJson(NSNumber* number) {
    switch (number->kind()) {
    case NSNumber::Kind::boolean: return number->longLongValue() != 0;
    case NSNumber::Kind::integer: return number->longLongValue();
    case NSNumber::Kind::real: return number->doubleValue();
    }
    return nullptr;
}

bool endsWithColour(SEL selector) {
    std::string_view name = selector ? sel_getName(selector) : "";
    if (name.size() < 5) return false;
    std::string tail(name.substr(name.size() - 5));
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == "color";
}

}  // namespace

ordered_json cgColorJson(CGColorRef color) {
    if (!color) return nullptr;
    return colour(UIColor::colorWithCGColor(color));
}

ordered_json imageJson(id object) {
    if (!object || !object_isKindOfClass(object, UIImage::class_())) return nullptr;
    auto* image = static_cast<UIImage*>(object);
    CGSize size = image->pointSize();
    ordered_json out;
    out["size"] = {size.width, size.height};
    out["scale"] = image->scale;
    out["template"] = image->renderingMode == UIImageRenderingModeAlwaysTemplate;
    out["resizable"] = isKind(object, "_UIResizableImage");
    std::size_t width = CGImageGetWidth(image->cgImage), height = CGImageGetHeight(image->cgImage);
    out["center"] = pixelColour(image->cgImage, width / 2, height / 2);
    out["corner"] = pixelColour(image->cgImage, 0, 0);
    return out;
}

ordered_json objectJson(id object, const SceneIdOf& sceneId) {
    if (!object) return nullptr;
    if (auto name = sceneId(object)) return ordered_json{{"ref", *name}};
    Class cls = object_getClass(object);
    if (class_isMetaClass(cls)) return ordered_json{{"class", className(reinterpret_cast<Class>(object))}};
    if (object_isKindOfClass(object, UIColor::class_())) return colour(object);
    if (object_isKindOfClass(object, NSString::class_())) return ordered_json{{"string", objc::utf8(object)}};
    if (object_isKindOfClass(object, NSAttributedString::class_()))
        return ordered_json{{"attributed", attributedJson(static_cast<NSAttributedString*>(object), sceneId)}};
    if (object_isKindOfClass(object, NSNumber::class_())) return numberJson(static_cast<NSNumber*>(object));
    if (object_isKindOfClass(object, NSDictionary::class_())) {
        ordered_json entries = ordered_json::object();
        for (const NSDictionary::Entry& entry : static_cast<NSDictionary*>(object)->entries())
            entries[objc::utf8(msg<id>(entry.key.get(), sel<"description">()))] = objectJson(entry.value.get(), sceneId);
        return ordered_json{{"dict", entries}};
    }
    if (object_isKindOfClass(object, NSArray::class_())) {
        ordered_json items = ordered_json::array();
        for (const auto& item : static_cast<NSArray*>(object)->objects()) items.push_back(objectJson(item.get(), sceneId));
        return items;
    }
    if (object_isKindOfClass(object, UIImage::class_())) return ordered_json{{"image", imageJson(object)}};
    if (isKind(object, "NSNull")) return nullptr;
    return ordered_json{{"object", className(cls)}};
}

ordered_json resultJson(const objc::Value& value, SEL selector, const SceneIdOf& sceneId) {
    struct Visitor {
        SEL selector;
        const SceneIdOf& sceneId;
        ordered_json operator()(std::monostate) const { return nullptr; }
        ordered_json operator()(id object) const { return objectJson(object, sceneId); }
        ordered_json operator()(Class cls) const { return cls ? ordered_json{{"class", className(cls)}} : ordered_json(nullptr); }
        ordered_json operator()(SEL sel) const { return sel ? ordered_json(sel_getName(sel)) : ordered_json(nullptr); }
        ordered_json operator()(bool b) const { return b; }
        ordered_json operator()(long long i) const { return i; }
        ordered_json operator()(double d) const { return d; }
        ordered_json operator()(const objc::StructValue& s) const { return s.fields; }
        ordered_json operator()(void* pointer) const {
            if (!pointer) return nullptr;
            if (endsWithColour(selector)) return cgColorJson(static_cast<CGColorRef>(pointer));
            return ordered_json{{"pointer", true}};
        }
        ordered_json operator()(const std::string& text) const { return text; }
    };
    return std::visit(Visitor{selector, sceneId}, value);
}

}  // namespace obscuro::scene
