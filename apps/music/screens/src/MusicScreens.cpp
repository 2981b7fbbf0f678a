// The screen table and the life cycle each screen is shown through.
#include <screens/MusicScreens.h>

#include "ScreenParts.h"
#include "Screens.h"

#include <UIKit/UIView.h>
#include <objc/message.h>
#include <objc/runtime.h>

namespace music::screens {

namespace {

struct Recipe {
    const char* name;
    const char* controllerClass;
    void (*build)(id controller, id view);
};

constexpr Recipe kScreens[] = {
    {"library", "UIViewController", buildLibrary},
    {"album", "Music.ContainerDetailFooterStackViewController", buildAlbum},
    {"now-playing", "Music.NowPlayingViewController", buildNowPlaying},
    {"mini-player", "UIViewController", buildMiniPlayer},
    {"search", "UIViewController", buildSearch},
    {"lyrics", "Music.LyricsViewController", buildLyrics},
    {"action-sheet", "UIViewController", buildActionSheet},
    {"missing-artwork", "Music.ContainerDetailFooterStackViewController", buildMissingArtwork},
    {"for-you", "Music.JSPersonalMixesViewController", buildForYou},
    {"browse", "Music.PromotionalParallaxViewController", buildBrowse},
    {"radio", "UIViewController", buildRadio},
    {"playlists", "UIViewController", buildPlaylists},
    {"artists", "UIViewController", buildArtists},
    {"up-next", "Music.NowPlayingViewController", buildUpNext},
    {"connect", "UIViewController", buildConnect},
    {"onboarding", "AMPOnboardingViewController", buildOnboarding},
    {"alert", "UIViewController", buildAlert},
    {"passcode", "UIViewController", buildPasscode},
    {"refresh", "UIViewController", buildRefresh},
    {"videos", "UIViewController", buildVideos},
    {"links", "UIViewController", buildLinks},
};

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
    id windowClass = reinterpret_cast<id>(objc_getClass("UIWindow"));
    objc::Strong<objc_object> window = objc::adopt(msg<id>(msg<id>(windowClass, sel<"alloc">()), sel<"initWithFrame:">(), bounds));

    // The app builds a page when its controller's view loads, then shows it: the same order here,
    // so that the view life cycle reaches every controller as it does on the phone.
    id root = controller(recipe->controllerClass);
    id view = msg<id>(root, sel<"view">());
    msg<void>(view, sel<"setFrame:">(), bounds);
    recipe->build(root, view);
    msg<void>(window.get(), sel<"setRootViewController:">(), root);
    msg<void>(window.get(), sel<"makeKeyAndVisible">());
    // Two passes, as the app's first layout is followed by another once the content settled.
    platform::layoutTree(static_cast<UIView*>(window.get()));
    platform::layoutTree(static_cast<UIView*>(window.get()));
    return window;
}

}  // namespace music::screens
