// NSLog: one line per message on standard error, also handed to an optional process-wide observer.
#pragma once

#include <Foundation/NSStringFormat.h>

#include <functional>
#include <string>

namespace platform {

// Every NSLog message (formatted, without the date and process prefix) is also passed to
// `observer`, on the logging thread. An empty function removes the observer. Thread-safe.
void setLogObserver(std::function<void(const std::string& message)> observer);

}  // namespace platform

namespace objc::detail {
// Writes "YYYY-MM-DD HH:MM:SS.mmm <process>[<pid>:<tid>] <message>" to stderr in one write.
void logMessage(const std::string& message);
}  // namespace objc::detail

template <class... A>
void NSLog(const char* format, const A&... arguments) {
    objc::detail::logMessage(objc::detail::formatText(format ? std::string_view(format) : std::string_view(), arguments...));
}

template <class... A>
void NSLog(NSString* format, const A&... arguments) {
    objc::detail::logMessage(objc::detail::formatText(format ? std::string_view(format->utf8()) : std::string_view(), arguments...));
}
