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
// listed under their runtime names. Every class answers the selectors the product replaces on
// it with its superclass's stock behaviour, unless a behaviour of its own is named. Initialisers
// set no colours and add no subviews: the light look of a screen is what the screens built on
// these classes give it.
constexpr auto kMusicClasses = std::to_array<MusicClass>({
    // View controllers.
    {"Music.NowPlayingViewController", "UIViewController", nullptr, "the now-playing screen"},
    {"MusicNowPlayingControlsViewController", "UIViewController", nullptr,
     "Objective-C controller of the now-playing transport, time and volume controls"},
    {"Music.MiniPlayerViewController", "UIViewController", nullptr, "the mini player above the tab bar"},
    {"Music.LyricsViewController", "UIViewController", nullptr, "lyrics shown over the now-playing screen"},
    {"Music.PromotionalParallaxViewController", "UIViewController", nullptr, "promotional page with a parallax header"},
    {"Music.ContainerDetailFooterStackViewController", "UIViewController", nullptr, "footer of an album or playlist page"},
    {"Music.ContextActionsButtonViewController", "UIViewController", nullptr, "controller of a context actions (…) button"},
    {"Music.JSPersonalMixesViewController", "UIViewController", nullptr, "the personal mixes page"},
    {"AMPOnboardingViewController", "UIViewController", addOnboardingController,
     "Objective-C welcome screen; viewDidLoad lays a backdropView over its view"},

    // Bars, fields and index.
    {"Music.NavigationBar", "UINavigationBar", nullptr, "the app's navigation bar"},
    {"Music.NavigationBarBackgroundView", "UIView", nullptr, "backdrop behind large titles; holds visual effect views"},
    {"Music.SearchTextField", "UITextField", addGlyphField, "the search field of the search page, with a magnifier glyph"},
    {"MusicTextField", "UITextField", addGlyphField, "Objective-C text field of the library's filter bar, with a magnifier glyph"},
    {"Music.IndexBar", "UIControl", addIndexBar, "the A–Z index beside long lists; its letters take its tint"},

    // Collections and scrolling.
    {"_TtCC5Music24NowPlayingViewController14CollectionView", "UICollectionView", nullptr,
     "Music.NowPlayingViewController.CollectionView, the now-playing screen's collection view"},
    {"Music.CompositeCollectionView", "UICollectionView", nullptr, "collection view of the library and browse pages"},
    {"Music.VerticalScrollStackScrollView", "UIScrollView", nullptr, "scroll view of stacked detail pages"},
    {"Music.AlbumCell", "UICollectionViewCell", nullptr, "album tile"},
    {"Music.PersonVerticalCell", "UICollectionViewCell", nullptr, "artist or friend tile"},
    {"Music.FlowcaseCell", "UICollectionViewCell", nullptr, "large promotional tile of browse"},
    {"Music.PersonalMixCell", "UICollectionViewCell", nullptr, "a personal mix's card, with its play button"},
    {"Music.MusicVideoVerticalCell", "UICollectionViewCell", nullptr, "music video tile"},
    {"Music.TitleSectionHeaderView", "UICollectionReusableView", nullptr, "section header with a title; may hold a navigation bar background"},
    {"Music.ContainerDetailHeaderReusableView", "UICollectionReusableView", nullptr, "header of an album or playlist page"},
    {"Music.PlayIntentControlsReusableView", "UICollectionReusableView", addPlayIntentControls,
     "play and shuffle controls of a detail page; accessibilityPlayButton gives its play button (a UIButton "
     "with an image view), made and added as a subview on first use"},

    // Plain views.
    {"Music.NowPlayingContentView", "UIView", nullptr, "artwork area of the now-playing screen, artwork shadow images included"},
    {"Music.NowPlayingCollectionViewSecondaryBackground", "UIView", nullptr, "second background behind the now-playing collection"},
    {"Music.NowPlayingQueueControlsView", "UIView", nullptr, "shuffle and repeat buttons above the up-next queue"},
    {"Music.ArtworkComponentImageView", "UIImageView", addArtworkView,
     "artwork view: shows the art (or a placeholder) as its own image; decoration image views are added as subviews"},
    {"Music.GradientView", "UIView", nullptr, "light gradient behind headers"},
    {"Music.CircleView", "UIView", addCircleView,
     "filled circle; object instance variable \"fillColor\" (strong) read by `fillColor`, written by `setFillColor:`"},
    {"_TtC5MusicP33_E266AE2617DB15E0278A9481B04FB1C59ShapeView", "UIView", addShapeLayerView,
     "the app's private ShapeView; its layer is a CAShapeLayer (layerClass)"},
    {"Music.InformativeView", "UIView", nullptr, "empty-state and informative message view"},
    {"Music.ConnectMediaView", "UIView", nullptr, "media of a Connect post"},
    {"Music.ConnectCommentPostBar", "UIView", nullptr, "comment bar of a Connect post"},
    {"Music.ConnectColdStartView", "UIView", nullptr, "Connect page before anything is followed"},
    {"Music.ParagraphView", "UIView", nullptr, "paragraph of editorial text"},
    {"Music.CollectionAccessoryView", "UIView", nullptr, "accessory glyph of a collection row"},
    {"Music.PageHeaderContentView", "UIView", nullptr, "content of a page header; its buttons sit one view down"},
    {"_TtCV5Music4Text9StackView", "UIView", addTextStack, "Music.Text.StackView, a stack of drawn text lines"},
    {"_TtCVV5Music4Text7Drawing4View", "UIView", addTextDrawingView, "Music.Text.Drawing.View, draws its text itself rather than through labels"},
    {"_MusicDownloadProgressRingView", "UIView", addShapeLayerView, "Objective-C download progress ring; its layer is a CAShapeLayer (layerClass)"},

    // Controls and buttons.
    {"Music.PlayerTimeControl", "UIControl", nullptr, "the now-playing scrubber with elapsed and remaining time"},
    {"MusicLibraryAddKeepLocalControl", "UIControl", nullptr, "Objective-C add / download control of songs and albums"},
    {"Music.SubtitledButton", "UIButton", nullptr, "bordered button with a title and a subtitle"},
    {"Music.NowPlayingTransportButton", "UIButton", nullptr, "previous, play/pause and next buttons of the now-playing screen"},
    {"_TtCC5Music22JSDrivenViewControllerP33_7039E2436DE34332E50649067807721930PageHeaderContextActionsButton", "UIButton", nullptr,
     "private context actions button of a page header, nested in JSDrivenViewController"},
    {"_TtCC5Music34SocialRelationshipButtonControllerP33_509DFE06D4DCC8AA32580F34E69F2B6F6Button", "UIButton", nullptr,
     "private follow button of SocialRelationshipButtonController"},
    {"_TtCC5Music15PersonalMixCellP33_C58AA72C234558D4D8BB9A14DBF342D610PlayButton", "UIButton", nullptr,
     "private play button of a personal mix cell"},
});

constexpr auto kOtherTweakClasses = std::to_array<MusicClass>({
    {"SparkBatteryView", "UILabel", nullptr, "battery label of another tweak"},
    {"BarmojiCollectionView", "UICollectionView", nullptr, "emoji bar of another tweak's keyboard"},
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
    if (musicClass.addBehaviour) musicClass.addBehaviour(cls);
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
