// Emptying a device copy, all but its notification registrations, and filling it from the source device again.
#include "DeviceReset.h"

#include "../device_folder.h"

#include <vector>

namespace obscuro::scene {

void resetDeviceCopy(const std::filesystem::path& source, const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    const fs::path kept[] = {"var", fs::path("var") / "run", fs::path("var") / "run" / "notifyd"};
    std::vector<fs::path> doomed;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        fs::path relative = it->path().lexically_relative(root);
        if (relative == kept[2]) {
            it.disable_recursion_pending();
        } else if (relative != kept[0] && relative != kept[1]) {
            doomed.push_back(it->path());
            it.disable_recursion_pending();
        }
    }
    for (const fs::path& path : doomed) fs::remove_all(path);
    cli::copyDevice(source, root);
}

}  // namespace obscuro::scene
