// Registration files and datagram sockets in the device's notification folder.
#include "NotificationPort.h"

#include <device/device.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace platform::notify {

namespace {

// How long a post waits for an observer whose queue is full before it gives up on it.
constexpr int kFullQueueWaitMs = 50;

// A socket address for a path. Paths too long for sun_path are reached through the folder's
// descriptor under /proc, which keeps deep device roots (test folders, build trees) working.
class SocketAddress {
public:
    explicit SocketAddress(const fs::path& path) {
        std::memset(&addr_, 0, sizeof addr_);
        addr_.sun_family = AF_UNIX;
        std::string text = path.string();
        if (text.size() >= sizeof addr_.sun_path) {
            folderFd_ = ::open(path.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (folderFd_ < 0) return;
            text = "/proc/self/fd/" + std::to_string(folderFd_) + "/" + path.filename().string();
            if (text.size() >= sizeof addr_.sun_path) return;
        }
        std::memcpy(addr_.sun_path, text.c_str(), text.size() + 1);
        valid_ = true;
    }
    ~SocketAddress() {
        if (folderFd_ >= 0) ::close(folderFd_);
    }
    SocketAddress(const SocketAddress&) = delete;
    SocketAddress& operator=(const SocketAddress&) = delete;

    bool valid() const { return valid_; }
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&addr_); }
    socklen_t length() const { return sizeof addr_; }

private:
    sockaddr_un addr_;
    int folderFd_ = -1;
    bool valid_ = false;
};

fs::path socketPath(const fs::path& folder, pid_t pid) { return folder / (std::to_string(pid) + ".sock"); }
fs::path namesPath(const fs::path& folder, pid_t pid) { return folder / (std::to_string(pid) + ".names"); }
fs::path pendingNamesPath(const fs::path& folder, pid_t pid) { return folder / (std::to_string(pid) + ".names.new"); }

void removeRegistration(const fs::path& folder, pid_t pid) {
    std::error_code ignored;
    fs::remove(namesPath(folder, pid), ignored);
    fs::remove(pendingNamesPath(folder, pid), ignored);
    fs::remove(socketPath(folder, pid), ignored);
}

std::optional<pid_t> registrationPid(const fs::path& file) {
    if (file.extension() != ".names") return std::nullopt;
    std::string stem = file.stem().string();
    if (stem.empty() || stem.size() > 9 || stem.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return static_cast<pid_t>(std::stol(stem));
}

bool registrationLists(const fs::path& file, std::string_view name) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line == name) return true;
    return false;
}

enum class Delivery { Sent, Dead, Dropped };

Delivery sendTo(const fs::path& folder, pid_t pid, std::string_view name) {
    SocketAddress address(socketPath(folder, pid));
    if (!address.valid()) return Delivery::Dropped;
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Delivery::Dropped;
    Delivery result = Delivery::Sent;
    if (::connect(fd, address.get(), address.length()) < 0) {
        result = (errno == ECONNREFUSED || errno == ENOENT) ? Delivery::Dead : Delivery::Dropped;
    } else {
        ssize_t sent = ::send(fd, name.data(), name.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent < 0 && errno == EAGAIN) {
            // The observer has a full queue: it is alive but has not run its loop lately.
            // Give it a moment to drain rather than stalling the poster behind it.
            pollfd writable{fd, POLLOUT, 0};
            if (::poll(&writable, 1, kFullQueueWaitMs) > 0) sent = ::send(fd, name.data(), name.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        }
        if (sent < 0) result = (errno == ECONNREFUSED || errno == ENOENT) ? Delivery::Dead : Delivery::Dropped;
    }
    int error = errno;
    ::close(fd);
    if (result == Delivery::Dropped)
        std::fprintf(stderr, "notification \"%.*s\" could not be delivered to process %d: %s\n", static_cast<int>(name.size()),
                     name.data(), static_cast<int>(pid), std::strerror(error));
    return result;
}

}  // namespace

std::optional<fs::path> registryFolder() { return device::resolve("/var/run/notifyd"); }

bool isValidName(std::string_view name) {
    return !name.empty() && name.size() < kMaxNameLength && name.find_first_of(std::string_view("\n\r\0", 3)) == std::string_view::npos;
}

Port::Port(fs::path folder, int fd) : folder_(std::move(folder)), fd_(fd), pid_(getpid()) {}

std::unique_ptr<Port> Port::open(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "notifications: cannot create %s: %s\n", folder.c_str(), error.message().c_str());
        return nullptr;
    }
    pid_t pid = getpid();
    // A file of our pid can only be left by an earlier process that had the same pid.
    removeRegistration(folder, pid);
    SocketAddress address(socketPath(folder, pid));
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0 || !address.valid() || ::bind(fd, address.get(), address.length()) < 0) {
        std::fprintf(stderr, "notifications: cannot listen at %s: %s\n", socketPath(folder, pid).c_str(), std::strerror(errno));
        if (fd >= 0) ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<Port>(new Port(folder, fd));
}

Port::~Port() {
    ::close(fd_);
    // A forked child inherits the object but not the registration.
    if (getpid() == pid_) removeRegistration(folder_, pid_);
}

void Port::publish(const std::set<std::string>& names) {
    std::error_code ignored;
    if (names.empty()) {
        fs::remove(namesPath(folder_, pid_), ignored);
        return;
    }
    // Written aside and renamed into place, so a poster never reads half a list.
    fs::path pending = pendingNamesPath(folder_, pid_);
    {
        std::ofstream out(pending, std::ios::trunc);
        for (const auto& name : names) out << name << '\n';
        if (!out.flush()) {
            std::fprintf(stderr, "notifications: cannot write %s\n", pending.c_str());
            return;
        }
    }
    fs::rename(pending, namesPath(folder_, pid_), ignored);
    if (ignored) std::fprintf(stderr, "notifications: cannot register %s: %s\n", pending.c_str(), ignored.message().c_str());
}

std::vector<std::string> Port::receive() {
    std::vector<std::string> names;
    char buffer[kMaxNameLength];
    for (;;) {
        ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        names.emplace_back(buffer, static_cast<std::size_t>(n));
    }
    return names;
}

int post(const fs::path& folder, std::string_view name) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return 0;  // no folder: nobody has ever observed anything on this device
    std::vector<std::pair<fs::path, pid_t>> registrations;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        if (auto pid = registrationPid(it->path())) registrations.emplace_back(it->path(), *pid);
    }
    int sent = 0;
    for (const auto& [file, pid] : registrations) {
        if (!registrationLists(file, name)) continue;
        switch (sendTo(folder, pid, name)) {
        case Delivery::Sent: ++sent; break;
        case Delivery::Dead: removeRegistration(folder, pid); break;
        case Delivery::Dropped: break;
        }
    }
    return sent;
}

}  // namespace platform::notify
