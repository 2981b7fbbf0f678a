// The screen table and how each screen is reached: the app's tab bar controller, a navigation controller per tab, pushes, presentations and children.
#include <screens/MusicScreens.h>

#include "ScreenParts.h"
#include "Screens.h"

#include <Foundation/NSArray.h>
#include <Foundation/NSString.h>
#include <UIKit/UIView.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <objc/runtime.h>

#include <vector>

namespace music::screens {

namespace {

// The app's five tabs, in tab bar order, each with its root page.
struct Tab {
    const char* title;
    const char* image;
    const char* controllerClass;
    void (*build)(id controller, id view);
    // What the page does once it is on screen, as its viewDidAppear: would; nil for nothing.
    void (*appeared)(id controller, id view) = nullptr;
};

constexpr Tab kTabs[] = {
    {"Library", "Tab-Library", "UIViewController", buildLibrary},
    {"For You", "Tab-ForYou", "Music.JSPersonalMixesViewController", buildForYou},
    {"Browse", "Tab-Browse", "Music.PromotionalParallaxViewController", buildBrowse},
    {"Radio", "Tab-Radio", "UIViewController", buildRadio},
    {"Search", "Tab-Search", "UIViewController", buildSearch, focusSearch},
};

// How a screen's page reaches the window.
enum class Way {
    TabRoot,           // the root page of its tab, the tab selected
    Pushed,            // pushed onto its tab's navigation controller over the tab's root page
    Presented,         // presented over the Library tab, in `style`
    PresentedInBar,    // presented in a navigation controller of UIKit's own bar
    MiniPlayer,        // the mini player, a child of the tab bar controller above the tab bar
    LyricsOverPlayer,  // the now-playing card presented, lyrics its child over it
    Alert,             // an alert controller presented over the Library tab
};

struct Recipe {
    const char* name;
    Way way;
    long tab;  // the tab shown (and pushed onto)
    const char* controllerClass;
    void (*build)(id controller, id view);
    long style = 0;  // UIModalPresentationStyle for presented pages
    id (*makeAlert)() = nullptr;
};

constexpr long kFullScreen = 0, kCard = 1;

constexpr Recipe kScreens[] = {
    {"library", Way::TabRoot, 0, nullptr, nullptr},
    {"album", Way::Pushed, 0, "Music.ContainerDetailFooterStackViewController", buildAlbum},
    {"now-playing", Way::Presented, 0, "Music.NowPlayingViewController", buildNowPlaying, kCard},
    {"mini-player", Way::MiniPlayer, 0, "Music.MiniPlayerViewController", buildMiniPlayer},
    {"search", Way::TabRoot, 4, nullptr, nullptr},
    {"lyrics", Way::LyricsOverPlayer, 0, "Music.LyricsViewController", buildLyrics},
    {"action-sheet", Way::Alert, 0, nullptr, nullptr, 0, makeActionSheet},
    {"missing-artwork", Way::Pushed, 0, "Music.ContainerDetailFooterStackViewController", buildMissingArtwork},
    {"for-you", Way::TabRoot, 1, nullptr, nullptr},
    {"browse", Way::TabRoot, 2, nullptr, nullptr},
    {"radio", Way::TabRoot, 3, nullptr, nullptr},
    {"playlists", Way::Pushed, 0, "UIViewController", buildPlaylists},
    {"artists", Way::Pushed, 0, "UIViewController", buildArtists},
    {"up-next", Way::Presented, 0, "Music.NowPlayingViewController", buildUpNext, kCard},
    {"connect", Way::PresentedInBar, 1, "UIViewController", buildConnect, kFullScreen},
    {"onboarding", Way::Presented, 0, "AMPOnboardingViewController", buildOnboarding, kFullScreen},
    {"alert", Way::Alert, 0, nullptr, nullptr, 0, makeAlert},
    {"passcode", Way::Presented, 0, "UIViewController", buildPasscode, kFullScreen},
    {"refresh", Way::Pushed, 0, "UIViewController", buildRefresh},
    {"videos", Way::Pushed, 0, "UIViewController", buildVideos},
    {"links", Way::Pushed, 1, "UIViewController", buildLinks},
};

id cls(const char* name) { return reinterpret_cast<id>(objc_getClass(name)); }

id string(const char* text) { return static_cast<id>(objc::str(text)); }

// A page: its controller, titled, with its view loaded and filled the way the app fills it
// once the view has loaded.
id page(const char* controllerClass, const char* title, void (*build)(id, id)) {
    id page = controller(controllerClass);
    msg<void>(page, sel<"setTitle:">(), string(title));
    id view = msg<id>(page, sel<"view">());
    build(page, view);
    return page;
}

// A navigation controller of the app's own bar class holding `root`.
id navigation(id root) {
    id navigationClass = cls("UINavigationController");
    id nav = objc::autorelease(msg<id>(msg<id>(navigationClass, sel<"alloc">()), sel<"initWithNavigationBarClass:toolbarClass:">(),
                                       objc_getClass("Music.NavigationBar"), static_cast<Class>(nullptr)));
    msg<void>(nav, sel<"pushViewController:animated:">(), root, false);
    return nav;
}

// The tab bar controller with a navigation controller per tab; each tab's root page is built
// only for the tab shown, as the others' views are not loaded until chosen.
id tabBarController(long selected, std::vector<id>* navigations) {
    id tabs = objc::autorelease(msg<id>(msg<id>(cls("UITabBarController"), sel<"alloc">()), sel<"init">()));
    std::vector<id> children;
    for (long i = 0; i < 5; ++i) {
        const Tab& tab = kTabs[i];
        id root = i == selected ? page(tab.controllerClass, tab.title, tab.build) : controller(tab.controllerClass);
        if (i != selected) msg<void>(root, sel<"setTitle:">(), string(tab.title));
        id item = objc::autorelease(msg<id>(msg<id>(cls("UITabBarItem"), sel<"alloc">()), sel<"initWithTitle:image:tag:">(),
                                            string(tab.title), namedImage(tab.image), i));
        id nav = navigation(root);
        msg<void>(nav, sel<"setTabBarItem:">(), item);
        children.push_back(nav);
    }
    msg<void>(tabs, sel<"setViewControllers:">(),
              static_cast<id>(objc::array({children[0], children[1], children[2], children[3], children[4]})));
    msg<void>(tabs, sel<"setSelectedIndex:">(), static_cast<unsigned long>(selected));
    *navigations = children;
    return tabs;
}

void present(id presenter, id presented, long style) {
    msg<void>(presented, sel<"setModalPresentationStyle:">(), style);
    msg<void>(presenter, sel<"presentViewController:animated:completion:">(), presented, false, static_cast<id>(nullptr));
}

// The page's top in window coordinates.
double windowTop(id view) {
    double top = 0;
    for (id v = view; v; v = msg<id>(v, sel<"superview">())) {
        top += msg<CGRect>(v, sel<"frame">()).origin.y;
        if (id super = msg<id>(v, sel<"superview">())) top -= msg<CGRect>(super, sel<"bounds">()).origin.y;
    }
    return top;
}

// Pages are laid out for a view that starts at the window's top, under translucent bars, with
// their content below the bar as the safe area puts it. Under an opaque bar UIKit starts the
// view below the bar instead; the content moves up by as much, so that it stays where the safe
// area has it, as the phone's pages do.
void keepInSafeArea(id page) {
    id view = msg<id>(page, sel<"view">());
    double top = windowTop(view);
    if (top <= 0) return;
    for (id sub : static_cast<NSArray*>(msg<id>(view, sel<"subviews">()))) {
        CGRect frame = msg<CGRect>(sub, sel<"frame">());
        frame.origin.y -= top;
        msg<void>(sub, sel<"setFrame:">(), frame);
    }
}

void layout(id window) {
    // Two passes, as the app's first layout is followed by another once the content settled.
    platform::layoutTree(static_cast<UIView*>(window));
    platform::layoutTree(static_cast<UIView*>(window));
}

}  // namespace

std::vector<std::string> screenNames() {
    std::vector<std::string> names;
    for (const Recipe& recipe : kScreens) names.emplace_back(recipe.name);
    return names;
}

objc::Strong<objc_object> showScreen(std::string_view name) {
    const Recipe* recipe = nullptr;
    for (const Recipe& candidate : kScreens)
        if (name == candidate.name) recipe = &candidate;
    if (!recipe) return {};

    objc::AutoreleasePool pool;
    const CGRect bounds{{0, 0}, {kWindowWidth, kWindowHeight}};
    objc::Strong<objc_object> window = objc::adopt(msg<id>(msg<id>(cls("UIWindow"), sel<"alloc">()), sel<"initWithFrame:">(), bounds));
    // The app's accent: every view that does not choose a tint of its own inherits it.
    msg<void>(window.get(), sel<"setTintColor:">(), hex("#FF2D55"));

    std::vector<id> navigations;
    id tabs = tabBarController(recipe->way == Way::TabRoot || recipe->way == Way::Pushed ? recipe->tab : 0, &navigations);
    if (recipe->way == Way::Pushed)
        msg<void>(navigations[static_cast<std::size_t>(recipe->tab)], sel<"pushViewController:animated:">(),
                  page(recipe->controllerClass, "", recipe->build), false);
    if (recipe->way == Way::MiniPlayer) {
        // The mini player sits above the tab bar, in the tab bar controller's view.
        id mini = controller(recipe->controllerClass);
        msg<void>(tabs, sel<"addChildViewController:">(), mini);
        id miniView = msg<id>(mini, sel<"view">());
        msg<void>(miniView, sel<"setFrame:">(), CGRect{{0, kWindowHeight - 83 - 64}, {kWindowWidth, 64}});
        recipe->build(mini, miniView);
        msg<void>(msg<id>(tabs, sel<"view">()), sel<"addSubview:">(), miniView);
        msg<void>(mini, sel<"didMoveToParentViewController:">(), tabs);
    }

    msg<void>(window.get(), sel<"setRootViewController:">(), tabs);
    msg<void>(window.get(), sel<"makeKeyAndVisible">());
    layout(window.get());
    if (recipe->way == Way::TabRoot || recipe->way == Way::Pushed) {
        keepInSafeArea(msg<id>(navigations[static_cast<std::size_t>(recipe->tab)], sel<"topViewController">()));
        layout(window.get());
    }
    if (recipe->way == Way::TabRoot && kTabs[recipe->tab].appeared) {
        id root = msg<id>(navigations[static_cast<std::size_t>(recipe->tab)], sel<"topViewController">());
        kTabs[recipe->tab].appeared(root, msg<id>(root, sel<"view">()));
    }

    switch (recipe->way) {
    case Way::Presented: present(tabs, page(recipe->controllerClass, "", recipe->build), recipe->style); break;
    case Way::Alert:
        msg<void>(tabs, sel<"presentViewController:animated:completion:">(), recipe->makeAlert(), false, static_cast<id>(nullptr));
        break;
    case Way::PresentedInBar: {
        id nav = objc::autorelease(msg<id>(msg<id>(cls("UINavigationController"), sel<"alloc">()), sel<"initWithRootViewController:">(),
                                           page(recipe->controllerClass, "Connect", recipe->build)));
        present(tabs, nav, recipe->style);
        layout(window.get());
        keepInSafeArea(msg<id>(nav, sel<"topViewController">()));
        break;
    }
    case Way::LyricsOverPlayer: {
        id player = page("Music.NowPlayingViewController", "", buildNowPlaying);
        present(tabs, player, kCard);
        id lyrics = controller(recipe->controllerClass);
        msg<void>(player, sel<"addChildViewController:">(), lyrics);
        id lyricsView = msg<id>(lyrics, sel<"view">());
        msg<void>(lyricsView, sel<"setFrame:">(), msg<CGRect>(msg<id>(player, sel<"view">()), sel<"bounds">()));
        recipe->build(lyrics, lyricsView);
        msg<void>(lyrics, sel<"viewWillAppear:">(), false);
        msg<void>(msg<id>(player, sel<"view">()), sel<"addSubview:">(), lyricsView);
        msg<void>(lyrics, sel<"viewDidAppear:">(), false);
        msg<void>(lyrics, sel<"didMoveToParentViewController:">(), player);
        break;
    }
    default: break;
    }
    layout(window.get());
    return window;
}

}  // namespace music::screens
