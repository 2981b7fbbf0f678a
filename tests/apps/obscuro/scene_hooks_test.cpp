// Scenes end to end: start-up cases (off at load, Noctis, ColorFlow), reloads, and the background decisions explained.
#include "scene_process.h"

namespace {

using namespace scene_test;

constexpr const char* kColorFlowLibrary = "/Library/MobileSubstrate/DynamicLibraries/ColorFlow4.dylib";
constexpr const char* kColorFlowSettings = "/var/mobile/Library/Preferences/com.aldren.colorflow4.plist";

json reportOf(const json& scene, const std::vector<std::string>& extra = {}) {
    Result run = runScene(scene, extra);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.status == 0 ? run.parsed() : json();
}

TEST(SceneStartUp, WithoutSettingsTheLibraryStaysInertEvenAfterAReload) {
    json report = reportOf({{"objects", {{{"id", "v"}, {"class", "UIView"}}}},
                            {"steps",
                             {{{"reload", {{"settings", customColours()}}}},
                              {{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {{{"color", "#FFFFFF"}}}}}}}});
    EXPECT_TRUE(matchesSubset({{"theme", {{"enabled", false}, {"colorFlowMusicEnabled", true}}},
                               {"hooks", {{"installed", 0}, {"missing", json::array()}}},
                               {"appearance", json::object()},
                               {"objects", {{"v", {{"backgroundColor", "#FFFFFF"}}}}}},
                              report));
}

TEST(SceneStartUp, NoctisCouplingWithoutNoctisSwitchesTheProductOff) {
    json report = reportOf({{"device", {{"settings", customColours({{"noctisIntegration", true}})}}}});
    EXPECT_TRUE(matchesSubset({{"theme", {{"enabled", false}, {"noctisIntegration", true}}}, {"hooks", {{"installed", 0}}}}, report));

    json noctisDark = {{"device",
                        {{"settings", customColours({{"noctisIntegration", true}})},
                         {"files",
                          {{"/Library/MobileSubstrate/DynamicLibraries/Noctis12.dylib", ""},
                           {"/var/mobile/Library/Preferences/com.merrowind.noctis12prefs.settings.plist", {{"enabled", true}}}}}}}};
    EXPECT_TRUE(matchesSubset({{"theme", {{"enabled", true}}}, {"hooks", {{"installed", 77}}}}, reportOf(noctisDark)));
}

TEST(SceneStartUp, ColorFlowFlagFollowsItsLibraryAndSetting) {
    auto flagWith = [](json files) {
        json report = reportOf({{"device", {{"settings", customColours()}, {"files", std::move(files)}}}});
        return report["theme"]["colorFlowMusicEnabled"];
    };
    EXPECT_EQ(flagWith({{kColorFlowSettings, {{"MusicEnabled", true}}}}), false) << "no library, no ColorFlow";
    EXPECT_EQ(flagWith({{kColorFlowLibrary, ""}, {kColorFlowSettings, {{"OtherKey", false}}}}), true);
    EXPECT_EQ(flagWith({{kColorFlowLibrary, ""}}), true) << "an unreadable setting leaves the flag";
    EXPECT_EQ(flagWith({{kColorFlowLibrary, ""}, {kColorFlowSettings, {{"MusicEnabled", false}}}}), false);
}

TEST(SceneReload, ChangesColoursAndFlagsButNotTheLoadTimeAppearance) {
    json scene = {{"device", {{"settings", customColours({{"displayArtworkShadow", true}})}}},
                  {"objects", {{{"id", "v"}, {"class", "UIView"}}}},
                  {"steps",
                   {{{"reload", {{"settings", {{"enabled", true}, {"theme", "Midnight"}}}}}},
                    {{"reload", true}},
                    {{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {{{"color", "#FFFFFF"}}}}}}}};
    json report = reportOf(scene);
    // The theme name is looked up in lower case; the flags the file no longer names keep their values.
    EXPECT_TRUE(matchesSubset({{"theme", {{"theme", "Midnight"}, {"useCustomColors", true}, {"displayArtworkShadow", true}}},
                               {"appearance", {{"UITabBar", {{"setBarTintColor:", "#182838"}}}}}},
                              report));
    EXPECT_EQ(report["objects"]["v"]["backgroundColor"], report["theme"]["bgColor"]);
}

TEST(SceneExplain, NavigationBarBackgroundBlurIsHalfBlackOnlyOnItsFirstPass) {
    json scene = {{"device", {{"settings", customColours()}}},
                  {"objects",
                   {{{"id", "bar"},
                     {"class", "Music.NavigationBarBackgroundView"},
                     {"subviews", {{{"id", "blur"}, {"class", "_UIVisualEffectSubview"}}}}}}},
                  {"steps", {{{"layout", "bar"}}, {{"layout", "bar"}}, {{"layout", "bar"}}}}};
    json report = reportOf(scene, {"--explain"});
    EXPECT_TRUE(matchesSubset(json::array({{{"step", 0}, {"decidedBy", 11}, {"result", {{"rgba", {0, 0, 0, 0.5}}}}},
                                           {{"step", 1}, {"given", "#102030"}, {"decidedBy", 16}, {"result", "#102030"}},
                                           {{"step", 2}, {"decidedBy", 16}, {"result", "#102030"}}}),
                              decisionsFor(report, "blur")));
    EXPECT_FALSE(report["objects"]["blur"].contains("explain"));
}

TEST(SceneExplain, RecordsNilColoursSwitchedOffProductsAndCreationAsSuch) {
    json scene = {{"device", {{"settings", customColours()}}},
                  {"objects", {{{"id", "keypad"}, {"class", "DevicePINKeypad"}}, {{"id", "v"}, {"class", "UIView"}}}},
                  {"steps",
                   {{{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {nullptr}}},
                    {{"reload", {{"settings", customColours({{"enabled", false}})}}}},
                    {{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {{{"color", "#FFFFFF"}}}}}}}};
    json report = reportOf(scene, {"--explain"});
    EXPECT_TRUE(matchesSubset(json::array({{{"step", nullptr}, {"selector", "initWithFrame:"}, {"decidedBy", 2}},
                                           {{"step", nullptr}, {"selector", "setBackgroundColor:"}, {"decidedBy", 16}}}),
                              decisionsFor(report, "keypad")))
        << "the keypad is made and painted while the scene's objects are made";
    EXPECT_TRUE(matchesSubset(json::array({{{"step", 0}, {"given", nullptr}, {"decidedBy", 1}, {"result", nullptr}},
                                           {{"step", 2}, {"given", "#FFFFFF"}, {"decidedBy", 1}, {"result", "#FFFFFF"}}}),
                              decisionsFor(report, "v")));
    EXPECT_FALSE(reportOf(scene).contains("explain")) << "explain only when asked";
}

TEST(SceneLog, HoldsTheLinesTheProductLogs) {
    json scene = {{"device", {{"settings", customColours()}}},
                  {"objects", {{{"id", "label"}, {"class", "UILabel"}}}},
                  {"steps", {{{"send", "setAttributedText:"}, {"to", "label"}, {"args", {{{"attributed", json::array()}}}}}}}};
    json report = reportOf(scene);
    ASSERT_EQ(report["log"].size(), 1u);
    EXPECT_TRUE(report["log"][0].get<std::string>().starts_with("-----------------Exception:")) << report["log"];
}

}  // namespace
