// UINavigationBar and UINavigationItem: bar tint, translucency, the item stack and the title.
#include "bar_background.h"
#include "collections.h"
#include "registration.h"

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
    msg<void>(label, sel<"setText:">(), msg<id>(topItem(self), sel<"title">()));
    id color = msg<id>(self->titleTextAttributes.get(), sel<"objectForKey:">(), static_cast<id>(NSForegroundColorAttributeName));
    msg<void>(label, sel<"setTextColor:">(), color ? color : static_cast<id>(UIColor::colorWithWhite(0, 1)));
    CGSize bounds = self->frame.size;
    CGSize size = msg<CGSize>(label, sel<"sizeThatFits:">(), bounds);
    size.width = std::min(size.width, bounds.width);
    msg<void>(label, sel<"setFrame:">(), CGRect{{(bounds.width - size.width) / 2, (bounds.height - size.height) / 2}, size});
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
                    })
            .registerClass();
}

}  // namespace platform::uikit
