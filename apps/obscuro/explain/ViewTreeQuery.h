// Questions asked of a described view tree (describeWindow's JSON): which views lie under a point, and how to say why they look as they do.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace obscuro::explain {

// The views of `tree` drawn at the point (x, y) in window points, topmost first: drawing order
// reversed, keeping the views whose frame holds the point (its left and top edges included, its
// right and bottom edges not), that are neither hidden nor of alpha 0 themselves or through an
// ancestor, and that no clipping ancestor cuts away there. Returns the views' entries.
std::vector<nlohmann::ordered_json> viewsAt(const nlohmann::ordered_json& tree, double x, double y);

// A few lines for a person about one view: its class, id, frame and owner, then each colour and
// image with the decisions behind it, one per line as "entry N selector step S: given → result".
std::string describeView(const nlohmann::ordered_json& view);

}  // namespace obscuro::explain
