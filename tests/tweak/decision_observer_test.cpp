// Every replacement reports what it decided to the one observer: entry, receiver, step, given and result.
#include "Decision.h"
#include "HookTable.h"
#include "MarkerTags.h"
#include "tweak_fixture.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIKit.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" const char* ObscuroDiagnostics(const char* request);

namespace obscuro::testing {
namespace {

struct Observed {
    std::size_t entry;
    id receiver;
    Step step;
    id given;
    id result;
};
std::vector<Observed> observed;

void observe(std::size_t entry, id receiver, Step step, id given, id result) {
    observed.push_back({entry, receiver, step, given, result});
}

class DecisionObserverTest : public ThemeTest {
protected:
    void SetUp() override {
        ThemeTest::SetUp();
        observed.clear();
        setDecisionObserver(&observe);
    }
    void TearDown() override {
        setDecisionObserver(nullptr);
        ThemeTest::TearDown();
    }
    std::size_t entryOf(const char* className, const char* selector) { return findHookEntry(className, selector)->number; }
    // What the entry of `className` and `selector` reported, in order; other entries report too
    // (a label asks its class's default attributes, for one).
    std::vector<Observed> reportedBy(const char* className, const char* selector) {
        std::vector<Observed> out;
        for (const Observed& o : observed)
            if (o.entry == entryOf(className, selector)) out.push_back(o);
        return out;
    }
    id image(double side) {
        UIGraphicsBeginImageContextWithOptions(CGSizeMake(side, side), false, 1.0);
        id img = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return img;
    }
};

TEST_F(DecisionObserverTest, ReceivesTheStepGivenAndResultOfEachReplacement) {
    id label = view("UILabel");
    id red = colour(1, 0, 0);
    msg<void>(label, sel<"setTextColor:">(), red);
    std::vector<Observed> texts = reportedBy("UILabel", "setTextColor:");
    ASSERT_EQ(texts.size(), 1u);
    const Observed& text = texts.front();
    EXPECT_EQ(text.receiver, label);
    EXPECT_EQ(text.step, Step{5}) << "without ColorFlow, step 5 gives the text colour";
    EXPECT_EQ(text.given, red);
    EXPECT_EQ(text.result, mainTextColor);

    observed.clear();
    id imageView = view("UIImageView");
    msg<void>(imageView, sel<"setImage:">(), image(22));
    auto assignment = std::find_if(observed.begin(), observed.end(),
                                   [&](const Observed& o) { return o.entry == entryOf("UIImageView", "setImage:"); });
    ASSERT_NE(assignment, observed.end());
    EXPECT_EQ(assignment->step, (Step{6, 3})) << "a 22-point square resets the tint";

    id bar = view("UINavigationBar");
    observed.clear();
    msg<BOOL>(bar, sel<"translucent">());
    enabled = false;
    msg<BOOL>(bar, sel<"translucent">());
    msg<void>(label, sel<"setTextColor:">(), red);
    std::vector<Observed> translucent = reportedBy("UINavigationBar", "translucent");
    ASSERT_EQ(translucent.size(), 2u);
    EXPECT_EQ(translucent[0].step, kRuleApplied);
    EXPECT_FALSE(msg<BOOL>(translucent[0].result, sel<"boolValue">())) << "a scalar result arrives boxed";
    EXPECT_EQ(translucent[1].step, kPassedThrough);
    texts = reportedBy("UILabel", "setTextColor:");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].step, Step{1}) << "the product off is step 1";
}

