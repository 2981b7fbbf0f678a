// Hook coverage of a preview: how often each HookTable entry's replacement ran, per screen and variant.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace obscuro::cli {

// One HookTable entry's count as the library reports it.
struct HookCalls {
    int entry = 0;  // the entry's number in the table, from 1
    std::string className;
    std::string selector;
    std::uint64_t calls = 0;
};

// The entries of the library's answer to "calls" or "calls reset":
// {"calls": [{"entry", "class", "selector", "calls"}, ...]}. Throws std::runtime_error naming
// what is missing when the answer has another shape.
std::vector<HookCalls> hookCallsFromReply(const nlohmann::json& reply);

// The counts of a whole preview. A screen recorded without counts (the product not loaded, as
// for the stock variant) counts nothing for any entry.
class HookCoverage {
public:
    void record(const std::string& variant, const std::string& screen, const std::vector<HookCalls>& counts);

    // The number of entries the library reported (its table's size); 0 when it never reported.
    std::size_t entries() const { return entries_.size(); }
    // How many entries ran at least once on any screen of `variant`.
    std::size_t entriesThatRan(const std::string& variant) const;

    // {"entries": [{"number", "class", "selector", "calls": {VARIANT: {SCREEN: n}}, "total": {VARIANT: n}}],
    //  "ran": {VARIANT: n}, "of": entries} with every variant and screen recorded, in the order recorded.
    nlohmann::ordered_json report() const;

private:
    struct Entry {
        std::string className, selector;
        std::map<std::string, std::map<std::string, std::uint64_t>> calls;  // variant → screen → count
    };
    std::map<int, Entry> entries_;
    std::vector<std::pair<std::string, std::vector<std::string>>> screens_;  // variant → screens, as recorded
};

}  // namespace obscuro::cli
