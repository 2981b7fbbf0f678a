// Reading and writing whole device files; the atomic write replaces a file by rename.
#include "DeviceFile.h"

#include <device/device.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace foundation {

namespace {

// Closes a descriptor when the scope ends, whatever path it ends by.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool close() {
        if (fd_ < 0) return true;
        int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool fail(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    return false;
}

bool writeInPlace(const std::string& target, std::span<const std::uint8_t> bytes, std::string* error) {
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.get() < 0) return fail(error, "cannot open " + target);
    if (!writeAll(fd.get(), bytes)) return fail(error, "cannot write " + target);
    if (!fd.close()) return fail(error, "cannot close " + target);
    return true;
}

bool writeAtomically(const std::string& target, std::span<const std::uint8_t> bytes, std::string* error) {
    auto slash = target.rfind('/');
    std::string folder = target.substr(0, slash == 0 ? 1 : slash);
    std::string name = target.substr(slash + 1);
    std::string temporary = target.substr(0, slash + 1) + "." + name + ".XXXXXX";

    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) return fail(error, "cannot create a temporary file in " + folder);
    // From here on, every failure removes the temporary file and leaves the target as it was.
    auto abandon = [&](const std::string& what) {
        int saved = errno;
        fd.close();
        ::unlink(temporary.c_str());
        errno = saved;
        return fail(error, what);
    };

    // The new file keeps the permissions of the one it replaces.
    struct stat previous;
    mode_t mode = (::stat(target.c_str(), &previous) == 0 && S_ISREG(previous.st_mode)) ? (previous.st_mode & 07777) : 0644;
    if (::fchmod(fd.get(), mode) != 0) return abandon("cannot set the mode of " + temporary);
    if (!writeAll(fd.get(), bytes)) return abandon("cannot write " + temporary);
    if (::fsync(fd.get()) != 0) return abandon("cannot flush " + temporary);
    if (!fd.close()) return abandon("cannot close " + temporary);
    if (::rename(temporary.c_str(), target.c_str()) != 0) return abandon("cannot replace " + target);

    // The rename itself is durable only once the folder is flushed. File systems that cannot
    // flush a folder (EINVAL) have nothing more to make durable.
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) return fail(error, "cannot open " + folder);
    if (::fsync(dir.get()) != 0 && errno != EINVAL) return fail(error, "cannot flush " + folder);
    return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readDeviceFile(std::string_view devicePath) {
    auto path = device::resolve(devicePath);
    if (!path) return std::nullopt;
    Descriptor fd(::open(path->c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return std::nullopt;
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t buffer[65536];
    while (true) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

bool writeDeviceFile(std::string_view devicePath, std::span<const std::uint8_t> bytes, bool atomically, std::string* error) {
    auto path = device::resolve(devicePath);
    if (!path) {
        if (error) *error = std::string(devicePath) + " is not a path on the device";
        return false;
    }
    std::string target = path->string();
    std::error_code ec;
    // The root folder itself is no file; its temporary would land outside the device.
    if (target.empty() || path->filename().empty() || std::filesystem::equivalent(*path, device::root(), ec)) {
        if (error) *error = std::string(devicePath) + " names no file";
        return false;
    }
    return atomically ? writeAtomically(target, bytes, error) : writeInPlace(target, bytes, error);
}

}  // namespace foundation
