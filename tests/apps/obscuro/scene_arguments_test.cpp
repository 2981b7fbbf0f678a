// Scene arguments that do not fit the method's parameter are refused before anything is sent, product on or off.
#include "scene_process.h"

namespace {

using namespace scene_test;

json sceneWithSteps(json settings, json steps) {
    return {{"device", {{"settings", std::move(settings)}}},
            {"objects", json::array({{{"id", "v"}, {"class", "UIView"}}, {{"id", "label"}, {"class", "UILabel"}}})},
            {"steps", std::move(steps)}};
}

json productOn() { return customColours(); }
json productOff() { return customColours({{"enabled", false}}); }

// One wrong-kind argument per case, each sent as step 1 after a step that returns a value.
struct WrongKind {
    json step;
    const char* argument;  // "argument N"
    const char* expected;  // what the message says the parameter takes
};

TEST(SceneArguments, WrongKindsAreRefusedNamingTheStepAndArgumentWhetherTheProductIsOnOrOff) {
    const WrongKind cases[] = {
        {{{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {42}}}, "argument 1", "an object"},
        {{{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {true}}}, "argument 1", "an object"},
        {{{"send", "setTextColor:"}, {"to", "label"}, {"args", {1.5}}}, "argument 1", "an object"},
        {{{"send", "setTag:"}, {"to", "v"}, {"args", {"7"}}}, "argument 1", "an integer"},
        {{{"send", "setAlpha:"}, {"to", "v"}, {"args", {"0.5"}}}, "argument 1", "a number"},
        {{{"send", "setHidden:"}, {"to", "v"}, {"args", {"yes"}}}, "argument 1", "true or false"},
        {{{"send", "setFrame:"}, {"to", "v"}, {"args", {{{"color", "#FFFFFF"}}}}}, "argument 1", "4 numbers"},
        {{{"send", "setImage:forState:"}, {"to", "button"}, {"args", {7, 0}}}, "argument 1", "an object"},
    };
    json first = {{"send", "backgroundColor"}, {"to", "v"}};
    for (json settings : {productOn(), productOff()}) {
        for (const WrongKind& wrong : cases) {
            json scene = sceneWithSteps(settings, {first, wrong.step});
            scene["objects"].push_back({{"id", "button"}, {"class", "UIButton"}});
            Result run = runScene(scene);
            std::string what = wrong.step.dump() + " with enabled " + settings["enabled"].dump();
            EXPECT_EQ(run.status, 2) << what << ": " << run.err;
            EXPECT_EQ(run.out, "") << what;
            for (const char* mention : {"step 1", wrong.argument, wrong.expected})
                EXPECT_NE(run.err.find(mention), std::string::npos) << what << ": " << mention << " in: " << run.err;
        }
    }
}

TEST(SceneArguments, NumbersForObjectsAreTaggedAndNullIsNil) {
    Result run = runScene(sceneWithSteps(productOff(), {{{"send", "isEqual:"}, {"to", "v"}, {"args", {{{"number", 42}}}}},
                                                        {{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {nullptr}}},
                                                        {{"send", "isEqual:"}, {"to", "v"}, {"args", {{{"number", "42"}}}}}}));
    EXPECT_EQ(run.status, 2) << "a number tag holds a number";
    EXPECT_NE(run.err.find("step 2"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(".number"), std::string::npos) << run.err;

    run = runScene(sceneWithSteps(productOn(), {{{"send", "isEqual:"}, {"to", "v"}, {"args", {{{"number", true}}}}},
                                                {{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {nullptr}}}}));
    EXPECT_EQ(run.status, 0) << run.err;
}

// The toolkit's categories are attached when the product loads, so a scene can send their selectors.
TEST(SceneArguments, CategorySelectorsCanBeSent) {
    Result run = runScene(sceneWithSteps(
        productOff(), {{{"send", "setBackgroundColor:"}, {"to", "v"}, {"args", {{{"color", "#000000"}}}}},
                       {{"send", "lighterColor"}, {"to", "v.backgroundColor"}},
                       {{"send", "tw_hexStringFromColor:"}, {"to", "UIColor"}, {"args", {{{"color", "#FF2D55"}}}}},
                       {{"send", "isLightColor"}, {"to", "v.backgroundColor"}}}));
    ASSERT_EQ(run.status, 0) << run.err;
    json results = json::parse(run.out)["results"];
    ASSERT_EQ(results.size(), 3u) << results;
    EXPECT_EQ(results[0]["value"]["hex"], "#131313") << results[0];
    EXPECT_EQ(results[1]["value"]["string"], "#FF2D55") << results[1];
    EXPECT_EQ(results[2]["value"], false) << results[2];
}

}  // namespace
