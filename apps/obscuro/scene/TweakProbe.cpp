// Finding the tweak library among the loaded objects and reading its diagnostics and exported variables.
#include "TweakProbe.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace obscuro::scene {

namespace {

int collectPath(dl_phdr_info* info, std::size_t, void* paths) {
    if (info->dlpi_name && *info->dlpi_name) static_cast<std::vector<std::string>*>(paths)->push_back(info->dlpi_name);
    return 0;
}

id pointerFromText(const nlohmann::json& value) {
    if (!value.is_string()) return nullptr;
    return reinterpret_cast<id>(static_cast<std::uintptr_t>(std::stoull(value.get<std::string>(), nullptr, 16)));
}

// Objects travel as pointer text; anything else the library decides (a flag, a style number)
// travels as itself.
DecisionValue valueFromJson(const nlohmann::json& value) {
    if (value.is_string()) return {pointerFromText(value), nullptr};
    return {nullptr, value};
}

}  // namespace

std::optional<TweakProbe> TweakProbe::find() {
    // The loader opens tweaks privately (RTLD_LOCAL), so their symbols are not global: ask each
    // loaded object in turn, without loading anything new.
    std::vector<std::string> paths;
    dl_iterate_phdr(collectPath, &paths);
    for (const std::string& path : paths) {
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (!handle) continue;
        if (void* symbol = dlsym(handle, "ObscuroDiagnostics"))
            return TweakProbe(handle, reinterpret_cast<Diagnostics>(symbol));
        dlclose(handle);
    }
    return std::nullopt;
}

nlohmann::json TweakProbe::ask(const char* request) const {
    const char* reply = diagnostics_(request);
    nlohmann::json parsed = nlohmann::json::parse(reply ? reply : "null", nullptr, false);
    if (parsed.is_discarded() || (parsed.is_object() && parsed.contains("error")))
        throw std::runtime_error(std::string("the tweak library did not understand \"") + request + "\": " + (reply ? reply : "no reply"));
    return parsed;
}

nlohmann::json TweakProbe::state() const { return ask("state"); }

// A library that records only backgrounds knows no "explain all"; it is asked for what it has.
void TweakProbe::setExplaining(bool on) const {
    if (!on) {
        ask("explain off");
        return;
    }
    const char* reply = diagnostics_("explain all");
    nlohmann::json parsed = nlohmann::json::parse(reply ? reply : "null", nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object() || parsed.contains("error")) ask("explain on");
}

std::vector<DecisionRecord> TweakProbe::decisions() const {
    std::vector<DecisionRecord> out;
    for (const auto& record : ask("decisions")) {
        DecisionRecord decision;
        if (record.contains("entry") && record["entry"].is_number_integer()) decision.entry = record["entry"].get<int>();
        decision.selector = record.contains("selector") && record["selector"].is_string() ? record["selector"].get<std::string>()
                                                                                        : "setBackgroundColor:";
        decision.view = pointerFromText(record.value("view", nlohmann::json()));
        decision.given = valueFromJson(record.value("given", nlohmann::json()));
        decision.step = record.contains("step") && (record["step"].is_number() || record["step"].is_string()) ? record["step"] : nlohmann::json(0);
        decision.result = valueFromJson(record.value("result", nlohmann::json()));
        out.push_back(std::move(decision));
    }
    return out;
}

nlohmann::json TweakProbe::takeHookCalls() const { return ask("calls reset"); }

id TweakProbe::variable(const char* name) const {
    auto* slot = static_cast<id*>(dlsym(handle_, name));
    return slot ? *slot : nullptr;
}

}  // namespace obscuro::scene
