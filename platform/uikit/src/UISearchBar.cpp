// UISearchBar: the search field, the bar background and the appearance values the bar keeps.
#include "BarBackground.h"
#include "Registration.h"

#include <UIKit/UIControl.h>
#include <UIKit/UISearchBar.h>
#include <UIKit/UITextField.h>

#include <algorithm>

namespace {

Class gUISearchBar = nullptr;

constexpr double kBarHeight = 56;
constexpr double kFieldInset = 8;
constexpr double kFieldHeight = 36;

objc::Strong<UITextField> newSearchField() {
    Class cls = objc_getClass("UISearchBarTextField");
    return platform::uikit::newView<UITextField>(cls ? cls : UITextField::class_());
}

}  // namespace

Class UISearchBar::class_() { return gUISearchBar; }

namespace platform::uikit {

void registerUISearchBar() {
    using objc::ClassBuilder;
    gUISearchBar =
        ClassBuilder<UISearchBar>("UISearchBar", UIView::class_())
            // The field exists before the stock initialiser replays appearance values onto the bar,
            // so that a recorded field background reaches it.
            .method(sel<"initWithFrame:">(),
                    [](UISearchBar* self, SEL, CGRect frame) {
                        self->searchField = newSearchField();
                        id bar = callSuper<id>(UIView::class_(), self, sel<"initWithFrame:">(), frame);
                        layoutBarBackground(self, self->barBackground);
                        msg<void>(bar, sel<"addSubview:">(), static_cast<id>(self->searchField.get()));
                        return bar;
                    })
            .method(sel<"searchField">(), [](UISearchBar* self, SEL) -> id { return self->searchField.get(); })
            .method(sel<"text">(), [](UISearchBar* self, SEL) { return msg<id>(self->searchField.get(), sel<"text">()); })
            .method(sel<"setText:">(), [](UISearchBar* self, SEL, id text) { msg<void>(self->searchField.get(), sel<"setText:">(), text); })
            .method(sel<"placeholder">(), [](UISearchBar* self, SEL) { return msg<id>(self->searchField.get(), sel<"placeholder">()); })
            .method(sel<"setPlaceholder:">(),
                    [](UISearchBar* self, SEL, id text) { msg<void>(self->searchField.get(), sel<"setPlaceholder:">(), text); })
            .method(sel<"barTintColor">(), [](UISearchBar* self, SEL) -> id { return self->barTintColor.get(); })
            .method(sel<"setBarTintColor:">(),
                    [](UISearchBar* self, SEL, UIColor* color) {
                        self->barTintColor = objc::retain(color);
                        self->needsLayout = true;
                    })
            .method(sel<"translucent">(), [](UISearchBar* self, SEL) { return self->translucent; })
            .method(sel<"isTranslucent">(), [](UISearchBar* self, SEL) { return msg<BOOL>(self, sel<"translucent">()); })
            .method(sel<"setTranslucent:">(),
                    [](UISearchBar* self, SEL, BOOL translucent) {
                        self->translucent = translucent;
                        self->needsLayout = true;
                    })
            .method(sel<"barStyle">(), [](UISearchBar* self, SEL) { return self->barStyle; })
            .method(sel<"setBarStyle:">(),
                    [](UISearchBar* self, SEL, long style) {
                        self->barStyle = style;
                        self->needsLayout = true;
                    })
            .method(sel<"searchBarStyle">(), [](UISearchBar* self, SEL) { return self->searchBarStyle; })
            .method(sel<"setSearchBarStyle:">(), [](UISearchBar* self, SEL, long style) { self->searchBarStyle = style; })
            .method(sel<"setSearchFieldBackgroundImage:forState:">(),
                    [](UISearchBar* self, SEL, id image, unsigned long state) {
                        if (image) self->searchFieldBackgroundImages[state] = objc::retain(image);
                        else self->searchFieldBackgroundImages.erase(state);
                        if (state == UIControlStateNormal) msg<void>(self->searchField.get(), sel<"setBackground:">(), image);
                    })
            .method(sel<"searchFieldBackgroundImageForState:">(),
                    [](UISearchBar* self, SEL, unsigned long state) -> id {
                        auto it = self->searchFieldBackgroundImages.find(state);
                        return it == self->searchFieldBackgroundImages.end() ? nil : it->second.get();
                    })
            .method(sel<"searchTextPositionAdjustment">(), [](UISearchBar* self, SEL) { return self->searchTextPositionAdjustment; })
            .method(sel<"setSearchTextPositionAdjustment:">(),
                    [](UISearchBar* self, SEL, UIOffset offset) { self->searchTextPositionAdjustment = offset; })
            .method(sel<"searchFieldBackgroundPositionAdjustment">(),
                    [](UISearchBar* self, SEL) { return self->searchFieldBackgroundPositionAdjustment; })
            .method(sel<"setSearchFieldBackgroundPositionAdjustment:">(),
                    [](UISearchBar* self, SEL, UIOffset offset) {
                        self->searchFieldBackgroundPositionAdjustment = offset;
                        self->needsLayout = true;
                    })
            .method(sel<"keyboardAppearance">(),
                    [](UISearchBar* self, SEL) { return msg<long>(self->searchField.get(), sel<"keyboardAppearance">()); })
            .method(sel<"setKeyboardAppearance:">(),
                    [](UISearchBar* self, SEL, long appearance) {
                        msg<void>(self->searchField.get(), sel<"setKeyboardAppearance:">(), appearance);
                    })
            .method(sel<"becomeFirstResponder">(),
                    [](UISearchBar* self, SEL) { return msg<BOOL>(self->searchField.get(), sel<"becomeFirstResponder">()); })
            .method(sel<"resignFirstResponder">(),
                    [](UISearchBar* self, SEL) { return msg<BOOL>(self->searchField.get(), sel<"resignFirstResponder">()); })
            .method(sel<"isFirstResponder">(), [](UISearchBar* self, SEL) { return msg<BOOL>(self->searchField.get(), sel<"isFirstResponder">()); })
            .method(sel<"showsCancelButton">(), [](UISearchBar* self, SEL) { return self->showsCancelButton; })
            .method(sel<"setShowsCancelButton:">(), [](UISearchBar* self, SEL, BOOL shows) { self->showsCancelButton = shows; })
            .method(sel<"delegate">(), [](UISearchBar* self, SEL) -> id { return self->delegate.get(); })
            .method(sel<"setDelegate:">(), [](UISearchBar* self, SEL, id delegate) { self->delegate = objc::retain(delegate); })
            .method(sel<"sizeThatFits:">(), [](UISearchBar*, SEL, CGSize size) { return CGSize{size.width, kBarHeight}; })
            .method(sel<"layoutSubviews">(),
                    [](UISearchBar* self, SEL) {
                        layoutBarBackground(self, self->barBackground);
                        CGSize size = self->frame.size;
                        UIOffset shift = self->searchFieldBackgroundPositionAdjustment;
                        CGRect field{{kFieldInset + shift.horizontal, (size.height - kFieldHeight) / 2 + shift.vertical},
                                     {std::max(0.0, size.width - 2 * kFieldInset), kFieldHeight}};
                        msg<void>(self->searchField.get(), sel<"setFrame:">(), field);
                    })
            .registerClass();
}

}  // namespace platform::uikit