// The replacements of one rule report 1 or 2; those the app's procedures number report those
// steps; those that act on their receiver report what they applied.
TEST_F(DecisionObserverTest, ReplacementsReportTheStepsOfTheirOwnProcedures) {
    auto last = [&](const char* className, const char* selector) {
        std::vector<Observed> made = reportedBy(className, selector);
        EXPECT_FALSE(made.empty()) << className << " " << selector;
        return made.empty() ? Observed{} : made.back();
    };
    id red = colour(1, 0, 0);

    id textView = view("UITextView");
    msg<void>(textView, sel<"setTextColor:">(), red);
    Observed text = last("UITextView", "setTextColor:");
    EXPECT_EQ(text.step, kRuleApplied);
    EXPECT_EQ(text.given, red);
    EXPECT_EQ(text.result, mainTextColor);

    id label = view("UILabel");
    objc::callIMP<void>(savedImplementationOf(*findHookEntry("UILabel", "setTextColor:")), label, sel<"setTextColor:">(),
                        colour(1, 45.5 / 255, 85.5 / 255));
    EXPECT_EQ(msg<id>(label, sel<"textColor">()), mainTextColor);
    EXPECT_EQ(last("UILabel", "textColor").step, kRuleApplied) << "the stock pink is replaced";
    objc::callIMP<void>(savedImplementationOf(*findHookEntry("UILabel", "setTextColor:")), label, sel<"setTextColor:">(), red);
    msg<id>(label, sel<"textColor">());
    EXPECT_EQ(last("UILabel", "textColor").step, kPassedThrough);

    auto draw = [] {
        msg<void>(NSSTR("text"), sel<"drawWithRect:options:attributes:context:">(), CGRectMake(0, 0, 10, 10), 0L,
                  objc::dict({{NSForegroundColorAttributeName, colour(1, 0, 0)}}), id{nullptr});
    };
    SavedImplementationStandIn drawing("NSString", "drawWithRect:options:attributes:context:",
                                       reinterpret_cast<IMP>(+[](id, SEL, CGRect, long, id, id) {}));
    draw();
    EXPECT_EQ(last("NSString", "drawWithRect:options:attributes:context:").step, Step{4}) << "without ColorFlow";
    colorFlowMusicEnabled = true;
    draw();
    EXPECT_EQ(last("NSString", "drawWithRect:options:attributes:context:").step, Step{3}) << "with ColorFlow";
    colorFlowMusicEnabled = false;

    id layer = msg<id>(view("UIView"), sel<"layer">());
    msg<void>(layer, sel<"setCompositingFilter:">(), NSSTR("plusD"));
    EXPECT_EQ(msg<id>(layer, sel<"compositingFilter">()), nullptr);
    Observed filter = last("CALayer", "compositingFilter");
    EXPECT_EQ(filter.step, kRuleApplied);
    EXPECT_EQ(filter.receiver, layer);
    EXPECT_EQ(filter.result, nullptr);

    id indicator = msg<id>(msg<id>(objc_getClass("UIActivityIndicatorView"), sel<"alloc">()), sel<"initWithActivityIndicatorStyle:">(), 2L);
    keep_.push_back(objc::adopt(indicator));
    Observed created = last("UIActivityIndicatorView", "initWithActivityIndicatorStyle:");
    EXPECT_EQ(created.receiver, indicator) << "reported on the object the initialiser returned";
    EXPECT_EQ(created.step, kRuleApplied);
    EXPECT_EQ(msg<long>(created.given, sel<"integerValue">()), 2) << "the style arrives boxed";
    EXPECT_EQ(created.result, mainTextColor);

    id dock = view("UIKeyboardDockView");
    msg<void>(dock, sel<"layoutSubviews">());
    EXPECT_EQ(last("UIKeyboardDockView", "layoutSubviews").step, kRuleApplied);
    EXPECT_EQ(hexOf(last("UIKeyboardDockView", "layoutSubviews").result), "#000000");
    enableDarkKeyboard = false;
    msg<void>(dock, sel<"layoutSubviews">());
    EXPECT_EQ(last("UIKeyboardDockView", "layoutSubviews").step, kPassedThrough) << "a light keyboard keeps its dock";

    id control = view("MusicLibraryAddKeepLocalControl");
    id first = view("UIView", CGRectMake(0, 0, 50.0, 10));
    addSubview(control, first);
    msg<void>(control, sel<"layoutSubviews">());
    EXPECT_EQ(last("MusicLibraryAddKeepLocalControl", "layoutSubviews").step, kPassedThrough) << "50 points is not wide";
    msg<void>(first, sel<"setFrame:">(), CGRectMake(0, 0, 50.5, 10));
    msg<void>(control, sel<"layoutSubviews">());
    Observed painted = last("MusicLibraryAddKeepLocalControl", "layoutSubviews");
    EXPECT_EQ(painted.step, kRuleApplied);
    EXPECT_EQ(painted.result, darkerBgColor);
    enabled = false;
    msg<void>(control, sel<"layoutSubviews">());
    EXPECT_EQ(last("MusicLibraryAddKeepLocalControl", "layoutSubviews").step, kPassedThrough) << "the product off";
}

