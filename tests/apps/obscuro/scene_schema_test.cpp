// The scene schema on its own: which part refuses what, when, and in whose words.
#include "scene/SceneSchema.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using nlohmann::ordered_json;
using obscuro::scene::checkPart;
using obscuro::scene::checkPartEntry;
using obscuro::scene::partField;
using obscuro::scene::SceneError;
using obscuro::scene::ScenePart;
using obscuro::scene::stepPart;

// The message a check refuses with; empty when it accepts.
std::string faultOf(const std::function<void()>& check) {
    try {
        check();
    } catch (const SceneError& error) {
        return error.what();
    }
    return "";
}

ordered_json parse(const char* text) { return ordered_json::parse(text); }

TEST(SceneSchema, APartRefusesItsFirstUnknownKeyBeforeAnyMistypedOne) {
    ordered_json node = parse(R"({"tag": "seven", "colour": 1, "shade": 2, "class": "UIView"})");
    EXPECT_EQ(faultOf([&] { checkPart(node, ScenePart::object, "objects[0]"); }), "objects[0]: unknown key \"colour\"");
    node.erase("colour");
    node.erase("shade");
    EXPECT_EQ(faultOf([&] { checkPart(node, ScenePart::object, "objects[0]"); }), "") << "types wait until the runner reads them";
    EXPECT_EQ(faultOf([&] { partField(node, ScenePart::object, "tag", "objects[0]"); }), "objects[0]: tag: expected an integer");

    // An initialiser without its selector is refused for that before any unknown key.
    EXPECT_EQ(faultOf([&] { checkPart(parse(R"({"sned": "init"})"), ScenePart::initialiser, "o: init"); }),
              "o: init: expected {\"send\": \"init…\", \"args\": [...]}");
    EXPECT_EQ(faultOf([&] { checkPart(parse(R"({"send": "init", "x": 1})"), ScenePart::initialiser, "o: init"); }),
              "o: init: unknown key \"x\"");
    // An added class has one message for every fault, an extra key included.
    for (const char* entry : {R"([])", R"({"name": "A"})", R"({"name": "A", "superclass": 1})", R"({"name": "A", "superclass": "B", "x": 1})"})
        EXPECT_EQ(faultOf([&] { checkPart(parse(entry), ScenePart::addedClass, "classes[0]"); }),
                  "classes[0]: expected {\"name\": \"…\", \"superclass\": \"…\"}")
            << entry;
}

TEST(SceneSchema, NullIsAbsentOnlyWhereTheSceneSaysSo) {
    ordered_json scene = parse(R"({"load": null, "device": null, "objects": null})");
    EXPECT_EQ(partField(scene, ScenePart::scene, "load", ""), nullptr);
    EXPECT_EQ(partField(scene, ScenePart::scene, "device", ""), nullptr);
    EXPECT_EQ(faultOf([&] { partField(scene, ScenePart::scene, "objects", ""); }), "objects: expected an array of objects")
        << "a top-level key is named by itself";

    ordered_json controller = parse(R"({"class": "UIViewController", "id": null, "parent": null})");
    EXPECT_EQ(partField(controller, ScenePart::controller, "id", "c"), nullptr);
    EXPECT_EQ(partField(controller, ScenePart::controller, "parent", "c"), nullptr);
    EXPECT_EQ(faultOf([&] { partField(parse(R"({"class": "UIView", "id": null})"), ScenePart::object, "id", "objects[0]"); }),
              "objects[0]: id: expected a non-empty string");

    // Null settings remove the file: a value, not an absence, and not a fault.
    const ordered_json settings = nullptr;
    EXPECT_EQ(faultOf([&] { checkPartEntry(ScenePart::device, "settings", settings, "device"); }), "");
    EXPECT_EQ(faultOf([&] { checkPartEntry(ScenePart::device, "files", settings, "device"); }),
              "device.files: expected an object of device paths");
}

TEST(SceneSchema, PartsAppliedKeyByKeyRefuseEachKeyAsItIsReached) {
    ordered_json device = parse(R"({"files": {}, "bogus": 1})");
    EXPECT_EQ(faultOf([&] { checkPart(device, ScenePart::device, "step 2 (reload)"); }), "")
        << "a device section's earlier files are written before a later key is refused";
    EXPECT_EQ(faultOf([&] { checkPartEntry(ScenePart::device, "bogus", 1, "step 2 (reload)"); }), "step 2 (reload): unknown key \"bogus\"");
    EXPECT_EQ(faultOf([&] { checkPartEntry(ScenePart::image, "shade", 1, "argument 1.image"); }),
              "argument 1.image: unknown image key \"shade\"");
    EXPECT_EQ(faultOf([&] { checkPartEntry(ScenePart::image, "scale", 0, "argument 1.image"); }),
              "argument 1.image.scale: expected a positive number");
    EXPECT_EQ(faultOf([&] { checkPart(5, ScenePart::device, "device"); }), "device: expected an object with \"settings\" and/or \"files\"");
}

TEST(SceneSchema, AStepIsOfExactlyOneKindAndNamesWhatItLacks) {
    EXPECT_EQ(stepPart(parse(R"({"layout": "v"})"), "step 0"), ScenePart::layoutStep);
    EXPECT_EQ(stepPart(parse(R"({"reload": null})"), "step 0"), ScenePart::reloadStep) << "a null reload is still a reload";
    for (const char* step : {R"({})", R"({"send": "tag", "add": {}})", R"({"to": "v"})"})
        EXPECT_EQ(faultOf([&] { stepPart(parse(step), "step 3"); }),
                  "step 3: a step has exactly one of \"send\", \"layout\", \"reload\" and \"add\"")
            << step;
    EXPECT_EQ(faultOf([&] { stepPart(parse("[]"), "step 3"); }), "step 3: expected an object");

    ordered_json add = parse(R"({"add": {"class": "UIView"}})");
    EXPECT_EQ(faultOf([&] { checkPart(add, ScenePart::addStep, "step 1"); }), "");
    EXPECT_EQ(faultOf([&] { partField(add, ScenePart::addStep, "to", "step 1 (add)"); }), "step 1 (add): to: expected the id of a view")
        << "a required key that is missing";
    EXPECT_EQ(faultOf([&] { checkPart(parse(R"({"layout": "v", "to": "w"})"), ScenePart::layoutStep, "step 1"); }),
              "step 1: unknown key \"to\"")
        << "a key of another step kind is unknown to this one";
}

}  // namespace
