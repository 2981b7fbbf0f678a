// Private classes: the table is registered, kinds match the phone, replaced selectors exist with their types.
#include "image_pixels.h"
#include "new_view.h"

#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <string_view>

namespace {

class PrivateClassesTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;
};

template <class R, class... A>
std::string_view signature() {
    return objc::Signature<R, A...>::value.view();
}

TEST_F(PrivateClassesTest, EveryTableEntryIsRegisteredUnderItsSuperclassAfterIt) {
    std::set<std::string> listed, seen;
    for (const platform::PrivateClass& entry : platform::privateClasses()) EXPECT_TRUE(listed.insert(entry.name).second) << entry.name;
    for (const platform::PrivateClass& entry : platform::privateClasses()) {
        Class cls = objc_getClass(entry.name);
        ASSERT_NE(cls, nullptr) << entry.name;
        EXPECT_STREQ(class_getName(class_getSuperclass(cls)), entry.superclass) << entry.name;
        // A private superclass must come earlier in the table, or registration would miss it.
        if (listed.count(entry.superclass)) {
            EXPECT_TRUE(seen.count(entry.superclass)) << entry.name << " is listed before its superclass";
        }
        seen.insert(entry.name);
        EXPECT_NE(std::string_view(entry.role), "") << entry.name;
    }
}

TEST_F(PrivateClassesTest, ClassesTheProductTestsByKindHaveThePhonesAncestry) {
    struct Kind {
        const char* name;
        const char* ancestor;
    } kinds[] = {
        {"UITabBarButtonLabel", "UILabel"},
        {"_UIModernBarButton", "UIButton"},
        {"_UIResizableImage", "UIImage"},
        {"UIKeyboardDockItemButton", "UIButton"},
        {"MPRouteButton", "UIButton"},
        {"_UIVisualEffectSubview", "UIView"},
        {"_UIVisualEffectContentView", "_UIVisualEffectSubview"},
        {"UIVisualEffectView", "UIView"},
        {"UITableViewCollectionCell", "UICollectionViewCell"},
        {"UITableViewCellContentView", "UIView"},
        {"_UITableViewCellSeparatorView", "UIView"},
        {"_UIAlertControllerActionView", "UIView"},
        {"UILayoutContainerView", "UIView"},
        {"MPUNowPlayingIndicatorView", "UIView"},
        {"_UIDimmingKnockoutBackdropView", "UIView"},
        {"_UIInterfaceActionItemSeparatorView_iOS", "UIView"},
        {"_UIInterfaceActionGroupHeaderScrollView", "UIScrollView"},
        {"UISearchBarTextField", "UITextField"},
        {"UITextInputTraits", "NSObject"},
        {"UIKBRenderConfig", "NSObject"},
    };
    for (const Kind& k : kinds) {
        Class cls = objc_getClass(k.name);
        ASSERT_NE(cls, nullptr) << k.name;
        bool found = false;
        for (Class c = cls; c && !found; c = class_getSuperclass(c)) found = std::string_view(class_getName(c)) == k.ancestor;
        EXPECT_TRUE(found) << k.name << " should descend from " << k.ancestor;
    }
    EXPECT_FALSE(object_isKindOfClass(reinterpret_cast<id>(objc_getClass("UITextInputTraits")), UIView::class_()));
    // Other tweaks' classes are the host's to add.
    EXPECT_EQ(objc_lookUpClass("SparkBatteryView"), nullptr);
    EXPECT_EQ(objc_lookUpClass("BarmojiCollectionView"), nullptr);
}

