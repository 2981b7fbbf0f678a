// Appearance proxies: setter calls recorded per view class and replayed on views created afterwards.
#pragma once

#include <objc/invoke.h>

#include <map>
#include <string>
#include <vector>

// + (id)appearance on UIView and every subclass answers the class's proxy (one per class).
// The proxy accepts the appearance setters that the class implements (setTintColor:,
// setBackgroundColor:, setTextColor:, setKeyboardAppearance:, setBarTintColor:,
// setSearchFieldBackgroundImage:forState:, setSearchTextPositionAdjustment: and the other
// setters UIKit marks for appearance) and records each call, in order. A view created
// afterwards receives the recorded calls of each class in its class chain, most general
// class first, at the end of UIView's initWithFrame:, as real messages (so replacements of
// the setters see them). Views that exist already are left alone. Object arguments are
// retained by the proxy.

namespace platform {

struct AppearanceRecord {
    std::string selector;
    std::vector<objc::Value> arguments;  // objects are borrowed from the proxy
};

// Every recorded call, by the runtime name of the proxied class, each list in call order.
std::map<std::string, std::vector<AppearanceRecord>> appearanceRecords();

// Forgets every recorded call (the proxies stay), for hosts that start afresh in one process.
void resetAppearance();

}  // namespace platform
