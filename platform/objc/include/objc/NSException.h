// NSException: the platform's exception, raised by the runtime and by Foundation, caught by callers that guard.
#pragma once

#include <objc/Strong.h>

#include <exception>
#include <string>

class NSException : public std::exception {
public:
    NSException(std::string name, std::string reason, id userInfo = nullptr)
        : name_(std::move(name)), reason_(std::move(reason)), userInfo_(objc::retain(userInfo)),
          what_(name_ + ": " + reason_) {}

    const std::string& name() const { return name_; }
    const std::string& reason() const { return reason_; }
    id userInfo() const { return userInfo_.get(); }
    const char* what() const noexcept override { return what_.c_str(); }

    [[noreturn]] static void raise(std::string name, std::string reason, id userInfo = nullptr) {
        throw NSException(std::move(name), std::move(reason), userInfo);
    }

private:
    std::string name_;
    std::string reason_;
    objc::Strong<objc_object> userInfo_;
    std::string what_;
};
