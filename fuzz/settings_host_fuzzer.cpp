// Fuzz target: arbitrary HTTP requests to the Settings host, serving the staged settings bundle on the loopback address.
#include "scratch_device.h"

#include <settings/SettingsHost.h>

#include <Foundation/Foundation.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace {

constexpr const char* kSettings = "/var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist";

settings::SettingsHost* gHost = nullptr;
int gPort = -1;

void replaceAll(std::string& text, std::string_view from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) text.replace(at, from.size(), to);
}

// A socket connected to the host. libFuzzer's alarm signal, which watches for slow inputs, can
// interrupt a connect; such a connect is tried again. A host that stops accepting fails the run.
int connectToHost() {
    for (int attempt = 1;; ++attempt) {
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) fuzzing::broken("a socket can be made");
        timeval quiet{2, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &quiet, sizeof quiet);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &quiet, sizeof quiet);
        // Closed with a reset rather than left in TIME_WAIT: thousands of exchanges a second would
        // otherwise use up the loopback's local ports, and connect would fail for want of one.
        linger reset{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(gPort));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
        int error = errno;
        std::fprintf(stderr, "settings_host_fuzzer: connection %d to the host failed: %s\n", attempt, std::strerror(error));
        ::close(fd);
        if (attempt == 5) fuzzing::broken("the host accepts connections");
        if (error != EINTR) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
}

// Sends the whole request, then reads the answer until the host closes or goes quiet.
std::string exchange(const std::string& request) {
    int fd = connectToHost();
    for (std::size_t sent = 0; sent < request.size();) {
        ssize_t n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;  // the host may answer and close before reading everything
        sent += static_cast<std::size_t>(n);
    }
    ::shutdown(fd, SHUT_WR);
    std::string answer;
    char buffer[4096];
    for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return answer;
}

}  // namespace

// The staged default device (bundle, entry, themes) is copied into the program's own device,
// so that writes never reach the build's.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::filesystem::copy(OBSCURO_DEVICE_ROOT, fuzzing::scratchDevice(),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    std::string error;
    auto session = settings::SettingsSession::open("", &error);
    if (!session) {
        std::fprintf(stderr, "settings_host_fuzzer: %s (is the device in %s staged?)\n", error.c_str(), OBSCURO_DEVICE_ROOT);
        std::exit(1);
    }
    gHost = new settings::SettingsHost(std::move(session), settings::SettingsHost::newToken());
    gPort = gHost->bind(0);
    if (gPort < 0) fuzzing::broken("the host binds a loopback port");
    std::thread([] { gHost->run(); }).detach();
    return 0;
}

// The input is one request as sent on the wire; "{TOKEN}" and "{HOST}" in it stand for the
// session's token and the host's address, so that the fuzzer gets past the checks.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string request(reinterpret_cast<const char*>(data), size);
    replaceAll(request, "{TOKEN}", gHost->token());
    replaceAll(request, "{HOST}", "127.0.0.1:" + std::to_string(gPort));
    std::string answer = exchange(request);
    if (!answer.empty() && answer.rfind("HTTP/1.", 0) != 0) fuzzing::broken("the host answers in HTTP");

    // Whatever was asked, the settings file is a whole property list (or not there yet).
    objc::AutoreleasePool pool;
    if (std::filesystem::exists(fuzzing::scratchDevice() / std::string_view(kSettings).substr(1)) &&
        !msg<id>(objc_getClass("NSDictionary"), sel<"dictionaryWithContentsOfFile:">(), objc::str(kSettings)))
        fuzzing::broken("the settings file stays readable");
    return 0;
}
