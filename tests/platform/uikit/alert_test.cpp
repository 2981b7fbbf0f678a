// Alerts and action sheets: the private views UIKit builds them from, where they sit, and what re-reads its colour.
#include "new_view.h"

#include <UIKit/UIAlertController.h>
#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

id str(const char* text) { return objc::autorelease(static_cast<id>(NSString::createFromUTF8(text).release())); }

std::string className(id object) { return object ? class_getName(object_getClass(object)) : "nil"; }

// Every view below `root` whose class is named `name`, depth first.
std::vector<UIView*> find(UIView* root, const std::string& name) {
    std::vector<UIView*> found;
    std::function<void(UIView*)> walk = [&](UIView* view) {
        if (className(view) == name) found.push_back(view);
        for (auto& sub : view->subviews) walk(sub.get());
    };
    walk(root);
    return found;
}

objc::Strong<objc_object> alert(long style, const char* title, const char* message) {
    return objc::retain(msg<id>(objc_getClass("UIAlertController"), sel<"alertControllerWithTitle:message:preferredStyle:">(),
                                title ? str(title) : nil, message ? str(message) : nil, style));
}

void add(id controller, const char* title, long style, id image = nil) {
    id action = msg<id>(objc_getClass("UIAlertAction"), sel<"actionWithTitle:style:handler:">(), str(title), style, static_cast<id>(nil));
    if (image) msg<void>(action, sel<"setImage:">(), image);
    msg<void>(controller, sel<"addAction:">(), action);
}

class AlertTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;
};

TEST_F(AlertTest, AnActionSheetIsBuiltFromUIKitsActionViewsWithItsCancelActionApart) {
    auto sheet = alert(UIAlertControllerStyleActionSheet, "Song", "Remove it from your library?");
    UIGraphicsBeginImageContextWithOptions({4, 4}, false, 1);
    UIRectFill({{0, 0}, {4, 4}});
    id glyph = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    add(sheet.get(), "Add to a Playlist", UIAlertActionStyleDefault, glyph);
    add(sheet.get(), "Delete", UIAlertActionStyleDestructive);
    add(sheet.get(), "Cancel", UIAlertActionStyleCancel);
    auto* view = static_cast<UIView*>(msg<id>(sheet.get(), sel<"view">()));
    platform::layoutTree(view);

    EXPECT_EQ(className(view->subviews.front()), "UIDimmingView");
    auto groups = find(view, "_UISizeTrackingView");
    ASSERT_EQ(groups.size(), 2u) << "the cancel action sits in a group of its own";
    EXPECT_EQ(className(groups[0]->subviews.front()), "_UIDimmingKnockoutBackdropView");
    EXPECT_LT(groups[0]->frame.origin.y, groups[1]->frame.origin.y);
    EXPECT_DOUBLE_EQ(groups[1]->frame.origin.y + groups[1]->frame.size.height,
                     UIScreen::mainScreenBounds().size.height - platform::homeIndicatorHeight() - 8);

    auto headers = find(view, "_UIInterfaceActionGroupHeaderScrollView");
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(headers[0]->subviews.size(), 2u) << "title and message";
    EXPECT_EQ(find(view, "_UIAlertControllerActionView").size(), 3u);
    auto representations = find(view, "_UIInterfaceActionSystemRepresentationView");
    ASSERT_EQ(representations.size(), 3u);
    EXPECT_EQ(className(representations[0]->superview), "_UIAlertControllerActionView");
    auto glyphs = find(view, "_UIInterfaceActionImagePropertyView");
    ASSERT_EQ(glyphs.size(), 1u);
    EXPECT_EQ(glyphs[0]->superview, representations[0]);
    EXPECT_TRUE(object_isKindOfClass(glyphs[0], UIImageView::class_()));

    auto separators = find(view, "_UIInterfaceActionItemSeparatorView_iOS");
    ASSERT_FALSE(separators.empty());
    for (UIView* line : separators) EXPECT_TRUE(object_isKindOfClass(line->superview, UIStackView::class_())) << "the stack colours its direct separators";
}

TEST_F(AlertTest, AnAlertIsCentredWithTwoActionsSideBySideAndKeepsThePresenterOnScreen) {
    auto controller = alert(UIAlertControllerStyleAlert, "Sign In", nullptr);
    add(controller.get(), "Cancel", UIAlertActionStyleCancel);
    add(controller.get(), "OK", UIAlertActionStyleDefault);
    EXPECT_EQ(msg<long>(controller.get(), sel<"modalPresentationStyle">()), UIModalPresentationCustom);
    auto* view = static_cast<UIView*>(msg<id>(controller.get(), sel<"view">()));
    platform::layoutTree(view);
    auto groups = find(view, "_UISizeTrackingView");
    ASSERT_EQ(groups.size(), 1u);
    CGRect box = groups[0]->frame;
    EXPECT_DOUBLE_EQ(box.size.width, 270);
    EXPECT_DOUBLE_EQ(box.origin.x + box.size.width / 2, UIScreen::mainScreenBounds().size.width / 2);
    auto actions = find(view, "_UIAlertControllerActionView");
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_DOUBLE_EQ(actions[0]->frame.origin.y, actions[1]->frame.origin.y);
    EXPECT_LT(actions[0]->frame.origin.x, actions[1]->frame.origin.x);
}

TEST_F(AlertTest, ViewsThatReReadTheirBackgroundGiveTheirLayerWhatTheGetterAnswers) {
    static UIColor* answered = nullptr;
    answered = UIColor::colorWithRGBA(0.1, 0.2, 0.3, 1);
    Class representation = objc_allocateClassPair(objc_getClass("_UIInterfaceActionSystemRepresentationView"), "UIKitTestRepresentation", 0);
    objc::addMethod(representation, sel<"backgroundColor">(), [](id, SEL) -> id { return answered; });
    objc_registerClassPair(representation);
    Class scroll = objc_allocateClassPair(UIScrollView::class_(), "UIKitTestScrollStack", 0);
    objc::addMethod(scroll, sel<"backgroundColor">(), [](id, SEL) -> id { return answered; });
    objc_registerClassPair(scroll);
    for (Class cls : {representation, scroll}) {
        auto view = newView(cls, {{0, 0}, {10, 10}});
        msg<void>(view.get(), sel<"setBackgroundColor:">(), static_cast<id>(UIColor::colorWithWhite(1, 1)));
        platform::layoutTree(view.get());
        EXPECT_EQ(view->layer->backgroundColor, answered->cgColor) << class_getName(cls);
    }
}

}  // namespace
