// View trees: ids, window frames and owners of a built tree, decisions matched to the colours they set, and the views found under a point.
#include "explain/ViewTree.h"
#include "explain/ViewTreeQuery.h"

#include <Foundation/NSString.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UIView.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <objc/runtime.h>

#include <gtest/gtest.h>

namespace {

using nlohmann::ordered_json;
using obscuro::scene::DecisionRecord;

id classNamed(const char* name) { return reinterpret_cast<id>(objc_getClass(name)); }

id colour(double r, double g, double b) { return msg<id>(classNamed("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), r, g, b, 1.0); }

id view(const char* cls, CGRect frame, id parent) {
    id v = objc::autorelease(msg<id>(msg<id>(classNamed(cls), sel<"alloc">()), sel<"initWithFrame:">(), frame));
    if (parent) msg<void>(parent, sel<"addSubview:">(), v);
    return v;
}

const ordered_json& viewWithId(const ordered_json& tree, const std::string& id) {
    for (const ordered_json& v : tree["views"])
        if (v["id"] == id) return v;
    throw std::runtime_error("no view " + id);
}

class ViewTreeTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
};

TEST_F(ViewTreeTest, IdsFollowSubviewIndexesInDrawingOrderWithWindowFrames) {
    id window = view("UIView", {{0, 0}, {375, 812}}, nil);
    id scroller = view("UIView", {{0, 100}, {375, 400}}, window);
    static_cast<UIView*>(scroller)->boundsOrigin = {0, 50};  // scrolled down by 50 points
    view("UIView", {{10, 60}, {100, 20}}, scroller);
    id second = view("UIView", {{20, 200}, {30, 30}}, scroller);
    view("UILabel", {{1, 2}, {3, 4}}, second);
    view("UIView", {{0, 700}, {375, 112}}, window);

    ordered_json tree = obscuro::explain::describeWindow(static_cast<UIView*>(window), {}, nullptr);
    std::vector<std::string> ids;
    for (const ordered_json& v : tree["views"]) ids.push_back(v["id"]);
    EXPECT_EQ(ids, (std::vector<std::string>{"0", "0.0", "0.0.0", "0.0.1", "0.0.1.0", "0.1"}));
    EXPECT_EQ(viewWithId(tree, "0.0.0")["frame"], ordered_json({10, 110, 100, 20})) << "the scroll offset moves the subviews";
    EXPECT_EQ(viewWithId(tree, "0.0.1.0")["frame"], ordered_json({21, 252, 3, 4}));
    EXPECT_EQ(viewWithId(tree, "0.0.1.0")["parent"], "0.0.1");
    EXPECT_TRUE(viewWithId(tree, "0")["parent"].is_null());
    EXPECT_TRUE(viewWithId(tree, "0.0.1.0")["colours"].contains("text")) << "labels hold a text colour";
    EXPECT_FALSE(viewWithId(tree, "0.0.1")["colours"].contains("text"));
    EXPECT_TRUE(viewWithId(tree, "0")["owner"].is_null()) << "a chain that ends without a controller has no owner";
}

TEST_F(ViewTreeTest, OwnerIsTheFirstResponderThatIsNotAView) {
    id controller = objc::autorelease(msg<id>(msg<id>(classNamed("UIViewController"), sel<"alloc">()), sel<"init">()));
    id root = msg<id>(controller, sel<"view">());
    id window = view("UIWindow", {{0, 0}, {375, 812}}, nil);
    msg<void>(window, sel<"addSubview:">(), root);
    id inner = view("UIView", {{0, 0}, {10, 10}}, root);
    (void)inner;
    ordered_json tree = obscuro::explain::describeWindow(static_cast<UIView*>(window), {}, nullptr);
    EXPECT_EQ(viewWithId(tree, "0.0.0")["owner"], "UIViewController");
    EXPECT_EQ(viewWithId(tree, "0.0")["owner"], "UIViewController");
}

TEST_F(ViewTreeTest, DecisionsGoToTheColourTheirProcedureSetsOnTheirReceiver) {
    id window = view("UIView", {{0, 0}, {375, 812}}, nil);
    id cell = view("UIView", {{0, 0}, {375, 44}}, window);
    id other = view("UIView", {{0, 44}, {375, 44}}, window);
    id white = colour(1, 1, 1), dark = colour(0.1, 0.1, 0.1);
    msg<void>(cell, sel<"setBackgroundColor:">(), dark);
    std::vector<DecisionRecord> decisions = {
        {67, "setBackgroundColor:", cell, {white, nullptr}, 3, {dark, nullptr}},
        {67, "setBackgroundColor:", other, {white, nullptr}, 16, {white, nullptr}},
        {20, "tintColor", cell, {white, nullptr}, 1, {white, nullptr}},
        {20, "tintColor", cell, {white, nullptr}, 2, {dark, nullptr}},
        {29, "layoutSubviews", cell, {}, 4, {}},
        {44, "compositingFilter", msg<id>(cell, sel<"layer">()), {}, 2, {}},
    };
    ordered_json tree = obscuro::explain::describeWindow(static_cast<UIView*>(window), decisions, nullptr);
    const ordered_json& described = viewWithId(tree, "0.0");
    const ordered_json& background = described["colours"]["background"];
    EXPECT_EQ(background["value"]["hex"], "#191919");
    ASSERT_EQ(background["decisions"].size(), 1u) << "another view's decision is not this one's";
    EXPECT_EQ(background["decisions"][0]["entry"], 67);
    EXPECT_EQ(background["decisions"][0]["step"], 3);
    EXPECT_EQ(background["decisions"][0]["given"]["hex"], "#FFFFFF");
    const ordered_json& tint = described["colours"]["tint"]["decisions"];
    ASSERT_EQ(tint.size(), 1u) << "a getter's last answer is the one shown";
    EXPECT_EQ(tint[0]["step"], 2);
    ASSERT_EQ(described["decisions"].size(), 2u) << "the rest, its layer's included";
    EXPECT_EQ(described["decisions"][0]["selector"], "layoutSubviews");
    EXPECT_EQ(described["decisions"][1]["selector"], "compositingFilter");
}

TEST_F(ViewTreeTest, AnImageTakesInTheNamedImageDecisionThatMadeIt) {
    id window = view("UIView", {{0, 0}, {375, 812}}, nil);
    id imageView = view("UIImageView", {{0, 0}, {22, 22}}, window);
    id loaded = objc::autorelease(msg<id>(msg<id>(classNamed("UIImage"), sel<"alloc">()), sel<"init">()));
    id tinted = objc::autorelease(msg<id>(msg<id>(classNamed("UIImage"), sel<"alloc">()), sel<"init">()));
    msg<void>(imageView, sel<"setImage:">(), tinted);
    id unrelated = objc::autorelease(msg<id>(msg<id>(classNamed("UIImage"), sel<"alloc">()), sel<"init">()));
    id name = objc::str("NowPlaying-Transport-Play");  // named images are decided on their name
    std::vector<DecisionRecord> decisions = {
        {64, "imageNamed:inBundle:compatibleWithTraitCollection:", name, {loaded, nullptr}, 7, {loaded, nullptr}},
        {64, "imageNamed:inBundle:compatibleWithTraitCollection:", name, {unrelated, nullptr}, 7, {unrelated, nullptr}},
        {62, "setImage:", imageView, {loaded, nullptr}, 8, {tinted, nullptr}},
    };
    ordered_json tree = obscuro::explain::describeWindow(static_cast<UIView*>(window), decisions, nullptr);
    const ordered_json& image = viewWithId(tree, "0.0")["images"]["image"];
    ASSERT_EQ(image["decisions"].size(), 2u);
    EXPECT_EQ(image["decisions"][0]["entry"], 64);
    EXPECT_EQ(image["decisions"][1]["entry"], 62);
}

ordered_json treeOf(std::initializer_list<ordered_json> views) { return {{"views", ordered_json(views)}}; }
ordered_json node(const char* id, const char* parent, std::array<double, 4> frame, bool hidden = false, double alpha = 1, bool clips = false) {
    return {{"id", id}, {"parent", parent ? ordered_json(parent) : ordered_json(nullptr)}, {"frame", frame},
            {"hidden", hidden}, {"alpha", alpha}, {"clips", clips}};
}
std::vector<std::string> idsAt(const ordered_json& tree, double x, double y) {
    std::vector<std::string> out;
    for (const ordered_json& v : obscuro::explain::viewsAt(tree, x, y)) out.push_back(v["id"]);
    return out;
}

TEST(ViewsAt, TopmostFirstSkippingWhatIsNotDrawnThere) {
    ordered_json tree = treeOf({node("0", nullptr, {0, 0, 375, 812}), node("0.0", "0", {0, 0, 375, 100}),
                                node("0.0.0", "0.0", {0, 0, 50, 50}), node("0.1", "0", {0, 0, 375, 100}, true),
                                node("0.1.0", "0.1", {0, 0, 375, 100}), node("0.2", "0", {0, 0, 375, 100}, false, 0),
                                node("0.3", "0", {0, 90, 100, 20}, false, 1, true), node("0.3.0", "0.3", {0, 80, 100, 100})});
    EXPECT_EQ(idsAt(tree, 10, 10), (std::vector<std::string>{"0.0.0", "0.0", "0"})) << "hidden, alpha 0 and hidden ancestors are skipped";
    EXPECT_EQ(idsAt(tree, 60, 95), (std::vector<std::string>{"0.3.0", "0.3", "0.0", "0"}));
    EXPECT_EQ(idsAt(tree, 60, 150), (std::vector<std::string>{"0"})) << "a clipping ancestor cuts its subview away outside itself";
    EXPECT_EQ(idsAt(tree, 50, 10), (std::vector<std::string>{"0.0", "0"})) << "the right edge is not inside";
    EXPECT_TRUE(idsAt(tree, 375, 0).empty());
    EXPECT_TRUE(obscuro::explain::viewsAt(ordered_json::object(), 1, 1).empty());
}

TEST(DescribeView, SaysEachColourAndTheDecisionBehindIt) {
    ordered_json view = {{"id", "0.1"}, {"class", "Music.Cell"}, {"runtimeClass", "_TtC5Music4Cell"}, {"frame", {0, 44, 375, 44}},
                         {"owner", "Music.LibraryViewController"}, {"tag", 0},
                         {"colours", {{"background", {{"value", {{"hex", "#0B0E14"}, {"rgba", {0.04, 0.05, 0.08, 1}}, {"space", "rgb"}}},
                                                      {"decisions", {{{"entry", 67}, {"selector", "setBackgroundColor:"}, {"step", 16},
                                                                      {"given", {{"hex", "#FFFFFF"}, {"rgba", {1, 1, 1, 1}}, {"space", "rgb"}}},
                                                                      {"result", {{"hex", "#0B0E14"}, {"rgba", {0.04, 0.05, 0.08, 1}}, {"space", "rgb"}}}}}}}}}},
                         {"images", ordered_json::object()}, {"decisions", ordered_json::array()}};
    std::string text = obscuro::explain::describeView(view);
    EXPECT_NE(text.find("Music.Cell (_TtC5Music4Cell) 0.1 frame 0,44 375×44 owner Music.LibraryViewController"), std::string::npos) << text;
    EXPECT_NE(text.find("background #0B0E14\n    entry 67 setBackgroundColor: step 16: #FFFFFF → #0B0E14\n"), std::string::npos) << text;
}

}  // namespace
