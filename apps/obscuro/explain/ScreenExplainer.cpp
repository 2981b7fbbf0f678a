// Recording decisions around each screen a process draws, and describing the screen with them.
#include "ScreenExplainer.h"

#include "ViewTree.h"

#include <exception>

namespace obscuro::explain {

ScreenExplainer::ScreenExplainer() : probe_(scene::TweakProbe::find()) {
    if (probe_) probe_->setExplaining(true);
}

ScreenExplainer::~ScreenExplainer() {
    // Recording ends with the process anyway; a library that will not stop is no reason to fail.
    try {
        if (probe_) probe_->setExplaining(false);
    } catch (const std::exception&) {
    }
}

void ScreenExplainer::beginScreen() const {
    if (probe_) probe_->decisions();
}

nlohmann::ordered_json ScreenExplainer::describe(UIView* window) const {
    std::vector<scene::DecisionRecord> made;
    if (probe_) made = probe_->decisions();
    return describeWindow(window, std::move(made), probe_ ? &*probe_ : nullptr);
}

}  // namespace obscuro::explain
