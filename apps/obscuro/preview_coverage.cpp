// Hook coverage of a preview: the library's per-entry counts gathered per screen and variant, summed and written as JSON.
#include "preview_coverage.h"

#include <algorithm>
#include <stdexcept>

namespace obscuro::cli {

std::vector<HookCalls> hookCallsFromReply(const nlohmann::json& reply) {
    if (!reply.is_object() || !reply.contains("calls") || !reply["calls"].is_array())
        throw std::runtime_error("the library's call counts have no \"calls\" list");
    std::vector<HookCalls> out;
    for (const nlohmann::json& row : reply["calls"]) {
        if (!row.is_object() || !row.value("entry", nlohmann::json()).is_number_integer() || !row.value("calls", nlohmann::json()).is_number_unsigned() ||
            !row.value("class", nlohmann::json()).is_string() || !row.value("selector", nlohmann::json()).is_string())
            throw std::runtime_error("a call count of the library lacks its entry, class, selector or count: " + row.dump());
        out.push_back({row["entry"].get<int>(), row["class"].get<std::string>(), row["selector"].get<std::string>(),
                       row["calls"].get<std::uint64_t>()});
    }
    return out;
}

void HookCoverage::record(const std::string& variant, const std::string& screen, const std::vector<HookCalls>& counts) {
    auto seen = std::find_if(screens_.begin(), screens_.end(), [&](const auto& kept) { return kept.first == variant; });
    if (seen == screens_.end()) seen = screens_.insert(screens_.end(), {variant, {}});
    if (std::find(seen->second.begin(), seen->second.end(), screen) == seen->second.end()) seen->second.push_back(screen);
    for (const HookCalls& count : counts) {
        Entry& entry = entries_[count.entry];
        entry.className = count.className;
        entry.selector = count.selector;
        entry.calls[variant][screen] += count.calls;
    }
}

std::size_t HookCoverage::entriesThatRan(const std::string& variant) const {
    return std::count_if(entries_.begin(), entries_.end(), [&](const auto& numbered) {
        auto calls = numbered.second.calls.find(variant);
        if (calls == numbered.second.calls.end()) return false;
        return std::any_of(calls->second.begin(), calls->second.end(), [](const auto& screen) { return screen.second > 0; });
    });
}

nlohmann::ordered_json HookCoverage::report() const {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const auto& [number, entry] : entries_) {
        nlohmann::ordered_json calls = nlohmann::ordered_json::object(), total = nlohmann::ordered_json::object();
        for (const auto& [variant, screens] : screens_) {
            auto counted = entry.calls.find(variant);
            std::uint64_t sum = 0;
            nlohmann::ordered_json perScreen = nlohmann::ordered_json::object();
            for (const std::string& screen : screens) {
                std::uint64_t n = 0;
                if (counted != entry.calls.end())
                    if (auto found = counted->second.find(screen); found != counted->second.end()) n = found->second;
                perScreen[screen] = n;
                sum += n;
            }
            calls[variant] = std::move(perScreen);
            total[variant] = sum;
        }
        rows.push_back({{"number", number}, {"class", entry.className}, {"selector", entry.selector}, {"calls", calls}, {"total", total}});
    }
    nlohmann::ordered_json ran = nlohmann::ordered_json::object();
    for (const auto& [variant, screens] : screens_) ran[variant] = entriesThatRan(variant);
    return {{"entries", rows}, {"ran", ran}, {"of", entries()}};
}

}  // namespace obscuro::cli
