// posix_spawn and waitpid of device programs: the program comes from the device and inherits the device.
#include <device/device.h>

#include <sys/wait.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

namespace device {

namespace {

constexpr std::string_view kRootVariable = "OBSCURO_DEVICE_ROOT=";

// The phone's waitpid option bits.
constexpr int kPhoneNoHang = 0x01;
constexpr int kPhoneUntraced = 0x02;
constexpr int kPhoneStopped = 0x08;
constexpr int kPhoneContinued = 0x10;

std::atomic<SpawnObserver> gSpawnObserver{nullptr};

}  // namespace

int posix_spawn(pid_t* pid, const char* path, const posix_spawn_file_actions_t* fileActions, const posix_spawnattr_t* attributes,
                char* const argv[], char* const envp[]) {
    if (!path) return EINVAL;
    auto program = resolve(path);
    if (!program) return ENOENT;

    std::vector<std::string> environment;
    for (char* const* entry = envp; entry && *entry; ++entry)
        if (!std::string_view(*entry).starts_with(kRootVariable)) environment.emplace_back(*entry);
    environment.push_back(std::string(kRootVariable) + root().string());
    std::vector<char*> envPointers;
    for (auto& entry : environment) envPointers.push_back(entry.data());
    envPointers.push_back(nullptr);

    std::string argument0 = path;
    char* defaultArgv[] = {argument0.data(), nullptr};
    if (auto observer = gSpawnObserver.load(std::memory_order_acquire)) observer(path, argv ? argv : defaultArgv);
    return ::posix_spawn(pid, program->c_str(), fileActions, attributes, argv ? argv : defaultArgv, envPointers.data());
}

void setSpawnObserver(SpawnObserver observer) { gSpawnObserver.store(observer, std::memory_order_release); }

pid_t waitpid(pid_t pid, int* status, int options) {
    int hostOptions = 0;
    if (options & kPhoneNoHang) hostOptions |= WNOHANG;
    if (options & (kPhoneUntraced | kPhoneStopped)) hostOptions |= WUNTRACED;
    if (options & kPhoneContinued) hostOptions |= WCONTINUED;
    return ::waitpid(pid, status, hostOptions);
}

}  // namespace device
