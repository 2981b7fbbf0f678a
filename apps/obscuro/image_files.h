// PNG files in and out for `obscuro image`: checked reading, and writing that never leaves a partial file.
#pragma once

#include <objc/objc.h>

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

namespace obscuro::cli {

// A file that cannot be read as an image or an image that cannot be written; what() says
// which file and why, ready for the user.
class ImageFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The PNG file at `path` (a host path) as an autoreleased upright UIImage of `scale`. Throws
// ImageFileError for a missing or unreadable file, a file that is not a PNG, or a PNG that
// does not decode.
id readPNGImage(const std::string& path, double scale);

// Writes the image's bitmap as PNG to `path`: into a temporary file beside it, then renamed
// over it, so that `path` holds either its old contents or the whole new image. Throws
// ImageFileError for an image without a bitmap (nil included) or a file that cannot be written.
void writePNGImage(id image, const std::string& path);

// {"size": [w, h], "scale": s, "pixels": [pw, ph]}: the size in points, the scale, and the
// bitmap's size in pixels.
nlohmann::json imageJson(id image);

}  // namespace obscuro::cli
