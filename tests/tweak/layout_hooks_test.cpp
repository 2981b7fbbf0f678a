// The layout and view-controller replacements, and the marker tags they hand to the background and image-view rules.
#include "MarkerTags.h"
#include "UIColor+Tarnwick.h"
#include "tweak_fixture.h"

#include <CoreGraphics/CGColor.h>
#include <objc/runtime.h>

namespace obscuro::testing {
namespace {

class LayoutHooksTest : public ThemeTest {
protected:
    void layout(id v) { msg<void>(v, sel<"layoutSubviews">()); }
    bool hidden(id v) { return msg<BOOL>(v, sel<"isHidden">()); }
    long tag(id v) { return msg<long>(v, sel<"tag">()); }
    std::string background(id v) { return hexOf(msg<id>(v, sel<"backgroundColor">())); }
    id viewAt(const char* className, CGRect frame, id parent) {
        id v = view(className, frame);
        addSubview(parent, v);
        return v;
    }
};

TEST_F(LayoutHooksTest, NavigationBarBackgroundTagsEverySubviewAfterPaintingIt) {
    id bar = view("Music.NavigationBarBackgroundView");
    id blur = viewAt("_UIVisualEffectSubview", CGRectMake(0, 0, 10, 10), bar);
    id plain = viewAt("UIView", CGRectMake(0, 0, 10, 10), bar);
    layout(bar);
    EXPECT_EQ(background(bar), "#101010");
    EXPECT_EQ(tag(blur), tags::kNavigationBarBackground);
    EXPECT_EQ(tag(plain), tags::kNavigationBarBackground);
    EXPECT_EQ(background(plain), "nil");
    // First pass: the blur was untagged when painted, so it went half black.
    id first = msg<id>(blur, sel<"backgroundColor">());
    double w = -1, a = -1;
    ASSERT_TRUE(msg<BOOL>(first, sel<"getWhite:alpha:">(), &w, &a) ||
                msg<BOOL>(first, sel<"getRed:green:blue:alpha:">(), &w, &w, &w, &a));
    EXPECT_DOUBLE_EQ(a, 0.5);
    // Later passes: tagged, judged by its colour; bgColor passes the hex rules unchanged.
    layout(bar);
    EXPECT_EQ(background(blur), "#101010");
}

TEST_F(LayoutHooksTest, TitleHeaderTagsAndPaintsOncePerBarBackgroundChild) {
    id header = view("Music.TitleSectionHeaderView");
    id bar = viewAt("Music.NavigationBarBackgroundView", CGRectMake(0, 0, 10, 10), header);
    layout(header);
    EXPECT_TRUE(hidden(bar));
    EXPECT_EQ(tag(header), tags::kTitleHeader);
    EXPECT_EQ(background(header), "#101010");

    id second = view("Music.TitleSectionHeaderView");
    viewAt("Music.NavigationBarBackgroundView", CGRectMake(0, 0, 10, 10), second);
    viewAt("Music.NavigationBarBackgroundView", CGRectMake(0, 0, 10, 10), second);
    layout(second);
    EXPECT_EQ(tag(second), tags::kTitleHeader);
    EXPECT_EQ(background(second), "#101010");

    id bare = view("Music.TitleSectionHeaderView");
    layout(bare);
    EXPECT_EQ(tag(bare), 0);
    msg<void>(bare, sel<"setBackgroundColor:">(), colour(1, 1, 1));
    EXPECT_EQ(background(bare), "#000000") << "an untagged title header is made clear";
}

TEST_F(LayoutHooksTest, MiniPlayerWithoutColorFlowStaysDarkerForGood) {
    id root = view("UIView");
    id container = view("UIView");
    addSubview(container, root);
    id mini = controllerFor(root, "Music.MiniPlayerViewController");
    msg<void>(mini, sel<"viewDidLoad">());
    EXPECT_EQ(tag(root), tags::kMiniPlayer);
    EXPECT_EQ(background(root), "#080808");
    EXPECT_EQ(background(container), "#080808");
    msg<void>(mini, sel<"willMoveToParentViewController:">(), id{nullptr});
    EXPECT_EQ(tag(root), tags::kMiniPlayer);
    msg<void>(root, sel<"setBackgroundColor:">(), colour(1, 0, 0));
    EXPECT_EQ(background(root), "#080808");
}

TEST_F(LayoutHooksTest, MiniPlayerWithColorFlowIsReleasedOnceItHasAColour) {
    colorFlowMusicEnabled = true;
    id root = view("UIView");
    id mini = controllerFor(root, "Music.MiniPlayerViewController");
    msg<void>(mini, sel<"viewDidLoad">());
    EXPECT_EQ(tag(root), tags::kMiniPlayer);
    EXPECT_EQ(background(root), "nil") << "ColorFlow colours the view itself";
    msg<void>(mini, sel<"willMoveToParentViewController:">(), id{nullptr});
    EXPECT_EQ(background(root), "#080808");
    EXPECT_EQ(tag(root), 0);
    msg<void>(root, sel<"setBackgroundColor:">(), colour(0.2, 0.4, 0.6));
    EXPECT_EQ(background(root), "#336699");

    id other = view("UIView");
    id coloured = controllerFor(other, "Music.MiniPlayerViewController");
    msg<void>(coloured, sel<"viewDidLoad">());
    msg<void>(other, sel<"setBackgroundColor:">(), colour(0.2, 0.4, 0.6));
    msg<void>(coloured, sel<"willMoveToParentViewController:">(), id{nullptr});
    EXPECT_EQ(tag(other), tags::kMiniPlayer) << "a view with a colour of its own keeps its tag";
}

TEST_F(LayoutHooksTest, ArtworkShadowsAreHiddenOnlyLeftOfTheContent) {
    id content = view("Music.NowPlayingContentView");
    id shadow = viewAt("UIImageView", CGRectMake(-0.5, 0, 10, 10), content);
    id artwork = viewAt("UIImageView", CGRectMake(0, 0, 10, 10), content);
    id other = viewAt("UIView", CGRectMake(-5, 0, 10, 10), content);
    displayArtworkShadow = true;
    layout(content);
    EXPECT_FALSE(hidden(shadow));
    displayArtworkShadow = false;
    layout(content);
    EXPECT_TRUE(hidden(shadow));
    EXPECT_FALSE(hidden(artwork));
    EXPECT_FALSE(hidden(other));
}

TEST_F(LayoutHooksTest, KeepLocalControlPaintsOnlyAWideFirstSubview) {
    id control = view("MusicLibraryAddKeepLocalControl");
    layout(control);  // no subviews: nothing to do
    id exact = viewAt("UIView", CGRectMake(0, 0, 50.0, 10), control);
    layout(control);
    EXPECT_EQ(background(exact), "nil");
    msg<void>(exact, sel<"setFrame:">(), CGRectMake(0, 0, 50.5, 10));
    layout(control);
    EXPECT_EQ(background(exact), "#080808");
}

TEST_F(LayoutHooksTest, ShapeViewStrokesWithTintAndFillsOnlyAFilledLayer) {
    const char* shapeClass = "_TtC5MusicP33_E266AE2617DB15E0278A9481B04FB1C59ShapeView";
    id unfilled = view(shapeClass);
    id layer = msg<id>(unfilled, sel<"layer">());
    msg<void>(layer, sel<"setFillColor:">(), CGColorRef{nullptr});  // a shape layer fills black unless told not to
    layout(unfilled);
    EXPECT_NE(msg<CGColorRef>(layer, sel<"strokeColor">()), nullptr);
    EXPECT_EQ(msg<CGColorRef>(layer, sel<"fillColor">()), nullptr);

    id filled = view(shapeClass);
    id filledLayer = msg<id>(filled, sel<"layer">());
    msg<void>(filledLayer, sel<"setFillColor:">(), msg<CGColorRef>(colour(1, 1, 1), sel<"CGColor">()));
    layout(filled);
    CGColorRef fill = msg<CGColorRef>(filledLayer, sel<"fillColor">());
    ASSERT_NE(fill, nullptr);
    double r = 0, g = 0, b = 0, a = 0;
    ASSERT_TRUE(msg<BOOL>(lighterColor(darkerBgColor), sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a));
    EXPECT_DOUBLE_EQ(CGColorGetComponents(fill)[0], r) << "the lighter secondary colour";
}

TEST_F(LayoutHooksTest, CircleViewFillIsStoredInItsInstanceVariable) {
    id circle = view("Music.CircleView");
    layout(circle);
    Ivar fill = class_getInstanceVariable(object_getClass(circle), "fillColor");
    ASSERT_NE(fill, nullptr);
    id stored = object_getIvar(circle, fill);
    EXPECT_EQ(hexOf(stored), hexOf(lighterColor(darkerBgColor)));
    layout(circle);  // replacing releases the previous colour; ASan sees a double release
    EXPECT_EQ(hexOf(object_getIvar(circle, fill)), hexOf(lighterColor(darkerBgColor)));
}

TEST_F(LayoutHooksTest, ArtworkImageViewsAreTaggedOnlyWhenAddedWhileEnabled) {
    id artwork = view("Music.ArtworkComponentImageView");
    enabled = false;
    id early = view("UIImageView");
    addSubview(artwork, early);
    EXPECT_EQ(tag(early), 0);
    enabled = true;
    EXPECT_EQ(tag(early), 0);
    addSubview(artwork, early);
    EXPECT_EQ(tag(early), tags::kArtworkImage);
    id plain = view("UIView");
    addSubview(artwork, plain);
    EXPECT_EQ(tag(plain), 0);
    EXPECT_EQ(msg<id>(artwork, sel<"tintColor">()), nullptr);
}

TEST_F(LayoutHooksTest, OnboardingBackdropIsHiddenEvenWhenDisabled) {
    enabled = false;
    id onboarding = msg<id>(msg<id>(objc_getClass("AMPOnboardingViewController"), sel<"alloc">()), sel<"init">());
    keep_.push_back(objc::adopt(onboarding));
    msg<id>(onboarding, sel<"view">());
    id backdrop = msg<id>(onboarding, sel<"backdropView">());
    ASSERT_NE(backdrop, nullptr);
    EXPECT_TRUE(hidden(backdrop));
}

TEST_F(LayoutHooksTest, DecorationsAreHiddenAndPassThroughWhenDisabled) {
    id gradient = view("Music.GradientView");
    id imageView = view("UIImageView");
    id stack = viewAt("_TtCV5Music4Text9StackView", CGRectMake(0, 0, 10, 10), imageView);
    enabled = false;
    layout(gradient);
    layout(stack);
    EXPECT_FALSE(hidden(gradient));
    EXPECT_FALSE(hidden(stack));
    enabled = true;
    layout(gradient);
    layout(stack);
    EXPECT_TRUE(hidden(gradient));
    EXPECT_TRUE(hidden(stack));
}

}  // namespace
}  // namespace obscuro::testing
