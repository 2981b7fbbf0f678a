// Renderer tests: what a view tree looks like as pixels, and that the same tree gives the same PNG bytes.
#include <render/Renderer.h>

#include <UIKit/UIGraphics.h>
#include <UIKit/UIView.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <objc/runtime.h>
#include <Foundation/NSString.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace {

id classNamed(const char* name) { return reinterpret_cast<id>(objc_getClass(name)); }

id colour(double r, double g, double b, double a = 1) {
    return msg<id>(classNamed("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), r, g, b, a);
}

id view(const char* cls, CGRect frame, id parent, id background) {
    id v = objc::autorelease(msg<id>(msg<id>(classNamed(cls), sel<"alloc">()), sel<"initWithFrame:">(), frame));
    if (background) msg<void>(v, sel<"setBackgroundColor:">(), background);
    if (parent) msg<void>(parent, sel<"addSubview:">(), v);
    return v;
}

render::Picture draw(id root, double scale = 1) { return render::renderView(static_cast<UIView*>(root), scale); }

bool near(std::array<uint8_t, 4> pixel, int r, int g, int b, int tolerance = 3) {
    return std::abs(pixel[0] - r) <= tolerance && std::abs(pixel[1] - g) <= tolerance && std::abs(pixel[2] - b) <= tolerance;
}

class RendererTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;
};

TEST_F(RendererTest, BackgroundsAlphaHiddenViewsAndClippingComposeLikeTheScreen) {
    id root = view("UIView", {{0, 0}, {40, 20}}, nullptr, colour(1, 1, 1));
    view("UIView", {{0, 0}, {10, 10}}, root, colour(1, 0, 0));
    id hidden = view("UIView", {{10, 0}, {10, 10}}, root, colour(0, 0, 1));
    msg<void>(hidden, sel<"setHidden:">(), true);
    view("UIView", {{0, 0}, {2, 2}}, hidden, colour(0, 1, 0));  // below a hidden view: never drawn
    id faint = view("UIView", {{20, 0}, {10, 10}}, root, colour(0, 0, 0));
    msg<void>(faint, sel<"setAlpha:">(), 0.5);
    id clip = view("UIView", {{30, 0}, {5, 5}}, root, nullptr);
    msg<void>(clip, sel<"setClipsToBounds:">(), true);
    view("UIView", {{0, 0}, {10, 10}}, clip, colour(0, 1, 0));

    render::Picture picture = draw(root, 2);
    ASSERT_EQ(picture.width, 80);
    ASSERT_EQ(picture.height, 40);
    EXPECT_TRUE(near(picture.at(5, 5), 255, 0, 0));
    EXPECT_TRUE(near(picture.at(25, 5), 255, 255, 255)) << "a hidden view and its subviews are skipped";
    EXPECT_TRUE(near(picture.at(21, 1), 255, 255, 255));
    EXPECT_TRUE(near(picture.at(45, 5), 128, 128, 128, 2)) << "half alpha over white";
    EXPECT_TRUE(near(picture.at(62, 2), 0, 255, 0));
    EXPECT_TRUE(near(picture.at(62, 14), 255, 255, 255)) << "clipsToBounds keeps the subview inside";
}

TEST_F(RendererTest, LayerBorderIsDrawnOverTheContentAtTheEdge) {
    id root = view("UIView", {{0, 0}, {20, 20}}, nullptr, colour(1, 1, 1));
    id boxed = view("UIView", {{0, 0}, {20, 20}}, root, colour(1, 1, 1));
    id layer = msg<id>(boxed, sel<"layer">());
    msg<void>(layer, sel<"setBorderWidth:">(), 2.0);
    msg<void>(layer, sel<"setBorderColor:">(), msg<CGColorRef>(colour(0, 0, 1), sel<"CGColor">()));
    render::Picture picture = draw(root);
    EXPECT_TRUE(near(picture.at(10, 0), 0, 0, 255));
    EXPECT_TRUE(near(picture.at(10, 10), 255, 255, 255));
}

TEST_F(RendererTest, ABorderStaysInsideTheClipsOfTheViewsAbove) {
    id root = view("UIView", {{0, 0}, {30, 10}}, nullptr, colour(1, 1, 1));
    id clip = view("UIView", {{0, 0}, {10, 10}}, root, nullptr);
    msg<void>(clip, sel<"setClipsToBounds:">(), true);
    id boxed = view("UIView", {{5, 0}, {20, 10}}, clip, nullptr);
    id layer = msg<id>(boxed, sel<"layer">());
    msg<void>(layer, sel<"setBorderWidth:">(), 2.0);
    msg<void>(layer, sel<"setBorderColor:">(), msg<CGColorRef>(colour(0, 0, 1), sel<"CGColor">()));
    render::Picture picture = draw(root);
    EXPECT_TRUE(near(picture.at(7, 0), 0, 0, 255)) << "inside the clip the border shows";
    EXPECT_TRUE(near(picture.at(15, 0), 255, 255, 255)) << "outside the clipping superview it does not";
}

TEST_F(RendererTest, LabelTextIsDrawnInItsTextColour) {
    id root = view("UIView", {{0, 0}, {120, 40}}, nullptr, colour(1, 1, 1));
    id label = view("UILabel", {{0, 0}, {120, 40}}, root, nullptr);
    msg<void>(label, sel<"setText:">(), static_cast<id>(objc::str("HHHH")));
    msg<void>(label, sel<"setFont:">(), msg<id>(classNamed("UIFont"), sel<"boldSystemFontOfSize:">(), 30.0));
    msg<void>(label, sel<"setTextColor:">(), colour(1, 0, 0));
    render::Picture picture = draw(root);
    int red = 0, other = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            auto p = picture.at(x, y);
            if (near(p, 255, 0, 0, 10)) ++red;
            else if (!(p[0] > 200 && p[1] == p[2])) ++other;  // white, or red blended over white
        }
    EXPECT_GT(red, 50);
    EXPECT_EQ(other, 0) << "no colour but the text colour is drawn";
}

