// obscuro-settings: the Settings host on its own, serving the device's preference bundles on 127.0.0.1.
#include <settings/SettingsHost.h>

#include <commandline/CommandLine.h>

#include <device/device.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

int main(int argc, char** argv) {
    int port = 0;
    std::filesystem::path root;
    CLI::App line("obscuro-settings", "obscuro-settings");
    // An option given twice keeps its last value, as a later word on a command line overrides an earlier one.
    line.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    obscuro::cli::describeUsage(line, "obscuro-settings", "usage: obscuro-settings [--root DEVICE] [--port P]\n");
    // An empty --root is refused rather than read as no --root: the host writes the settings of the device it serves.
    line.add_option("--root", root)->check(obscuro::cli::nonEmpty("--root"));
    line.add_option("--port", port)->transform(obscuro::cli::loopbackPort());
    if (std::optional<int> stop = obscuro::cli::readCommandLine(line, argc, argv)) return *stop;

    device::setRoot(root.empty() ? device::defaultRoot() : root);
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
