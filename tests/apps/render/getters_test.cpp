// Drawing through UIKit's getters: a replaced getter changes the pixel; the status bar and plus-darker compositing.
#include <render/Compositing.h>
#include <render/Renderer.h>

#include <Foundation/Foundation.h>
#include <UIKit/UIKit.h>
#include <objc/Strong.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

id colour(double r, double g, double b, double a = 1) { return UIColor::colorWithRGBA(r, g, b, a); }

id make(const char* cls, CGRect frame, id parent = nil, id background = nil) {
    id v = objc::autorelease(msg<id>(msg<id>(objc_getClass(cls), sel<"alloc">()), sel<"initWithFrame:">(), frame));
    if (background) msg<void>(v, sel<"setBackgroundColor:">(), background);
    if (parent) msg<void>(parent, sel<"addSubview:">(), v);
    return v;
}

// A subclass of `base` whose getter `name` answers what the test says, counting its calls.
struct Recorded {
    static inline id answer = nil;
    static inline int calls = 0;
};

template <objc::FixedString Name>
Class recordingSubclass(const char* base, const char* name) {
    Class cls = objc_getClass(name);
    if (cls) return cls;
    cls = objc_allocateClassPair(objc_getClass(base), name, 0);
    objc::addMethod(cls, sel<Name>(), [](id, SEL) -> id {
        ++Recorded::calls;
        return Recorded::answer;
    });
    objc_registerClassPair(cls);
    return cls;
}

bool near(std::array<uint8_t, 4> pixel, int r, int g, int b, int tolerance = 4) {
    return std::abs(pixel[0] - r) <= tolerance && std::abs(pixel[1] - g) <= tolerance && std::abs(pixel[2] - b) <= tolerance;
}

// Whether any pixel of the picture is close to the colour: text is thin, so tests look for it.
bool shows(const render::Picture& picture, int r, int g, int b) {
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (near(picture.at(x, y), r, g, b, 12) && picture.at(x, y)[3] > 200) return true;
    return false;
}

render::Picture draw(id root) { return render::renderView(static_cast<UIView*>(root), 1); }

id templateSquare() {
    UIGraphicsBeginImageContextWithOptions({10, 10}, false, 1);
    UIRectFill({{0, 0}, {10, 10}});
    id image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return msg<id>(image, sel<"imageWithRenderingMode:">(), 2L);
}

class GettersTest : public ::testing::Test {
protected:
    void SetUp() override {
        Recorded::answer = colour(1, 0, 0);
        Recorded::calls = 0;
    }
    objc::AutoreleasePool pool_;
};

TEST_F(GettersTest, ImageTintLabelColourAndDefaultAttributesAreAskedWhenDrawing) {
    id root = make("UIView", {{0, 0}, {120, 60}}, nil, colour(1, 1, 1));
    id image = make(class_getName(recordingSubclass<"tintColor">("UIImageView", "RenderTestImageView")), {{0, 0}, {10, 10}}, root);
    msg<void>(image, sel<"setImage:">(), templateSquare());
    EXPECT_TRUE(near(draw(root).at(5, 5), 255, 0, 0));
    EXPECT_GE(Recorded::calls, 1);

    id label = make(class_getName(recordingSubclass<"textColor">("UILabel", "RenderTestLabel")), {{20, 0}, {100, 30}}, root);
    msg<void>(label, sel<"setText:">(), NSSTR("WWWW"));
    Recorded::answer = colour(0, 0, 1);
    EXPECT_TRUE(shows(draw(root), 0, 0, 255)) << "the label's text in what textColor answers";

    // A label with no colour of its own takes its class's default attributes.
    Class quiet = objc_allocateClassPair(objc_getClass("RenderTestLabel"), "RenderTestDefaultsLabel", 0);
    objc::addMethod(object_getClass(reinterpret_cast<id>(quiet)), sel<"_defaultAttributes">(),
                    [](Class, SEL) -> id { return objc::dict({{NSForegroundColorAttributeName, colour(0, 0.5, 0)}}); });
    objc_registerClassPair(quiet);
    id plain = make("RenderTestDefaultsLabel", {{20, 30}, {100, 30}}, root);
    msg<void>(plain, sel<"setText:">(), NSSTR("WWWW"));
    Recorded::answer = nil;
    EXPECT_TRUE(shows(draw(root), 0, 128, 0));
}

