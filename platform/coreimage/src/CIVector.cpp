// CIVector: construction from components, rectangles and points; component access, equality and description.
#include "Registration.h"

#include <CoreImage/CIVector.h>
#include <Foundation/Foundation.h>

#include <functional>

namespace {

Class gCIVector = nullptr;

id initWithValues(CIVector* self, std::vector<double> values) {
    self->values = std::move(values);
    return self;
}

id makeVector(std::vector<double> values) {
    return objc::autorelease(initWithValues(objc::createInstance<CIVector>(gCIVector), std::move(values)));
}

std::string describe(const CIVector* vector) {
    std::string text = "[";
    for (size_t i = 0; i < vector->values.size(); ++i) {
        if (i) text += ' ';
        text += objc::utf8(objc::format("%g", vector->values[i]));
    }
    return text + "]";
}

}  // namespace

Class CIVector::class_() { return gCIVector; }

CIVector* CIVector::vectorWithValues(std::vector<double> values) {
    return static_cast<CIVector*>(makeVector(std::move(values)));
}

namespace platform::coreimage {

void registerCIVector() {
    gCIVector =
        objc::ClassBuilder<CIVector>("CIVector", NSObject::class_())
            .classMethod(sel<"vectorWithX:">(), [](Class, SEL, double x) { return makeVector({x}); })
            .classMethod(sel<"vectorWithX:Y:">(), [](Class, SEL, double x, double y) { return makeVector({x, y}); })
            .classMethod(sel<"vectorWithX:Y:Z:">(),
                         [](Class, SEL, double x, double y, double z) { return makeVector({x, y, z}); })
            .classMethod(sel<"vectorWithX:Y:Z:W:">(),
                         [](Class, SEL, double x, double y, double z, double w) { return makeVector({x, y, z, w}); })
            .classMethod(sel<"vectorWithValues:count:">(),
                         [](Class, SEL, const double* values, unsigned long count) {
                             return makeVector(values ? std::vector<double>(values, values + count) : std::vector<double>{});
                         })
            .classMethod(sel<"vectorWithCGRect:">(),
                         [](Class, SEL, CGRect r) {
                             return makeVector({r.origin.x, r.origin.y, r.size.width, r.size.height});
                         })
            .classMethod(sel<"vectorWithCGPoint:">(), [](Class, SEL, CGPoint p) { return makeVector({p.x, p.y}); })
            .method(sel<"initWithX:">(), [](CIVector* self, SEL, double x) { return initWithValues(self, {x}); })
            .method(sel<"initWithX:Y:">(), [](CIVector* self, SEL, double x, double y) { return initWithValues(self, {x, y}); })
            .method(sel<"initWithX:Y:Z:">(),
                    [](CIVector* self, SEL, double x, double y, double z) { return initWithValues(self, {x, y, z}); })
            .method(sel<"initWithX:Y:Z:W:">(),
                    [](CIVector* self, SEL, double x, double y, double z, double w) {
                        return initWithValues(self, {x, y, z, w});
                    })
            .method(sel<"initWithCGRect:">(),
                    [](CIVector* self, SEL, CGRect r) {
                        return initWithValues(self, {r.origin.x, r.origin.y, r.size.width, r.size.height});
                    })
            .method(sel<"X">(), [](CIVector* self, SEL) { return self->at(0); })
            .method(sel<"Y">(), [](CIVector* self, SEL) { return self->at(1); })
            .method(sel<"Z">(), [](CIVector* self, SEL) { return self->at(2); })
            .method(sel<"W">(), [](CIVector* self, SEL) { return self->at(3); })
            .method(sel<"valueAtIndex:">(), [](CIVector* self, SEL, unsigned long i) { return self->at(i); })
            .method(sel<"count">(), [](CIVector* self, SEL) { return static_cast<unsigned long>(self->values.size()); })
            .method(sel<"CGRectValue">(),
                    [](CIVector* self, SEL) { return CGRectMake(self->at(0), self->at(1), self->at(2), self->at(3)); })
            .method(sel<"CGPointValue">(), [](CIVector* self, SEL) { return CGPointMake(self->at(0), self->at(1)); })
            .method(sel<"copy">(), [](CIVector* self, SEL) -> id { return objc_retain(self); })
            .method(sel<"isEqual:">(),
                    [](CIVector* self, SEL, id other) -> BOOL {
                        if (!other || !object_isKindOfClass(other, gCIVector)) return NO;
                        return self->values == static_cast<CIVector*>(other)->values;
                    })
            .method(sel<"hash">(),
                    [](CIVector* self, SEL) {
                        unsigned long h = self->values.size();
                        for (double v : self->values) h = h * 31 + std::hash<double>{}(v == 0 ? 0.0 : v);  // -0 equals 0
                        return h;
                    })
            .method(sel<"description">(), [](CIVector* self, SEL) { return objc::str(describe(self)); })
            .registerClass();
}

}  // namespace platform::coreimage
