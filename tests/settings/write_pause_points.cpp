// The system calls of a file write, as the settings writer sees them: each forwards to the C
// library's, unless a pause is armed for its step. An executable's definitions come before the C
// library's for every library it loads, so these stand in for the calls libplatform makes.
#include "write_pause_points.h"

#include <dlfcn.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>

using write_pauses::Step;

namespace {

std::atomic<Step> gStep{Step::none};
std::atomic<int> gTemporaryFd{-1};

template <class Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

ssize_t realWrite(int fd, const void* bytes, size_t count) {
    static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    return real(fd, bytes, count);
}

// The line is the test's signal that the writer stands at the step; nothing after it runs.
[[noreturn]] void pauseHere(const char* name) {
    std::string line = std::string("paused ") + name + "\n";
    realWrite(STDOUT_FILENO, line.data(), line.size());
    for (;;) ::pause();
}

bool reached(Step step) { return gStep.load() == step; }

int tracked(int fd) {
    gTemporaryFd = fd;
    if (fd >= 0 && reached(Step::temporaryMade)) pauseHere("temporary");
    return fd;
}

}  // namespace

extern "C" int mkostemp(char* pattern, int flags) {
    static auto real = next<int (*)(char*, int)>("mkostemp");
    return tracked(real(pattern, flags));
}

extern "C" int mkstemp(char* pattern) {
    static auto real = next<int (*)(char*)>("mkstemp");
    return tracked(real(pattern));
}

extern "C" ssize_t write(int fd, const void* bytes, size_t count) {
    if (fd == gTemporaryFd && count > 1 && reached(Step::halfWritten)) {
        realWrite(fd, bytes, count / 2);
        pauseHere("half");
    }
    return realWrite(fd, bytes, count);
}

extern "C" int rename(const char* from, const char* to) {
    static auto real = next<int (*)(const char*, const char*)>("rename");
    if (reached(Step::beforeRename)) pauseHere("rename");
    return real(from, to);
}

namespace write_pauses {

Step stepNamed(std::string_view name) {
    if (name == "temporary") return Step::temporaryMade;
    if (name == "half") return Step::halfWritten;
    if (name == "rename") return Step::beforeRename;
    return Step::none;
}

void pauseAt(Step step) { gStep = step; }

}  // namespace write_pauses
