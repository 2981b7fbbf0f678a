// Collects what NSLog prints while it lives, for tests that check the toolkit's log lines.
#pragma once

#include <Foundation/NSLog.h>

#include <mutex>
#include <string>
#include <vector>

class LogCapture {
public:
    LogCapture() {
        platform::setLogObserver([this](const std::string& message) {
            std::lock_guard lock(mutex_);
            messages_.push_back(message);
        });
    }
    ~LogCapture() { platform::setLogObserver({}); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> messages() {
        std::lock_guard lock(mutex_);
        return messages_;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> messages_;
};
