// `obscuro settings`: the product's settings pages through the bundle's own controllers, and the Settings host.
#include "commands.h"
#include "option_pairs.h"

#include <settings/SettingsHost.h>

#include <device/device.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace obscuro::cli {

namespace {

// The product's preference bundle in /Library/PreferenceBundles.
constexpr const char* kProductBundle = "obscurosettings";

constexpr const char* kUsage =
    "usage: obscuro settings [--root DEVICE] COMMAND\n"
    "  list                                  every page with its rows (JSON)\n"
    "  get KEY                               the stored value, or the row's default (JSON)\n"
    "  set KEY VALUE                         writes through the page's controller: a switch takes true/false,\n"
    "                                        a list one of its values, a colour cell a colour string\n"
    "  tap PAGE LABEL [--can-open SCHEME]... performs a button's action; prints {\"opened\", \"spawned\"}\n"
    "  serve [--port P]                      runs the Settings host on 127.0.0.1 and prints its address\n"
    "PAGE is a specifier file's name: Root, custom_colors, my_tweaks.\n";

int usageError(const std::string& message) {
    std::cerr << "obscuro settings: " << message << '\n' << kUsage;
    return 2;
}

int refused(const std::string& message) {
    std::cerr << "obscuro settings: " << message << '\n';
    return 2;
}

int list(const settings::SettingsSession& session) {
    nlohmann::ordered_json pages = nlohmann::ordered_json::object();
    for (const auto& page : session.pages()) pages[page.name] = nlohmann::ordered_json::parse(session.describe(page, false).dump());
    std::cout << pages.dump(2) << '\n';
    return 0;
}

int get(const settings::SettingsSession& session, const std::string& key) {
    const settings::Page* page = session.pageDeclaring(key);
    if (!page) return refused("no settings page declares the key \"" + key + "\"");
    std::cout << session.read(*page, key).dump() << '\n';
    return 0;
}

int set(const settings::SettingsSession& session, const std::string& key, const std::string& text) {
    const settings::Page* page = session.pageDeclaring(key);
    if (!page) return refused("no settings page declares the key \"" + key + "\"");
    nlohmann::json value = session.valueFromText(*page, key, text);
    settings::WriteResult result = session.write(*page, key, value);
    if (result.refusal == settings::Refusal::notStored) {
        std::cerr << "obscuro settings: " << result.message << '\n';
        return 1;
    }
    if (result.refusal != settings::Refusal::none) return refused(result.message);
    std::cout << nlohmann::json{{"key", key}, {"value", result.stored}}.dump() << '\n';
    return 0;
}

int tap(const settings::SettingsSession& session, std::span<char* const> arguments) {
    if (arguments.size() < 2) return usageError("tap needs a PAGE and a LABEL");
    std::vector<std::string> openable;
    for (std::size_t i = 2; i < arguments.size(); ++i) {
        if (std::string(arguments[i]) != "--can-open" || i + 1 >= arguments.size()) return usageError("unexpected argument " + std::string(arguments[i]));
        openable.emplace_back(arguments[++i]);
    }
    const settings::Page* page = session.page(kProductBundle, arguments[0]);
    if (!page) return refused("no settings page is named \"" + std::string(arguments[0]) + "\"");
    settings::ActionOutcome outcome;
    if (!session.tap(*page, arguments[1], openable, &outcome))
        return refused("the page " + page->name + " has no button \"" + std::string(arguments[1]) + "\"");
    std::cout << outcome.toJson().dump() << '\n';
    return 0;
}

int serve(std::unique_ptr<settings::SettingsSession> session, std::span<char* const> arguments) {
    int port = 0;
    if (arguments.size() == 2 && std::string(arguments[0]) == "--port") {
        if (OptionProblem problem = readPort(arguments[1], &port)) return usageError(*problem);
    } else if (!arguments.empty()) {
        return usageError("serve takes only --port P");
    }
    settings::SettingsHost host(std::move(session), settings::SettingsHost::newToken());
    if (host.bind(port) < 0) {
        std::cerr << "obscuro settings: cannot listen on 127.0.0.1:" << port << '\n';
        return 1;
    }
    std::cout << host.address() << std::endl;
    host.run();
    return 0;
}

}  // namespace

int settingsCommand(std::span<char* const> arguments) {
    if (asksForHelp(arguments)) return printHelp(kUsage);
    if (arguments.empty()) return usageError("a command is needed");
    std::string command = arguments[0];
    arguments = arguments.subspan(1);
    if (command != "list" && command != "get" && command != "set" && command != "tap" && command != "serve")
        return usageError("unknown command " + command);
    if ((command == "list" && !arguments.empty()) || (command == "get" && arguments.size() != 1) ||
        (command == "set" && arguments.size() != 2))
        return usageError(command + ": wrong number of arguments");

    std::filesystem::path device = deviceRoot();
    std::error_code error;
    if (!std::filesystem::is_directory(device, error)) {
        std::cerr << "obscuro settings: no device at " << device << " (build the target stage_device, or pass --root DIR)\n";
        return 1;
    }
    device::setRoot(device);
    std::string reason;
    auto session = settings::SettingsSession::open(kProductBundle, &reason);
    if (!session) {
        std::cerr << "obscuro settings: " << reason << '\n';
        return 1;
    }
    if (command == "list") return list(*session);
    if (command == "get") return get(*session, arguments[0]);
    if (command == "set") return set(*session, arguments[0], arguments[1]);
    if (command == "tap") return tap(*session, arguments);
    return serve(std::move(session), arguments);
}

}  // namespace obscuro::cli
