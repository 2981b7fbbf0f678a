// Explaining colours end to end: `preview --explain` trees, `preview inspect` at a point, and scene decisions with their procedures.
#include "cli_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using cli_test::obscuro;
using nlohmann::json;

json fileJson(const fs::path& path) {
    std::ifstream in(path);
    return json::parse(in, nullptr, false);
}

// Every decision recorded in a tree, wherever it was matched.
std::vector<json> decisionsIn(const json& tree) {
    std::vector<json> out;
    for (const json& view : tree["views"]) {
        for (const char* group : {"colours", "images"})
            for (const auto& [name, held] : view[group].items())
                for (const json& d : held["decisions"]) out.push_back(d);
        for (const json& d : view["decisions"]) out.push_back(d);
    }
    return out;
}

TEST(PreviewExplain, StockAndDarkTreesShareTheirIdsAndOnlyDarkHasDecisions) {
    cli_test::ScratchFolder out;
    cli_test::Result run = obscuro({"preview", "--screen", "library", "--scale", "1", "--explain", "-o", out.path().string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("library-dark.json"), std::string::npos) << run.out;
    json stock = fileJson(out.path() / "library-stock.json"), dark = fileJson(out.path() / "library-dark.json");
    ASSERT_TRUE(stock.is_object() && dark.is_object());
    ASSERT_EQ(stock["views"].size(), dark["views"].size());
    for (std::size_t i = 0; i < stock["views"].size(); ++i) {
        EXPECT_EQ(stock["views"][i]["id"], dark["views"][i]["id"]);
        EXPECT_EQ(stock["views"][i]["runtimeClass"], dark["views"][i]["runtimeClass"]);
    }
    EXPECT_TRUE(decisionsIn(stock).empty()) << "nothing decides without the product";
    std::vector<json> decided = decisionsIn(dark);
    ASSERT_FALSE(decided.empty());
    for (const json& d : decided) {
        EXPECT_TRUE(d["selector"].is_string());
        EXPECT_TRUE(d["step"].is_number_integer() || d["step"].is_string()) << "a step, or a sub-step such as \"6.6\"";
        EXPECT_TRUE(d.contains("given") && d.contains("result") && d.contains("entry"));
    }
}

// The library screen's table: its cells are white in the app, and the product decides their background.
TEST(PreviewInspect, TopmostViewFirstWithTheStepThatDecidedItsBackground) {
    cli_test::Result run = obscuro({"preview", "inspect", "library", "100", "300", "--theme", "oled", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    json reply = run.parsed();
    EXPECT_EQ(reply["point"], json({100.0, 300.0}));
    const json& views = reply["views"];
    ASSERT_GE(views.size(), 2u);
    EXPECT_EQ(views.back()["id"], "0") << "the window is under everything";
    for (const json& view : views) {
        const json& frame = view["frame"];
        EXPECT_TRUE(frame[0] <= 100.0 && 100.0 < frame[0].get<double>() + frame[2].get<double>()) << view["id"];
        EXPECT_TRUE(frame[1] <= 300.0 && 300.0 < frame[1].get<double>() + frame[3].get<double>()) << view["id"];
        EXPECT_FALSE(view["hidden"].get<bool>());
    }
    const json* decided = nullptr;
    for (const json& view : views)
        if (!view["colours"]["background"]["decisions"].empty()) {
            decided = &view;
            break;
        }
    ASSERT_NE(decided, nullptr);
    const json& last = (*decided)["colours"]["background"]["decisions"].back();
    EXPECT_EQ(last["result"]["hex"], "#000000") << "the oled theme's background";
    EXPECT_EQ((*decided)["colours"]["background"]["value"], last["result"]) << "the colour held is the one the last decision gave";

    cli_test::Result text = obscuro({"preview", "inspect", "library", "100", "300", "--theme", "oled"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("setBackgroundColor: step " + std::to_string(last["step"].get<int>()) + ": "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("→ #000000"), std::string::npos) << text.out;
}

TEST(PreviewInspect, RefusesPointsAndOptionsItCannotUse) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"preview", "inspect", "library", "400", "10"},
             {"preview", "inspect", "library", "-1", "10"},
             {"preview", "inspect", "library", "ten", "10"},
             {"preview", "inspect", "library", "10"},
             {"preview", "inspect", "nowhere", "10", "10"},
             {"preview", "inspect", "library", "10", "10", "--theme", "oled", "--settings", "/dev/null"},
         }) {
        cli_test::Result run = obscuro(arguments);
        EXPECT_EQ(run.status, 2) << arguments[3] << " " << run.err;
        EXPECT_NE(run.err.find("usage"), std::string::npos);
    }
}

TEST(SceneExplain, EveryDecisionNamesItsProcedure) {
    cli_test::Result run = obscuro({"scene", "run", std::string(OBSCURO_SOURCE_DIR) + "/examples/scenes/backgrounds.json", "--explain"});
    ASSERT_EQ(run.status, 0) << run.err;
    json explain = run.parsed()["explain"];
    ASSERT_FALSE(explain.empty());
    for (const json& entry : explain) {
        for (const char* field : {"step", "object", "entry", "selector", "given", "decidedBy", "result"})
            EXPECT_TRUE(entry.contains(field)) << field << " in " << entry.dump();
        EXPECT_TRUE(entry["selector"].is_string());
    }
}

}  // namespace