TEST_F(PrivateClassesTest, ReplacedSelectorsAnswerWithTheTypesTheProductSends) {
    struct Replaced {
        const char* className;
        const char* selector;
        std::string_view types;
        bool classSide = false;
    } replaced[] = {
        {"UIViewController", "preferredStatusBarStyle", signature<long>()},
        {"_UIModernBarButton", "tintColor", signature<id>()},
        {"UINavigationBar", "barTintColor", signature<id>()},
        {"UINavigationBar", "translucent", signature<bool>()},
        {"UITextView", "setTextColor:", signature<void, id>()},
        {"UITextView", "setAttributedText:", signature<void, id>()},
        {"UITextView", "textColor", signature<id>()},
        {"UITextView", "linkTextAttributes", signature<id>()},
        {"UITextField", "setTextColor:", signature<void, id>()},
        {"UITextField", "setAttributedText:", signature<void, id>()},
        {"UITextField", "textColor", signature<id>()},
        {"UILabel", "textColor", signature<id>()},
        {"UILabel", "setTextColor:", signature<void, id>()},
        {"UILabel", "tintColor", signature<id>()},
        {"UILabel", "_defaultAttributes", signature<id>(), true},
        {"UILabel", "setAttributedText:", signature<void, id>()},
        {"UIRefreshControl", "setTintColor:", signature<void, id>()},
        {"UIActivityIndicatorView", "initWithActivityIndicatorStyle:", signature<id, long>()},
        {"UIActivityIndicatorView", "setColor:", signature<void, id>()},
        {"UIActivityIndicatorView", "setTintColor:", signature<void, id>()},
        {"_UIBarBackground", "layoutSubviews", signature<void>()},
        {"UIButton", "setImage:forState:", signature<void, id, unsigned long>()},
        {"UITableView", "separatorColor", signature<id>()},
        {"UITableView", "setSeparatorStyle:", signature<void, long>()},
        {"_UITableViewCellSeparatorView", "setSeparatorEffect:", signature<void, id>()},
        {"_UITableViewCellSeparatorView", "separatorEffect", signature<id>()},
        {"_UITableViewCellSeparatorView", "backgroundColor", signature<id>()},
        {"_UITableViewCellSeparatorView", "hidden", signature<bool>()},
        {"_UIInterfaceActionCustomViewRepresentationView", "layoutSubviews", signature<void>()},
        {"_UIInterfaceActionSystemRepresentationView", "layoutSubviews", signature<void>()},
        {"_UIInterfaceActionSystemRepresentationView", "backgroundColor", signature<id>()},
        {"NSString", "drawWithRect:options:attributes:context:", signature<void, CGRect, long, id, id>()},
        {"CALayer", "compositingFilter", signature<id>()},
        {"UIViewController", "willMoveToParentViewController:", signature<void, id>()},
        {"UIViewController", "viewWillAppear:", signature<void, bool>()},
        {"_UIInterfaceActionImagePropertyView", "tintColor", signature<id>()},
        {"UITableViewCellSelectedBackground", "setSelectionTintColor:", signature<void, id>()},
        {"UIView", "addSubview:", signature<void, id>()},
        {"UITabBar", "unselectedItemTintColor", signature<id>()},
        {"UIImageView", "tintColor", signature<id>()},
        {"UIImageView", "setImage:", signature<void, id>()},
        {"UIImage", "imageNamed:inBundle:compatibleWithTraitCollection:", signature<id, id, id, id>(), true},
        {"UIStackView", "layoutSubviews", signature<void>()},
        {"_UISizeTrackingView", "layoutSubviews", signature<void>()},
        {"UIView", "setBackgroundColor:", signature<void, id>()},
        {"UIKBRenderConfig", "lightKeyboard", signature<bool>()},
        {"DevicePINKeypad", "initWithFrame:", signature<id, CGRect>()},
        {"UIKeyboardDockView", "layoutSubviews", signature<void>()},
        {"UITextInputTraits", "keyboardAppearance", signature<long>()},
        {"_UIInterfaceActionGroupHeaderScrollView", "layoutSubviews", signature<void>()},
        {"_MPDownloadProgressRingView", "setProgress:", signature<void, double>()},
        {"UISearchBar", "layoutSubviews", signature<void>()},
        {"UIViewControllerWrapperView", "layoutSubviews", signature<void>()},
        // Sent by the replacements to the objects they meet.
        {"UIImage", "imageWithRenderingMode:", signature<id, long>()},
        {"UIControl", "state", signature<unsigned long>()},
        {"CAShapeLayer", "setStrokeColor:", signature<void, CGColorRef>()},
        {"CAShapeLayer", "fillColor", signature<CGColorRef>()},
        {"CALayer", "setBorderColor:", signature<void, CGColorRef>()},
        {"UITextField", "setKeyboardAppearance:", signature<void, long>()},
        {"UISearchBar", "setSearchTextPositionAdjustment:", signature<void, UIOffset>()},
        {"UISearchBar", "setSearchFieldBackgroundImage:forState:", signature<void, id, unsigned long>()},
    };
    for (const Replaced& r : replaced) {
        Class cls = objc_getClass(r.className);
        ASSERT_NE(cls, nullptr) << r.className;
        SEL sel = sel_registerName(r.selector);
        Method m = r.classSide ? class_getClassMethod(cls, sel) : class_getInstanceMethod(cls, sel);
        ASSERT_NE(m, nullptr) << r.className << " " << r.selector;
        EXPECT_EQ(std::string_view(method_getTypeEncoding(m)), r.types) << r.className << " " << r.selector;
    }
}

TEST_F(PrivateClassesTest, EveryPrivateClassCanBeMadeLaidOutAndReleased) {
    for (const platform::PrivateClass& entry : platform::privateClasses()) {
        Class cls = objc_getClass(entry.name);
        objc::AutoreleasePool pool;
        if (object_isKindOfClass(reinterpret_cast<id>(cls), object_getClass(reinterpret_cast<id>(UIView::class_())))) {
            auto view = newView(cls, {{0, 0}, {100, 40}});
            ASSERT_NE(view.get(), nullptr) << entry.name;
            platform::layoutTree(view);
        } else if (object_isKindOfClass(reinterpret_cast<id>(cls), object_getClass(reinterpret_cast<id>(UIViewController::class_())))) {
            auto controller = objc::adopt(msg<id>(msg<id>(cls, sel<"alloc">()), sel<"init">()));
            EXPECT_NE(msg<id>(controller.get(), sel<"view">()), nil) << entry.name;
        } else {
            objc::adopt(class_createInstance(cls));
        }
    }
}

