// The options every `obscuro` subcommand shares: --root and --help in any position, and the program's own --help.
#include "cli_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using cli_test::obscuro;
using cli_test::Result;

TEST(SharedOptions, ProgramHelpListsEverySubcommandOnStdout) {
    for (const char* flag : {"--help", "-h"}) {
        Result help = obscuro({flag});
        EXPECT_EQ(help.status, 0) << help.err;
        for (const char* name : {"colour", "settings", "image", "device", "scene", "preview", "studio", "theme"})
            EXPECT_NE(help.out.find("obscuro " + std::string(name)), std::string::npos) << name;
        EXPECT_EQ(help.err.find("unknown subcommand"), std::string::npos);
    }
    Result none = obscuro({});
    EXPECT_EQ(none.status, 2);
    Result unknown = obscuro({"paint"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown subcommand 'paint'"), std::string::npos);
}

TEST(SharedOptions, EverySubcommandAnswersHelpWithItsOwnUsageWherevergiven) {
    const std::vector<std::vector<std::string>> asked = {
        {"colour", "--help"},          {"colour", "hex", "-h"},           {"--help", "colour"},
        {"settings", "--help"},        {"settings", "list", "--help"},    {"-h", "settings", "get", "enabled"},
        {"image", "--help"},           {"device", "create", "--help"},    {"scene", "run", "x.json", "--help"},
        {"theme", "from-image", "-h"}, {"preview", "--help"},             {"preview", "--explain", "-h"},
        {"preview", "inspect", "--help"}, {"studio", "--help"},           {"--root", "/nowhere", "settings", "--help"},
    };
    for (const auto& arguments : asked) {
        Result help = obscuro(arguments);
        std::string shown;
        for (const auto& argument : arguments) shown += argument + " ";
        EXPECT_EQ(help.status, 0) << shown << help.err;
        EXPECT_EQ(help.out.rfind("usage: obscuro ", 0), 0u) << shown << help.out;
    }
    EXPECT_NE(obscuro({"preview", "inspect", "-h"}).out.find("inspect"), std::string::npos);
    EXPECT_NE(obscuro({"-h", "settings"}).out.find("serve"), std::string::npos);
}

TEST(SharedOptions, RootIsReadInEveryPosition) {
    cli_test::ScratchFolder scratch;
    const std::string missing = (scratch.path() / "no-device").string();
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--root", missing, "settings", "get", "enabled"},
             {"settings", "--root", missing, "get", "enabled"},
             {"settings", "get", "enabled", "--root", missing},
             {"settings", "get", "enabled", "--root=" + missing}}) {
        Result result = obscuro(arguments);
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_NE(result.err.find("no device at"), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;
    }
    const std::string copy = (scratch.path() / "copy").string();
    std::filesystem::create_directory(scratch.path() / "source");
    Result created = obscuro({"device", "create", copy, "--root", (scratch.path() / "source").string()});
    EXPECT_EQ(created.status, 0) << created.err;
    EXPECT_TRUE(std::filesystem::is_directory(copy));
}

TEST(SharedOptions, RootWithoutAFolderIsAUsageError) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{{"settings", "list", "--root"}, {"--root"}, {"--root", "", "settings", "list"}}) {
        Result result = obscuro(arguments);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_NE(result.err.find("--root"), std::string::npos) << result.err;
    }
}

TEST(SharedOptions, HelpWinsOverAnyFaultAndFaultsNameTheWordAtFault) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"studio", "--bogus", "1", "--help"}, {"image", "info", "--scale", "0", "-h"}, {"settings", "get", "--help"}}) {
        Result help = obscuro(arguments);
        EXPECT_EQ(help.status, 0) << arguments[0] << help.err;
        EXPECT_EQ(help.out.rfind("usage: obscuro " + arguments[0], 0), 0u) << help.out;
    }
    struct Fault {
        std::vector<std::string> arguments;
        std::string message;
    };
    for (const Fault& fault : std::vector<Fault>{
             {{"--bogus", "colour", "hex", "#FFFFFF"}, "unknown option --bogus"},
             {{"studio", "extra"}, "obscuro studio: unexpected argument extra"},
             {{"preview", "--theme", "oled", "inspect", "library", "1", "1"}, "--theme is not an option of inspect"},
             {{"settings", "list", "--bogus"}, "obscuro settings: unknown option --bogus"},
             {{"colour", "mid", "#FFFFFF"}, "obscuro colour: mid takes two colours"},
             {{"colour", "hex", "--", "-h"}, "obscuro colour: '-h' is not a colour"},
             {{"preview", "--scale"}, "obscuro preview: missing value after --scale"}}) {
        Result result = obscuro(fault.arguments);
        EXPECT_EQ(result.status, 2) << fault.message;
        EXPECT_TRUE(result.out.empty()) << result.out;
        EXPECT_NE(result.err.find(fault.message), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("required"), std::string::npos) << "no CLI11 words: " << result.err;
    }
}

}  // namespace
