// UINavigationBar and UINavigationItem: bar tint, translucency, the item stack and the title.
#include "BarBackground.h"
#include "Collections.h"
#include "Registration.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>
#include <UIKit/UINavigationBar.h>

#include <algorithm>

namespace {

Class gUINavigationItem = nullptr;
Class gUINavigationBar = nullptr;

constexpr double kBarHeight = 44;

UINavigationItem* topItem(UINavigationBar* bar) { return bar->items.empty() ? nullptr : bar->items.back().get(); }

void layoutTitle(UINavigationBar* self) {
    UILabel* label = self->titleLabel.get();
    if (!label) return;
    UINavigationItem* top = topItem(self);
    if (top && top->titleView) {
        msg<void>(label, sel<"setHidden:">(), YES);
        UIView* titleView = top->titleView.get();
        if (titleView->superview != self) msg<void>(self, sel<"addSubview:">(), static_cast<id>(titleView));
        CGSize size = titleView->frame.size;
        msg<void>(titleView, sel<"setFrame:">(), CGRect{{(self->frame.size.width - size.width) / 2, (self->frame.size.height - size.height) / 2}, size});
        return;
    }
    msg<void>(label, sel<"setHidden:">(), NO);
    msg<void>(label, sel<"setText:">(), msg<id>(topItem(self), sel<"title">()));
    id color = msg<id>(self->titleTextAttributes.get(), sel<"objectForKey:">(), static_cast<id>(NSForegroundColorAttributeName));
    msg<void>(label, sel<"setTextColor:">(), color ? color : static_cast<id>(UIColor::colorWithWhite(0, 1)));
    CGSize bounds = self->frame.size;
    CGSize size = msg<CGSize>(label, sel<"sizeThatFits:">(), bounds);
    size.width = std::min(size.width, bounds.width);
    msg<void>(label, sel<"setFrame:">(), CGRect{{(bounds.width - size.width) / 2, (bounds.height - size.height) / 2}, size});
}

std::vector<objc::Strong<objc_object>> objectsOf(id array) {
    std::vector<objc::Strong<objc_object>> objects;
    unsigned long count = msg<unsigned long>(array, sel<"count">());
    for (unsigned long i = 0; i < count; ++i)
        if (id object = msg<id>(array, sel<"objectAtIndex:">(), i)) objects.push_back(objc::retain(object));
    return objects;
}

constexpr double kEdgeMargin = 8;
constexpr double kItemSpacing = 8;

// A bar button showing an item: its custom view, or a system _UIModernBarButton with the item's
// title or its image as a template, which both take the button's tint.
objc::Strong<UIView> buttonFor(id item, id title) {
    if (id custom = msg<id>(item, sel<"customView">())) return objc::retain(static_cast<UIView*>(custom));
    Class cls = objc_getClass("_UIModernBarButton");
    auto button = objc::retain(static_cast<UIView*>(msg<id>(cls ? cls : objc_getClass("UIButton"), sel<"buttonWithType:">(), 1L)));
    if (id image = msg<id>(item, sel<"image">()))
        msg<void>(button.get(), sel<"setImage:forState:">(), msg<id>(image, sel<"imageWithRenderingMode:">(), 2L), 0UL);
    else
        msg<void>(button.get(), sel<"setTitle:forState:">(), title ? title : msg<id>(item, sel<"title">()), 0UL);
    id label = msg<id>(button.get(), sel<"titleLabel">());
    long style = msg<long>(item, sel<"style">());
    msg<void>(label, sel<"setFont:">(), static_cast<id>(UIFont::systemFont(17, style == 2 ? UIFontWeightSemibold : UIFontWeightRegular)));
    if (id tint = msg<id>(item, sel<"tintColor">())) msg<void>(button.get(), sel<"setTintColor:">(), tint);
    msg<void>(button.get(), sel<"sizeToFit">());
    return button;
}

void layoutItemButtons(UINavigationBar* self) {
    for (auto& button : self->itemButtons) msg<void>(button.get(), sel<"removeFromSuperview">());
    self->itemButtons.clear();
    UINavigationItem* top = topItem(self);
    if (!top) return;
    CGSize bounds = self->frame.size;
    auto place = [&](objc::Strong<UIView> button, double& edge, bool leading) {
        CGSize size = button->frame.size;
        double x = leading ? edge : edge - size.width;
        msg<void>(button.get(), sel<"setFrame:">(), CGRect{{x, (bounds.height - size.height) / 2}, size});
        edge = leading ? edge + size.width + kItemSpacing : edge - size.width - kItemSpacing;
        msg<void>(self, sel<"addSubview:">(), static_cast<id>(button.get()));
        self->itemButtons.push_back(std::move(button));
    };
    double leading = kEdgeMargin, trailing = bounds.width - kEdgeMargin;
    if (top->leftItems.empty() && self->items.size() > 1) {
        id previous = self->items[self->items.size() - 2]->title.get();
        id back = objc::autorelease(static_cast<id>(NSString::createFromUTF8("\u2039 " + (previous ? objc::utf8(previous) : std::string("Back"))).release()));
        Class itemClass = objc_getClass("UIBarButtonItem");
        auto item = objc::adopt(msg<id>(msg<id>(itemClass, sel<"alloc">()), sel<"initWithTitle:style:target:action:">(), back, 0L,
                                        static_cast<id>(nil), static_cast<SEL>(nullptr)));
        place(buttonFor(item.get(), nil), leading, true);
    }
    for (auto& item : top->leftItems) place(buttonFor(item.get(), nil), leading, true);
    for (auto& item : top->rightItems) place(buttonFor(item.get(), nil), trailing, false);
}

void setItems(UINavigationBar* self, id array) {
    std::vector<objc::Strong<UINavigationItem>> items;
    unsigned long count = msg<unsigned long>(array, sel<"count">());
    for (unsigned long i = 0; i < count; ++i) {
        id item = msg<id>(array, sel<"objectAtIndex:">(), i);
        if (object_isKindOfClass(item, gUINavigationItem)) items.push_back(objc::retain(static_cast<UINavigationItem*>(item)));
    }
    self->items = std::move(items);
    self->needsLayout = true;
}

}  // namespace

