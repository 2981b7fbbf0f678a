// The studio tests' device and picture reading: a copy of the staged device, and the colour a picture mostly shows.
#pragma once

#include <render/Renderer.h>

#include <filesystem>
#include <string>

namespace studio_test {

// A copy of the device the build staged (product, settings bundle, killall, the app's assets)
// with an empty preferences folder, in a temporary folder removed at the end.
class CopiedDevice {
public:
    CopiedDevice();
    ~CopiedDevice();
    CopiedDevice(const CopiedDevice&) = delete;
    CopiedDevice& operator=(const CopiedDevice&) = delete;
    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

// PNG bytes as a picture; an empty picture when they are not a PNG.
render::Picture pictureFromPng(const std::string& png);

// "#RRGGBB" of the colour most pixels of the picture have: the screen's background.
std::string mostCommonColour(const render::Picture& picture);

}  // namespace studio_test
