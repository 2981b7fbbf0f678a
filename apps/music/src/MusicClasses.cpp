// The Music app's class table and its registration under the app's runtime names.
#include <music/MusicClasses.h>

#include "MusicViews.h"

#include <objc/runtime.h>
#include <objc/swift.h>

#include <array>

namespace music {

namespace {

// The app as the product meets it. Top-level Swift classes are listed in their dotted form and
// registered mangled; nested and private Swift classes and the app's Objective-C classes are
// listed under their runtime names. Initialisers set no colours and add no subviews: the light
// look of a screen is what the screens built on these classes give it.
constexpr auto kMusicClasses = std::to_array<MusicClass>({
    // View controllers.
    {"Music.NowPlayingViewController", "UIViewController", "the now-playing screen"},
    {"MusicNowPlayingControlsViewController", "UIViewController",
     "Objective-C controller of the now-playing transport, time and volume controls"},
    {"Music.MiniPlayerViewController", "UIViewController", "the mini player above the tab bar"},
    {"Music.LyricsViewController", "UIViewController", "lyrics shown over the now-playing screen"},
    {"Music.PromotionalParallaxViewController", "UIViewController", "promotional page with a parallax header"},
    {"Music.ContainerDetailFooterStackViewController", "UIViewController", "footer of an album or playlist page"},
    {"Music.ContextActionsButtonViewController", "UIViewController", "controller of a context actions (…) button"},
    {"Music.JSPersonalMixesViewController", "UIViewController", "the personal mixes page"},

    // Bars, fields and index.
    {"Music.NavigationBar", "UINavigationBar", "the app's navigation bar"},
    {"Music.NavigationBarBackgroundView", "UIView", "backdrop behind large titles; holds visual effect views"},
    {"Music.SearchTextField", "UITextField", "the search field of the search page"},
    {"MusicTextField", "UITextField", "Objective-C text field of the library's filter bar"},
    {"Music.IndexBar", "UIControl", "the A–Z index beside long lists"},

    // Collections and scrolling.
    {"_TtCC5Music24NowPlayingViewController14CollectionView", "UICollectionView",
     "Music.NowPlayingViewController.CollectionView, the now-playing screen's collection view"},
    {"Music.CompositeCollectionView", "UICollectionView", "collection view of the library and browse pages"},
    {"Music.VerticalScrollStackScrollView", "UIScrollView", "scroll view of stacked detail pages"},
    {"Music.AlbumCell", "UICollectionViewCell", "album tile"},
    {"Music.PersonVerticalCell", "UICollectionViewCell", "artist or friend tile"},
    {"Music.FlowcaseCell", "UICollectionViewCell", "large promotional tile of browse"},
    {"Music.MusicVideoVerticalCell", "UICollectionViewCell", "music video tile"},
    {"Music.TitleSectionHeaderView", "UICollectionReusableView", "section header with a title; may hold a navigation bar background"},
    {"Music.ContainerDetailHeaderReusableView", "UICollectionReusableView", "header of an album or playlist page"},
    {"Music.PlayIntentControlsReusableView", "UICollectionReusableView",
     "play and shuffle controls of a detail page; accessibilityPlayButton gives its play button (a UIButton "
     "with an image view), made and added as a subview on first use"},

    // Plain views.
    {"Music.NowPlayingContentView", "UIView", "artwork area of the now-playing screen, artwork shadow images included"},
    {"Music.NowPlayingCollectionViewSecondaryBackground", "UIView", "second background behind the now-playing collection"},
    {"Music.NowPlayingQueueControlsView", "UIView", "shuffle and repeat buttons above the up-next queue"},
    {"Music.ArtworkComponentImageView", "UIView", "artwork container; its image views are added as subviews"},
    {"Music.GradientView", "UIView", "light gradient behind headers"},
    {"Music.CircleView", "UIView",
     "filled circle; object instance variable \"fillColor\" (strong) read by `fillColor`, written by `setFillColor:`"},
    {"_TtC5MusicP33_E266AE2617DB15E0278A9481B04FB1C59ShapeView", "UIView",
     "the app's private ShapeView; its layer is a CAShapeLayer (layerClass)"},
    {"Music.InformativeView", "UIView", "empty-state and informative message view"},
    {"Music.ConnectMediaView", "UIView", "media of a Connect post"},
    {"Music.ConnectCommentPostBar", "UIView", "comment bar of a Connect post"},
    {"Music.ConnectColdStartView", "UIView", "Connect page before anything is followed"},
    {"Music.ParagraphView", "UIView", "paragraph of editorial text"},
    {"Music.CollectionAccessoryView", "UIView", "accessory glyph of a collection row"},
    {"Music.PageHeaderContentView", "UIView", "content of a page header; its buttons sit one view down"},
    {"_TtCV5Music4Text9StackView", "UIView", "Music.Text.StackView, a stack of drawn text lines"},
    {"_TtCVV5Music4Text7Drawing4View", "UIView", "Music.Text.Drawing.View, draws its text itself rather than through labels"},
    {"_MusicDownloadProgressRingView", "UIView", "Objective-C download progress ring; its layer is a CAShapeLayer (layerClass)"},

    // Controls and buttons.
    {"Music.PlayerTimeControl", "UIControl", "the now-playing scrubber with elapsed and remaining time"},
    {"MusicLibraryAddKeepLocalControl", "UIControl", "Objective-C add / download control of songs and albums"},
    {"Music.SubtitledButton", "UIButton", "bordered button with a title and a subtitle"},
    {"Music.NowPlayingTransportButton", "UIButton", "previous, play/pause and next buttons of the now-playing screen"},
    {"_TtCC5Music22JSDrivenViewControllerP33_7039E2436DE34332E50649067807721930PageHeaderContextActionsButton", "UIButton",
     "private context actions button of a page header, nested in JSDrivenViewController"},
    {"_TtCC5Music34SocialRelationshipButtonControllerP33_509DFE06D4DCC8AA32580F34E69F2B6F6Button", "UIButton",
     "private follow button of SocialRelationshipButtonController"},
    {"_TtCC5Music15PersonalMixCellP33_C58AA72C234558D4D8BB9A14DBF342D610PlayButton", "UIButton",
     "private play button of a personal mix cell"},
});

constexpr auto kOtherTweakClasses = std::to_array<MusicClass>({
    {"SparkBatteryView", "UILabel", "battery label of another tweak"},
    {"BarmojiCollectionView", "UICollectionView", "emoji bar of another tweak's keyboard"},
});

bool isAbsent(const MusicClass& musicClass, const std::string& runtime, const std::set<std::string>& absent) {
    return absent.count(musicClass.name) || absent.count(runtime);
}

// Registers one class unless it is present already; false when its superclass is missing.
bool registerOne(const MusicClass& musicClass, const std::string& runtime) {
    objc_unhideClass(runtime.c_str());
    if (objc_getClass(runtime.c_str())) return true;
    Class superclass = objc_getClass(musicClass.superclass);
    if (!superclass) return false;
    Class cls = objc_allocateClassPair(superclass, runtime.c_str(), 0);
    if (!cls) return false;
    if (auto addBehaviour = behaviourFor(runtime)) addBehaviour(cls);
    objc_registerClassPair(cls);
    return true;
}

std::vector<std::string> registerAll(std::span<const MusicClass> classes, const std::set<std::string>& absent) {
    std::vector<std::string> unregistered;
    for (const MusicClass& musicClass : classes) {
        std::string runtime = runtimeName(musicClass);
        if (isAbsent(musicClass, runtime, absent)) {
            if (objc_getClass(runtime.c_str())) objc_hideClass(runtime.c_str());
            continue;
        }
        if (!registerOne(musicClass, runtime)) unregistered.emplace_back(musicClass.name);
    }
    return unregistered;
}

}  // namespace

std::span<const MusicClass> musicClasses() { return kMusicClasses; }

std::string runtimeName(const MusicClass& musicClass) {
    return objc::swiftMangledClassName(musicClass.name).value_or(musicClass.name);
}

std::vector<std::string> registerMusicClasses(const std::set<std::string>& absent) { return registerAll(kMusicClasses, absent); }

std::vector<std::string> registerOtherTweakClasses() { return registerAll(kOtherTweakClasses, {}); }

}  // namespace music
