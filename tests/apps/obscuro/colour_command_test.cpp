// `obscuro colour`: JSON for each operation, the colour argument forms, and usage errors with status 2.
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using nlohmann::json;

struct Result {
    int status = -1;
    std::string out, err;
    json value() const { return json::parse(out); }
};

std::string quoted(const std::string& argument) {
    std::string q = "'";
    for (char c : argument) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Result run(const std::vector<std::string>& arguments) {
    std::string errPath = (std::filesystem::temp_directory_path() / ("obscuro-cli-" + std::to_string(::getpid()) + ".err")).string();
    std::string command = quoted(OBSCURO_CLI);
    for (const auto& argument : arguments) command += " " + quoted(argument);
    command += " 2>" + quoted(errPath);
    Result result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    result.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    std::filesystem::remove(errPath);
    return result;
}

json colour(const char* hex, std::vector<double> rgba, const char* space) {
    return json{{"hex", hex}, {"rgba", rgba}, {"space", space}};
}

TEST(ColourCommand, ParseReadsHexAfterTheFirstCharacter) {
    auto r = run({"colour", "parse", "red"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.value(), colour("#0000ED", {0, 0, 0xED / 255.0, 1}, "rgb"));
    EXPECT_EQ(run({"colour", "parse", "#FFF"}).value(), colour("#000FFF", {0, 15 / 255.0, 1, 1}, "rgb"));
    EXPECT_EQ(run({"colour", "parse", "#11223344"}).value()["hex"], "#223344");
    EXPECT_EQ(run({"colour", "parse", "#"}).value()["hex"], "#000000");
    EXPECT_EQ(run({"colour", "parse", ""}).value()["hex"], "#000000");
    EXPECT_EQ(run({"colour", "parse", "#0x00FF00"}).value()["hex"], "#00FF00");
}

TEST(ColourCommand, OperationsOnEachArgumentForm) {
    EXPECT_EQ(run({"colour", "hex", "rgba(0.5,0.5,0.5,0.2)"}).value(), (json{{"hex", "#7F7F7F"}}));
    EXPECT_EQ(run({"colour", "hex", "white(1, 0)"}).value(), (json{{"hex", "#FFFFFF"}}));
    EXPECT_EQ(run({"colour", "offset", "rgba(0,0,0,0.5)"}).value(), colour("#7F7F7F", {0.5, 0.5, 0.5, 0.75}, "rgb"));
    EXPECT_EQ(run({"colour", "lighter", "#000000"}).value()["hex"], "#131313");
    EXPECT_EQ(run({"colour", "darker", "white(1,1)"}).value()["hex"], "#BFBFBF");
    EXPECT_EQ(run({"colour", "mid", "white(1,1)", "rgba(0,0.5,1,0)"}).value(), colour("#7FBFFF", {0.5, 0.75, 1, 0.5}, "rgb"));
    EXPECT_EQ(run({"colour", "is-light", "white(0.7,1)"}).value(), (json{{"light", true}}));
    EXPECT_EQ(run({"colour", "is-light", "rgba(0.6999,0.6999,0.6999,1)"}).value(), (json{{"light", false}}));
    auto white = run({"colour", "inverse", "white(0.25,1)"});
    EXPECT_EQ(white.value()["rgba"], (json{0.75, 0.75, 0.75, 1.0}));
}

TEST(ColourCommand, PatternColoursHaveNoHexAndNoLighterColour) {
    auto hex = run({"colour", "hex", "pattern"});
    ASSERT_EQ(hex.status, 0) << hex.err;
    EXPECT_EQ(hex.value(), (json{{"hex", nullptr}}));
    EXPECT_EQ(run({"colour", "lighter", "pattern"}).value(), json(nullptr));
    auto offset = run({"colour", "offset", "pattern"}).value();
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
