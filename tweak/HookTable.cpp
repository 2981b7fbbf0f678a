// The HookTable as data: class, side, selector and replacement of every replaced method, in order.
#include "HookTable.h"

#include "BackgroundHooks.h"
#include "BarHooks.h"
#include "GlyphHooks.h"
#include "ImageViewHooks.h"
#include "LayoutHooks.h"
#include "TextHooks.h"

#include <substrate/substrate.h>

#include <array>

namespace obscuro {

IMP savedImplementations[kHookCount + 1] = {};
bool hookInstalled[kHookCount + 1] = {};

namespace {

template <class F>
IMP imp(F* function) {
    return reinterpret_cast<IMP>(function);
}

constexpr Side I = Side::Instance;
constexpr Side C = Side::Class;

}  // namespace

std::span<const HookEntry> hookTable() {
    using namespace themed;
    // Built on first use rather than at load: the library has no initialiser but its constructor.
    static const std::array table = {
        HookEntry{1, "UIViewController", I, "preferredStatusBarStyle", imp(&themedGetter<1, long, lightStatusBar>)},
        HookEntry{2, "_UIModernBarButton", I, "tintColor", imp(&themedGetter<2, id, tint>)},
        HookEntry{3, "MusicTextField", I, "tintColor", imp(&themedGetter<3, id, tint>)},
        HookEntry{4, "Music.SearchTextField", I, "tintColor", imp(&themedGetter<4, id, tint>)},
        HookEntry{5, "Music.NavigationBar", I, "barTintColor", imp(&themedGetter<5, id, bar>)},
        HookEntry{6, "Music.NavigationBar", I, "tintColor", imp(&themedGetter<6, id, tint>)},
        HookEntry{7, "Music.NavigationBar", I, "translucent", imp(&themedGetter<7, bool, no>)},
        HookEntry{8, "UINavigationBar", I, "barTintColor", imp(&themedGetter<8, id, bar>)},
        HookEntry{9, "UINavigationBar", I, "translucent", imp(&themedGetter<9, bool, no>)},
        HookEntry{10, "Music.PromotionalParallaxViewController", I, "preferredStatusBarStyle", imp(&themedGetter<10, long, lightStatusBar>)},
        HookEntry{11, "UITextView", I, "setTextColor:", imp(&textSetTextColor<11>)},
        HookEntry{12, "UITextView", I, "setAttributedText:", imp(&textSetAttributedText<12>)},
        HookEntry{13, "UITextView", I, "textColor", imp(&textTextColor<13>)},
        HookEntry{14, "UITextView", I, "linkTextAttributes", imp(&textViewLinkTextAttributes<14>)},
        HookEntry{15, "UITextField", I, "setTextColor:", imp(&textSetTextColor<15>)},
        HookEntry{16, "UITextField", I, "setAttributedText:", imp(&textSetAttributedText<16>)},
        HookEntry{17, "UITextField", I, "textColor", imp(&textTextColor<17>)},
        HookEntry{18, "UILabel", I, "textColor", imp(&labelTextColor<18>)},
        HookEntry{19, "UILabel", I, "setTextColor:", imp(&labelSetTextColor<19>)},
        HookEntry{20, "UILabel", I, "tintColor", imp(&labelTintColor<20>)},
        HookEntry{21, "UILabel", C, "_defaultAttributes", imp(&labelDefaultAttributes<21>)},
        HookEntry{22, "UILabel", I, "setAttributedText:", imp(&labelSetAttributedText<22>)},
        HookEntry{23, "UIRefreshControl", I, "setTintColor:", imp(&themedSetter<23, id, mainText>)},
        HookEntry{24, "UIActivityIndicatorView", I, "initWithActivityIndicatorStyle:", imp(&activityIndicatorInitWithStyle<24>)},
        HookEntry{25, "UIActivityIndicatorView", I, "setColor:", imp(&themedSetter<25, id, mainText>)},
        HookEntry{26, "UIActivityIndicatorView", I, "setTintColor:", imp(&themedSetter<26, id, mainText>)},
        HookEntry{27, "_TtCV5Music4Text9StackView", I, "layoutSubviews", imp(&callThroughThen<27, hideTextStackInImageView>)},
        HookEntry{28, "Music.SubtitledButton", I, "layoutSubviews", imp(&callThroughThen<28, borderSubtitledButton>)},
        HookEntry{29, "_UIBarBackground", I, "layoutSubviews", imp(&callThroughThen<29, paintTabBarBackground>)},
        HookEntry{30, "Music.CircleView", I, "layoutSubviews", imp(&actThenCallThrough<30, fillCircleView>)},
        HookEntry{31, "_TtC5MusicP33_E266AE2617DB15E0278A9481B04FB1C59ShapeView", I, "layoutSubviews", imp(&actThenCallThrough<31, colourShapeView>)},
        HookEntry{32, "UIButton", I, "setImage:forState:", imp(&buttonSetImage<32>)},
        HookEntry{33, "UITableView", I, "separatorColor", imp(&themedGetter<33, id, clear>)},
        HookEntry{34, "UITableView", I, "setSeparatorStyle:", imp(&themedSetter<34, long, noSeparators>)},
        HookEntry{35, "_UITableViewCellSeparatorView", I, "setSeparatorEffect:", imp(&themedSetter<35, id, noEffect>)},
        HookEntry{36, "_UITableViewCellSeparatorView", I, "separatorEffect", imp(&themedGetter<36, id, noEffect>)},
        HookEntry{37, "_UITableViewCellSeparatorView", I, "backgroundColor", imp(&themedGetter<37, id, clear>)},
        HookEntry{38, "_UITableViewCellSeparatorView", I, "hidden", imp(&themedGetter<38, bool, yes>)},
        HookEntry{39, "_UIInterfaceActionCustomViewRepresentationView", I, "layoutSubviews", imp(&layoutThenPaintBackground<39, background>)},
        HookEntry{40, "_UIInterfaceActionSystemRepresentationView", I, "layoutSubviews", imp(&layoutThenPaintBackground<40, background>)},
        HookEntry{41, "_UIInterfaceActionSystemRepresentationView", I, "backgroundColor", imp(&themedGetter<41, id, background>)},
        HookEntry{42, "_TtCVV5Music4Text7Drawing4View", I, "drawRect:", imp(&textDrawingViewDrawRect<42>)},
        HookEntry{43, "NSString", I, "drawWithRect:options:attributes:context:", imp(&stringDrawWithRect<43>)},
        HookEntry{44, "CALayer", I, "compositingFilter", imp(&layerCompositingFilter<44>)},
        HookEntry{45, "AMPOnboardingViewController", I, "viewDidLoad", imp(&onboardingViewDidLoad<45>)},
        HookEntry{46, "Music.MiniPlayerViewController", I, "viewDidLoad", imp(&callThroughThen<46, tagMiniPlayer>)},
        HookEntry{47, "Music.MiniPlayerViewController", I, "willMoveToParentViewController:", imp(&miniPlayerWillMoveToParent<47>)},
        HookEntry{48, "Music.LyricsViewController", I, "viewWillAppear:", imp(&lyricsViewWillAppear<48>)},
        HookEntry{49, "Music.GradientView", I, "layoutSubviews", imp(&callThroughThen<49, hideSelf>)},
        HookEntry{50, "Music.IndexBar", I, "tintColor", imp(&themedGetter<50, id, tint>)},
        HookEntry{51, "Music.PlayIntentControlsReusableView", I, "layoutSubviews", imp(&callThroughThen<51, tintPlayIntentButton>)},
        HookEntry{52, "_UIInterfaceActionImagePropertyView", I, "tintColor", imp(&themedGetter<52, id, tint>)},
        HookEntry{53, "UITableViewCellSelectedBackground", I, "setSelectionTintColor:", imp(&themedSetter<53, id, darkerBackground>)},
        HookEntry{54, "Music.ArtworkComponentImageView", I, "addSubview:", imp(&artworkImageViewAddSubview<54>)},
        HookEntry{55, "Music.ArtworkComponentImageView", I, "tintColor", imp(&artworkImageViewTintColor<55>)},
        HookEntry{56, "Music.NowPlayingContentView", I, "layoutSubviews", imp(&callThroughThen<56, hideArtworkShadow>)},
        HookEntry{57, "Music.TitleSectionHeaderView", I, "layoutSubviews", imp(&callThroughThen<57, adoptNavigationBarBackgrounds>)},
        HookEntry{58, "UITabBar", I, "unselectedItemTintColor", imp(&themedGetter<58, id, unselectedTab>)},
        HookEntry{59, "MusicLibraryAddKeepLocalControl", I, "tintColor", imp(&keepLocalControlTintColor<59>)},
        HookEntry{60, "MusicLibraryAddKeepLocalControl", I, "layoutSubviews", imp(&callThroughThen<60, paintKeepLocalBackground>)},
        HookEntry{61, "UIImageView", I, "tintColor", imp(&imageViewTintColor<61>)},
        HookEntry{62, "UIImageView", I, "setImage:", imp(&imageViewSetImage<62>)},
        HookEntry{63, "Music.VerticalScrollStackScrollView", I, "backgroundColor", imp(&themedGetter<63, id, background>)},
        HookEntry{64, "UIImage", C, "imageNamed:inBundle:compatibleWithTraitCollection:", imp(&imageNamedReplacement<64>)},
        HookEntry{65, "UIStackView", I, "layoutSubviews", imp(&actThenCallThrough<65, paintActionSeparators>)},
        HookEntry{66, "_UISizeTrackingView", I, "layoutSubviews", imp(&callThroughThen<66, paintWithLightGray>)},
        HookEntry{67, "UIView", I, "setBackgroundColor:", imp(&setBackgroundColorReplacement<67>)},
        HookEntry{68, "UIKBRenderConfig", I, "lightKeyboard", imp(&renderConfigLightKeyboard<68>)},
        HookEntry{69, "DevicePINKeypad", I, "initWithFrame:", imp(&pinKeypadInitWithFrame<69>)},
        HookEntry{70, "UIKeyboardDockView", I, "layoutSubviews", imp(&keyboardDockLayoutSubviews<70>)},
        HookEntry{71, "UITextInputTraits", I, "keyboardAppearance", imp(&inputTraitsKeyboardAppearance<71>)},
        HookEntry{72, "_UIInterfaceActionGroupHeaderScrollView", I, "layoutSubviews", imp(&layoutThenPaintBackground<72, background>)},
        HookEntry{73, "_MusicDownloadProgressRingView", I, "layoutSubviews", imp(&downloadRingLayoutSubviews<73>)},
        HookEntry{74, "_MPDownloadProgressRingView", I, "setProgress:", imp(&downloadRingSetProgress<74>)},
        HookEntry{75, "Music.NavigationBarBackgroundView", I, "layoutSubviews", imp(&callThroughThen<75, paintNavigationBarBackground>)},
        HookEntry{76, "UISearchBar", I, "layoutSubviews", imp(&layoutThenPaintBackground<76, background>)},
        HookEntry{77, "UIViewControllerWrapperView", I, "layoutSubviews", imp(&callThroughThen<77, paintWithBackground>)},
    };
    return table;
}

void installHookTable() {
    for (const HookEntry& entry : hookTable()) {
        Class cls = objc_getClass(entry.className);
        if (entry.side == Side::Class) cls = object_getClass(reinterpret_cast<id>(cls));
        MSHookMessageEx(cls, sel_registerName(entry.selector), entry.replacement, &savedImplementations[entry.number]);
        hookInstalled[entry.number] = cls != nullptr;
    }
}

}  // namespace obscuro