Class UINavigationItem::class_() { return gUINavigationItem; }
Class UINavigationBar::class_() { return gUINavigationBar; }

namespace platform::uikit {

void registerUINavigationBar() {
    using objc::ClassBuilder;
    gUINavigationItem = ClassBuilder<UINavigationItem>("UINavigationItem", NSObject::class_())
                            .method(sel<"initWithTitle:">(),
                                    [](UINavigationItem* self, SEL, id title) -> id {
                                        self->title = copyOf(title);
                                        return self;
                                    })
                            .method(sel<"title">(), [](UINavigationItem* self, SEL) -> id { return self->title.get(); })
                            .method(sel<"setTitle:">(), [](UINavigationItem* self, SEL, id title) { self->title = copyOf(title); })
                            .method(sel<"leftBarButtonItem">(),
                                    [](UINavigationItem* self, SEL) -> id { return self->leftItems.empty() ? nil : self->leftItems.front().get(); })
                            .method(sel<"setLeftBarButtonItem:">(),
                                    [](UINavigationItem* self, SEL, id item) {
                                        self->leftItems.clear();
                                        if (item) self->leftItems.push_back(objc::retain(item));
                                    })
                            .method(sel<"leftBarButtonItems">(),
                                    [](UINavigationItem* self, SEL) { return arrayWithObjects(std::vector<id>(self->leftItems.begin(), self->leftItems.end())); })
                            .method(sel<"setLeftBarButtonItems:">(), [](UINavigationItem* self, SEL, id items) { self->leftItems = objectsOf(items); })
                            .method(sel<"rightBarButtonItem">(),
                                    [](UINavigationItem* self, SEL) -> id { return self->rightItems.empty() ? nil : self->rightItems.front().get(); })
                            .method(sel<"setRightBarButtonItem:">(),
                                    [](UINavigationItem* self, SEL, id item) {
                                        self->rightItems.clear();
                                        if (item) self->rightItems.push_back(objc::retain(item));
                                    })
                            .method(sel<"rightBarButtonItems">(),
                                    [](UINavigationItem* self, SEL) { return arrayWithObjects(std::vector<id>(self->rightItems.begin(), self->rightItems.end())); })
                            .method(sel<"setRightBarButtonItems:">(), [](UINavigationItem* self, SEL, id items) { self->rightItems = objectsOf(items); })
                            .method(sel<"titleView">(), [](UINavigationItem* self, SEL) -> id { return self->titleView.get(); })
                            .method(sel<"setTitleView:">(),
                                    [](UINavigationItem* self, SEL, UIView* view) { self->titleView = objc::retain(view); })
                            .registerClass();

    gUINavigationBar =
        ClassBuilder<UINavigationBar>("UINavigationBar", UIView::class_())
            .method(sel<"initWithFrame:">(),
                    [](UINavigationBar* self, SEL, CGRect frame) {
                        id bar = callSuper<id>(UIView::class_(), self, sel<"initWithFrame:">(), frame);
                        layoutBarBackground(self, self->barBackground);
                        self->titleLabel = newView<UILabel>(UILabel::class_());
                        msg<void>(self->titleLabel.get(), sel<"setFont:">(), static_cast<id>(UIFont::systemFont(17, UIFontWeightSemibold)));
                        msg<void>(bar, sel<"addSubview:">(), static_cast<id>(self->titleLabel.get()));
                        return bar;
                    })
            .method(sel<"barTintColor">(), [](UINavigationBar* self, SEL) -> id { return self->barTintColor.get(); })
            .method(sel<"setBarTintColor:">(),
                    [](UINavigationBar* self, SEL, UIColor* color) {
                        self->barTintColor = objc::retain(color);
                        self->needsLayout = true;
                    })
            .method(sel<"translucent">(), [](UINavigationBar* self, SEL) { return self->translucent; })
            .method(sel<"isTranslucent">(), [](UINavigationBar* self, SEL) { return msg<BOOL>(self, sel<"translucent">()); })
            .method(sel<"setTranslucent:">(),
                    [](UINavigationBar* self, SEL, BOOL translucent) {
                        self->translucent = translucent;
                        self->needsLayout = true;
                    })
            .method(sel<"barStyle">(), [](UINavigationBar* self, SEL) { return self->barStyle; })
            .method(sel<"setBarStyle:">(),
                    [](UINavigationBar* self, SEL, long style) {
                        self->barStyle = style;
                        self->needsLayout = true;
                    })
            .method(sel<"prefersLargeTitles">(), [](UINavigationBar* self, SEL) { return self->prefersLargeTitles; })
            .method(sel<"setPrefersLargeTitles:">(), [](UINavigationBar* self, SEL, BOOL prefers) { self->prefersLargeTitles = prefers; })
            .method(sel<"titleTextAttributes">(), [](UINavigationBar* self, SEL) -> id { return self->titleTextAttributes.get(); })
            .method(sel<"setTitleTextAttributes:">(),
                    [](UINavigationBar* self, SEL, id attributes) {
                        self->titleTextAttributes = copyOf(attributes);
                        self->needsLayout = true;
                    })
            .method(sel<"largeTitleTextAttributes">(), [](UINavigationBar* self, SEL) -> id { return self->largeTitleTextAttributes.get(); })
            .method(sel<"setLargeTitleTextAttributes:">(),
                    [](UINavigationBar* self, SEL, id attributes) { self->largeTitleTextAttributes = copyOf(attributes); })
            .method(sel<"shadowImage">(), [](UINavigationBar* self, SEL) -> id { return self->shadowImage.get(); })
            .method(sel<"setShadowImage:">(), [](UINavigationBar* self, SEL, id image) { self->shadowImage = objc::retain(image); })
            .method(sel<"backIndicatorImage">(), [](UINavigationBar* self, SEL) -> id { return self->backIndicatorImage.get(); })
            .method(sel<"setBackIndicatorImage:">(),
                    [](UINavigationBar* self, SEL, id image) { self->backIndicatorImage = objc::retain(image); })
            .method(sel<"setBackgroundImage:forBarMetrics:">(),
                    [](UINavigationBar* self, SEL, id image, long metrics) {
                        if (image) self->backgroundImages[metrics] = objc::retain(image);
                        else self->backgroundImages.erase(metrics);
                    })
            .method(sel<"backgroundImageForBarMetrics:">(),
                    [](UINavigationBar* self, SEL, long metrics) -> id {
                        auto it = self->backgroundImages.find(metrics);
                        return it == self->backgroundImages.end() ? nil : it->second.get();
                    })
            .method(sel<"items">(),
                    [](UINavigationBar* self, SEL) -> id { return arrayWithObjects(std::vector<id>(self->items.begin(), self->items.end())); })
            .method(sel<"setItems:animated:">(), [](UINavigationBar* self, SEL, id items, BOOL) { setItems(self, items); })
            .method(sel<"pushNavigationItem:animated:">(),
                    [](UINavigationBar* self, SEL, UINavigationItem* item, BOOL) {
                        if (!item) return;
                        self->items.push_back(objc::retain(item));
                        self->needsLayout = true;
                    })
            .method(sel<"popNavigationItemAnimated:">(),
                    [](UINavigationBar* self, SEL, BOOL) -> id {
                        if (self->items.empty()) return nil;
                        UINavigationItem* popped = self->items.back().release();
                        self->items.pop_back();
                        self->needsLayout = true;
                        return objc::autorelease(popped);
                    })
            .method(sel<"topItem">(), [](UINavigationBar* self, SEL) -> id { return topItem(self); })
            .method(sel<"backItem">(),
                    [](UINavigationBar* self, SEL) -> id { return self->items.size() < 2 ? nil : self->items[self->items.size() - 2].get(); })
            .method(sel<"sizeThatFits:">(), [](UINavigationBar*, SEL, CGSize size) { return CGSize{size.width, kBarHeight}; })
            .method(sel<"layoutSubviews">(),
                    [](UINavigationBar* self, SEL) {
                        layoutBarBackground(self, self->barBackground);
                        layoutTitle(self);
                        layoutItemButtons(self);
                    })
            .method(sel<"tintColorDidChange">(), [](UINavigationBar* self, SEL) { self->needsLayout = true; })
            .registerClass();
}

}  // namespace platform::uikit