TEST_F(PrivateClassesTest, TextInputTraitsAndRenderConfigsKeepTheirValues) {
    auto field = newView(UITextField::class_());
    id traits = msg<id>(field.get(), sel<"textInputTraits">());
    EXPECT_STREQ(class_getName(object_getClass(traits)), "UITextInputTraits");
    msg<void>(field.get(), sel<"setKeyboardAppearance:">(), UIKeyboardAppearanceDark);
    EXPECT_EQ(msg<long>(traits, sel<"keyboardAppearance">()), UIKeyboardAppearanceDark);
    EXPECT_EQ(msg<long>(traits, sel<"keyboardType">()), 0);
    msg<void>(traits, sel<"setSecureTextEntry:">(), YES);
    EXPECT_TRUE(msg<BOOL>(traits, sel<"isSecureTextEntry">()));

    Class config = objc_getClass("UIKBRenderConfig");
    EXPECT_TRUE(msg<BOOL>(msg<id>(config, sel<"defaultConfig">()), sel<"lightKeyboard">()));
    EXPECT_FALSE(msg<BOOL>(msg<id>(config, sel<"darkConfig">()), sel<"lightKeyboard">()));
    EXPECT_FALSE(msg<BOOL>(msg<id>(config, sel<"configForAppearance:">(), UIKeyboardAppearanceDark), sel<"lightKeyboard">()));
    auto made = objc::adopt(msg<id>(msg<id>(config, sel<"alloc">()), sel<"init">()));
    EXPECT_TRUE(msg<BOOL>(made.get(), sel<"lightKeyboard">()));
}

TEST_F(PrivateClassesTest, TableCellsBuildTheirSeparatorsAndSelectedBackgroundsFromPrivateClasses) {
    auto table = newView(UITableView::class_(), {{0, 0}, {320, 200}});
    auto cell = newView(UITableViewCell::class_(), {{0, 0}, {320, 44}});
    msg<void>(table.get(), sel<"addSubview:">(), static_cast<id>(cell.get()));
    EXPECT_STREQ(class_getName(object_getClass(msg<id>(cell.get(), sel<"contentView">()))), "UITableViewCellContentView");
    platform::layoutTree(table);
    UIView* separator = static_cast<UITableViewCell*>(cell.get())->separatorView.get();
    ASSERT_NE(separator, nullptr);
    EXPECT_STREQ(class_getName(object_getClass(separator)), "_UITableViewCellSeparatorView");
    EXPECT_FALSE(msg<BOOL>(separator, sel<"isHidden">()));
    EXPECT_EQ(msg<id>(separator, sel<"separatorEffect">()), nil);
    id effect = msg<id>(UIBlurEffect::class_(), sel<"effectWithStyle:">(), UIBlurEffectStyleDark);
    msg<void>(separator, sel<"setSeparatorEffect:">(), effect);
    EXPECT_EQ(msg<id>(separator, sel<"separatorEffect">()), effect);

    msg<void>(table.get(), sel<"setSeparatorStyle:">(), UITableViewCellSeparatorStyleNone);
    platform::layoutTree(table);
    EXPECT_TRUE(msg<BOOL>(separator, sel<"isHidden">()));

    msg<void>(cell.get(), sel<"setSelected:">(), YES);
    UIView* selection = static_cast<UITableViewCell*>(cell.get())->shownSelectionView.get();
    ASSERT_NE(selection, nullptr);
    EXPECT_STREQ(class_getName(object_getClass(selection)), "UITableViewCellSelectedBackground");
    UIGraphicsBeginImageContextWithOptions({4, 4}, false, 1);
    msg<void>(selection, sel<"drawRect:">(), CGRect{{0, 0}, {4, 4}});
    id drawn = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(pixelAt(drawn, 0, 0), (Pixel{217, 217, 217, 255}));
}

TEST_F(PrivateClassesTest, DownloadRingsStrokeTheirProgress) {
    auto ring = newView(objc_getClass("_MPDownloadProgressRingView"), {{0, 0}, {20, 20}});
    id layer = msg<id>(ring.get(), sel<"layer">());
    ASSERT_TRUE(object_isKindOfClass(layer, CAShapeLayer::class_()));
    EXPECT_EQ(msg<CGColorRef>(layer, sel<"fillColor">()), nullptr);
    msg<void>(ring.get(), sel<"setProgress:">(), 0.25);
    EXPECT_DOUBLE_EQ(msg<double>(layer, sel<"strokeEnd">()), 0.25);
    msg<void>(ring.get(), sel<"setProgress:">(), 7.0);
    EXPECT_DOUBLE_EQ(msg<double>(ring.get(), sel<"progress">()), 1.0);
    msg<void>(ring.get(), sel<"setProgress:">(), std::nan(""));
    EXPECT_DOUBLE_EQ(msg<double>(ring.get(), sel<"progress">()), 0.0);
}

}  // namespace
