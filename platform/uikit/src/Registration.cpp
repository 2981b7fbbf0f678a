// UIKit's registration at load: every class of the framework, each superclass before its subclasses.
#include "Registration.h"

namespace platform {

void registerUIKitClasses() {
    using namespace platform::uikit;
    for (auto* registerClasses : {
             registerUIResponder, registerUIAppearance, registerUIColor, registerUIImage, registerUIFont,
             registerUIScreen, registerUITraitCollection, registerCALayer, registerUIView, registerUIWindow,
             registerUIApplication, registerUIViewController, registerUILabel, registerUIImageView, registerUIControl,
             registerUIButton, registerUIScrollView, registerUITextView, registerUITextField, registerUITableView,
             registerUITableViewCell, registerUICollectionView, registerUIStackView, registerUIActivityIndicatorView,
             registerUIRefreshControl, registerUINavigationBar, registerUITabBar, registerUIBarButtonItem, registerUISearchBar,
             registerUIVisualEffectView, registerUIBezierPath, registerNSStringDrawing, registerPrivateClasses,
             registerUITabBarController, registerUINavigationController, registerUIAlertController,
         })
        registerClasses();
}

}  // namespace platform
