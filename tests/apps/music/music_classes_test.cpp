// The Music app's classes: every class the tweak names exists as the phone has it, answers what is hooked on it, and behaves as the app's own code.
#include <music/MusicApp.h>
#include <music/MusicClasses.h>

#include <CoreGraphics/CGColor.h>
#include <CoreGraphics/CGGeometry.h>
#include <CoreGraphics/CGCairo.h>
#include <Foundation/Foundation.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIImage.h>
#include <device/device.h>
#include <objc/Strong.h>
#include <objc/message.h>

#include <cairo.h>
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

// The classes' own behaviour, on the staged device so that their glyphs come from the app's catalogue.
class MusicViews : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        device::setRoot(OBSCURO_DEVICE_ROOT);
        music::startMusicApp();
        ASSERT_TRUE(music::registerMusicClasses().empty());
    }
    objc::AutoreleasePool pool_;
};

id colour(double red, double green, double blue) {
    return msg<id>(objc_getClass("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), red, green, blue, 1.0);
}

id subviewAt(id view, unsigned long index) { return msg<id>(msg<id>(view, sel<"subviews">()), sel<"objectAtIndex:">(), index); }

// The pixel alpha at the centre of what `view` draws itself (its drawRect:), at scale 1.
int drawnCentreAlpha(id view) {
    CGRect bounds = msg<CGRect>(view, sel<"bounds">());
    UIGraphicsBeginImageContextWithOptions(bounds.size, false, 1);
    msg<void>(view, sel<"drawRect:">(), bounds);
    id image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    cairo_surface_t* pixels = CGImageGetCairoSurface(static_cast<UIImage*>(image)->cgImage);
    cairo_surface_flush(pixels);
    int stride = cairo_image_surface_get_stride(pixels);
    int x = cairo_image_surface_get_width(pixels) / 2, y = cairo_image_surface_get_height(pixels) / 2;
    return cairo_image_surface_get_data(pixels)[y * stride + x * 4 + 3];
}

// The art is the artwork view's own image: the view is an image view, and decorations are its subviews.
TEST_F(MusicViews, ArtworkViewIsAnImageViewOutlinedInItsTint) {
    Class artwork = cls("Music.ArtworkComponentImageView");
    EXPECT_TRUE(inherits(artwork, "UIImageView"));
    auto view = objc::adopt(newObject(artwork, true));
    auto page = objc::adopt(newObject(cls("UIView"), true));
    msg<void>(page.get(), sel<"setTintColor:">(), colour(1, 0, 0));
    msg<void>(page.get(), sel<"addSubview:">(), view.get());
    id layer = msg<id>(view.get(), sel<"layer">());
    EXPECT_EQ(msg<double>(layer, sel<"borderWidth">()), 0.5);
    CGColorRef border = msg<CGColorRef>(layer, sel<"borderColor">());
    ASSERT_NE(border, nullptr);
    EXPECT_NEAR(CGColorGetComponents(border)[0], 1.0, 1e-9);
    EXPECT_NEAR(CGColorGetAlpha(border), 0.12, 1e-9);
}

TEST_F(MusicViews, IndexBarLettersTakeItsTintAtLayout) {
    auto index = objc::adopt(newObject(cls("Music.IndexBar"), true));
    auto letter = objc::adopt(newObject(cls("UILabel"), true));
    auto other = objc::adopt(newObject(cls("UIView"), true));
    msg<void>(index.get(), sel<"addSubview:">(), letter.get());
    msg<void>(index.get(), sel<"addSubview:">(), other.get());
    msg<void>(index.get(), sel<"setTintColor:">(), colour(0, 0, 1));
    msg<void>(index.get(), sel<"layoutSubviews">());
    EXPECT_TRUE(msg<bool>(msg<id>(letter.get(), sel<"textColor">()), sel<"isEqual:">(), colour(0, 0, 1)));
}

// The fields' magnifier is made once, however often they lay out, and is a template, so that
// it draws in the tint it inherits.
TEST_F(MusicViews, FieldsMakeOneTemplateGlyph) {
    for (const char* name : {"Music.SearchTextField", "MusicTextField"}) {
        auto control = objc::adopt(msg<id>(msg<id>(cls(name), sel<"alloc">()), sel<"initWithFrame:">(), CGRectMake(0, 0, 200, 36)));
        unsigned long before = subviewCount(control.get());
        msg<void>(control.get(), sel<"layoutSubviews">());
        msg<void>(control.get(), sel<"layoutSubviews">());
        ASSERT_EQ(subviewCount(control.get()), before + 1) << name;
        id glyph = subviewAt(control.get(), before);
        ASSERT_TRUE(msg<bool>(glyph, sel<"isKindOfClass:">(), objc_getClass("UIImageView"))) << name;
        id image = msg<id>(glyph, sel<"image">());
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(msg<long>(image, sel<"renderingMode">()), 2) << name;
        CGRect frame = msg<CGRect>(glyph, sel<"frame">());
        EXPECT_LE(frame.origin.x + frame.size.width, 200) << name;
        EXPECT_GT(frame.size.width, 0) << name;
    }
}

TEST_F(MusicViews, TextStackLaysItsLinesOutOneUnderTheOther) {
    auto stack = objc::adopt(msg<id>(msg<id>(cls("_TtCV5Music4Text9StackView"), sel<"alloc">()), sel<"initWithFrame:">(), CGRectMake(0, 0, 300, 200)));
    std::vector<objc::Strong<objc_object>> lines;
    for (double height : {30.0, 18.0, 30.0}) {
        lines.push_back(objc::adopt(msg<id>(msg<id>(cls("UIView"), sel<"alloc">()), sel<"initWithFrame:">(), CGRectMake(40, 90, 10, height))));
        msg<void>(stack.get(), sel<"addSubview:">(), lines.back().get());
    }
    msg<void>(stack.get(), sel<"layoutSubviews">());
    double expected[] = {0, 30, 48};
    for (int i = 0; i < 3; ++i) {
        CGRect frame = msg<CGRect>(lines[i].get(), sel<"frame">());
        EXPECT_EQ(frame.origin.y, expected[i]);
        EXPECT_EQ(frame.origin.x, 0);
        EXPECT_EQ(frame.size.width, 300);
    }
}

// Both draw themselves; without a string or a fill they draw nothing.
TEST_F(MusicViews, TextDrawingViewAndCircleDrawTheirContent) {
    auto text = objc::adopt(msg<id>(msg<id>(cls("_TtCVV5Music4Text7Drawing4View"), sel<"alloc">()), sel<"initWithFrame:">(), CGRectMake(0, 0, 40, 30)));
    EXPECT_EQ(drawnCentreAlpha(text.get()), 0);
    msg<void>(text.get(), sel<"setFont:">(), msg<id>(objc_getClass("UIFont"), sel<"boldSystemFontOfSize:">(), 40.0));
    msg<void>(text.get(), sel<"setText:">(), static_cast<id>(NSSTR("█")));
    EXPECT_GT(drawnCentreAlpha(text.get()), 0);

    auto circle = objc::adopt(msg<id>(msg<id>(cls("Music.CircleView"), sel<"alloc">()), sel<"initWithFrame:">(), CGRectMake(0, 0, 20, 20)));
    EXPECT_EQ(drawnCentreAlpha(circle.get()), 0);
    msg<void>(circle.get(), sel<"setFillColor:">(), colour(0, 1, 0));
    EXPECT_EQ(drawnCentreAlpha(circle.get()), 255);
}
