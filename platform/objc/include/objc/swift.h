// Swift class names as the runtime spells them: "_TtC5Music6Player" for Music.Player.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace objc {

// "Music.Player" → "_TtC5Music6Player" ("Swift.X" → "_TtCs1X"); nullopt unless the name has
// exactly one dot, not at either end.
std::optional<std::string> swiftMangledClassName(std::string_view dottedName);

// The readable form of a simple top-level Swift class name, "_TtC5Music6Player" → "Music.Player".
// Nested ("_TtCC…", "_TtCV…") and private ("…P33_…") names, and anything else, come back unchanged.
std::string swiftDemangledClassName(std::string_view runtimeName);

}  // namespace objc
