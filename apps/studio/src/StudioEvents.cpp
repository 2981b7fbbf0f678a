// The studio's state as the page reads it, and its framing as server-sent events.
#include <studio/StudioEvents.h>

namespace studio {

nlohmann::json stateJson(const StudioState& state, const std::string& screen, double scale) {
    nlohmann::json url = nullptr;
    if (state.picture) url = "/studio/picture.png?picture=" + std::to_string(state.picture);
    return {{"version", state.version}, {"picture", state.picture}, {"pictureUrl", url},  {"process", state.process},
            {"running", state.running()}, {"note", state.note},     {"screen", screen}, {"scale", scale},
            {"described", state.described}};
}

std::string serverSentEvent(std::string_view name, std::string_view data) {
    std::string event = "event: ";
    event += name.substr(0, name.find_first_of("\r\n"));
    event += '\n';
    std::size_t start = 0;
    for (;;) {
        std::size_t end = data.find_first_of("\r\n", start);
        event += "data: ";
        event += data.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        event += '\n';
        if (end == std::string_view::npos) break;
        start = end + (data.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    event += '\n';
    return event;
}

}  // namespace studio
