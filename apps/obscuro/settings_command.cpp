// `obscuro settings`: the product's settings pages through the bundle's own controllers, and the Settings host.
#include "commands.h"

#include <commandline/CommandLine.h>
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

int tap(const settings::SettingsSession& session, const std::string& pageName, const std::string& label, const std::vector<std::string>& openable) {
    const settings::Page* page = session.page(kProductBundle, pageName);
    if (!page) return refused("no settings page is named \"" + pageName + "\"");
    settings::ActionOutcome outcome;
    if (!session.tap(*page, label, openable, &outcome))
        return refused("the page " + page->name + " has no button \"" + label + "\"");
    std::cout << outcome.toJson().dump() << '\n';
    return 0;
}

int serve(std::unique_ptr<settings::SettingsSession> session, int port) {
    settings::SettingsHost host(std::move(session), settings::SettingsHost::newToken());
    if (host.bind(port) < 0) {
        std::cerr << "obscuro settings: cannot listen on 127.0.0.1:" << port << '\n';
        return 1;
    }
    std::cout << host.address() << std::endl;
    host.run();
    return 0;
}

// The words of the chosen action, as CLI11 read them.
struct SettingsLine {
    std::string key, value, page, label;
    std::vector<std::string> openable;
    int port = 0;
};

int runAction(const CLI::App& action, const SettingsLine& line) {
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
    const std::string command = action.get_name();
    if (command == "list") return list(*session);
    if (command == "get") return get(*session, line.key);
    if (command == "set") return set(*session, line.key, line.value);
    if (command == "tap") return tap(*session, line.page, line.label, line.openable);
    return serve(std::move(session), line.port);
}

}  // namespace

Action settingsCommand(CLI::App& command) {
    describeUsage(command, "obscuro settings", kUsage, [&command](const CLI::App& where, const CLI::Error& error) -> std::optional<std::string> {
        if (!isMissingOrLeftOver(error)) return std::nullopt;
        std::string left = firstLeftOver(where), action = where.get_name();
        if (&where == &command) return left.empty() ? "a command is needed" : "unknown command " + left;
        if (looksLikeOption(left) && action != "serve") return std::nullopt;
        if (action == "tap") return left.empty() ? "tap needs a PAGE and a LABEL" : "unexpected argument " + left;
        if (action == "serve") return "serve takes only --port P";
        return action + ": wrong number of arguments";
    });
    command.require_subcommand(1);
    auto line = std::make_shared<SettingsLine>();
    command.add_subcommand("list");
    command.add_subcommand("get")->add_option("KEY", line->key)->required();
    CLI::App* set = command.add_subcommand("set");
    set->add_option("KEY", line->key)->required();
    set->add_option("VALUE", line->value)->required();
    CLI::App* tap = command.add_subcommand("tap");
    tap->add_option("PAGE", line->page)->required();
    tap->add_option("LABEL", line->label)->required();
    // Each --can-open names one scheme; the option is given once for each.
    tap->add_option("--can-open", line->openable)->type_name("SCHEME")->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command.add_subcommand("serve")->add_option("--port", line->port)->transform(loopbackPort());
    return [&command, line] { return runAction(*command.get_subcommands().front(), *line); };
}

}  // namespace obscuro::cli
