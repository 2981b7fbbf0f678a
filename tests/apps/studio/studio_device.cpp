// A private copy of the staged device for each studio test process, and reading back the pictures the studio serves.
#include "studio_device.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>

namespace studio_test {

namespace fs = std::filesystem;

CopiedDevice::CopiedDevice() {
    std::string pattern = (fs::temp_directory_path() / "studio-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a device folder");
    root_ = pattern;
    fs::path staged = OBSCURO_DEVICE_ROOT;
    for (const char* folder : {"Library", "Applications", "usr"})
        if (fs::exists(staged / folder)) fs::copy(staged / folder, root_ / folder, fs::copy_options::recursive);
    fs::create_directories(root_ / "var/mobile/Library/Preferences");
}

CopiedDevice::~CopiedDevice() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

render::Picture pictureFromPng(const std::string& png) {
    fs::path file = fs::temp_directory_path() / ("studio-test-picture-" + std::to_string(::getpid()) + ".png");
    std::ofstream(file, std::ios::binary).write(png.data(), static_cast<std::streamsize>(png.size()));
    render::Picture picture;
    try {
        picture = render::readPNG(file);
    } catch (const std::runtime_error&) {
    }
    std::error_code ignored;
    fs::remove(file, ignored);
    return picture;
}

std::string mostCommonColour(const render::Picture& picture) {
    std::map<std::uint32_t, std::size_t> counts;
    for (std::size_t i = 0; i + 3 < picture.rgba.size(); i += 4)
        ++counts[(std::uint32_t(picture.rgba[i]) << 16) | (std::uint32_t(picture.rgba[i + 1]) << 8) | picture.rgba[i + 2]];
    std::uint32_t best = 0;
    std::size_t most = 0;
    for (auto [colour, count] : counts)
        if (count > most) best = colour, most = count;
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%06X", static_cast<unsigned>(best));
    return most ? hex : "";
}

}  // namespace studio_test
