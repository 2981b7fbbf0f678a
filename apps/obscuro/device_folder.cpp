// Copying device roots: the staged default device into a new folder, or into a private temporary one.
#include "device_folder.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace obscuro::cli {

void mirrorDevice(const fs::path& from, const fs::path& to, FilePlacement place) {
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
            place(it->path(), target, relative);
        }
    }
}

void copyDevice(const fs::path& from, const fs::path& to) {
    mirrorDevice(from, to, [](const fs::path& source, const fs::path& target, const fs::path&) { fs::copy_file(source, target); });
}

TemporaryDevice::TemporaryDevice(const fs::path& source, DeviceFilling fill) {
    std::error_code error;
    fs::path base = fs::temp_directory_path(error);
    if (error) base = "/tmp";
    std::string pattern = (base / "obscuro-device-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) throw std::runtime_error("cannot make a temporary folder in " + base.string());
    root_ = buffer.data();
    // A device that holds the temporary folder (--root /tmp, say) would be copied into itself
    // without end.
    fs::path relative = fs::weakly_canonical(root_, error).lexically_relative(fs::weakly_canonical(source, error));
    if (!relative.empty() && *relative.begin() != "..") {
        fs::remove_all(root_, error);
        throw std::runtime_error("cannot set up the device: " + source.string() + " holds the temporary folder " + base.string() +
                                 "; choose another device or set TMPDIR outside it");
    }
    try {
        fill(source, root_);
    } catch (const fs::filesystem_error& failure) {
        fs::remove_all(root_, error);
        throw std::runtime_error(std::string("cannot set up the device: ") + failure.what());
    }
}

TemporaryDevice::~TemporaryDevice() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

}  // namespace obscuro::cli
