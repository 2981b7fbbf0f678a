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
    if (!fs::is_directory(from)) throw fs::filesystem_error("not a device folder", from, std::make_error_code(std::errc::not_a_directory));
    const fs::path registrations = fs::path("var") / "run" / "notifyd";
    for (auto it = fs::recursive_directory_iterator(from); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path relative = it->path().lexically_relative(from);
        const fs::path target = to / relative;
        const fs::file_status status = it->symlink_status();
        if (relative == registrations) {
            it.disable_recursion_pending();
            continue;
        }
        if (fs::is_symlink(status)) {
            fs::copy_symlink(it->path(), target);
        } else if (fs::is_directory(status)) {
            fs::create_directory(target, it->path());
        } else if (fs::is_regular_file(status)) {
            if (writableOnThePhone(relative)) fs::copy_file(it->path(), target);
            else linkOrCopy(it->path(), target);
        }
    }
}

}  // namespace obscuro::cli
