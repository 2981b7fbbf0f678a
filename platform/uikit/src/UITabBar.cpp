// UITabBar and its items: tints, translucency, the selected item and one button per item.
#include "BarBackground.h"
#include "Collections.h"
#include "Registration.h"

#include <UIKit/UIControl.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITabBar.h>

#include <algorithm>

namespace {

Class gUIBarItem = nullptr;
Class gUITabBarItem = nullptr;
Class gUITabBar = nullptr;

constexpr double kBarHeight = 49;
constexpr double kGlyphSide = 25;
constexpr double kLabelHeight = 12;

Class classNamed(const char* name, Class fallback) {
    Class cls = objc_getClass(name);
    return cls ? cls : fallback;
}

UITabBar::ItemButton makeButton() {
    UITabBar::ItemButton views;
    views.button = platform::uikit::newView<UIView>(classNamed("UITabBarButton", UIControl::class_()));
    views.imageView = platform::uikit::newView<UIImageView>(classNamed("UITabBarSwappableImageView", UIImageView::class_()));
    views.label = platform::uikit::newView<UILabel>(classNamed("UITabBarButtonLabel", UILabel::class_()));
    msg<void>(views.label.get(), sel<"setFont:">(), static_cast<id>(UIFont::systemFont(10, UIFontWeightMedium)));
    msg<void>(views.label.get(), sel<"setTextAlignment:">(), NSTextAlignmentCenter);
    msg<void>(views.button.get(), sel<"addSubview:">(), static_cast<id>(views.imageView.get()));
    msg<void>(views.button.get(), sel<"addSubview:">(), static_cast<id>(views.label.get()));
    return views;
}

// One button per item, replacing the previous ones.
void rebuildButtons(UITabBar* self) {
    for (auto& views : self->buttons) msg<void>(views.button.get(), sel<"removeFromSuperview">());
    self->buttons.clear();
    for (std::size_t i = 0; i < self->items.size(); ++i) {
        self->buttons.push_back(makeButton());
        msg<void>(self, sel<"addSubview:">(), static_cast<id>(self->buttons.back().button.get()));
    }
    self->needsLayout = true;
}

void setItems(UITabBar* self, id array) {
    std::vector<objc::Strong<UITabBarItem>> items;
    unsigned long count = msg<unsigned long>(array, sel<"count">());
    for (unsigned long i = 0; i < count; ++i) {
        id item = msg<id>(array, sel<"objectAtIndex:">(), i);
        if (object_isKindOfClass(item, gUITabBarItem)) items.push_back(objc::retain(static_cast<UITabBarItem*>(item)));
    }
    self->items = std::move(items);
    self->selectedItem = nullptr;
    rebuildButtons(self);
}

// Shows one item in its button, in the colour of its selection state.
void showItem(UITabBar* self, UITabBarItem* item, const UITabBar::ItemButton& views, CGRect frame) {
    bool selected = item == self->selectedItem.get();
    id color = selected ? msg<id>(self, sel<"tintColor">()) : msg<id>(self, sel<"unselectedItemTintColor">());
    if (!color) color = UIColor::colorWithWhite(146 / 255.0, 1);
    msg<void>(views.button.get(), sel<"setFrame:">(), frame);
    id image = selected && item->selectedImage ? item->selectedImage.get() : item->image.get();
    msg<void>(views.imageView.get(), sel<"setImage:">(), msg<id>(image, sel<"imageWithRenderingMode:">(), UIImageRenderingModeAlwaysTemplate));
    msg<void>(views.imageView.get(), sel<"setTintColor:">(), color);
    msg<void>(views.imageView.get(), sel<"setFrame:">(), CGRect{{(frame.size.width - kGlyphSide) / 2, 4}, {kGlyphSide, kGlyphSide}});
    msg<void>(views.label.get(), sel<"setText:">(), item->title.get());
    msg<void>(views.label.get(), sel<"setTextColor:">(), color);
    msg<void>(views.label.get(), sel<"setFrame:">(), CGRect{{0, 4 + kGlyphSide + 2}, {frame.size.width, kLabelHeight}});
}

void layoutTabBar(UITabBar* self) {
    platform::uikit::layoutBarBackground(self, self->barBackground);
    if (self->items.empty()) return;
    double width = self->frame.size.width / static_cast<double>(self->items.size());
    for (std::size_t i = 0; i < self->items.size() && i < self->buttons.size(); ++i)
        showItem(self, self->items[i], self->buttons[i], CGRect{{width * static_cast<double>(i), 0}, {width, self->frame.size.height}});
}

id initItem(UITabBarItem* self, id title, UIImage* image, UIImage* selectedImage, long tag) {
    self->title = platform::uikit::copyOf(title);
    self->image = objc::retain(image);
    self->selectedImage = objc::retain(selectedImage);
    self->tag = tag;
    return self;
}

template <objc::Strong<UIColor> UITabBar::*Slot>
auto colorSetter() {
    return [](UITabBar* self, SEL, UIColor* color) {
        self->*Slot = objc::retain(color);
        self->needsLayout = true;
    };
}

template <objc::Strong<objc_object> UITabBar::*Slot>
auto objectSetter() {
    return [](UITabBar* self, SEL, id value) { self->*Slot = objc::retain(value); };
}

}  // namespace

Class UIBarItem::class_() { return gUIBarItem; }
Class UITabBarItem::class_() { return gUITabBarItem; }
Class UITabBar::class_() { return gUITabBar; }

