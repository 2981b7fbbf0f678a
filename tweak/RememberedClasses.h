// Every class the replacements test by kind, looked up by runtime name at first use and remembered for the life of the process.
#pragma once

#include "ClassTests.h"

namespace obscuro::classes {

// Private classes of UIKit, the media frameworks, the Music app and other tweaks; any of them
// may be absent, which makes every kind test against it false.
inline constinit RememberedClass actionItemSeparatorView{"_UIInterfaceActionItemSeparatorView_iOS"};
inline constinit RememberedClass alertControllerActionView{"_UIAlertControllerActionView"};
inline constinit RememberedClass artworkComponentImageView{"_TtC5Music25ArtworkComponentImageView"};
inline constinit RememberedClass barmojiCollectionView{"BarmojiCollectionView"};
inline constinit RememberedClass dimmingKnockoutBackdropView{"_UIDimmingKnockoutBackdropView"};
inline constinit RememberedClass keyboardDockItemButton{"UIKeyboardDockItemButton"};
inline constinit RememberedClass layoutContainerView{"UILayoutContainerView"};
inline constinit RememberedClass modernBarButton{"_UIModernBarButton"};
inline constinit RememberedClass nowPlayingCollectionView{"_TtCC5Music24NowPlayingViewController14CollectionView"};
inline constinit RememberedClass nowPlayingIndicatorView{"MPUNowPlayingIndicatorView"};
inline constinit RememberedClass pageHeaderContextActionsButton{
    "_TtCC5Music22JSDrivenViewControllerP33_7039E2436DE34332E50649067807721930PageHeaderContextActionsButton"};
inline constinit RememberedClass personalMixPlayButton{
    "_TtCC5Music15PersonalMixCellP33_C58AA72C234558D4D8BB9A14DBF342D610PlayButton"};
inline constinit RememberedClass resizableImage{"_UIResizableImage"};
inline constinit RememberedClass routeButton{"MPRouteButton"};
inline constinit RememberedClass socialRelationshipButton{
    "_TtCC5Music34SocialRelationshipButtonControllerP33_509DFE06D4DCC8AA32580F34E69F2B6F6Button"};
inline constinit RememberedClass sparkBatteryView{"SparkBatteryView"};
inline constinit RememberedClass tabBarButtonLabel{"UITabBarButtonLabel"};
inline constinit RememberedClass tableViewCellContentView{"UITableViewCellContentView"};
inline constinit RememberedClass tableViewCellSeparatorView{"_UITableViewCellSeparatorView"};
inline constinit RememberedClass tableViewCollectionCell{"UITableViewCollectionCell"};
inline constinit RememberedClass visualEffectContentView{"_UIVisualEffectContentView"};
inline constinit RememberedClass visualEffectSubview{"_UIVisualEffectSubview"};
inline constinit RememberedClass visualEffectView{"UIVisualEffectView"};

// Linked classes, remembered too because the background decision and the responder walk ask
// about them at nearly every call.
inline constinit RememberedClass colour{"UIColor"};
inline constinit RememberedClass label{"UILabel"};
inline constinit RememberedClass scrollView{"UIScrollView"};
inline constinit RememberedClass view{"UIView"};

}  // namespace obscuro::classes
