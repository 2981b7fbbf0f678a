// NSValue: geometry structs and ranges boxed as objects.
#include <Foundation/NSStringFormat.h>
#include <Foundation/NSValue.h>

#include "Internal.h"

#include <cstring>

namespace {

Class gNSValue = nullptr;

template <class T>
std::string_view encodingOf() {
    return objc::StructEncoding<T>::value.view();
}

}  // namespace

Class NSValue::class_() { return gNSValue; }

template <class T>
NSValue* NSValue::boxed(Class cls, const T& value) {
    static_assert(sizeof(T) <= sizeof(bytes_));
    auto* box = objc::createInstance<NSValue>(cls);
    box->type_ = encodingOf<T>();
    std::memcpy(box->bytes_.data(), &value, sizeof(T));
    return objc::autorelease(box);
}

// Reading a value as another struct than it holds gives zeroes.
template <class T>
T NSValue::unboxed() const {
    T value{};
    if (type_ == encodingOf<T>()) std::memcpy(&value, bytes_.data(), sizeof(T));
    return value;
}

void NSValue::registerClass() {
    gNSValue =
        objc::ClassBuilder<NSValue>("NSValue", NSObject::class_())
            .classMethod(sel<"valueWithCGPoint:">(), [](Class cls, SEL, CGPoint p) { return boxed(cls, p); })
            .classMethod(sel<"valueWithCGSize:">(), [](Class cls, SEL, CGSize s) { return boxed(cls, s); })
            .classMethod(sel<"valueWithCGRect:">(), [](Class cls, SEL, CGRect r) { return boxed(cls, r); })
            .classMethod(sel<"valueWithRange:">(), [](Class cls, SEL, NSRange r) { return boxed(cls, r); })
            .method(sel<"CGPointValue">(), [](NSValue* self, SEL) { return self->unboxed<CGPoint>(); })
            .method(sel<"CGSizeValue">(), [](NSValue* self, SEL) { return self->unboxed<CGSize>(); })
            .method(sel<"CGRectValue">(), [](NSValue* self, SEL) { return self->unboxed<CGRect>(); })
            .method(sel<"rangeValue">(), [](NSValue* self, SEL) { return self->unboxed<NSRange>(); })
            .method(sel<"objCType">(), [](NSValue* self, SEL) -> const char* { return self->type_.c_str(); })
            .method(sel<"isEqual:">(),
                    [](NSValue* self, SEL, id other) -> BOOL {
                        auto* value = foundation::as<NSValue>(other);
                        return value && value->type_ == self->type_ && value->bytes_ == self->bytes_;
                    })
            .method(sel<"hash">(),
                    [](NSValue* self, SEL) -> NSUInteger {
                        NSUInteger h = 1469598103934665603UL;
                        for (unsigned char b : self->bytes_) h = (h ^ b) * 1099511628211UL;
                        return h;
                    })
            .method(sel<"description">(),
                    [](NSValue* self, SEL) -> NSString* {
                        if (self->type_ == encodingOf<CGPoint>()) {
                            auto p = self->unboxed<CGPoint>();
                            return objc::format("NSPoint: {%g, %g}", p.x, p.y);
                        }
                        if (self->type_ == encodingOf<CGSize>()) {
                            auto s = self->unboxed<CGSize>();
                            return objc::format("NSSize: {%g, %g}", s.width, s.height);
                        }
                        if (self->type_ == encodingOf<CGRect>()) {
                            auto r = self->unboxed<CGRect>();
                            return objc::format("NSRect: {{%g, %g}, {%g, %g}}", r.origin.x, r.origin.y, r.size.width, r.size.height);
                        }
                        if (self->type_ == encodingOf<NSRange>()) return objc::format("NSRange: %@", NSStringFromRange(self->unboxed<NSRange>()));
                        return objc::str("<" + self->type_ + ">");
                    })
            .registerClass();
}