namespace platform::uikit {

void registerUITabBar() {
    using objc::ClassBuilder;
    gUIBarItem = ClassBuilder<UIBarItem>("UIBarItem", NSObject::class_())
                     .method(sel<"title">(), [](UIBarItem* self, SEL) -> id { return self->title.get(); })
                     .method(sel<"setTitle:">(), [](UIBarItem* self, SEL, id title) { self->title = copyOf(title); })
                     .method(sel<"image">(), [](UIBarItem* self, SEL) -> id { return self->image.get(); })
                     .method(sel<"setImage:">(), [](UIBarItem* self, SEL, UIImage* image) { self->image = objc::retain(image); })
                     .method(sel<"tag">(), [](UIBarItem* self, SEL) { return self->tag; })
                     .method(sel<"setTag:">(), [](UIBarItem* self, SEL, long tag) { self->tag = tag; })
                     .method(sel<"isEnabled">(), [](UIBarItem* self, SEL) { return self->enabled; })
                     .method(sel<"setEnabled:">(), [](UIBarItem* self, SEL, BOOL enabled) { self->enabled = enabled; })
                     .registerClass();

    gUITabBarItem =
        ClassBuilder<UITabBarItem>("UITabBarItem", gUIBarItem)
            .method(sel<"initWithTitle:image:tag:">(),
                    [](UITabBarItem* self, SEL, id title, UIImage* image, long tag) { return initItem(self, title, image, nullptr, tag); })
            .method(sel<"initWithTitle:image:selectedImage:">(),
                    [](UITabBarItem* self, SEL, id title, UIImage* image, UIImage* selected) {
                        return initItem(self, title, image, selected, 0);
                    })
            .method(sel<"selectedImage">(), [](UITabBarItem* self, SEL) -> id { return self->selectedImage.get(); })
            .method(sel<"setSelectedImage:">(), [](UITabBarItem* self, SEL, UIImage* image) { self->selectedImage = objc::retain(image); })
            .method(sel<"badgeValue">(), [](UITabBarItem* self, SEL) -> id { return self->badgeValue.get(); })
            .method(sel<"setBadgeValue:">(), [](UITabBarItem* self, SEL, id value) { self->badgeValue = copyOf(value); })
            .registerClass();

    gUITabBar =
        ClassBuilder<UITabBar>("UITabBar", UIView::class_())
            .method(sel<"initWithFrame:">(),
                    [](UITabBar* self, SEL, CGRect frame) {
                        id bar = callSuper<id>(UIView::class_(), self, sel<"initWithFrame:">(), frame);
                        layoutBarBackground(self, self->barBackground);
                        return bar;
                    })
            .method(sel<"items">(),
                    [](UITabBar* self, SEL) -> id { return arrayWithObjects(std::vector<id>(self->items.begin(), self->items.end())); })
            .method(sel<"setItems:">(), [](UITabBar* self, SEL, id items) { setItems(self, items); })
            .method(sel<"setItems:animated:">(), [](UITabBar* self, SEL, id items, BOOL) { setItems(self, items); })
            .method(sel<"selectedItem">(), [](UITabBar* self, SEL) -> id { return self->selectedItem.get(); })
            .method(sel<"setSelectedItem:">(),
                    [](UITabBar* self, SEL, UITabBarItem* item) {
                        bool listed = std::any_of(self->items.begin(), self->items.end(), [&](auto& i) { return i.get() == item; });
                        self->selectedItem = objc::retain(listed ? item : nullptr);
                        self->needsLayout = true;
                    })
            .method(sel<"barTintColor">(), [](UITabBar* self, SEL) -> id { return self->barTintColor.get(); })
            .method(sel<"setBarTintColor:">(), colorSetter<&UITabBar::barTintColor>())
            .method(sel<"unselectedItemTintColor">(), [](UITabBar* self, SEL) -> id { return self->unselectedItemTintColor.get(); })
            .method(sel<"setUnselectedItemTintColor:">(), colorSetter<&UITabBar::unselectedItemTintColor>())
            .method(sel<"translucent">(), [](UITabBar* self, SEL) { return self->translucent; })
            .method(sel<"isTranslucent">(), [](UITabBar* self, SEL) { return msg<BOOL>(self, sel<"translucent">()); })
            .method(sel<"setTranslucent:">(),
                    [](UITabBar* self, SEL, BOOL translucent) {
                        self->translucent = translucent;
                        self->needsLayout = true;
                    })
            .method(sel<"barStyle">(), [](UITabBar* self, SEL) { return self->barStyle; })
            .method(sel<"setBarStyle:">(),
                    [](UITabBar* self, SEL, long style) {
                        self->barStyle = style;
                        self->needsLayout = true;
                    })
            .method(sel<"backgroundImage">(), [](UITabBar* self, SEL) -> id { return self->backgroundImage.get(); })
            .method(sel<"setBackgroundImage:">(), objectSetter<&UITabBar::backgroundImage>())
            .method(sel<"shadowImage">(), [](UITabBar* self, SEL) -> id { return self->shadowImage.get(); })
            .method(sel<"setShadowImage:">(), objectSetter<&UITabBar::shadowImage>())
            .method(sel<"selectionIndicatorImage">(), [](UITabBar* self, SEL) -> id { return self->selectionIndicatorImage.get(); })
            .method(sel<"setSelectionIndicatorImage:">(), objectSetter<&UITabBar::selectionIndicatorImage>())
            .method(sel<"sizeThatFits:">(), [](UITabBar*, SEL, CGSize size) { return CGSize{size.width, kBarHeight}; })
            .method(sel<"tintColorDidChange">(), [](UITabBar* self, SEL) { self->needsLayout = true; })
            .method(sel<"layoutSubviews">(), [](UITabBar* self, SEL) { layoutTabBar(self); })
            .registerClass();
}

}  // namespace platform::uikit
