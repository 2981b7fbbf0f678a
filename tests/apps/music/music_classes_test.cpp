// The Music app's classes: every class the tweak names exists as the phone has it, answers what is hooked on it, and behaves as the app's own code.
#include <music/MusicClasses.h>

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/Foundation.h>
#include <objc/Strong.h>
#include <objc/message.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The tweak's sources with their comments removed: names mentioned in comments are not used.
std::vector<std::string> tweakSources() {
    std::vector<std::string> sources;
    for (const auto& entry : fs::directory_iterator(fs::path(OBSCURO_SOURCE_DIR) / "tweak")) {
        auto extension = entry.path().extension();
        if (extension != ".cpp" && extension != ".h" && extension != ".inl") continue;
        std::ifstream file(entry.path());
        std::stringstream text;
        text << file.rdbuf();
        sources.push_back(std::regex_replace(text.str(), std::regex("//[^\n]*"), ""));
    }
    return sources;
}

// Every string literal of the tweak that names a class of the Music app: dotted Swift names,
// mangled ones, and the app's Objective-C classes.
std::set<std::string> musicClassNamesInTweak() {
    const std::regex name(R"re("((Music\.[A-Za-z.]+)|(_TtC[CV]*5Music[A-Za-z0-9_]+)|(_?Music[A-Z][A-Za-z]+)|(AMP[A-Za-z]+))")re");
    // ColorFlow's settings key, not a class.
    const std::set<std::string> notClasses = {"MusicEnabled"};
    std::set<std::string> names;
    for (const std::string& source : tweakSources())
        for (auto it = std::sregex_iterator(source.begin(), source.end(), name); it != std::sregex_iterator(); ++it)
            if (!notClasses.count((*it)[1])) names.insert((*it)[1]);
    return names;
}

struct HookedSelector {
    std::string className;
    bool classSide;
    std::string selector;
};

std::vector<HookedSelector> hookTableEntries() {
    const std::regex entry(R"re(row\("([^"]+)", ([IC]), "([^"]+)")re");
    std::vector<HookedSelector> entries;
    for (const std::string& source : tweakSources())
        for (auto it = std::sregex_iterator(source.begin(), source.end(), entry); it != std::sregex_iterator(); ++it)
            entries.push_back({(*it)[1], (*it)[2] == "C", (*it)[3]});
    return entries;
}

bool isMusicClass(const std::string& name) {
    for (const auto& musicClass : music::musicClasses())
        if (name == musicClass.name || name == music::runtimeName(musicClass)) return true;
    return false;
}

Class cls(const char* name) { return objc_getClass(name); }

bool inherits(Class subclass, const char* ancestor) {
    for (Class c = subclass; c; c = class_getSuperclass(c))
        if (c == objc_getClass(ancestor)) return true;
    return false;
}

id newObject(Class c, bool view) {
    id object = msg<id>(c, sel<"alloc">());
    return view ? msg<id>(object, sel<"initWithFrame:">(), CGRectMake(0, 0, 120, 44)) : msg<id>(object, sel<"init">());
}

unsigned long subviewCount(id view) { return msg<unsigned long>(msg<id>(view, sel<"subviews">()), sel<"count">()); }

class MusicClasses : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(music::registerMusicClasses().empty()) << "a superclass is missing"; }
    objc::AutoreleasePool pool_;
};

TEST_F(MusicClasses, EveryClassTheTweakNamesExistsAsAViewOrController) {
    std::set<std::string> names = musicClassNamesInTweak();
    ASSERT_GT(names.size(), 40u);
    for (const std::string& name : names) {
        Class c = objc_getClass(name.c_str());
        ASSERT_NE(c, nullptr) << name;
        EXPECT_TRUE(inherits(c, "UIView") || inherits(c, "UIViewController")) << name << " is a " << class_getName(class_getSuperclass(c));
    }
}