// The diagnostics window records backgrounds alone for scene tools, or every entry when asked.
TEST_F(DecisionObserverTest, DiagnosticsRecordBackgroundsOrEveryEntry) {
    auto recorded = [] { return nlohmann::json::parse(ObscuroDiagnostics("decisions")); };
    id v = view("UIView");
    id label = view("UILabel");
    ObscuroDiagnostics("explain on");
    msg<void>(label, sel<"setTextColor:">(), colour(1, 0, 0));
    msg<void>(v, sel<"setBackgroundColor:">(), colour(1, 1, 1));
    nlohmann::json backgrounds = recorded();
    ASSERT_EQ(backgrounds.size(), 1u) << backgrounds;
    EXPECT_EQ(backgrounds[0]["entry"], entryOf("UIView", "setBackgroundColor:"));
    EXPECT_EQ(backgrounds[0]["selector"], "setBackgroundColor:");
    EXPECT_EQ(backgrounds[0]["step"], 16);
    for (const char* field : {"view", "given", "result"}) EXPECT_TRUE(backgrounds[0].contains(field)) << field;

    ObscuroDiagnostics("explain all");
    msg<void>(label, sel<"setTextColor:">(), colour(1, 0, 0));
    msg<void>(view("UIImageView"), sel<"setImage:">(), image(22));
    nlohmann::json every = recorded();
    ObscuroDiagnostics("explain off");
    bool sawText = false, sawSubStep = false;
    for (const nlohmann::json& d : every) {
        sawText = sawText || (d["selector"] == "setTextColor:" && d["step"] == 5);
        sawSubStep = sawSubStep || (d["selector"] == "setImage:" && d["step"] == "6.3");
    }
    EXPECT_TRUE(sawText) << every;
    EXPECT_TRUE(sawSubStep) << every;
    observed.clear();
}

// Switching recording off keeps what was recorded for the tool to take; a new recording
// starts empty, so that one screen's decisions are never told as the next one's.
TEST_F(DecisionObserverTest, ANewRecordingForgetsWhatAnEarlierOneLeftUntaken) {
    auto recorded = [] { return nlohmann::json::parse(ObscuroDiagnostics("decisions")); };
    id earlier = view("UIView");
    id later = view("UIView");
    ObscuroDiagnostics("explain on");
    msg<void>(earlier, sel<"setBackgroundColor:">(), colour(1, 1, 1));
    ObscuroDiagnostics("explain off");
    EXPECT_EQ(recorded().size(), 1u) << "switching off keeps the record";

    ObscuroDiagnostics("explain all");
    msg<void>(earlier, sel<"setBackgroundColor:">(), colour(1, 1, 1));
    ObscuroDiagnostics("explain off");
    ObscuroDiagnostics("explain on");
    msg<void>(later, sel<"setBackgroundColor:">(), colour(1, 1, 1));
    nlohmann::json made = recorded();
    ObscuroDiagnostics("explain off");
    ASSERT_EQ(made.size(), 1u) << made;
    char pointer[32];
    std::snprintf(pointer, sizeof pointer, "%p", static_cast<void*>(later));
    EXPECT_EQ(made[0]["view"], pointer);
}

// A tool whose own static object is told of a decision and switches recording off when the
// process ends, and which first asked the diagnostics window after that object was made: the
// window's record and reply must still be there for it, whatever order the process ends its
// statics in. (The decision is reported directly: nothing may be autoreleased so late.)
struct ExplainsOffAtExit {
    id view;
    id white;
    ~ExplainsOffAtExit() {
        reportDecision(findHookEntry("UIView", "setBackgroundColor:")->number, view, Step{16}, white, white);
        ObscuroDiagnostics("explain off");
    }
};

void recordThenExit(id view, id white) {
    static ExplainsOffAtExit tool{objc::retain(view).release(), objc::retain(white).release()};
    ObscuroDiagnostics("explain all");
    for (int i = 0; i < 64; ++i) msg<void>(tool.view, sel<"setBackgroundColor:">(), tool.white);
    {
        objc::AutoreleasePool pool;
        ObscuroDiagnostics("decisions");
    }
    msg<void>(tool.view, sel<"setBackgroundColor:">(), tool.white);
    std::exit(0);
}

TEST_F(DecisionObserverTest, RecordAndReplyOutliveAToolThatSwitchesOffAtExit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: the window's statics made anew
    setDecisionObserver(nullptr);
    EXPECT_EXIT(recordThenExit(view("UIView"), colour(1, 1, 1)), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace obscuro::testing
