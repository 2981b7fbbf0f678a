// Faults of a scene end with status 2 and a message naming the object or step, with nothing on stdout;
// `device create` makes usable devices and refuses to fill a folder that holds anything.
#include "scene_process.h"

namespace {

using namespace scene_test;
namespace fs = std::filesystem;

json sceneWithSteps(json steps) {
    return {{"device", {{"settings", customColours()}}},
            {"objects", json::array({{{"id", "v"}, {"class", "UIView"}}, {{"id", "label"}, {"class", "UILabel"}}})},
            {"steps", std::move(steps)}};
}

void expectSceneFault(const Result& run, const std::vector<std::string>& mentions) {
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(run.out, "") << "nothing is half-printed";
    for (const auto& mention : mentions) EXPECT_NE(run.err.find(mention), std::string::npos) << mention << " in: " << run.err;
}

TEST(SceneFaults, NameTheStepAndPrintNothing) {
    // Each fault comes after a step that returned a value, so a report was under way.
    json first = {{"send", "backgroundColor"}, {"to", "v"}};
    expectSceneFault(runScene(sceneWithSteps({first, {{"send", "frobnicate:"}, {"to", "v"}, {"args", {1}}}})),
                     {"step 1", "frobnicate:"});
    expectSceneFault(runScene(sceneWithSteps({first, {{"send", "setTag:"}, {"to", "ghost"}, {"args", {1}}}})), {"step 1", "ghost"});
    expectSceneFault(runScene(sceneWithSteps({first, {{"send", "setTag:"}, {"to", "v"}, {"args", {"seven"}}}})),
                     {"step 1", "argument 1"});
    expectSceneFault(runScene(sceneWithSteps({first, {{"send", "setFrame:"}, {"to", "v"}, {"args", {{0, 0, 10}}}}})),
                     {"step 1", "4 numbers"});
    expectSceneFault(runScene(sceneWithSteps({first, {{"send", "setTag:"}, {"to", "v"}}})), {"step 1", "1 argument"});
    expectSceneFault(runScene(sceneWithSteps({first, {{"send", "setTextColor:"}, {"to", "label"}, {"args", {{{"colour", "#FFF"}}}}}})),
                     {"step 1", "unknown tag"});
    // A number where the method wants a colour is refused before it reaches the method.
    expectSceneFault(runScene(sceneWithSteps({first, {{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {5}}}})),
                     {"step 1", "setBackgroundColor:"});
    expectSceneFault(runScene(sceneWithSteps({first, {{"layout", "nowhere"}}})), {"step 1", "nowhere"});
    expectSceneFault(runScene(sceneWithSteps({first, {{"send", "isHidden"}, {"to", "v.superview"}}})), {"step 1", "v.superview"});
    expectSceneFault(runScene(sceneWithSteps({first, {{"add", {{"id", "v"}, {"class", "UIView"}}}, {"to", "v"}}})),
                     {"step 1", "used twice"});
}

// Messages that would free a scene object under the runner, or hand a method memory of the wrong
// kind, are refused before they are sent.
TEST(SceneFaults, UnsafeMessagesAreRefused) {
    json first = {{"send", "backgroundColor"}, {"to", "v"}};
    for (const char* selector : {"release", "autorelease", "dealloc", "retain"})
        expectSceneFault(runScene(sceneWithSteps({first, {{"send", selector}, {"to", "v"}}})), {"step 1", selector});
    expectSceneFault(runScene({{"objects", {{{"id", "v"}, {"class", "UIView"}, {"init", {{"send", "autorelease"}}}}}}}),
                     {"'v'", "not an initialiser"});
    json colour = {{"color", "#FFFFFF"}};
    expectSceneFault(runScene(sceneWithSteps({first, {{"send", "getRed:green:blue:alpha:"}, {"to", "label.textColor"},
                                                      {"args", {colour, colour, colour, colour}}}})),
                     {"step 1", "^d"});
    expectSceneFault(runScene({{"objects", {{{"id", "i"}, {"class", "UIImage"}, {"init", {{"send", "initWithCGImage:"}, {"args", {colour}}}}}}}}),
                     {"'i'", "initWithCGImage:"});
    expectSceneFault(runScene(sceneWithSteps({first, {{"send", "isKindOfClass:"}, {"to", "v"}, {"args", {{{"ref", "label"}}}}}})),
                     {"step 1", "class name"});
    expectSceneFault(runScene({{"device", {{"files", {{"/var/run/notifyd/1.names", ""}}}}}}), {"notifyd"});
    expectSceneFault(runScene(sceneWithSteps({{{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {{{"image", {{"size", {5000, 1}}}}}}}}})),
                     {"step 0", "4096"});
}

TEST(SceneFaults, NameTheObjectOrSection) {
    expectSceneFault(runScene({{"objects", {{{"id", "w"}, {"class", "NoSuchView"}}}}}), {"'w'", "NoSuchView"});
    expectSceneFault(runScene({{"objects", {{{"id", "k"}, {"class", "UIKBRenderConfig"}, {"frame", {0, 0, 1, 1}}}}}}),
                     {"'k'", "not one"});
    expectSceneFault(runScene({{"objects", {{{"id", "v"}, {"class", "UIView"}, {"controller", {{"class", "UIView"}}}}}}}),
                     {"not a view controller"});
    expectSceneFault(runScene({{"classes", {{{"name", "Orphan"}, {"superclass", "NoSuchBase"}}}}}), {"classes[0]", "NoSuchBase"});
    expectSceneFault(runScene({{"device", {{"files", {{"relative/path", ""}}}}}}), {"relative/path"});
    expectSceneFault(runScene({{"device", {{"files", {{"/../../escape", ""}}}}}}), {"escape"});
    expectSceneFault(runScene({{"stepz", json::array()}}), {"stepz"});
    expectSceneFault(runScene(json::array({1})), {"JSON object"});
}

// Each part is checked as the runner reaches it, so a scene with several faults is refused for
// the first one met, in words that name where it lies, however deep.
TEST(SceneFaults, AreFoundInTheOrderTheRunnerMeetsThem) {
    auto fault = [](const json& scene) { return runScene(scene).err; };
    EXPECT_EQ(fault({{"objects", {{{"id", "a"}, {"class", "NoSuchView"}}, {{"id", "b"}, {"class", "UIView"}, {"colour", 1}}}}}),
              "obscuro scene: objects[0]: object 'a': unknown class 'NoSuchView'\n");
    EXPECT_EQ(fault({{"objects", {{{"id", "a"}, {"class", "NoSuchView"}, {"tag", "x"}}}}}),
              "obscuro scene: objects[0]: object 'a': unknown class 'NoSuchView'\n");
    // (The test's JSON sorts its keys, so "files" comes before "zone" and after "bogus".)
    EXPECT_EQ(fault({{"device", {{"files", {{"relative", 1}}}, {"zone", 1}}}}),
              "obscuro scene: device.files[\"relative\"]: 'relative' is not an absolute device path\n");
    EXPECT_EQ(fault({{"device", {{"bogus", 1}, {"files", {{"relative", 1}}}}}}), "obscuro scene: device: unknown key \"bogus\"\n");
    EXPECT_EQ(fault(sceneWithSteps({{{"send", "zork"}, {"to", "v"}, {"args", 5}}})),
              "obscuro scene: step 0 (send zork): 'v' does not respond to zork\n");
    EXPECT_EQ(fault(sceneWithSteps({{{"add", {{"class", "UIView"}, {"subviews", {{{"class", "UIView"}, {"hidden", 3}}}}}}, {"to", "v"}}})),
              "obscuro scene: step 0 (add): subviews[0]: hidden: expected true or false\n");
    EXPECT_EQ(fault(sceneWithSteps({{{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {{{"image", {{"quality", 1}, {"scale", "x"}}}}}}}})),
              "obscuro scene: step 0 (send setBackgroundColor:): argument 1.image: unknown image key \"quality\"\n");
}

TEST(SceneFaults, UnreadableFilesAreUsageErrors) {
    ScratchFolder scratch;
    std::ofstream(scratch.path() / "broken.json") << "{\"steps\": [";
    expectSceneFault(obscuro({"scene", "run", (scratch.path() / "broken.json").string()}), {"not JSON"});
    expectSceneFault(obscuro({"scene", "run", (scratch.path() / "missing.json").string()}), {"cannot read"});
    expectSceneFault(obscuro({"scene", "run"}), {"usage"});
    expectSceneFault(obscuro({"scene", "run", (scratch.path() / "broken.json").string(), "--fast"}), {"--fast"});
}

TEST(DeviceCreate, RefusesAFolderThatHoldsAnything) {
    ScratchFolder scratch;
    fs::path folder = scratch.path() / "phone";
    fs::create_directories(folder);
    std::ofstream(folder / "keep.txt") << "mine";
    Result run = obscuro({"device", "create", folder.string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("not empty"), std::string::npos) << run.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "the folder is left as it was";
}

TEST(DeviceCreate, MakesADeviceThatScenesRunOnWithoutChangingIt) {
    ScratchFolder scratch;
    fs::path phone = scratch.path() / "phone";
    Result created = obscuro({"device", "create", phone.string()});
    ASSERT_EQ(created.status, 0) << created.err;
    EXPECT_TRUE(fs::exists(phone / "Library/MobileSubstrate/DynamicLibraries/Obscuro.dylib"));
    fs::create_directories(scratch.path() / "empty");
    EXPECT_EQ(obscuro({"device", "create", (scratch.path() / "empty").string()}).status, 0) << "an empty folder is filled";

    // The settings of the copy switch the product on there; the scene's own device section goes to
    // a private copy and never reaches the device.
    fs::path settings = phone / "var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist";
    fs::create_directories(settings.parent_path());
    std::ofstream(settings) << R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict><key>enabled</key><true/></dict></plist>)";
    Result onPhone = runScene({{"device", {{"files", {{"/var/mobile/Library/Preferences/scratch.plist", {{"a", 1}}}}}}}}, {"--root", phone.string()});
    ASSERT_EQ(onPhone.status, 0) << onPhone.err;
    EXPECT_EQ(onPhone.parsed()["theme"]["enabled"], true);
    EXPECT_EQ(onPhone.parsed()["hooks"]["installed"], 77);
    EXPECT_FALSE(fs::exists(phone / "var/mobile/Library/Preferences/scratch.plist"));

    EXPECT_EQ(obscuro({"scene", "run", "x.json", "--root", (scratch.path() / "nowhere").string()}).status, 2);
}

}  // namespace