// The kinds the tweak's decisions turn on: a wrong superclass changes which step decides.
TEST_F(MusicClasses, SuperclassesAreThoseTheClassesHaveOnThePhone) {
    const std::vector<std::pair<const char*, const char*>> kinds = {
        {"Music.NavigationBar", "UINavigationBar"},
        {"_TtCC5Music24NowPlayingViewController14CollectionView", "UICollectionView"},
        {"Music.CompositeCollectionView", "UIScrollView"},
        {"Music.VerticalScrollStackScrollView", "UIScrollView"},
        {"Music.SearchTextField", "UITextField"},
        {"MusicTextField", "UITextField"},
        {"Music.NowPlayingTransportButton", "UIButton"},
        {"_TtCC5Music15PersonalMixCellP33_C58AA72C234558D4D8BB9A14DBF342D610PlayButton", "UIButton"},
        {"_TtCC5Music22JSDrivenViewControllerP33_7039E2436DE34332E50649067807721930PageHeaderContextActionsButton", "UIButton"},
        {"MusicLibraryAddKeepLocalControl", "UIControl"},
        {"Music.AlbumCell", "UICollectionViewCell"},
        {"AMPOnboardingViewController", "UIViewController"},
    };
    for (auto [name, ancestor] : kinds) EXPECT_TRUE(inherits(cls(name), ancestor)) << name << " should be a " << ancestor;
    // Views the background procedure must not take for scroll views or labels.
    for (const char* name : {"Music.TitleSectionHeaderView", "Music.NowPlayingCollectionViewSecondaryBackground", "Music.CircleView"}) {
        EXPECT_FALSE(inherits(cls(name), "UIScrollView")) << name;
        EXPECT_FALSE(inherits(cls(name), "UILabel")) << name;
    }
}

TEST_F(MusicClasses, AnswerEverySelectorTheHookTableReplacesOnThem) {
    std::vector<HookedSelector> entries = hookTableEntries();
    ASSERT_EQ(entries.size(), 77u);
    int musicEntries = 0;
    for (const HookedSelector& entry : entries) {
        if (!isMusicClass(entry.className)) continue;
        ++musicEntries;
        Class c = cls(entry.className.c_str());
        ASSERT_NE(c, nullptr) << entry.className;
        SEL selector = sel_registerName(entry.selector.c_str());
        Method method = entry.classSide ? class_getClassMethod(c, selector) : class_getInstanceMethod(c, selector);
        EXPECT_NE(method, nullptr) << entry.className << " " << entry.selector;
    }
    EXPECT_GT(musicEntries, 20);
}

