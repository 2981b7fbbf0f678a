// The eleven appearance settings of load time, in order; reloads never repeat them.
#include "AppearanceDefaults.h"

#include "ThemeState.h"
#include "UIColor+Tarnwick.h"
#include "UIImage+Color.h"

#include <UIKit/UIKit.h>

namespace obscuro {

namespace {
id appearanceOf(const char* className) { return msg<id>(objc_getClass(className), sel<"appearance">()); }
}  // namespace

void configureAppearanceDefaults() {
    id textField = appearanceOf("UITextField");
    id textView = appearanceOf("UITextView");
    id navigationBar = appearanceOf("UINavigationBar");
    id tabBar = appearanceOf("UITabBar");
    id searchBar = appearanceOf("UISearchBar");

    if (enableDarkKeyboard) msg<void>(textField, sel<"setKeyboardAppearance:">(), 1L);
    msg<void>(textView, sel<"setTextColor:">(), mainTextColor);
    msg<void>(textView, sel<"setTintColor:">(), tintColor);
    msg<void>(textField, sel<"setTextColor:">(), mainTextColor);
    msg<void>(navigationBar, sel<"setTintColor:">(), mainTextColor);
    msg<void>(tabBar, sel<"setTintColor:">(), useCustomColors ? tintColor : lighterColor(lighterColor(tintColor)));
    msg<void>(tabBar, sel<"setBarTintColor:">(), barColor);
    msg<void>(searchBar, sel<"setTintColor:">(), offsetColor(mainTextColor));
    msg<void>(searchBar, sel<"setBarTintColor:">(), barColor);
    id fieldBackground = roundedImageWithRadius(imageWithColorAndBounds(darkerBgColor, CGRectMake(0, 0, 32, 32)), 2.0);
    msg<void>(searchBar, sel<"setSearchFieldBackgroundImage:forState:">(), fieldBackground, 0UL);
    msg<void>(searchBar, sel<"setSearchTextPositionAdjustment:">(), UIOffset{8.0, 0.0});
}

}  // namespace obscuro
