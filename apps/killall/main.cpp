// killall for the simulated device: "killall -9 backboardd" restarts the device's Music app; nothing else is ever signalled.
#include "MusicProcesses.h"

#include <device/device.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Ending the user interface ends the apps; Settings' restart button relies on the Music app
// starting again with the settings as they are now.
bool endsTheUserInterface(const std::string& name) { return name == "backboardd" || name == "SpringBoard"; }

bool isSignalOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-' && argument != "--";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> names;
    for (int i = 1; i < argc; ++i)
        if (!isSignalOption(argv[i])) names.push_back(argv[i]);
    if (names.empty()) {
        std::fputs("usage: killall [-SIGNAL] NAME...\n", stderr);
        return 2;
    }
    const std::filesystem::path root = device::defaultRoot();
    bool matched = false;
    for (const auto& name : names) {
        if (!endsTheUserInterface(name)) continue;
        matched = true;
        for (pid_t pid : killall::musicProcessesOnDevice(root))
            if (killall::restartMusicProcess(pid) < 0) std::fprintf(stderr, "killall: the Music app (%d) could not be started again\n", pid);
    }
    if (!matched) {
        std::fputs("No matching processes belonging to you were found\n", stderr);
        return 1;
    }
    return 0;
}
