// Private preview devices: var/ copied, every other file a hard link to the source device's.
#include "preview_device.h"

namespace fs = std::filesystem;

namespace obscuro::cli {

namespace {

bool writableOnThePhone(const fs::path& relative) { return *relative.begin() == "var"; }

void linkOrCopy(const fs::path& from, const fs::path& to) {
    std::error_code refused;
    fs::create_hard_link(from, to, refused);
    if (refused) fs::copy_file(from, to);
}

}  // namespace

void shareDevice(const fs::path& from, const fs::path& to) {
    mirrorDevice(from, to, [](const fs::path& source, const fs::path& target, const fs::path& relative) {
        if (writableOnThePhone(relative)) fs::copy_file(source, target);
        else linkOrCopy(source, target);
    });
}

}  // namespace obscuro::cli
