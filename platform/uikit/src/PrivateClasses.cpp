// The private classes as one table: runtime name, superclass and role, registered superclasses first.
#include "PrivateStock.h"
#include "Registration.h"

#include <UIKit/UIPrivateClasses.h>

#include <array>

namespace {

constexpr auto kPrivateClasses = std::to_array<platform::PrivateClass>({
    // Text input and the keyboard.
    {"UITextInputTraits", "NSObject", "keyboard appearance and type that text fields, text views and search bars keep"},
    {"UIKBRenderConfig", "NSObject", "how the keyboard is drawn; lightKeyboard says whether it is light"},
    {"UIKeyboardDockView", "UIView", "the dock below the keyboard, with the dictation and globe keys"},
    {"UIKeyboardDockItemButton", "UIButton", "a key of the keyboard dock"},
    {"DevicePINKeypad", "UIView", "the pass-code keypad: twelve keys, digits with their letters"},
    {"UIKeyboard", "UIView", "the keyboard shown for the first responder, at the bottom of its window"},
    {"UIKBKeyplaneView", "UIView", "the keys of the keyboard, drawn as its render config says"},
    {"UIKBKeyView", "UIView", "one key of the keyboard or of the pass-code keypad"},
    {"UISearchBarTextField", "UITextField", "the text field inside a search bar"},

    // Labels, buttons and bars.
    {"UIButtonLabel", "UILabel", "the title label of a button"},
    {"UITabBarButton", "UIControl", "the button showing one tab bar item"},
    {"UITabBarButtonLabel", "UILabel", "the title of a tab bar item"},
    {"UITabBarSwappableImageView", "UIImageView", "the glyph of a tab bar item"},
    {"_UIModernBarButton", "UIButton", "the view of a bar button item in a navigation bar"},
    {"_UIBarBackground", "UIView", "the background behind a navigation, tab or search bar"},

    // Images.
    {"_UIResizableImage", "UIImage", "an image stretched by cap insets (resizableImageWithCapInsets:)"},

    // Tables and collections.
    {"UITableViewCellContentView", "UIView", "the content view of a table cell"},
    {"UITableViewCellSelectedBackground", "UIView", "the grey shown behind a selected table cell; draws its selectionTintColor"},
    {"_UITableViewCellSeparatorView", "UIView", "the hairline between table cells; keeps a separatorEffect"},
    {"UITableViewCollectionCell", "UICollectionViewCell", "a table row shown by a collection view"},

    // Visual effects.
    {"_UIVisualEffectSubview", "UIView", "one layer of a visual effect view (tint, filter, backdrop)"},
    {"_UIVisualEffectBackdropView", "_UIVisualEffectSubview", "the blurred backdrop of a visual effect view"},
    {"_UIVisualEffectContentView", "_UIVisualEffectSubview", "the content view of a visual effect view"},

    // Alerts and action sheets.
    {"_UIAlertControllerActionView", "UIView", "one action of an alert"},
    {"_UIDimmingKnockoutBackdropView", "UIView", "the dimmed backdrop of an alert or action sheet"},
    {"_UIInterfaceActionCustomViewRepresentationView", "UIView", "an action sheet action with a custom view"},
    {"_UIInterfaceActionSystemRepresentationView", "UIView", "an action sheet action with a title"},
    {"_UIInterfaceActionImagePropertyView", "UIImageView", "the glyph of an action sheet action, a template in its tintColor"},
    {"_UIInterfaceActionGroupHeaderScrollView", "UIScrollView", "the scrolling header of an action sheet"},
    {"_UIInterfaceActionItemSeparatorView_iOS", "UIView", "the line between action sheet actions"},

    // Containers.
    {"UILayoutContainerView", "UIView", "the root view of navigation and tab bar controllers"},
    {"UIViewControllerWrapperView", "UIView", "the view that holds a child controller's view"},
    {"UITransitionView", "UIView", "the view a tab bar controller or a presentation shows its controller's view in"},
    {"UINavigationTransitionView", "UIView", "the view a navigation controller shows its top controller's view in"},
    {"UIDimmingView", "UIView", "the dimmed layer behind a card or an alert"},
    {"_UISizeTrackingView", "UIView", "a container that follows the size of a hosted view"},

    // Media player.
    {"MPUNowPlayingIndicatorView", "UIView", "the animated bars beside the playing song"},
    {"MPRouteButton", "UIButton", "the AirPlay route button"},
    {"_MPDownloadProgressRingView", "UIView", "the ring of a download in progress; its layer is a CAShapeLayer"},
});

}  // namespace

namespace platform {

std::span<const PrivateClass> privateClasses() { return kPrivateClasses; }

}  // namespace platform

namespace platform::uikit {

void registerPrivateClasses() {
    for (const PrivateClass& entry : kPrivateClasses) {
        Class superclass = objc_getClass(entry.superclass);
        if (!superclass || objc_getClass(entry.name)) continue;
        Class cls = objc_allocateClassPair(superclass, entry.name, 0);
        if (!cls) continue;
        if (AddStock addStock = stockFor(entry.name)) addStock(cls);
        objc_registerClassPair(cls);
    }
}

}  // namespace platform::uikit