TEST_F(RendererTest, TemplateImageTakesTheInheritedTintAndOriginalKeepsItsColours) {
    UIGraphicsBeginImageContextWithOptions({10, 10}, false, 1);
    msg<void>(colour(0, 0, 0), sel<"setFill">());
    UIRectFill({{0, 0}, {10, 10}});
    id black = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    id templateImage = msg<id>(black, sel<"imageWithRenderingMode:">(), 2L);

    id root = view("UIView", {{0, 0}, {20, 10}}, nullptr, colour(1, 1, 1));
    msg<void>(root, sel<"setTintColor:">(), colour(0, 1, 0));
    id tinted = view("UIImageView", {{0, 0}, {10, 10}}, root, nullptr);
    msg<void>(tinted, sel<"setImage:">(), templateImage);
    id original = view("UIImageView", {{10, 0}, {10, 10}}, root, nullptr);
    msg<void>(original, sel<"setImage:">(), black);
    render::Picture picture = draw(root);
    EXPECT_TRUE(near(picture.at(5, 5), 0, 255, 0));
    EXPECT_TRUE(near(picture.at(15, 5), 0, 0, 0));
}

TEST_F(RendererTest, SameTreeGivesSamePngBytesAndTheFileReadsBack) {
    id root = view("UIView", {{0, 0}, {60, 30}}, nullptr, colour(0.2, 0.3, 0.4));
    id label = view("UILabel", {{0, 0}, {60, 30}}, root, nullptr);
    msg<void>(label, sel<"setText:">(), static_cast<id>(objc::str("Play ▶ é")));
    render::Picture first = draw(root, 3), second = draw(root, 3);
    ASSERT_FALSE(first.png().empty());
    EXPECT_EQ(first.png(), second.png());

    auto path = std::filesystem::temp_directory_path() / ("render_test_" + std::to_string(::getpid()) + ".png");
    render::writePNG(first, path);
    render::Picture back = render::readPNG(path);
    std::filesystem::remove(path);
    EXPECT_EQ(back.width, first.width);
    EXPECT_EQ(back.rgba, first.rgba);
    EXPECT_THROW(render::readPNG(path), std::runtime_error);
}

TEST_F(RendererTest, AnEncodedDrawingIsThePicturesFileWithItsThumbnail) {
    // Translucent and clear pixels too: the file is encoded straight from the premultiplied surface.
    id root = view("UIView", {{0, 0}, {30, 20}}, nullptr, nullptr);
    view("UIView", {{0, 0}, {30, 10}}, root, colour(0.9, 0.2, 0.4));
    view("UIView", {{5, 10}, {20, 6}}, root, colour(0.1, 0.6, 0.8, 0.35));
    render::Picture picture = draw(root, 3);
    render::EncodedDrawing drawing = render::drawPixels(static_cast<UIView*>(root), 3).encode(1);
    EXPECT_EQ(drawing.png, picture.png());
    EXPECT_EQ(drawing.thumbnail.rgba, picture.rgba) << "a shrink of 1 gives the picture itself";
    render::EncodedDrawing shrunk = render::drawPixels(static_cast<UIView*>(root), 3).encode(3);
    EXPECT_EQ(shrunk.png, picture.png());
    EXPECT_EQ(shrunk.thumbnail.width, 30);
    EXPECT_TRUE(near(shrunk.thumbnail.at(15, 4), 230, 51, 102)) << "the opaque band, shrunk";
    EXPECT_TRUE(render::drawPixels(nullptr, 3).encode(3).png.empty());
}

TEST_F(RendererTest, EachPictureStartsClearAfterAnotherOfTheSameSize) {
    id opaque = view("UIView", {{0, 0}, {10, 10}}, nullptr, colour(1, 0, 0));
    ASSERT_TRUE(near(draw(opaque, 2).at(15, 15), 255, 0, 0));

    id bare = view("UIView", {{0, 0}, {10, 10}}, nullptr, nullptr);
    view("UIView", {{0, 0}, {5, 10}}, bare, colour(0, 0, 1, 0.5));
    render::Picture picture = draw(bare, 2);
    EXPECT_EQ(picture.at(15, 15), (std::array<uint8_t, 4>{0, 0, 0, 0})) << "nothing of the previous picture shows through";
    std::array<uint8_t, 4> translucent = picture.at(2, 2);
    EXPECT_TRUE(near(translucent, 0, 0, 255, 1)) << "straight colour, not premultiplied";
    EXPECT_NEAR(translucent[3], 128, 1);
}

TEST_F(RendererTest, NilRootOrBadScaleGivesAnEmptyPicture) {
    EXPECT_EQ(render::renderView(nullptr, 3).width, 0);
    id root = view("UIView", {{0, 0}, {10, 10}}, nullptr, nullptr);
    EXPECT_EQ(draw(root, 0).width, 0);
    EXPECT_EQ(draw(root, -1).rgba.size(), 0u);
    EXPECT_TRUE(render::Picture{}.png().empty());
}

}  // namespace