TEST_F(GettersTest, TextViewLinksTakeTheColourOfLinkTextAttributes) {
    id root = make("UIView", {{0, 0}, {200, 60}}, nil, colour(1, 1, 1));
    id textView = make(class_getName(recordingSubclass<"linkTextAttributes">("UITextView", "RenderTestTextView")), {{0, 0}, {200, 60}}, root);
    auto text = objc::adopt(msg<id>(msg<id>(NSMutableAttributedString::class_(), sel<"alloc">()), sel<"initWithString:">(), NSSTR("WWW WWW")));
    msg<void>(text.get(), sel<"addAttribute:value:range:">(), static_cast<id>(NSLinkAttributeName), NSSTR("https://example.org"), NSRange{4, 3});
    msg<void>(textView, sel<"setAttributedText:">(), text.get());
    Recorded::answer = objc::dict({{NSForegroundColorAttributeName, colour(1, 0, 1)}});
    render::Picture picture = draw(root);
    EXPECT_TRUE(shows(picture, 255, 0, 255)) << "the link run";
    EXPECT_TRUE(shows(picture, 0, 0, 0)) << "the rest in the text colour";
}

TEST_F(GettersTest, SeparatorsAreDrawnFromTheirOwnGetters) {
    id root = make("UIView", {{0, 0}, {40, 10}}, nil, colour(1, 1, 1));
    id line = make(class_getName(recordingSubclass<"backgroundColor">("_UITableViewCellSeparatorView", "RenderTestSeparator")),
                   {{0, 0}, {40, 10}}, root, colour(0, 0, 0));
    EXPECT_TRUE(near(draw(root).at(20, 5), 255, 0, 0)) << "the answered colour, not the layer's";
    msg<void>(line, sel<"setSeparatorEffect:">(), msg<id>(objc_getClass("UIBlurEffect"), sel<"effectWithStyle:">(), 0L));
    EXPECT_TRUE(near(draw(root).at(20, 5), 255, 128, 128, 6)) << "through the effect what is below shows";
    Class hidden = objc_allocateClassPair(objc_getClass("RenderTestSeparator"), "RenderTestHiddenSeparator", 0);
    objc::addMethod(hidden, sel<"hidden">(), [](id, SEL) -> bool { return true; });
    objc_registerClassPair(hidden);
    make("RenderTestHiddenSeparator", {{0, 0}, {40, 10}}, root, colour(0, 0, 0));
    EXPECT_TRUE(near(draw(root).at(20, 5), 255, 128, 128, 6)) << "a separator that answers hidden is not drawn";
}

TEST_F(GettersTest, BarsIndicatorsAndTabsColourWhatTheirGettersAnswerAtLayout) {
    id bar = make(class_getName(recordingSubclass<"barTintColor">("UINavigationBar", "RenderTestNavigationBar")), {{0, 0}, {100, 44}});
    platform::layoutTree(static_cast<UIView*>(bar));
    EXPECT_TRUE(near(draw(bar).at(2, 2), 255, 0, 0));

    id spinner = objc::autorelease(msg<id>(msg<id>(recordingSubclass<"color">("UIActivityIndicatorView", "RenderTestSpinner"), sel<"alloc">()),
                                           sel<"initWithActivityIndicatorStyle:">(), 0L));
    msg<void>(spinner, sel<"startAnimating">());
    id root = make("UIView", {{0, 0}, {37, 37}}, nil, colour(1, 1, 1));
    msg<void>(root, sel<"addSubview:">(), spinner);
    Recorded::answer = colour(0, 0, 1);
    EXPECT_TRUE(near(draw(root).at(18, 3), 0, 0, 255, 30)) << "the top spoke in the indicator's colour";

    id tabs = make(class_getName(recordingSubclass<"unselectedItemTintColor">("UITabBar", "RenderTestTabBar")), {{0, 0}, {100, 49}});
    auto item = objc::adopt(msg<id>(msg<id>(objc_getClass("UITabBarItem"), sel<"alloc">()), sel<"initWithTitle:image:tag:">(), NSSTR("A"),
                                    templateSquare(), 0L));
    msg<void>(tabs, sel<"setItems:">(), objc::array({item.get()}));
    Recorded::answer = colour(0, 1, 0);
    platform::layoutTree(static_cast<UIView*>(tabs));
    EXPECT_TRUE(shows(draw(tabs), 0, 255, 0)) << "the unselected item's glyph";
}

