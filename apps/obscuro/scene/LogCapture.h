// The NSLog lines a scene's app writes, kept for the report.
#pragma once

#include <nlohmann/json.hpp>

#include <mutex>
#include <string>
#include <vector>

namespace obscuro::scene {

// Collects NSLog lines while it lives.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The lines so far, oldest first.
    nlohmann::ordered_json lines();

private:
    std::mutex lock_;
    std::vector<std::string> lines_;
};

}  // namespace obscuro::scene
