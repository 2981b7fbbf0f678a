// obscuro-settings: the Settings host on its own, serving the device's preference bundles on 127.0.0.1.
#include <settings/SettingsHost.h>

#include <device/device.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    int port = 0;
    std::string root;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if ((argument == "--port" || argument == "--root") && i + 1 < argc) {
            std::string value = argv[++i];
            if (argument == "--root") {
                root = value;
            } else {
                char* end = nullptr;
                long parsed = std::strtol(value.c_str(), &end, 10);
                if (value.empty() || *end || parsed < 0 || parsed > 65535) {
                    std::fprintf(stderr, "obscuro-settings: --port takes a number from 0 to 65535\n");
                    return 2;
                }
                port = static_cast<int>(parsed);
            }
        } else {
            std::fprintf(stderr, "usage: obscuro-settings [--root DEVICE] [--port P]\n");
            return 2;
        }
    }
    device::setRoot(root.empty() ? device::defaultRoot() : std::filesystem::path(root));
    std::string error;
    auto session = settings::SettingsSession::open("", &error);
    if (!session) {
        std::fprintf(stderr, "obscuro-settings: %s\n", error.c_str());
        return 1;
    }
    settings::SettingsHost host(std::move(session), settings::SettingsHost::newToken());
    if (host.bind(port) < 0) {
        std::fprintf(stderr, "obscuro-settings: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    std::printf("%s\n", host.address().c_str());
    std::fflush(stdout);
    host.run();
    return 0;
}
