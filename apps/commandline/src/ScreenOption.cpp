// The check of an option that names one of the Music app's screens, for the hosts that draw them.
#include <commandline/ScreenOption.h>

#include <screens/MusicScreens.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace obscuro::cli {

namespace {

std::optional<std::string> unknownScreen(const std::string& name) {
    std::vector<std::string> screens = music::screens::screenNames();
    if (std::find(screens.begin(), screens.end(), name) != screens.end()) return std::nullopt;
    std::string known;
    for (const auto& screen : screens) known += " " + screen;
    return "unknown screen '" + name + "' (screens:" + known + ")";
}

}  // namespace

CLI::Validator musicScreen(bool allowAll) {
    return CLI::Validator(
        [allowAll](std::string& name) -> std::string {
            if (allowAll && name == "all") return {};
            return unknownScreen(name).value_or(std::string());
        },
        "NAME");
}

}  // namespace obscuro::cli
