// Image assignments: which step decides, the tint set first, and whether the image becomes a template.
#include "ImageViewHooks.h"
#include "MarkerTags.h"
#include "tweak_fixture.h"

#include <UIKit/UIKit.h>

namespace obscuro::testing {
namespace {

class ImageAssignmentTest : public ThemeTest {
protected:
    void SetUp() override {
        ThemeTest::SetUp();
        ensureClass("Music.JSPersonalMixesViewController", "UIViewController");
        ensureClass("Music.NowPlayingQueueControlsView", "UIView");
        ensureClass("Music.NowPlayingTransportButton", "UIButton");
        ensureClass("_TtC5Music25ArtworkComponentImageView", "UIView");
    }

    id image(double w, double h, bool resizable = false) {
        UIGraphicsBeginImageContextWithOptions(CGSizeMake(w, h), false, 1.0);
        id img = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        if (resizable) img = msg<id>(img, sel<"resizableImageWithCapInsets:">(), UIEdgeInsets{1, 1, 1, 1});
        return img;
    }

    id imageViewIn(id parent) {
        id iv = view("UIImageView");
        if (parent) addSubview(parent, iv);
        return iv;
    }
};

TEST_F(ImageAssignmentTest, ArtworkTagWinsWhateverTheImage) {
    id iv = imageViewIn(nullptr);
    msg<void>(iv, sel<"setTag:">(), tags::kArtworkImage);
    for (id img : {image(22, 22), image(17, 17, true), image(300, 200)}) {
        auto a = decideImageAssignment(iv, img);
        EXPECT_EQ(a.step, 4);
        EXPECT_EQ(hexOf(a.tint), "#101010");
        EXPECT_TRUE(a.templated);
    }
}

TEST_F(ImageAssignmentTest, ResizableImagesBySizeAndButtonState) {
    id button = view("UIButton");
    id queue = view("Music.NowPlayingQueueControlsView");
    addSubview(queue, button);
    id iv = imageViewIn(button);
    msg<void>(button, sel<"setSelected:">(), true);
    auto selected = decideImageAssignment(iv, image(17, 17, true));
    EXPECT_EQ(hexOf(selected.tint), "#0D0D0D");  // darker background lightened twice
    msg<void>(button, sel<"setHighlighted:">(), true);  // state 5 is not exactly selected
    EXPECT_EQ(hexOf(decideImageAssignment(iv, image(17, 17, true)).tint), "#080808");
    EXPECT_EQ(hexOf(decideImageAssignment(imageViewIn(nullptr), image(9, 9, true)).tint), "#080808");
    auto other = decideImageAssignment(imageViewIn(nullptr), image(30, 30, true));
    EXPECT_FALSE(other.setsTint);
    EXPECT_FALSE(other.templated);
}

TEST_F(ImageAssignmentTest, ResizableImagesInsideArtworkViewsBecomeBackgroundTemplates) {
    id artwork = view("_TtC5Music25ArtworkComponentImageView");
    id frame = view("UIView");
    addSubview(artwork, frame);
    auto a = decideImageAssignment(imageViewIn(frame), image(40, 30, true));
    EXPECT_TRUE(a.templated);
    EXPECT_EQ(hexOf(a.tint), "#101010");
}

TEST_F(ImageAssignmentTest, PlainImagesBySizeAndOwner) {
    id root = view("UIView");
    controllerFor(root, "Music.JSPersonalMixesViewController");
    id mixes = imageViewIn(root);
    EXPECT_TRUE(decideImageAssignment(mixes, image(101, 150)).templated);
    EXPECT_FALSE(decideImageAssignment(mixes, image(150, 150)).templated);
    EXPECT_FALSE(decideImageAssignment(mixes, image(100, 150)).templated);
    auto square = decideImageAssignment(imageViewIn(nullptr), image(105, 105));
    EXPECT_TRUE(square.templated);
    EXPECT_EQ(hexOf(square.tint), "#101010");
    auto reset = decideImageAssignment(imageViewIn(nullptr), image(22, 22));
    EXPECT_TRUE(reset.setsTint);
    EXPECT_EQ(reset.tint, nullptr);
    EXPECT_FALSE(reset.templated);
}

TEST_F(ImageAssignmentTest, TransportButtonsFollowColorFlow) {
    id transport = view("Music.NowPlayingTransportButton");
    id iv = imageViewIn(transport);
    auto plain = decideImageAssignment(iv, image(30, 30));
    EXPECT_EQ(hexOf(plain.tint), "#FF4080");
    colorFlowMusicEnabled = true;
    msg<void>(iv, sel<"setTintColor:">(), msg<id>(objc_getClass("UIColor"), sel<"blackColor">()));
    EXPECT_EQ(hexOf(decideImageAssignment(iv, image(30, 30)).tint), "#FF4080");
    msg<void>(iv, sel<"setTintColor:">(), colour(0, 0, 0));  // an RGB black is not blackColor
    EXPECT_EQ(decideImageAssignment(iv, image(30, 30)).tint, nullptr);
}

TEST_F(ImageAssignmentTest, NilImagesAndTheProductOffPassThrough) {
    EXPECT_EQ(decideImageAssignment(imageViewIn(nullptr), nullptr).step, 1);
    enabled = false;
    id iv = imageViewIn(nullptr);
    msg<void>(iv, sel<"setTag:">(), tags::kArtworkImage);
    EXPECT_FALSE(decideImageAssignment(iv, image(22, 22)).templated);
}

TEST_F(ImageAssignmentTest, ReportedTintsOfStockColoursBecomeTheTheme) {
    id iv = imageViewIn(nullptr);
    EXPECT_EQ(hexOf(decideImageViewTint(iv, colour(1, 0x2D / 255.0, 0x55 / 255.0, 0.2)).outcome), "#FF4080");
    EXPECT_EQ(hexOf(decideImageViewTint(iv, colour(0xE5 / 255.0, 0xE5 / 255.0, 0xEA / 255.0)).outcome), "#FF4080");
    EXPECT_EQ(hexOf(decideImageViewTint(iv, colour(0, 1, 0)).outcome), "#00FF00");
    EXPECT_EQ(decideImageViewTint(iv, nullptr).outcome, nullptr);
}

}  // namespace
}  // namespace obscuro::testing
