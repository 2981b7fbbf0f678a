// The parser pieces every host shares: usage errors in the command's words, help in any position, and the scale, port and screen checks.
#include <commandline/CommandLine.h>
#include <commandline/ScreenOption.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace obscuro::cli {
namespace {

constexpr const char* kUsage = "usage: obscuro paint [--scale S] [--port P] [--screen NAME] SUBJECT\n";

// A command declared as the program declares one, parsed from `words`; what it printed on a fault.
struct Parsed {
    bool ok = false;
    std::string err;
    double scale = 3;
    int port = 7;
    std::string screen = "library", label = "plain", subject;
};

Parsed parse(std::vector<std::string> words) {
    Parsed parsed;
    CLI::App program("obscuro");
    program.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    CLI::App* command = program.add_subcommand("paint");
    describeUsage(*command, "obscuro paint", kUsage, [](const CLI::App&, const CLI::Error& error) -> std::optional<std::string> {
        if (dynamic_cast<const CLI::RequiredError*>(&error)) return "paint needs a SUBJECT";
        return std::nullopt;
    });
    command->add_option("--scale", parsed.scale)->check(drawingScale());
    command->add_option("--port", parsed.port)->transform(loopbackPort());
    command->add_option("--screen", parsed.screen)->check(musicScreen(true));
    command->add_option("--label", parsed.label)->check(nonEmpty("--label"));
    command->add_option("SUBJECT", parsed.subject)->required();
    words.insert(words.begin(), "paint");
    std::reverse(words.begin(), words.end());
    try {
        program.parse(words);
        parsed.ok = true;
    } catch (const CLI::ParseError& error) {
        std::ostringstream out, err;
        command->exit(error, out, err);
        parsed.err = err.str();
    }
    return parsed;
}

TEST(CommandLine, UsageErrorsAreInTheCommandsWordsWithItsUsage) {
    EXPECT_EQ(parse({"--colour", "red", "cat"}).err, "obscuro paint: unknown option --colour\n" + std::string(kUsage));
    EXPECT_EQ(parse({"cat", "dog"}).err, "obscuro paint: unexpected argument dog\n" + std::string(kUsage));
    EXPECT_EQ(parse({"cat", "--scale"}).err, "obscuro paint: missing value after --scale\n" + std::string(kUsage));
    EXPECT_EQ(parse({}).err, "obscuro paint: paint needs a SUBJECT\n" + std::string(kUsage)) << "the command's own words come first";
    EXPECT_EQ(parse({"cat", "--scale", "9"}).err, "obscuro paint: --scale takes a number in (0, 4]\n" + std::string(kUsage))
        << "a check's message stands alone, without CLI11's name for the option";
    Parsed negative = parse({"-1.5"});
    EXPECT_TRUE(negative.ok) << "a negative number is a word, not an option: " << negative.err;
    EXPECT_EQ(negative.subject, "-1.5");
}

TEST(CommandLine, ScalesPortsAndScreensAreCheckedBeforeTheyAreKept) {
    Parsed good = parse({"cat", "--scale", "2.5", "--port", "65535", "--screen", "album"});
    ASSERT_TRUE(good.ok) << good.err;
    EXPECT_DOUBLE_EQ(good.scale, 2.5);
    EXPECT_EQ(good.port, 65535);
    EXPECT_EQ(good.screen, "album");
    EXPECT_TRUE(parse({"cat", "--screen", "all"}).ok);
    EXPECT_EQ(parse({"cat", "--scale", "1", "--scale", "2"}).scale, 2) << "the last value given counts";
    EXPECT_EQ(parse({"cat", "--port", "010"}).port, 10) << "a port is decimal, not octal";
    EXPECT_EQ(parse({"cat", "--port", "0"}).port, 0);

    for (const char* wrong : {"0", "4.01", "-1", "", "2x", "nan"})
        EXPECT_NE(parse({"cat", "--scale", wrong}).err.find("--scale takes a number in (0, 4]"), std::string::npos) << wrong;
    for (const char* wrong : {"65536", "-1", "", "80a", "0x10"})
        EXPECT_NE(parse({"cat", "--port", wrong}).err.find("--port takes a number from 0 to 65535"), std::string::npos) << wrong;
    std::string unknown = parse({"cat", "--screen", "libary"}).err;
    EXPECT_NE(unknown.find("unknown screen 'libary'"), std::string::npos) << unknown;
    EXPECT_NE(unknown.find(" library "), std::string::npos) << "the known screens are listed: " << unknown;
    EXPECT_EQ(parse({"cat", "--label", ""}).err, "obscuro paint: --label needs a non-empty value\n" + std::string(kUsage));
    EXPECT_EQ(parse({"cat", "--label=x"}).label, "x");
}

// A whole program's line read as a host reads it: what it printed, and how it would leave.
struct Read {
    std::optional<int> stop;
    std::string out, err;
    std::string name;
};

Read readLine(std::vector<std::string> words) {
    words.insert(words.begin(), "host");
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    Read read;
    CLI::App program("host", "host");
    describeUsage(program, "host", "usage: host [--name NAME] [--port P]\n");
    program.add_option("--name", read.name);
    int port = 0;
    program.add_option("--port", port)->transform(loopbackPort());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    read.stop = readCommandLine(program, static_cast<int>(argv.size()), argv.data());
    read.out = testing::internal::GetCapturedStdout();
    read.err = testing::internal::GetCapturedStderr();
    return read;
}

TEST(CommandLine, HelpStandsAnywhereBeforeADoubleDashAndWinsOverAnyFault) {
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"--name", "x", "-h"}, {"--bogus", "--help"}, {"--port", "99999", "-h"}, {"--name", "--help"}, {"stray", "-h"}}) {
        Read help = readLine(words);
        EXPECT_EQ(help.stop, 0) << words.front();
        EXPECT_EQ(help.out, "usage: host [--name NAME] [--port P]\n") << words.front();
        EXPECT_EQ(help.err, "") << words.front();
    }
    Read afterDashes = readLine({"--", "-h"});
    EXPECT_EQ(afterDashes.stop, 2) << "after -- a word spelt -h is an argument";
    EXPECT_EQ(afterDashes.out, "");
    EXPECT_EQ(afterDashes.err, "host: unexpected argument -h\nusage: host [--name NAME] [--port P]\n");
    Read good = readLine({"--port", "8", "--name", "x"});
    EXPECT_FALSE(good.stop) << good.err;
    EXPECT_EQ(good.name, "x");
    EXPECT_EQ(good.out + good.err, "");
}

}  // namespace
}  // namespace obscuro::cli
