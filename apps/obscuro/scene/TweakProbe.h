// The loaded tweak library seen from a tool: its diagnostic function and its exported ThemeState.
#pragma once

#include <objc/objc.h>

#include <nlohmann/json.hpp>

#include <optional>
#include <vector>

namespace obscuro::scene {

// One background decision as the library recorded it. The objects stay alive until the
// autorelease pool around the call to TweakProbe::decisions drains.
struct BackgroundDecisionRecord {
    id view;
    id given;
    int step;
    id result;
};

class TweakProbe {
public:
    // Finds the loaded library that exports ObscuroDiagnostics; nothing when none is loaded.
    static std::optional<TweakProbe> find();

    // {"flags": {...}, "hooks": {"installed": N, "missing": [...]}}, as the library reports it.
    nlohmann::json state() const;
    void setExplaining(bool on) const;
    // The decisions recorded since the last call, oldest first.
    std::vector<BackgroundDecisionRecord> decisions() const;
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
