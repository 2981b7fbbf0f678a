// Fuzz target: scene files run as `obscuro scene run` runs them, in one Music app started once for the whole program.
#include "scene/SceneError.h"
#include "scene/SceneRunner.h"
#include "scratch_device.h"

#include <objc/NSException.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using nlohmann::ordered_json;

std::unique_ptr<obscuro::scene::SceneSeries> gSeries;

// The report `scene run` prints: every section there, and printable as the command prints it.
void checkReport(const ordered_json& report) {
    for (const char* key : {"theme", "hooks", "results", "objects", "appearance", "log"})
        if (!report.contains(key)) {
            std::fprintf(stderr, "broken promise: the report has \"%s\"\n", key);
            std::abort();
        }
    report.dump(2, ' ', false, ordered_json::error_handler_t::replace);
}

}  // namespace

// The app is started, and the library loaded switched on (so that it installs its hooks), by a
// first scene of the program's own; every input then meets the hooks whatever its own "load"
// says, and its settings reach the library as a live change.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The series puts its device copy back before every scene: in memory, that is a copy in memory.
    ::setenv("TMPDIR", fuzzing::scratchParent().c_str(), 1);
    obscuro::scene::RunOptions options;
    options.device = OBSCURO_DEVICE_ROOT;
    gSeries = std::make_unique<obscuro::scene::SceneSeries>(options);
    try {
        checkReport(gSeries->run(ordered_json::parse(R"({"device": {"settings": {"enabled": true}}})")));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "scene_file_fuzzer: the empty scene fails: %s (is the device in %s staged?)\n", failure.what(),
                     OBSCURO_DEVICE_ROOT);
        std::exit(1);
    }
    return 0;
}

// The input is the scene file. Whatever it holds, the run ends in a report or in one of the
// errors the command prints (exit 2 for the scene's faults, 1 for the rest).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ordered_json scene = ordered_json::parse(data, data + size, nullptr, false);
    if (scene.is_discarded()) return 0;
    try {
        checkReport(gSeries->run(scene));
    } catch (const obscuro::scene::SceneError&) {
    } catch (const obscuro::scene::RunFailure&) {
    } catch (const NSException&) {
    } catch (const std::exception&) {
    }
    return 0;
}
