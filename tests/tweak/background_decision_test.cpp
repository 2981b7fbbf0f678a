// The background decision: each step of the procedure decides for the views it names, in order.
#include "BackgroundHooks.h"
#include "MarkerTags.h"
#include "tweak_fixture.h"

namespace obscuro::testing {
namespace {

class BackgroundDecisionTest : public ThemeTest {
protected:
    void SetUp() override {
        ThemeTest::SetUp();
        for (auto [name, super] : {std::pair{"Music.TitleSectionHeaderView", "UIView"},
                                   {"Music.NowPlayingViewController", "UIViewController"},
                                   {"_TtCC5Music24NowPlayingViewController14CollectionView", "UICollectionView"},
                                   {"Music.ContainerDetailFooterStackViewController", "UIViewController"},
                                   {"Music.ContextActionsButtonViewController", "UIViewController"},
                                   {"Music.PlayerTimeControl", "UIControl"},
                                   {"Music.SearchTextField", "UITextField"},
                                   {"Music.AlbumCell", "UICollectionViewCell"},
                                   {"Music.NowPlayingCollectionViewSecondaryBackground", "UIView"},
                                   {"Music.MusicVideoVerticalCell", "UIView"},
                                   {"BarmojiCollectionView", "UICollectionView"}})
            ensureClass(name, super);
    }

    // The step that decided and the hex string of the colour the view gets.
    std::pair<int, std::string> decide(id v, id given) {
        BackgroundDecision d = decideBackground(v, given);
        return {d.step.major, hexOf(d.outcome)};
    }