TEST_F(MusicClasses, SwiftNamesLookUpDottedAndReportAsThePhoneDoes) {
    Class bar = cls("_TtC5Music13NavigationBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(cls("Music.NavigationBar"), bar);
    EXPECT_EQ(objc::utf8(NSStringFromClass(bar)), "Music.NavigationBar");

    // Nested and private classes keep their runtime names, and no dotted path reaches them.
    const char* nested = "_TtCC5Music24NowPlayingViewController14CollectionView";
    EXPECT_EQ(objc::utf8(NSStringFromClass(cls(nested))), nested);
    EXPECT_EQ(cls("Music.NowPlayingViewController.CollectionView"), nullptr);
    const char* shape = "_TtC5MusicP33_E266AE2617DB15E0278A9481B04FB1C59ShapeView";
    EXPECT_EQ(objc::utf8(NSStringFromClass(cls(shape))), shape);
    EXPECT_EQ(objc::utf8(NSStringFromClass(cls("MusicTextField"))), "MusicTextField");
}

TEST_F(MusicClasses, RegisteringAgainKeepsTheClassesAndAbsentOnesComeBack) {
    Class lyrics = cls("Music.LyricsViewController");
    ASSERT_NE(lyrics, nullptr);
    EXPECT_TRUE(music::registerMusicClasses().empty());
    EXPECT_EQ(cls("Music.LyricsViewController"), lyrics);

    EXPECT_TRUE(music::registerMusicClasses({"Music.LyricsViewController"}).empty());
    EXPECT_EQ(cls("Music.LyricsViewController"), nullptr);
    EXPECT_NE(cls("Music.MiniPlayerViewController"), nullptr);

    EXPECT_TRUE(music::registerMusicClasses().empty());
    EXPECT_EQ(cls("Music.LyricsViewController"), lyrics);
}

TEST_F(MusicClasses, OtherTweaksClassesComeOnlyWhenAsked) {
    EXPECT_EQ(cls("SparkBatteryView"), nullptr);
    EXPECT_EQ(cls("BarmojiCollectionView"), nullptr);
    EXPECT_TRUE(music::registerOtherTweakClasses().empty());
    EXPECT_TRUE(inherits(cls("SparkBatteryView"), "UILabel"));
    EXPECT_TRUE(inherits(cls("BarmojiCollectionView"), "UICollectionView"));
}

// The screens give the app its look; a class's initialiser sets no colour and adds no subview
// beyond what its UIKit superclass does.
TEST_F(MusicClasses, InitialisersSetNoColoursAndAddNoSubviews) {
    for (const auto& musicClass : music::musicClasses()) {
        Class c = cls(music::runtimeName(musicClass).c_str());
        ASSERT_NE(c, nullptr) << musicClass.name;
        if (inherits(c, "UIView")) {
            auto view = objc::adopt(newObject(c, true));
            auto plain = objc::adopt(newObject(class_getSuperclass(c), true));
            EXPECT_EQ(subviewCount(view.get()), subviewCount(plain.get())) << musicClass.name;
            EXPECT_EQ(msg<id>(view.get(), sel<"backgroundColor">()), nullptr) << musicClass.name;
        } else {
            auto controller = objc::adopt(newObject(c, false));
            EXPECT_FALSE(msg<BOOL>(controller.get(), sel<"isViewLoaded">())) << musicClass.name;
        }
    }
}

TEST_F(MusicClasses, CircleViewKeepsItsFillInTheFillColorInstanceVariable) {
    auto circle = objc::adopt(newObject(cls("Music.CircleView"), true));
    Ivar ivar = class_getInstanceVariable(cls("Music.CircleView"), "fillColor");
    ASSERT_NE(ivar, nullptr);
    EXPECT_STREQ(ivar_getTypeEncoding(ivar), "@");
    EXPECT_EQ(msg<id>(circle.get(), sel<"fillColor">()), nullptr);

    id red = msg<id>(cls("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), 1.0, 0.0, 0.0, 1.0);
    long before = objc_retainCount(red);
    msg(circle.get(), sel<"setFillColor:">(), red);
    EXPECT_EQ(objc_retainCount(red), before + 1);

    // What is written to the variable directly is what the getter reads.
    id blue = msg<id>(cls("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), 0.0, 0.0, 1.0, 1.0);
    id* slot = reinterpret_cast<id*>(reinterpret_cast<char*>(circle.get()) + ivar_getOffset(ivar));
    objc_release(std::exchange(*slot, objc_retain(blue)));
    EXPECT_EQ(msg<id>(circle.get(), sel<"fillColor">()), blue);
    EXPECT_EQ(objc_retainCount(red), before);

    long blueBefore = objc_retainCount(blue);
    circle = nullptr;
    EXPECT_EQ(objc_retainCount(blue), blueBefore - 1);
}

TEST_F(MusicClasses, OnboardingViewDidLoadLaysItsBackdropOverItsView) {
    auto onboarding = objc::adopt(newObject(cls("AMPOnboardingViewController"), false));
    EXPECT_EQ(msg<id>(onboarding.get(), sel<"backdropView">()), nullptr);
    id view = msg<id>(onboarding.get(), sel<"view">());
    id backdrop = msg<id>(onboarding.get(), sel<"backdropView">());
    ASSERT_NE(backdrop, nullptr);
    EXPECT_EQ(msg<id>(backdrop, sel<"superview">()), view);
    CGRect frame = msg<CGRect>(backdrop, sel<"frame">());
    CGRect bounds = msg<CGRect>(view, sel<"bounds">());
    EXPECT_EQ(frame.size.width, bounds.size.width);
    EXPECT_EQ(frame.size.height, bounds.size.height);
    EXPECT_FALSE(msg<BOOL>(backdrop, sel<"isHidden">()));
    EXPECT_EQ(subviewCount(view), 1u);
}

TEST_F(MusicClasses, ShapeViewsAreBackedByShapeLayers) {
    for (const char* name : {"_TtC5MusicP33_E266AE2617DB15E0278A9481B04FB1C59ShapeView", "_MusicDownloadProgressRingView"}) {
        auto view = objc::adopt(newObject(cls(name), true));
        EXPECT_TRUE(msg<BOOL>(msg<id>(view.get(), sel<"layer">()), sel<"isKindOfClass:">(), cls("CAShapeLayer"))) << name;
    }
}

TEST_F(MusicClasses, PlayIntentControlsMakeTheirPlayButtonWhenFirstAsked) {
    auto controls = objc::adopt(newObject(cls("Music.PlayIntentControlsReusableView"), true));
    EXPECT_EQ(subviewCount(controls.get()), 0u);
    id button = msg<id>(controls.get(), sel<"accessibilityPlayButton">());
    ASSERT_TRUE(msg<BOOL>(button, sel<"isKindOfClass:">(), cls("UIButton")));
    EXPECT_EQ(msg<id>(button, sel<"superview">()), controls.get());
    EXPECT_NE(msg<id>(button, sel<"imageView">()), nullptr);
    EXPECT_EQ(msg<id>(controls.get(), sel<"accessibilityPlayButton">()), button);
    EXPECT_EQ(subviewCount(controls.get()), 1u);
}

}  // namespace
