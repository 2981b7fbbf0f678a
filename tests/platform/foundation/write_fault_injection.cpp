// The system calls of a write, as a program linked with this file sees them: an executable's
// definitions come before the C library's for every library it loads, so these stand in for the
// calls libplatform makes. Each forwards to the next definition (the C library's, or a
// sanitizer's) unless a fault is armed for that step and that descriptor.
#include "write_fault_injection.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>

using write_faults::Fault;

namespace {

std::atomic<Fault> gFault{Fault::none};
std::atomic<int> gFaultError{EIO};
std::atomic<int> gInjected{0};
std::atomic<int> gTemporaryFd{-1};  // the temporary file of the write under way
std::atomic<int> gFolderFd{-1};     // the folder it opens to flush the rename
std::atomic<bool> gWroteHalf{false};

template <class Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

bool armed(Fault fault) {
    if (gFault.load() != fault) return false;
    ++gInjected;
    return true;
}

int failWith(int error) {
    errno = error;
    return -1;
}

int tracked(int fd) {
    gTemporaryFd = fd;
    return fd;
}

}  // namespace

extern "C" int mkostemp(char* pattern, int flags) {
    static auto real = next<int (*)(char*, int)>("mkostemp");
    if (armed(Fault::createTemporary)) return failWith(gFaultError);
    return tracked(real(pattern, flags));
}

extern "C" int mkstemp(char* pattern) {
    static auto real = next<int (*)(char*)>("mkstemp");
    if (armed(Fault::createTemporary)) return failWith(gFaultError);
    return tracked(real(pattern));
}

extern "C" int fchmod(int fd, mode_t mode) {
    static auto real = next<int (*)(int, mode_t)>("fchmod");
    if (fd == gTemporaryFd && armed(Fault::setMode)) return failWith(gFaultError);
    return real(fd, mode);
}

extern "C" ssize_t write(int fd, const void* bytes, size_t count) {
    static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (fd == gTemporaryFd && count > 0) {
        if (armed(Fault::write)) return failWith(gFaultError);
        if (armed(Fault::interrupted) && !gWroteHalf.exchange(true)) return failWith(EINTR);
        if (armed(Fault::shortWrites)) return real(fd, bytes, std::min<size_t>(count, 7));
        if (armed(Fault::diskFullMidway)) {
            if (gWroteHalf.exchange(true)) return failWith(ENOSPC);
            return real(fd, bytes, std::max<size_t>(count / 2, 1));
        }
    }
    return real(fd, bytes, count);
}

extern "C" int fsync(int fd) {
    static auto real = next<int (*)(int)>("fsync");
    if (fd == gTemporaryFd && armed(Fault::flush)) return failWith(gFaultError);
    if (fd == gFolderFd && armed(Fault::flushFolder)) return failWith(gFaultError);
    if (fd == gFolderFd && armed(Fault::folderFlushUnsupported)) return failWith(EINVAL);
    return real(fd);
}

extern "C" int close(int fd) {
    static auto real = next<int (*)(int)>("close");
    bool temporary = fd == gTemporaryFd;
    if (temporary) gTemporaryFd = -1;
    if (fd == gFolderFd) gFolderFd = -1;
    int result = real(fd);
    if (temporary && result == 0 && armed(Fault::close)) return failWith(gFaultError);
    return result;
}

extern "C" int rename(const char* from, const char* to) {
    static auto real = next<int (*)(const char*, const char*)>("rename");
    if (armed(Fault::rename)) return failWith(gFaultError);
    return real(from, to);
}

extern "C" int open(const char* path, int flags, ...) {
    static auto real = next<int (*)(const char*, int, ...)>("open");
    mode_t mode = 0;
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    bool folder = (flags & O_DIRECTORY) != 0;
    if (folder && gFault.load() != Fault::none && armed(Fault::openFolder)) return failWith(gFaultError);
    int fd = real(path, flags, mode);
    if (folder && gFault.load() != Fault::none) gFolderFd = fd;
    return fd;
}

namespace write_faults {

void arm(Fault fault, int error) {
    gFaultError = error;
    gWroteHalf = false;
    gInjected = 0;
    gFault = fault;
}

void disarm() {
    gFault = Fault::none;
    gTemporaryFd = -1;
    gFolderFd = -1;
}

int injected() { return gInjected.load(); }

}  // namespace write_faults
