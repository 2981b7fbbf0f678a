// `obscuro colour`: JSON for each operation, the colour argument forms, and usage errors with status 2.
#include "cli_process.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>


#include <string>
#include <vector>

namespace {

using cli_test::Result;
using nlohmann::json;

Result run(const std::vector<std::string>& arguments) { return cli_test::obscuro(arguments); }

json colour(const char* hex, std::vector<double> rgba, const char* space) {
    return json{{"hex", hex}, {"rgba", rgba}, {"space", space}};
}

TEST(ColourCommand, ParseReadsHexAfterTheFirstCharacter) {
    auto r = run({"colour", "parse", "red"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.parsed(), colour("#0000ED", {0, 0, 0xED / 255.0, 1}, "rgb"));
    EXPECT_EQ(run({"colour", "parse", "#FFF"}).parsed(), colour("#000FFF", {0, 15 / 255.0, 1, 1}, "rgb"));
    EXPECT_EQ(run({"colour", "parse", "#11223344"}).parsed()["hex"], "#223344");
    EXPECT_EQ(run({"colour", "parse", "#"}).parsed()["hex"], "#000000");
    EXPECT_EQ(run({"colour", "parse", ""}).parsed()["hex"], "#000000");
    EXPECT_EQ(run({"colour", "parse", "#0x00FF00"}).parsed()["hex"], "#00FF00");
}

TEST(ColourCommand, OperationsOnEachArgumentForm) {
    EXPECT_EQ(run({"colour", "hex", "rgba(0.5,0.5,0.5,0.2)"}).parsed(), (json{{"hex", "#7F7F7F"}}));
    EXPECT_EQ(run({"colour", "hex", "white(1, 0)"}).parsed(), (json{{"hex", "#FFFFFF"}}));
    EXPECT_EQ(run({"colour", "offset", "rgba(0,0,0,0.5)"}).parsed(), colour("#7F7F7F", {0.5, 0.5, 0.5, 0.75}, "rgb"));
    EXPECT_EQ(run({"colour", "lighter", "#000000"}).parsed()["hex"], "#131313");
    EXPECT_EQ(run({"colour", "darker", "white(1,1)"}).parsed()["hex"], "#BFBFBF");
    EXPECT_EQ(run({"colour", "mid", "white(1,1)", "rgba(0,0.5,1,0)"}).parsed(), colour("#7FBFFF", {0.5, 0.75, 1, 0.5}, "rgb"));
    EXPECT_EQ(run({"colour", "is-light", "white(0.7,1)"}).parsed(), (json{{"light", true}}));
    EXPECT_EQ(run({"colour", "is-light", "rgba(0.6999,0.6999,0.6999,1)"}).parsed(), (json{{"light", false}}));
    auto white = run({"colour", "inverse", "white(0.25,1)"});
    EXPECT_EQ(white.parsed()["rgba"], (json{0.75, 0.75, 0.75, 1.0}));
}

TEST(ColourCommand, PatternColoursHaveNoHexAndNoLighterColour) {
    auto hex = run({"colour", "hex", "pattern"});
    ASSERT_EQ(hex.status, 0) << hex.err;
    EXPECT_EQ(hex.parsed(), (json{{"hex", nullptr}}));
    EXPECT_EQ(run({"colour", "lighter", "pattern"}).parsed(), json(nullptr));
    auto offset = run({"colour", "offset", "pattern"}).parsed();
    EXPECT_EQ(offset, (json{{"hex", nullptr}, {"rgba", nullptr}, {"space", "pattern"}}));
}

TEST(ColourCommand, BadArgumentsExitWithStatusTwo) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{}, {"paint"}, {"colour"}, {"colour", "blend", "#000000"},
                                               {"colour", "hex"}, {"colour", "mid", "#000000"},
                                               {"colour", "hex", "#000000", "#FFFFFF"}, {"colour", "parse"}}) {
        auto r = run(arguments);
        EXPECT_EQ(r.status, 2) << testing::PrintToString(arguments);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("usage"), std::string::npos) << r.err;
    }
    for (const char* bad : {"red", "rgba(1,2,3)", "rgba(1,x,3,4)", "white(nan,1)", "rgb(1,1,1)"}) {
        auto r = run({"colour", "hex", bad});
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("rgba(r,g,b,a)"), std::string::npos) << r.err;
    }
}

}  // namespace
