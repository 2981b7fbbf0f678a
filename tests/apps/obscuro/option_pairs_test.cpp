// The "--flag value" reader the subcommands share: pairs, help, missing values, and the scale, port and screen checks.
#include "option_pairs.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace obscuro::cli {
namespace {

struct Arguments {
    std::vector<std::string> words;
    std::vector<char*> pointers;
    explicit Arguments(std::vector<std::string> given) : words(std::move(given)) {
        for (auto& word : words) pointers.push_back(word.data());
    }
    std::span<char* const> span() const { return pointers; }
};

TEST(OptionPairs, EachPairReachesTheTakerUntilAProblemOrHelp) {
    std::vector<std::pair<std::string, std::string>> taken;
    auto take = [&](const std::string& flag, const std::string& value) -> OptionProblem {
        if (flag == "--bad") return "bad " + value;
        taken.emplace_back(flag, value);
        return std::nullopt;
    };
    std::vector<std::string> problems;
    auto usageError = [&](const std::string& problem) {
        problems.push_back(problem);
        return 2;
    };
    Arguments all({"--a", "1", "--b", "two words"});
    EXPECT_EQ(readOptionPairs(all.span(), "usage\n", usageError, take), std::nullopt);
    EXPECT_EQ(taken, (std::vector<std::pair<std::string, std::string>>{{"--a", "1"}, {"--b", "two words"}}));

    taken.clear();
    Arguments stopped({"--a", "1", "--bad", "x", "--c", "3"});
    EXPECT_EQ(readOptionPairs(stopped.span(), "usage\n", usageError, take), 2);
    EXPECT_EQ(taken.size(), 1u) << "nothing after the problem is taken";

    Arguments dangling({"--a"});
    EXPECT_EQ(readOptionPairs(dangling.span(), "usage\n", usageError, take), 2);
    EXPECT_EQ(problems, (std::vector<std::string>{"bad x", "missing value after --a"}));

    testing::internal::CaptureStdout();
    Arguments helped({"--a", "1", "-h", "--bad"});
    EXPECT_EQ(readOptionPairs(helped.span(), "usage\n", usageError, take), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "usage\n");
    EXPECT_EQ(problems.size(), 2u) << "help ends the walk before the bad pair";
}

TEST(OptionPairs, ScalesPortsAndScreensAreCheckedBeforeTheyAreKept) {
    double scale = 3;
    EXPECT_EQ(readScale("2.5", &scale), std::nullopt);
    EXPECT_DOUBLE_EQ(scale, 2.5);
    for (const char* wrong : {"0", "4.01", "-1", "", "2x", "nan"}) {
        EXPECT_TRUE(readScale(wrong, &scale).has_value()) << wrong;
        EXPECT_DOUBLE_EQ(scale, 2.5) << "a refused scale leaves the last one: " << wrong;
    }

    int port = 7;
    EXPECT_EQ(readPort("0", &port), std::nullopt);
    EXPECT_EQ(port, 0);
    EXPECT_EQ(readPort("65535", &port), std::nullopt);
    for (const char* wrong : {"65536", "-1", "", "80a"}) EXPECT_TRUE(readPort(wrong, &port).has_value()) << wrong;
    EXPECT_EQ(port, 65535);

    EXPECT_EQ(knownScreen("library"), std::nullopt);
    OptionProblem unknown = knownScreen("libary");
    ASSERT_TRUE(unknown.has_value());
    EXPECT_NE(unknown->find("library"), std::string::npos) << "the known screens are listed: " << *unknown;
}

}  // namespace
}  // namespace obscuro::cli
