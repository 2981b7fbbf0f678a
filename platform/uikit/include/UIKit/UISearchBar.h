// UISearchBar: a bar holding a search field, with bar tint, field background images and text position.
#pragma once

#include <UIKit/UITextField.h>
#include <UIKit/UIView.h>

#include <map>

// Selectors (types as sent):
//   - (id)text, setText:(id), (id)placeholder, setPlaceholder:(id)   kept by its search field
//   - (id)searchField   the UISearchBarTextField inside (a UITextField), made at init
//   - (id)barTintColor, setBarTintColor:(id), (BOOL)translucent, (BOOL)isTranslucent,
//     setTranslucent:(BOOL), (long)barStyle, setBarStyle:(long), (long)searchBarStyle, setSearchBarStyle:(long)
//   - setSearchFieldBackgroundImage:(id)forState:(unsigned long), (id)searchFieldBackgroundImageForState:
//        the normal state's image becomes the search field's `background`
//   - (UIOffset)searchTextPositionAdjustment, setSearchTextPositionAdjustment:(UIOffset)
//   - (UIOffset)searchFieldBackgroundPositionAdjustment, setSearchFieldBackgroundPositionAdjustment:
//   - (long)keyboardAppearance, setKeyboardAppearance:(long)   those of the search field
//   - (BOOL)showsCancelButton, setShowsCancelButton:, (id)delegate, setDelegate: (retained)
//   - (CGSize)sizeThatFits:   the given width, 56 points high
//   - layoutSubviews   a _UIBarBackground at the back, coloured like a navigation bar's (see
//        <UIKit/UINavigationBar.h>), and the search field 8 points in from each edge, 36 high
class UISearchBar : public UIView {
public:
    static Class class_();

    objc::Strong<UITextField> searchField;
    objc::Strong<UIView> barBackground;
    objc::Strong<UIColor> barTintColor;
    bool translucent = true;
    long barStyle = 0;
    long searchBarStyle = 0;
    std::map<unsigned long, objc::Strong<objc_object>> searchFieldBackgroundImages;  // by control state
    UIOffset searchTextPositionAdjustment{};
    UIOffset searchFieldBackgroundPositionAdjustment{};
    bool showsCancelButton = false;
    objc::Strong<objc_object> delegate;
};

// UISearchBarStyle
constexpr long UISearchBarStyleDefault = 0;
constexpr long UISearchBarStyleProminent = 1;
constexpr long UISearchBarStyleMinimal = 2;
