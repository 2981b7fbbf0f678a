// The loaded tweak library seen from a tool: its diagnostic function and its exported ThemeState.
#pragma once

#include <objc/objc.h>

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace obscuro::scene {

// A value a decision was given or gave: an object (a colour, an image, a number the library
// boxed, ...), or a plain value sent as itself.
struct DecisionValue {
    id object = nullptr;
    nlohmann::json plain;  // null when the value is an object or nil
};

// One decision as the library recorded it: the HookTable entry and selector of the procedure,
// the receiver, the step that decided, the value given and the value that resulted. The objects
// stay alive until the autorelease pool around the call to TweakProbe::decisions drains.
// A library that records only backgrounds names no entry; its decisions are those of
// `UIView setBackgroundColor:`.
struct DecisionRecord {
    std::optional<int> entry;
    std::string selector;
    id view;
    DecisionValue given;
    nlohmann::json step;  // a number, or text such as "6.6" for a sub-step
    DecisionValue result;
};

class TweakProbe {
public:
    // Finds the loaded library that exports ObscuroDiagnostics; nothing when none is loaded.
    static std::optional<TweakProbe> find();

    // {"flags": {...}, "hooks": {"installed": N, "missing": [...]}}, as the library reports it.
    nlohmann::json state() const;
    // Has the library record the decisions of every procedure, or stop recording.
    void setExplaining(bool on) const;
    // The decisions recorded since the last call, oldest first.
    std::vector<DecisionRecord> decisions() const;
    // How often each HookTable entry's replacement ran since the counts were last taken,
    // {"calls": [{"entry", "class", "selector", "calls"}, ...]}; the counts start again from zero.
    nlohmann::json takeHookCalls() const;
    // An exported object variable ("bgColor", "theme", ...); nil when it is not exported.
    id variable(const char* name) const;

private:
    using Diagnostics = const char* (*)(const char*);
    TweakProbe(void* handle, Diagnostics diagnostics) : handle_(handle), diagnostics_(diagnostics) {}
    nlohmann::json ask(const char* request) const;

    void* handle_;
    Diagnostics diagnostics_;
};

}  // namespace obscuro::scene
