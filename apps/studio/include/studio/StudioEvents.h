// What the studio page receives: its state as JSON and the server-sent events that carry it.
#pragma once

#include <studio/PictureFeed.h>

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace studio {

// {"version", "picture" (its number, 0 before the first), "pictureUrl" (null before the first),
//  "process" (0 when none runs), "running", "note", "screen" (the one the picture shows), "scale",
//  "described" (the number of the picture the latest description is of; 0 for none)}.
nlohmann::json stateJson(const StudioState& state, const std::string& screen, double scale);

// One event of a text/event-stream: "event: NAME", a "data: " line for each line of `data`, and
// the blank line that ends it. A NAME holding a line break is cut at it.
std::string serverSentEvent(std::string_view name, std::string_view data);

}  // namespace studio
