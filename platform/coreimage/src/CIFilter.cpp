// CIFilter: filters made by name from the kind table, key-value inputs with defaults, and their output images.
#include "FilterKind.h"
#include "Registration.h"

#include <Foundation/Foundation.h>
#include <objc/NSException.h>

#include <algorithm>

namespace coreimage {

bool FilterKind::hasInput(std::string_view key) const {
    return std::any_of(inputs.begin(), inputs.end(), [&](const InputSpec& input) { return key == input.key; });
}

const std::vector<FilterKind>& filterKinds() {
    static const std::vector<FilterKind> kinds = {
        {"CIColorMatrix",
         {{"inputImage", std::nullopt},
          {"inputRVector", std::vector<double>{1, 0, 0, 0}},
          {"inputGVector", std::vector<double>{0, 1, 0, 0}},
          {"inputBVector", std::vector<double>{0, 0, 1, 0}},
          {"inputAVector", std::vector<double>{0, 0, 0, 1}},
          {"inputBiasVector", std::vector<double>{0, 0, 0, 0}}},
         colorMatrixOutput},
        {"CIAreaAverage",
         {{"inputImage", std::nullopt}, {"inputExtent", std::vector<double>{0, 0, 640, 80}}},
         areaAverageOutput},
    };
    return kinds;
}

const FilterKind* filterKindNamed(std::string_view name) {
    const auto& kinds = filterKinds();
    auto found = std::find_if(kinds.begin(), kinds.end(), [&](const FilterKind& kind) { return name == kind.name; });
    return found == kinds.end() ? nullptr : &*found;
}

namespace {

id inputValue(const CIFilter& filter, const char* key) {
    auto found = filter.inputs.find(key);
    return found == filter.inputs.end() ? nil : found->second.get();
}

}  // namespace

const CIImage* inputImage(const CIFilter& filter, const char* key) {
    id value = inputValue(filter, key);
    if (!object_isKindOfClass(value, CIImage::class_())) return nullptr;
    auto* image = static_cast<const CIImage*>(value);
    return image->bitmap ? image : nullptr;
}

const CIVector* inputVector(const CIFilter& filter, const char* key) {
    id value = inputValue(filter, key);
    return object_isKindOfClass(value, CIVector::class_()) ? static_cast<const CIVector*>(value) : nullptr;
}

}  // namespace coreimage

namespace {

Class gCIFilter = nullptr;

// A filter made with alloc/init rather than by name has no inputs and no output.
const coreimage::FilterKind& kindOf(const CIFilter* filter) {
    static const coreimage::FilterKind none{"", {}, [](const CIFilter&) -> CIImage* { return nil; }};
    const auto* kind = coreimage::filterKindNamed(filter->name);
    return kind ? *kind : none;
}

void setDefaults(CIFilter* filter) {
    for (const auto& input : kindOf(filter).inputs)
        if (input.defaultVector) filter->inputs[input.key] = objc::retain<objc_object>(CIVector::vectorWithValues(*input.defaultVector));
}

// Keys are checked as the phone's key-value coding checks them: a key the filter lacks is a
// programming error, raised rather than ignored.
std::string checkedKey(CIFilter* filter, NSString* key) {
    if (!key) NSException::raise("NSInvalidArgumentException", "a filter input needs a key");
    std::string name = key->utf8();
    if (!kindOf(filter).hasInput(name) && name != "outputImage")
        NSException::raise("NSUnknownKeyException", "[<CIFilter " + filter->name + "> valueForUndefinedKey:]: this class is not "
                                                      "key value coding-compliant for the key " + name + ".");
    return name;
}

id outputImage(CIFilter* filter) { return kindOf(filter).output(*filter); }

id inputKeys(CIFilter* filter) {
    NSArray::Objects keys;
    for (const auto& input : kindOf(filter).inputs) keys.push_back(objc::retain<objc_object>(objc::str(input.key)));
    return objc::autorelease(NSArray::create(std::move(keys)).release());
}

}  // namespace

Class CIFilter::class_() { return gCIFilter; }

namespace platform::coreimage {

void registerCIFilter() {
    gCIFilter =
        objc::ClassBuilder<CIFilter>("CIFilter", NSObject::class_())
            .classMethod(sel<"filterWithName:">(),
                         [](Class, SEL, NSString* name) -> id {
                             const auto* kind = name ? ::coreimage::filterKindNamed(name->utf8()) : nullptr;
                             if (!kind) return nil;
                             auto* filter = objc::createInstance<CIFilter>(gCIFilter);
                             filter->name = kind->name;
                             setDefaults(filter);
                             return objc::autorelease(filter);
                         })
            .classMethod(sel<"filterNamesInCategory:">(),
                         [](Class, SEL, NSString*) -> id {
                             NSArray::Objects names;
                             for (const auto& kind : ::coreimage::filterKinds())
                                 names.push_back(objc::retain<objc_object>(objc::str(kind.name)));
                             return objc::autorelease(NSArray::create(std::move(names)).release());
                         })
            .method(sel<"setDefaults">(), [](CIFilter* self, SEL) { setDefaults(self); })
            .method(sel<"setValue:forKey:">(),
                    [](CIFilter* self, SEL, id value, NSString* key) {
                        std::string name = checkedKey(self, key);
                        if (name == "outputImage")
                            NSException::raise("NSUnknownKeyException", "outputImage of a filter cannot be set");
                        if (value) self->inputs[name] = objc::retain(value);
                        else self->inputs.erase(name);
                    })
            .method(sel<"valueForKey:">(),
                    [](CIFilter* self, SEL, NSString* key) -> id {
                        std::string name = checkedKey(self, key);
                        if (name == "outputImage") return outputImage(self);
                        auto found = self->inputs.find(name);
                        return found == self->inputs.end() ? nil : found->second.get();
                    })
            .method(sel<"outputImage">(), [](CIFilter* self, SEL) { return outputImage(self); })
            .method(sel<"name">(), [](CIFilter* self, SEL) { return objc::str(self->name); })
            .method(sel<"inputKeys">(), [](CIFilter* self, SEL) { return inputKeys(self); })
            .method(sel<"outputKeys">(),
                    [](CIFilter*, SEL) -> id { return objc::array({objc::str("outputImage")}); })
            .method(sel<"description">(),
                    [](CIFilter* self, SEL) { return objc::format("<CIFilter: %p %s>", static_cast<void*>(self), self->name.c_str()); })
            .registerClass();
}

}  // namespace platform::coreimage
