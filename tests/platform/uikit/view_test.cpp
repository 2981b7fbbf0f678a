// UIView: subview order, tags and visibility, tint inheritance and its reset, and the layout pass.
#include "new_view.h"

#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Views of this class write what they are told into a shared log.
std::vector<std::string>* gLog = nullptr;

Class loggingViewClass() {
    static Class cls = [] {
        Class c = objc_allocateClassPair(UIView::class_(), "UIKitTestLoggingView", 0);
        objc::addMethod(c, sel<"tintColorDidChange">(), [](id self, SEL) {
            if (gLog) gLog->push_back("tint " + std::to_string(msg<long>(self, sel<"tag">())));
        });
        objc::addMethod(c, sel<"layoutSubviews">(), [](id self, SEL) {
            if (gLog) gLog->push_back("layout " + std::to_string(msg<long>(self, sel<"tag">())));
        });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

class UIViewTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;
    std::vector<std::string> log_;

    void SetUp() override { gLog = &log_; }
    void TearDown() override { gLog = nullptr; }

    static objc::Strong<UIView> view(long tag = 0, Class cls = UIView::class_()) {
        auto v = newView<UIView>(cls);
        msg<void>(v.get(), sel<"setTag:">(), tag);
        return v;
    }
    static void add(UIView* parent, UIView* child) { msg<void>(parent, sel<"addSubview:">(), static_cast<id>(child)); }
    static id tint(UIView* v) { return msg<id>(v, sel<"tintColor">()); }
    static id red() { return msg<id>(UIColor::class_(), sel<"redColor">()); }
    static id blue() { return msg<id>(UIColor::class_(), sel<"blueColor">()); }
};

TEST_F(UIViewTest, SubviewsKeepOrderAndMoveBetweenParents) {
    auto a = view(), b = view(), c = view(), other = view();
    add(a, b);
    add(a, c);
    id subviews = msg<id>(a.get(), sel<"subviews">());
    ASSERT_EQ(msg<unsigned long>(subviews, sel<"count">()), 2u);
    EXPECT_EQ(msg<id>(subviews, sel<"objectAtIndex:">(), 0UL), b.get());
    add(a, b);  // re-adding brings to the front
    EXPECT_EQ(msg<id>(msg<id>(a.get(), sel<"subviews">()), sel<"lastObject">()), b.get());
    add(other, b);
    EXPECT_EQ(msg<id>(b.get(), sel<"superview">()), other.get());
    EXPECT_EQ(msg<unsigned long>(msg<id>(a.get(), sel<"subviews">()), sel<"count">()), 1u);
    add(b, other);  // an ancestor cannot become a subview
    EXPECT_EQ(msg<id>(other.get(), sel<"superview">()), nil);
    add(a, a);
    EXPECT_EQ(msg<id>(a.get(), sel<"superview">()), nil);
}

TEST_F(UIViewTest, ASubviewOutlivesItsRemovalOnlyWhenSomeoneHoldsIt) {
    auto parent = view();
    auto made = view();
    UIView* child = made.get();
    add(parent, child);
    made = nullptr;  // the parent's reference is the only one left
    EXPECT_EQ(objc_retainCount(child), 1);
    auto keep = objc::retain(child);
    msg<void>(child, sel<"removeFromSuperview">());
    EXPECT_EQ(msg<id>(child, sel<"superview">()), nil);
    EXPECT_EQ(objc_retainCount(child), 1);
}

TEST_F(UIViewTest, HiddenHasTwoGettersAndReachesTheLayer) {
    auto v = view();
    msg<void>(v.get(), sel<"setHidden:">(), YES);
    EXPECT_TRUE(msg<BOOL>(v.get(), sel<"hidden">()));
    EXPECT_TRUE(msg<BOOL>(v.get(), sel<"isHidden">()));
    EXPECT_TRUE(msg<BOOL>(msg<id>(v.get(), sel<"layer">()), sel<"isHidden">()));
    auto child = view(7);
    add(v, child);
    EXPECT_EQ(msg<id>(v.get(), sel<"viewWithTag:">(), 7L), child.get());
    EXPECT_EQ(msg<id>(v.get(), sel<"viewWithTag:">(), 8L), nil);
}

TEST_F(UIViewTest, TintIsInheritedUntilAViewHasItsOwn) {
    auto root = view(), middle = view(), leaf = view();
    add(root, middle);
    add(middle, leaf);
    id system = tint(root);
    double r, g, b, a;
    ASSERT_TRUE(msg<BOOL>(system, sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a));
    EXPECT_DOUBLE_EQ(g, 122.0 / 255.0);

    msg<void>(root.get(), sel<"setTintColor:">(), red());
    EXPECT_EQ(tint(leaf), red());
    msg<void>(middle.get(), sel<"setTintColor:">(), blue());
    EXPECT_EQ(tint(leaf), blue());
    EXPECT_EQ(tint(root), red());

    msg<void>(middle.get(), sel<"setTintColor:">(), static_cast<id>(nil));  // back to inheriting
    EXPECT_EQ(tint(middle), red());
    EXPECT_EQ(tint(leaf), red());

    msg<void>(leaf.get(), sel<"removeFromSuperview">());
    EXPECT_TRUE(msg<BOOL>(tint(leaf), sel<"isEqual:">(), system));
}

TEST_F(UIViewTest, TintChangesReachOnlyTheViewsThatInherit) {
    auto root = view(1, loggingViewClass()), own = view(2, loggingViewClass()), inheriting = view(3, loggingViewClass()),
         below = view(4, loggingViewClass());
    add(root, own);
    add(root, inheriting);
    add(own, below);
    msg<void>(own.get(), sel<"setTintColor:">(), blue());
    log_.clear();
    msg<void>(root.get(), sel<"setTintColor:">(), red());
    EXPECT_EQ(log_, (std::vector<std::string>{"tint 1", "tint 3"}));
    log_.clear();
    msg<void>(own.get(), sel<"setTintColor:">(), static_cast<id>(nil));
    EXPECT_EQ(log_, (std::vector<std::string>{"tint 2", "tint 4"}));
}

TEST_F(UIViewTest, LayoutPassRunsParentsFirstAndReachesViewsAddedOnTheWay) {
    auto root = view(1, loggingViewClass()), a = view(2, loggingViewClass()), b = view(3, loggingViewClass());
    add(root, a);
    add(a, b);
    log_.clear();
    platform::layoutTree(root);
    EXPECT_EQ(log_, (std::vector<std::string>{"layout 1", "layout 2", "layout 3"}));
    log_.clear();
    msg<void>(root.get(), sel<"layoutIfNeeded">());
    EXPECT_TRUE(log_.empty());  // nothing needs layout any more
    msg<void>(b.get(), sel<"setNeedsLayout">());
    msg<void>(root.get(), sel<"layoutIfNeeded">());
    EXPECT_EQ(log_, (std::vector<std::string>{"layout 3"}));
    platform::layoutTree(nullptr);
}

TEST_F(UIViewTest, BackgroundColourReachesTheLayer) {
    auto v = view();
    msg<void>(v.get(), sel<"setBackgroundColor:">(), red());
    EXPECT_EQ(msg<id>(v.get(), sel<"backgroundColor">()), red());
    EXPECT_TRUE(CGColorEqualToColor(msg<CGColorRef>(msg<id>(v.get(), sel<"layer">()), sel<"backgroundColor">()),
                                    msg<CGColorRef>(red(), sel<"CGColor">())));
    msg<void>(v.get(), sel<"setBackgroundColor:">(), static_cast<id>(nil));
    EXPECT_EQ(msg<CGColorRef>(msg<id>(v.get(), sel<"layer">()), sel<"backgroundColor">()), nullptr);
}

}  // namespace
