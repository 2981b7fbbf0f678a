// The filters known by name: their inputs with defaults, and the function that computes each one's output.
#pragma once

#include <CoreImage/CIFilter.h>
#include <CoreImage/CIImage.h>
#include <CoreImage/CIVector.h>

#include <optional>
#include <string_view>
#include <vector>

namespace coreimage {

struct InputSpec {
    const char* key;
    // The CIVector an input starts with and returns to on setDefaults; none for images.
    std::optional<std::vector<double>> defaultVector;
};

struct FilterKind {
    const char* name;
    std::vector<InputSpec> inputs;
    // The output image (autoreleased), or nil when an input is missing or of the wrong kind.
    CIImage* (*output)(const CIFilter& filter);

    bool hasInput(std::string_view key) const;
};

// The kind of that name; null when no filter has it.
const FilterKind* filterKindNamed(std::string_view name);
const std::vector<FilterKind>& filterKinds();

// Typed inputs of a filter: null when unset or of another kind (an image without pixels counts as unset).
const CIImage* inputImage(const CIFilter& filter, const char* key);
const CIVector* inputVector(const CIFilter& filter, const char* key);

CIImage* colorMatrixOutput(const CIFilter& filter);
CIImage* areaAverageOutput(const CIFilter& filter);

}  // namespace coreimage
