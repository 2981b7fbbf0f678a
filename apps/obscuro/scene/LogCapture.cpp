// Observing NSLog for the length of a scene.
#include "LogCapture.h"

#include <Foundation/NSLog.h>

namespace obscuro::scene {

LogCapture::LogCapture() {
    platform::setLogObserver([this](const std::string& message) {
        std::lock_guard guard(lock_);
        lines_.push_back(message);
    });
}

LogCapture::~LogCapture() { platform::setLogObserver({}); }

nlohmann::ordered_json LogCapture::lines() {
    std::lock_guard guard(lock_);
    return lines_;
}

}  // namespace obscuro::scene
