// The cross-process leg of Darwin notifications: one datagram socket and one registration file per observing process.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace platform::notify {

// Every observing process of a device keeps two files in this folder: "<pid>.sock", the
// datagram socket it reads, and "<pid>.names", the notification names it observes, one a line.
// Nothing else coordinates them: a poster reads the registrations and sends one datagram,
// holding the name, to each process that observes it.
std::optional<std::filesystem::path> registryFolder();

// Names travel as single datagrams and registrations are line based, so a name must be
// non-empty, shorter than this and free of line breaks and NUL bytes.
constexpr std::size_t kMaxNameLength = 4096;
bool isValidName(std::string_view name);

// This process's receiving end in one registry folder.
class Port {
public:
    // Binds "<pid>.sock" in `folder` (created if missing); nullptr, with a message on stderr,
    // when that fails.
    static std::unique_ptr<Port> open(const std::filesystem::path& folder);
    ~Port();

    int descriptor() const { return fd_; }
    // Publishes the names this process observes; an empty set withdraws the registration.
    void publish(const std::set<std::string>& names);
    // Every name received since the last call, in arrival order; never blocks.
    std::vector<std::string> receive();

    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

private:
    Port(std::filesystem::path folder, int fd);
    std::filesystem::path folder_;
    int fd_;
    pid_t pid_;
};

// Sends `name` to every process registered for it in `folder`. A registration whose socket
// is gone or unbound belongs to a dead process and is removed. Returns how many processes
// the name was sent to.
int post(const std::filesystem::path& folder, std::string_view name);

}  // namespace platform::notify
