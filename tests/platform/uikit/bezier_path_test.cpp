// UIBezierPath: rounded rectangles, arcs turning the way the screen shows them, bounds and clipping.
#include "image_pixels.h"

#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

#include <numbers>

namespace {

class UIBezierPathTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;

    static id red() { return msg<id>(UIColor::class_(), sel<"redColor">()); }

    template <class Draw>
    static Pixels drawn(CGSize size, Draw draw) {
        UIGraphicsBeginImageContextWithOptions(size, false, 1);
        msg<void>(red(), sel<"setFill">());
        msg<void>(red(), sel<"setStroke">());
        draw();
        id image = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return pixelsOf(image);
    }
};

const Pixel kRed{255, 0, 0, 255};
const Pixel kClear{0, 0, 0, 0};

TEST_F(UIBezierPathTest, RoundedRectangleLeavesItsCornersEmpty) {
    Pixels pixels = drawn({40, 40}, [] {
        msg<void>(msg<id>(UIBezierPath::class_(), sel<"bezierPathWithRoundedRect:cornerRadius:">(), CGRect{{0, 0}, {40, 40}}, 10.0),
                  sel<"fill">());
    });
    EXPECT_EQ(pixels.at(20, 20), kRed);
    EXPECT_EQ(pixels.at(20, 0), kRed);
    EXPECT_EQ(pixels.at(0, 20), kRed);
    for (auto [x, y] : {std::pair{0, 0}, {39, 0}, {0, 39}, {39, 39}}) EXPECT_EQ(pixels.at(x, y), kClear) << x << "," << y;
}

TEST_F(UIBezierPathTest, ClockwiseArcsTurnClockwiseOnScreen) {
    using std::numbers::pi;
    // From three o'clock to six o'clock: clockwise is the short way, through the lower right.
    auto quarter = [](bool clockwise) {
        return drawn({40, 40}, [clockwise] {
            id path = msg<id>(UIBezierPath::class_(), sel<"bezierPath">());
            msg<void>(path, sel<"moveToPoint:">(), CGPoint{20, 20});
            msg<void>(path, sel<"addArcWithCenter:radius:startAngle:endAngle:clockwise:">(), CGPoint{20, 20}, 18.0, 0.0, pi / 2,
                      clockwise);
            msg<void>(path, sel<"closePath">());
            msg<void>(path, sel<"fill">());
        });
    };
    Pixels clockwise = quarter(true), anticlockwise = quarter(false);
    EXPECT_EQ(clockwise.at(28, 28), kRed);
    EXPECT_EQ(clockwise.at(12, 12), kClear);
    EXPECT_EQ(anticlockwise.at(28, 28), kClear);
    EXPECT_EQ(anticlockwise.at(12, 12), kRed);
}

TEST_F(UIBezierPathTest, BoundsCoverThePathAndEmptyPathsHaveNone) {
    id empty = msg<id>(UIBezierPath::class_(), sel<"bezierPath">());
    EXPECT_TRUE(msg<BOOL>(empty, sel<"isEmpty">()));
    EXPECT_TRUE(CGRectIsNull(msg<CGRect>(empty, sel<"bounds">())));
    CGRect oval = msg<CGRect>(msg<id>(UIBezierPath::class_(), sel<"bezierPathWithOvalInRect:">(), CGRect{{5, 6}, {10, 20}}), sel<"bounds">());
    EXPECT_EQ(oval, (CGRect{{5, 6}, {10, 20}}));
    id arc = msg<id>(UIBezierPath::class_(), sel<"bezierPathWithArcCenter:radius:startAngle:endAngle:clockwise:">(), CGPoint{0, 0}, 10.0,
                     0.0, std::numbers::pi, YES);
    CGRect arcBounds = msg<CGRect>(arc, sel<"bounds">());
    EXPECT_NEAR(arcBounds.origin.y, 0, 1e-9);  // the lower half, on screen
    EXPECT_NEAR(arcBounds.size.height, 10, 1e-9);
    EXPECT_NEAR(arcBounds.size.width, 20, 1e-9);
    EXPECT_EQ((msg<CGPoint>(arc, sel<"currentPoint">()).x), -10);
}

TEST_F(UIBezierPathTest, ClippingLimitsLaterDrawingAndStrokesUseTheLineWidth) {
    Pixels clipped = drawn({20, 20}, [] {
        msg<void>(msg<id>(UIBezierPath::class_(), sel<"bezierPathWithRect:">(), CGRect{{0, 0}, {10, 20}}), sel<"addClip">());
        UIRectFill({{0, 0}, {20, 20}});
    });
    EXPECT_EQ(clipped.at(5, 10), kRed);
    EXPECT_EQ(clipped.at(15, 10), kClear);

    Pixels stroked = drawn({20, 20}, [] {
        id path = msg<id>(UIBezierPath::class_(), sel<"bezierPathWithRect:">(), CGRect{{5, 5}, {10, 10}});
        msg<void>(path, sel<"setLineWidth:">(), 4.0);
        msg<void>(path, sel<"stroke">());
    });
    EXPECT_EQ(stroked.at(4, 10), kRed);
    EXPECT_EQ(stroked.at(10, 10), kClear);
}

TEST_F(UIBezierPathTest, PaintingWithoutAContextDoesNothing) {
    id path = msg<id>(UIBezierPath::class_(), sel<"bezierPathWithRect:">(), CGRect{{0, 0}, {1, 1}});
    msg<void>(path, sel<"fill">());
    msg<void>(path, sel<"stroke">());
    msg<void>(path, sel<"addClip">());
    msg<void>(path, sel<"appendPath:">(), path);
    EXPECT_EQ(static_cast<UIBezierPath*>(path)->elements.size(), 10u);
}

}  // namespace
