// UIFont: system and named fonts as name, family, size and weight.
#include "Registration.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIFont.h>

namespace {

Class gUIFont = nullptr;

UIFont* makeFont(std::string name, std::string family, double size, double weight) {
    auto* font = static_cast<UIFont*>(class_createInstance(gUIFont));
    font->name = std::move(name);
    font->family = std::move(family);
    font->pointSize = size;
    font->weight = weight;
    return objc::autorelease(font);
}

}  // namespace

Class UIFont::class_() { return gUIFont; }

UIFont* UIFont::systemFont(double size, double weight) {
    return makeFont(weight >= UIFontWeightSemibold ? ".SFUIText-Semibold" : ".SFUIText", ".SF UI Text", size, weight);
}

namespace platform::uikit {

void registerUIFont() {
    using objc::ClassBuilder;
    gUIFont =
        ClassBuilder<UIFont>("UIFont", NSObject::class_())
            .classMethod(sel<"systemFontOfSize:">(), [](Class, SEL, double size) -> id { return UIFont::systemFont(size); })
            .classMethod(sel<"boldSystemFontOfSize:">(), [](Class, SEL, double size) -> id { return UIFont::systemFont(size, UIFontWeightBold); })
            .classMethod(sel<"systemFontOfSize:weight:">(),
                         [](Class, SEL, double size, double weight) -> id { return UIFont::systemFont(size, weight); })
            .classMethod(sel<"fontWithName:size:">(),
                         [](Class, SEL, id name, double size) -> id {
                             if (!name) return nil;
                             std::string text = objc::utf8(name);
                             return makeFont(text, text, size, 0);
                         })
            .method(sel<"fontName">(), [](UIFont* self, SEL) -> id { return objc::str(self->name); })
            .method(sel<"familyName">(), [](UIFont* self, SEL) -> id { return objc::str(self->family); })
            .method(sel<"pointSize">(), [](UIFont* self, SEL) { return self->pointSize; })
            .method(sel<"lineHeight">(), [](UIFont* self, SEL) { return self->pointSize * 1.2; })
            .method(sel<"ascender">(), [](UIFont* self, SEL) { return self->pointSize * 0.95; })
            .method(sel<"descender">(), [](UIFont* self, SEL) { return -self->pointSize * 0.25; })
            .method(sel<"fontWithSize:">(),
                    [](UIFont* self, SEL, double size) -> id { return makeFont(self->name, self->family, size, self->weight); })
            .method(sel<"isEqual:">(),
                    [](UIFont* self, SEL, id other) {
                        if (!object_isKindOfClass(other, gUIFont)) return NO;
                        auto* o = static_cast<UIFont*>(other);
                        return self->name == o->name && self->pointSize == o->pointSize && self->weight == o->weight;
                    })
            .method(sel<"description">(),
                    [](UIFont* self, SEL) -> id {
                        return objc::format("<UICTFont: %p> font-family: \"%s\"; font-size: %gpt", static_cast<void*>(self),
                                            self->family, self->pointSize);
                    })
            .registerClass();
}

}  // namespace platform::uikit
