// Every shipped example scene runs green: exit status 0 and the results written beside it.
#include "scene_process.h"

#include <algorithm>

namespace {

using namespace scene_test;
namespace fs = std::filesystem;

const fs::path kExamples = fs::path(OBSCURO_SOURCE_DIR) / "examples" / "scenes";

std::vector<std::string> exampleNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kExamples)) {
        std::string file = entry.path().filename().string();
        if (file.ends_with(".json") && !file.ends_with(".expected.json")) names.push_back(file.substr(0, file.size() - 5));
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ExampleScene : public ::testing::TestWithParam<std::string> {};

TEST_P(ExampleScene, GivesTheResultsWrittenBesideIt) {
    fs::path scene = kExamples / (GetParam() + ".json");
    fs::path expectedFile = kExamples / (GetParam() + ".expected.json");
    ASSERT_TRUE(fs::exists(expectedFile)) << "every example carries its expected results";
    json expected = json::parse(std::ifstream(expectedFile));
    std::vector<std::string> arguments = {"scene", "run", scene.string()};
    if (expected.contains("explain")) arguments.push_back("--explain");
    Result run = obscuro(arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(matchesSubset(expected, run.parsed()));
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleScene, ::testing::ValuesIn(exampleNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(ExampleScenes, CoverEveryHookGroup) {
    std::vector<std::string> names = exampleNames();
    for (const char* group : {"backgrounds", "text", "bars", "layout", "imageviews", "namedimages"})
        EXPECT_NE(std::find(names.begin(), names.end(), group), names.end()) << group;
}

}  // namespace
