// Putting a scene series' device copy back to the source device between scenes.
#pragma once

#include <filesystem>

namespace obscuro::scene {

// Removes everything the last scene may have changed under `root` and copies `source` in
// again. The live notification registrations stay, with this process's own.
void resetDeviceCopy(const std::filesystem::path& source, const std::filesystem::path& root);

}  // namespace obscuro::scene
