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
#include <tuple>
#include <utility>

namespace obscuro {

constinit HookTableSlots hookSlots;

namespace {

// One row of the table. Its replacement is a template of the entry number, which the table
// supplies from the row's place: a row cannot name the wrong slot, because it names none.
template <class Replacement>
struct Row {
    const char* className;
    Side side;
    const char* selector;
};

template <class Replacement>
constexpr Row<Replacement> row(const char* className, Side side, const char* selector, Replacement) {
    return {className, side, selector};
}

// Counts each call of entry `Entry`'s replacement, then runs it.
template <std::size_t Entry, auto Replacement>
struct Counted;

template <std::size_t Entry, class R, class... A, R (*Replacement)(id, SEL, A...)>
struct Counted<Entry, Replacement> {
    static R call(id self, SEL cmd, A... args) {
        hookSlots.calls[Entry].fetch_add(1, std::memory_order_relaxed);
        return Replacement(self, cmd, args...);
    }
};

constexpr Side I = Side::Instance;
constexpr Side C = Side::Class;

using namespace themed;

constexpr auto kRows = std::make_tuple(
        row("UIViewController", I, "preferredStatusBarStyle", []<std::size_t E> { return &themedGetter<E, long, lightStatusBar>; }),
        row("_UIModernBarButton", I, "tintColor", []<std::size_t E> { return &themedGetter<E, id, tint>; }),
        row("MusicTextField", I, "tintColor", []<std::size_t E> { return &themedGetter<E, id, tint>; }),
        row("Music.SearchTextField", I, "tintColor", []<std::size_t E> { return &themedGetter<E, id, tint>; }),
        row("Music.NavigationBar", I, "barTintColor", []<std::size_t E> { return &themedGetter<E, id, bar>; }),
        row("Music.NavigationBar", I, "tintColor", []<std::size_t E> { return &themedGetter<E, id, tint>; }),
        row("Music.NavigationBar", I, "translucent", []<std::size_t E> { return &themedGetter<E, bool, no>; }),
        row("UINavigationBar", I, "barTintColor", []<std::size_t E> { return &themedGetter<E, id, bar>; }),
        row("UINavigationBar", I, "translucent", []<std::size_t E> { return &themedGetter<E, bool, no>; }),
        row("Music.PromotionalParallaxViewController", I, "preferredStatusBarStyle", []<std::size_t E> { return &themedGetter<E, long, lightStatusBar>; }),
        row("UITextView", I, "setTextColor:", []<std::size_t E> { return &textSetTextColor<E>; }),
        row("UITextView", I, "setAttributedText:", []<std::size_t E> { return &textSetAttributedText<E>; }),
        row("UITextView", I, "textColor", []<std::size_t E> { return &textTextColor<E>; }),
        row("UITextView", I, "linkTextAttributes", []<std::size_t E> { return &textViewLinkTextAttributes<E>; }),
        row("UITextField", I, "setTextColor:", []<std::size_t E> { return &textSetTextColor<E>; }),
        row("UITextField", I, "setAttributedText:", []<std::size_t E> { return &textSetAttributedText<E>; }),
        row("UITextField", I, "textColor", []<std::size_t E> { return &textTextColor<E>; }),
        row("UILabel", I, "textColor", []<std::size_t E> { return &labelTextColor<E>; }),
        row("UILabel", I, "setTextColor:", []<std::size_t E> { return &labelSetTextColor<E>; }),
        row("UILabel", I, "tintColor", []<std::size_t E> { return &labelTintColor<E>; }),
        row("UILabel", C, "_defaultAttributes", []<std::size_t E> { return &labelDefaultAttributes<E>; }),
        row("UILabel", I, "setAttributedText:", []<std::size_t E> { return &labelSetAttributedText<E>; }),
        row("UIRefreshControl", I, "setTintColor:", []<std::size_t E> { return &themedSetter<E, id, mainText>; }),
        row("UIActivityIndicatorView", I, "initWithActivityIndicatorStyle:", []<std::size_t E> { return &activityIndicatorInitWithStyle<E>; }),
        row("UIActivityIndicatorView", I, "setColor:", []<std::size_t E> { return &themedSetter<E, id, mainText>; }),
        row("UIActivityIndicatorView", I, "setTintColor:", []<std::size_t E> { return &themedSetter<E, id, mainText>; }),
        row("_TtCV5Music4Text9StackView", I, "layoutSubviews", []<std::size_t E> { return &callThroughThen<E, hideTextStackInImageView>; }),
        row("Music.SubtitledButton", I, "layoutSubviews", []<std::size_t E> { return &callThroughThen<E, borderSubtitledButton>; }),
        row("_UIBarBackground", I, "layoutSubviews", []<std::size_t E> { return &callThroughThen<E, paintTabBarBackground>; }),
        row("Music.CircleView", I, "layoutSubviews", []<std::size_t E> { return &actThenCallThrough<E, fillCircleView>; }),
        row("_TtC5MusicP33_E266AE2617DB15E0278A9481B04FB1C59ShapeView", I, "layoutSubviews", []<std::size_t E> { return &actThenCallThrough<E, colourShapeView>; }),
        row("UIButton", I, "setImage:forState:", []<std::size_t E> { return &buttonSetImage<E>; }),
        row("UITableView", I, "separatorColor", []<std::size_t E> { return &themedGetter<E, id, clear>; }),
        row("UITableView", I, "setSeparatorStyle:", []<std::size_t E> { return &themedSetter<E, long, noSeparators>; }),
        row("_UITableViewCellSeparatorView", I, "setSeparatorEffect:", []<std::size_t E> { return &themedSetter<E, id, noEffect>; }),
        row("_UITableViewCellSeparatorView", I, "separatorEffect", []<std::size_t E> { return &themedGetter<E, id, noEffect>; }),
        row("_UITableViewCellSeparatorView", I, "backgroundColor", []<std::size_t E> { return &themedGetter<E, id, clear>; }),
        row("_UITableViewCellSeparatorView", I, "hidden", []<std::size_t E> { return &themedGetter<E, bool, yes>; }),
        row("_UIInterfaceActionCustomViewRepresentationView", I, "layoutSubviews", []<std::size_t E> { return &layoutThenPaintBackground<E, background>; }),
        row("_UIInterfaceActionSystemRepresentationView", I, "layoutSubviews", []<std::size_t E> { return &layoutThenPaintBackground<E, background>; }),
        row("_UIInterfaceActionSystemRepresentationView", I, "backgroundColor", []<std::size_t E> { return &themedGetter<E, id, background>; }),
        row("_TtCVV5Music4Text7Drawing4View", I, "drawRect:", []<std::size_t E> { return &textDrawingViewDrawRect<E>; }),
        row("NSString", I, "drawWithRect:options:attributes:context:", []<std::size_t E> { return &stringDrawWithRect<E>; }),
        row("CALayer", I, "compositingFilter", []<std::size_t E> { return &layerCompositingFilter<E>; }),
        row("AMPOnboardingViewController", I, "viewDidLoad", []<std::size_t E> { return &onboardingViewDidLoad<E>; }),
        row("Music.MiniPlayerViewController", I, "viewDidLoad", []<std::size_t E> { return &callThroughThen<E, tagMiniPlayer>; }),
        row("Music.MiniPlayerViewController", I, "willMoveToParentViewController:", []<std::size_t E> { return &miniPlayerWillMoveToParent<E>; }),
        row("Music.LyricsViewController", I, "viewWillAppear:", []<std::size_t E> { return &lyricsViewWillAppear<E>; }),
        row("Music.GradientView", I, "layoutSubviews", []<std::size_t E> { return &callThroughThen<E, hideSelf>; }),
        row("Music.IndexBar", I, "tintColor", []<std::size_t E> { return &themedGetter<E, id, tint>; }),
        row("Music.PlayIntentControlsReusableView", I, "layoutSubviews", []<std::size_t E> { return &callThroughThen<E, tintPlayIntentButton>; }),
        row("_UIInterfaceActionImagePropertyView", I, "tintColor", []<std::size_t E> { return &themedGetter<E, id, tint>; }),
        row("UITableViewCellSelectedBackground", I, "setSelectionTintColor:", []<std::size_t E> { return &themedSetter<E, id, darkerBackground>; }),
        row("Music.ArtworkComponentImageView", I, "addSubview:", []<std::size_t E> { return &artworkImageViewAddSubview<E>; }),
        row("Music.ArtworkComponentImageView", I, "tintColor", []<std::size_t E> { return &artworkImageViewTintColor<E>; }),
        row("Music.NowPlayingContentView", I, "layoutSubviews", []<std::size_t E> { return &callThroughThen<E, hideArtworkShadow>; }),
        row("Music.TitleSectionHeaderView", I, "layoutSubviews", []<std::size_t E> { return &callThroughThen<E, adoptNavigationBarBackgrounds>; }),
        row("UITabBar", I, "unselectedItemTintColor", []<std::size_t E> { return &themedGetter<E, id, unselectedTab>; }),
        row("MusicLibraryAddKeepLocalControl", I, "tintColor", []<std::size_t E> { return &keepLocalControlTintColor<E>; }),
        row("MusicLibraryAddKeepLocalControl", I, "layoutSubviews", []<std::size_t E> { return &callThroughThen<E, paintKeepLocalBackground>; }),
        row("UIImageView", I, "tintColor", []<std::size_t E> { return &imageViewTintColor<E>; }),
        row("UIImageView", I, "setImage:", []<std::size_t E> { return &imageViewSetImage<E>; }),
        row("Music.VerticalScrollStackScrollView", I, "backgroundColor", []<std::size_t E> { return &themedGetter<E, id, background>; }),
        row("UIImage", C, "imageNamed:inBundle:compatibleWithTraitCollection:", []<std::size_t E> { return &imageNamedReplacement<E>; }),
        row("UIStackView", I, "layoutSubviews", []<std::size_t E> { return &actThenCallThrough<E, paintActionSeparators>; }),
        row("_UISizeTrackingView", I, "layoutSubviews", []<std::size_t E> { return &callThroughThen<E, paintWithLightGray>; }),
        row("UIView", I, "setBackgroundColor:", []<std::size_t E> { return &setBackgroundColorReplacement<E>; }),
        row("UIKBRenderConfig", I, "lightKeyboard", []<std::size_t E> { return &renderConfigLightKeyboard<E>; }),
        row("DevicePINKeypad", I, "initWithFrame:", []<std::size_t E> { return &pinKeypadInitWithFrame<E>; }),
        row("UIKeyboardDockView", I, "layoutSubviews", []<std::size_t E> { return &keyboardDockLayoutSubviews<E>; }),
        row("UITextInputTraits", I, "keyboardAppearance", []<std::size_t E> { return &inputTraitsKeyboardAppearance<E>; }),
        row("_UIInterfaceActionGroupHeaderScrollView", I, "layoutSubviews", []<std::size_t E> { return &layoutThenPaintBackground<E, background>; }),
        row("_MusicDownloadProgressRingView", I, "layoutSubviews", []<std::size_t E> { return &downloadRingLayoutSubviews<E>; }),
        row("_MPDownloadProgressRingView", I, "setProgress:", []<std::size_t E> { return &downloadRingSetProgress<E>; }),
        row("Music.NavigationBarBackgroundView", I, "layoutSubviews", []<std::size_t E> { return &callThroughThen<E, paintNavigationBarBackground>; }),
        row("UISearchBar", I, "layoutSubviews", []<std::size_t E> { return &layoutThenPaintBackground<E, background>; }),
        row("UIViewControllerWrapperView", I, "layoutSubviews", []<std::size_t E> { return &callThroughThen<E, paintWithBackground>; })
);
static_assert(std::tuple_size_v<decltype(kRows)> == kHookCount);

template <std::size_t Number, class Replacement>
HookEntry entry(const Row<Replacement>& r) {
    constexpr auto replacement = Replacement{}.template operator()<Number>();
    return {Number, r.className, r.side, r.selector, reinterpret_cast<IMP>(&Counted<Number, replacement>::call)};
}

template <std::size_t... Index>
std::array<HookEntry, kHookCount> entries(std::index_sequence<Index...>) {
    return {entry<Index + 1>(std::get<Index>(kRows))...};
}

}  // namespace

std::span<const HookEntry> hookTable() {
    // Built on first use rather than at load: the library has no initialiser but its constructor.
    static const std::array table = entries(std::make_index_sequence<kHookCount>());
    return table;
}

const HookEntry* findHookEntry(std::string_view className, std::string_view selector) {
    for (const HookEntry& entry : hookTable())
        if (entry.className == className && entry.selector == selector) return &entry;
    return nullptr;
}

void installHookTable() {
    for (const HookEntry& entry : hookTable()) {
        Class cls = objc_getClass(entry.className);
        if (entry.side == Side::Class) cls = object_getClass(reinterpret_cast<id>(cls));
        MSHookMessageEx(cls, sel_registerName(entry.selector), entry.replacement, &hookSlots.savedImplementations[entry.number]);
        hookSlots.classPresent[entry.number] = cls != nullptr;
        hookSlots.installed[entry.number] = cls != nullptr;
    }
    hookSlots.tableInstalled = true;
}

}  // namespace obscuro