TEST_F(GettersTest, ViewsThatDrawThemselvesDrawStringsIntoTheContextTheyAreGiven) {
    Class drawing = objc_allocateClassPair(UIView::class_(), "RenderTestDrawingView", 0);
    objc::addMethod(drawing, sel<"drawRect:">(), [](id, SEL, CGRect rect) {
        id attributes = objc::dict({{NSFontAttributeName, UIFont::systemFont(20)}, {NSForegroundColorAttributeName, colour(0, 0, 1)}});
        msg<void>(NSSTR("WWW"), sel<"drawWithRect:options:attributes:context:">(), rect, 1L, attributes, static_cast<id>(nil));
    });
    objc_registerClassPair(drawing);
    id root = make("UIView", {{0, 0}, {80, 30}}, nil, colour(1, 1, 1));
    make("RenderTestDrawingView", {{0, 0}, {80, 30}}, root);
    EXPECT_TRUE(shows(draw(root), 0, 0, 255));
}

TEST_F(GettersTest, TheStatusBarTakesTheStyleOfTheTopController) {
    auto window = objc::adopt(msg<id>(msg<id>(UIWindow::class_(), sel<"alloc">()), sel<"initWithFrame:">(), CGRect{{0, 0}, {375, 812}}));
    Class screen = objc_allocateClassPair(UIViewController::class_(), "RenderTestStyledScreen", 0);
    objc::addMethod(screen, sel<"preferredStatusBarStyle">(), [](id, SEL) -> long { return Recorded::calls; });
    objc_registerClassPair(screen);
    auto controller = objc::adopt(msg<id>(msg<id>(screen, sel<"alloc">()), sel<"init">()));
    msg<void>(msg<id>(controller.get(), sel<"view">()), sel<"setBackgroundColor:">(), colour(0.5, 0.5, 0.5));
    msg<void>(window.get(), sel<"setRootViewController:">(), controller.get());
    msg<void>(window.get(), sel<"makeKeyAndVisible">());
    auto battery = [&](const render::Picture& p) { return p.at(375 - 29 + 12, 24); };  // inside the battery's fill
    Recorded::calls = UIStatusBarStyleDefault;
    EXPECT_TRUE(near(battery(draw(window.get())), 0, 0, 0, 20)) << "default: dark content";
    Recorded::calls = UIStatusBarStyleLightContent;
    EXPECT_TRUE(near(battery(draw(window.get())), 255, 255, 255, 20)) << "light content: white";
}

TEST_F(GettersTest, PlusDarkerAddsAndTakesOneAndLeavesUncoveredPixelsAlone) {
    EXPECT_EQ(render::plusDarker({255, 200, 100, 50}, {255, 100, 200, 250}), (render::PremultipliedPixel{255, 45, 45, 45}));
    EXPECT_EQ(render::plusDarker({255, 100, 100, 100}, {255, 100, 100, 100}), (render::PremultipliedPixel{255, 0, 0, 0})) << "clamped at 0";
    EXPECT_EQ(render::plusDarker({0, 0, 0, 0}, {255, 10, 20, 30}), (render::PremultipliedPixel{255, 10, 20, 30}));
    EXPECT_EQ(render::plusDarker({255, 10, 20, 30}, {0, 0, 0, 0}), (render::PremultipliedPixel{255, 10, 20, 30}));
    // Half a white source over an opaque grey of 0.6: the blend max(0, 1 + 0.6 − 1) = 0.6 weighs half.
    render::PremultipliedPixel half = render::plusDarker({128, 128, 128, 128}, {255, 153, 153, 153});
    EXPECT_NEAR(half[1], 153, 1);

    // A layer that reports "plusD" composes plus-darker; answered nil, it composes normally.
    id root = make("UIView", {{0, 0}, {20, 10}}, nil, colour(0.6, 0.6, 0.6));
    recordingSubclass<"compositingFilter">("CALayer", "RenderTestFilterLayer");
    Class viewClass = objc_allocateClassPair(UIView::class_(), "RenderTestFilteredView", 0);
    objc::addMethod(object_getClass(reinterpret_cast<id>(viewClass)), sel<"layerClass">(),
                    [](Class, SEL) { return objc_getClass("RenderTestFilterLayer"); });
    objc_registerClassPair(viewClass);
    make("RenderTestFilteredView", {{0, 0}, {10, 10}}, root, colour(0.7, 0.7, 0.7));
    Recorded::answer = msg<id>(objc_getClass("CAFilter"), sel<"filterWithType:">(), NSSTR("plusD"));
    render::Picture picture = draw(root);
    EXPECT_TRUE(near(picture.at(5, 5), 77, 77, 77, 2)) << "0.7 + 0.6 − 1 = 0.3";
    EXPECT_TRUE(near(picture.at(15, 5), 153, 153, 153, 2)) << "outside the view the background stays";
    Recorded::answer = nil;
    EXPECT_TRUE(near(draw(root).at(5, 5), 179, 179, 179, 2));
}

}  // namespace