    id whiteColour() { return colour(1, 1, 1); }
};

TEST_F(BackgroundDecisionTest, NilColourOrProductOffPassesTheColourThrough) {
    id v = view("UIView");
    EXPECT_EQ(decideBackground(v, nullptr).outcome, nullptr);
    enabled = false;
    id given = whiteColour();
    auto d = decideBackground(v, given);
    EXPECT_EQ(d.step, 1);
    EXPECT_EQ(d.outcome, given);
}

TEST_F(BackgroundDecisionTest, PlainViewsFollowTheHexRules) {
    id v = view("UIView");
    EXPECT_EQ(decide(v, whiteColour()), std::pair(16, std::string("#101010")));
    EXPECT_EQ(decide(v, colour(1, 1, 1, 0.3)).second, "#101010");  // alpha plays no part
    EXPECT_EQ(decide(v, colour(0xF9 / 255.0, 0xF9 / 255.0, 0xFE / 255.0)).second, "#101010");
    EXPECT_EQ(decide(v, colour(0xF0 / 255.0, 0xF0 / 255.0, 0xF7 / 255.0)).second, "#202020");  // bar
    EXPECT_EQ(decide(v, colour(1, 0x2D / 255.0, 0x55 / 255.0)).second, "#101010");
    EXPECT_EQ(decide(v, colour(0xD8 / 255.0, 0xD8 / 255.0, 0xD8 / 255.0)).second, "#080808");
    EXPECT_EQ(decide(v, colour(0xD9 / 255.0, 0xD9 / 255.0, 0xD9 / 255.0)).second, "#080808");
    EXPECT_EQ(decide(v, colour(0xC7 / 255.0, 0xC7 / 255.0, 0xCC / 255.0)).second, "#000000");  // clear
    EXPECT_EQ(decide(v, colour(0, 0, 0x50 / 255.0)).second, "#000000");
    id unlisted = colour(0.2, 0.4, 0.6);
    auto d = decideBackground(v, unlisted);
    EXPECT_EQ(d.step, 16);
    EXPECT_EQ(d.outcome, unlisted);
}

TEST_F(BackgroundDecisionTest, HexRulesLookAtOwnerAndSuperview) {
    id dimming = view("_UIDimmingKnockoutBackdropView");
    id v = view("UIView");
    addSubview(dimming, v);
    id w = whiteColour();
    EXPECT_EQ(decideBackground(v, w).outcome, w);

    id footerRoot = view("UIView");
    controllerFor(footerRoot, "Music.ContainerDetailFooterStackViewController");
    id inFooter = view("UIView");
    addSubview(footerRoot, inFooter);
    EXPECT_EQ(decide(inFooter, colour(0xF0 / 255.0, 0xF0 / 255.0, 0xF7 / 255.0)).second, "#101010");

    id pink = colour(1, 0x2D / 255.0, 0x55 / 255.0);
    id actionsRoot = view("UIView");
    controllerFor(actionsRoot, "Music.ContextActionsButtonViewController");
    id inActions = view("UIView");
    addSubview(actionsRoot, inActions);
    EXPECT_EQ(decide(inActions, pink).second, "#FF4080");
    id timeControl = view("Music.PlayerTimeControl");
    id track = view("UIView");
    addSubview(timeControl, track);
    EXPECT_EQ(decide(track, pink).second, "#FF4080");
}

TEST_F(BackgroundDecisionTest, EarlyStepsDecideByKindAndTag) {
    id w = whiteColour();
    EXPECT_EQ(decide(view("BarmojiCollectionView"), w), std::pair(2, std::string("#FFFFFF")));
    id header = view("Music.TitleSectionHeaderView");
    EXPECT_EQ(decide(header, w).first, 4);
    msg<void>(header, sel<"setTag:">(), tags::kTitleHeader);
    EXPECT_EQ(decide(header, w), std::pair(3, std::string("#FFFFFF")));
    EXPECT_EQ(decide(view("_TtCC5Music24NowPlayingViewController14CollectionView"), w).first, 5);
    id tagged = view("UILabel");
    msg<void>(tagged, sel<"setTag:">(), tags::kMiniPlayer);
    EXPECT_EQ(decide(tagged, w), std::pair(6, std::string("#080808")));
    EXPECT_EQ(decide(view("_UIAlertControllerActionView"), w).first, 7);
}

TEST_F(BackgroundDecisionTest, ScrollViewsAndContainersTakeTheBackground) {
    for (const char* name : {"UIScrollView", "UITableView", "UICollectionView", "_UIVisualEffectContentView",
                             "UILayoutContainerView", "UITableViewCellContentView"})
        EXPECT_EQ(decide(view(name), colour(0.2, 0.4, 0.6)), std::pair(10, std::string("#101010"))) << name;
}

TEST_F(BackgroundDecisionTest, BlurSubviewsAreHalfBlackUntilTagged) {
    id blur = view("_UIVisualEffectSubview");
    auto d = decideBackground(blur, colour(0.2, 0.4, 0.6));
    EXPECT_EQ(d.step, 11);
    double r = -1, g = -1, b = -1, a = -1;
    ASSERT_TRUE(msg<BOOL>(d.outcome, sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a));
    EXPECT_EQ(r, 0);
    EXPECT_EQ(a, 0.5);
    msg<void>(blur, sel<"setTag:">(), tags::kNavigationBarBackground);
    EXPECT_EQ(decide(blur, whiteColour()), std::pair(16, std::string("#101010")));
}

TEST_F(BackgroundDecisionTest, LaterStepsByClassNameAndSuperview) {
    id w = whiteColour();
    id indicator = view("MPUNowPlayingIndicatorView");
    id bar = view("UIView");
    addSubview(indicator, bar);
    EXPECT_EQ(decide(bar, w), std::pair(12, std::string("#FF4080")));
    EXPECT_EQ(decide(view("Music.SearchTextField"), w), std::pair(13, std::string("#080808")));
    EXPECT_EQ(decide(view("UILabel"), colour(0.2, 0.4, 0.6)).first, 14);
    EXPECT_EQ(decide(view("_UITableViewCellSeparatorView"), w).first, 14);
    EXPECT_EQ(decide(view("Music.MusicVideoVerticalCell"), w).first, 14);
    EXPECT_EQ(decide(view("Music.AlbumCell"), colour(0.2, 0.4, 0.6)), std::pair(15, std::string("#101010")));
}

TEST_F(BackgroundDecisionTest, ColorFlowKeepsTheNowPlayingScreensColours) {
    id root = view("UIView");
    controllerFor(root, "Music.NowPlayingViewController");
    id plain = view("UIView");
    id cell = view("UITableViewCollectionCell");
    id secondary = view("Music.NowPlayingCollectionViewSecondaryBackground");
    for (id v : {plain, cell, secondary}) addSubview(root, v);
    id w = whiteColour();

    EXPECT_EQ(decide(plain, w).second, "#101010");
    EXPECT_EQ(decide(cell, w), std::pair(8, std::string("#101010")));
    EXPECT_EQ(decide(secondary, w), std::pair(15, std::string("#101010")));

    colorFlowMusicEnabled = true;
    EXPECT_EQ(decide(plain, w), std::pair(16, std::string("#FFFFFF")));
    EXPECT_EQ(decide(cell, w), std::pair(8, std::string("#FFFFFF")));
    EXPECT_EQ(decide(secondary, w), std::pair(9, std::string("#FFFFFF")));
}

// What a decision learns about a view class is kept per class; many classes in turn, each
// registered between decisions of the others, must each be decided as their own.
TEST_F(BackgroundDecisionTest, ManyClassesInTurnAreEachDecidedAsTheirOwn) {
    std::vector<id> views;
    for (int i = 0; i < 150; ++i) {
        std::string name = "BackgroundDecisionTestClass" + std::to_string(i);
        ensureClass(name.c_str(), i % 3 == 0 ? "UILabel" : i % 3 == 1 ? "UIScrollView" : "UIView");
        views.push_back(view(name.c_str()));
        decide(views.back(), whiteColour());
    }
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 150; ++i)
            EXPECT_EQ(decide(views[i], whiteColour()).first, i % 3 == 0 ? 14 : i % 3 == 1 ? 10 : 16) << i;
}

TEST_F(BackgroundDecisionTest, DetachedViewsHaveNoOwnerAndNoSuperview) {
    id lone = view("UIView");
    EXPECT_EQ(decide(lone, colour(1, 0x2D / 255.0, 0x55 / 255.0)).second, "#101010");
}

}  // namespace
}  // namespace obscuro::testing
