// A drawing process that describes its screens: the library's recording turned on, and each screen's tree taken with the decisions made for it.
#pragma once

#include "../scene/TweakProbe.h"

#include <nlohmann/json.hpp>

#include <optional>

class UIView;

namespace obscuro::explain {

// Finds the loaded library (none in a stock process, whose trees then carry no decisions) and
// has it record every decision while this object lives.
class ScreenExplainer {
public:
    ScreenExplainer();
    ~ScreenExplainer();
    ScreenExplainer(const ScreenExplainer&) = delete;
    ScreenExplainer& operator=(const ScreenExplainer&) = delete;

    // Forgets what was recorded so far: call inside the screen's autorelease pool before building it.
    void beginScreen() const;
    // describeWindow of the window, with every decision recorded since beginScreen; call inside
    // the same pool, after drawing, so that what drawing asked is in it too.
    nlohmann::ordered_json describe(UIView* window) const;

private:
    std::optional<scene::TweakProbe> probe_;
};

}  // namespace obscuro::explain
