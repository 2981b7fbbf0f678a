// Scene files run through `obscuro`, and comparing scene reports with expected subsets.
#pragma once

#include "cli_process.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>


#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace scene_test {

using nlohmann::json;

using cli_test::obscuro;
using cli_test::Result;
using cli_test::ScratchFolder;

// Writes `scene` to a file and runs it; extra arguments follow the file name.
inline Result runScene(const json& scene, const std::vector<std::string>& extra = {}) {
    ScratchFolder scratch;
    std::filesystem::path file = scratch.path() / "scene.json";
    std::ofstream(file) << scene.dump(2);
    std::vector<std::string> arguments = {"scene", "run", file.string()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return obscuro(arguments);
}

// The theme colours every scene test uses, so that results never depend on the shipped themes.
inline json customColours(json settings = json::object()) {
    json colours = {{"enabled", true},           {"useCustomColors", true},     {"backgroundColor", "#102030"},
                    {"secondaryColor", "#0A1420"}, {"textColor", "#E0E0E0"},     {"barColor", "#182838"},
                    {"tintColor", "#FF375F"}};
    colours.update(settings);
    return colours;
}

// Collects where `actual` differs from `expected`, read as a subset: objects need only the keys
// expected, arrays the same length, a string "#RRGGBB" matches any colour with that hex string,
// numbers compare to within 1e-9.
inline void compareSubset(const json& expected, const json& actual, const std::string& path, std::vector<std::string>& faults) {
    if (expected.is_string() && actual.is_object() && actual.contains("hex")) {
        if (actual["hex"] != expected) faults.push_back(path + ": " + actual["hex"].dump() + " is not " + expected.dump());
    } else if (expected.is_object()) {
        if (!actual.is_object()) {
            faults.push_back(path + ": " + actual.dump() + " is not an object");
            return;
        }
        for (const auto& [key, value] : expected.items()) {
            if (!actual.contains(key)) faults.push_back(path + "." + key + ": missing");
            else compareSubset(value, actual[key], path + "." + key, faults);
        }
    } else if (expected.is_array()) {
        if (!actual.is_array() || actual.size() != expected.size()) {
            faults.push_back(path + ": " + actual.dump() + " does not match " + expected.dump());
            return;
        }
        for (std::size_t i = 0; i < expected.size(); ++i)
            compareSubset(expected[i], actual[i], path + "[" + std::to_string(i) + "]", faults);
    } else if (expected.is_number() && actual.is_number() && !expected.is_boolean() && !actual.is_boolean()) {
        if (std::fabs(expected.get<double>() - actual.get<double>()) > 1e-9)
            faults.push_back(path + ": " + actual.dump() + " is not " + expected.dump());
    } else if (expected != actual) {
        faults.push_back(path + ": " + actual.dump() + " is not " + expected.dump());
    }
}

inline ::testing::AssertionResult matchesSubset(const json& expected, const json& actual) {
    std::vector<std::string> faults;
    compareSubset(expected, actual, "$", faults);
    if (faults.empty()) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    for (const auto& fault : faults) failure << "\n  " << fault;
    return failure;
}

// The explain entries made for one scene object, in order.
inline json decisionsFor(const json& report, const std::string& object) {
    json out = json::array();
    for (const auto& entry : report["explain"])
        if (entry["object"] == object) out.push_back(entry);
    return out;
}

}  // namespace scene_test
