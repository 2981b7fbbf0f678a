// The screen builders: each fills a loaded controller's view with what the app shows on that screen.
#pragma once

#include <objc/objc.h>

namespace music::screens {

void buildLibrary(id controller, id view);
void buildAlbum(id controller, id view);
void buildMissingArtwork(id controller, id view);
void buildSearch(id controller, id view);
// Search's field becomes first responder once the page is on screen.
void focusSearch(id controller, id view);
void buildNowPlaying(id controller, id view);
void buildMiniPlayer(id controller, id view);
void buildLyrics(id controller, id view);
void buildPlaylists(id controller, id view);
void buildArtists(id controller, id view);
void buildUpNext(id controller, id view);
void buildForYou(id controller, id view);
void buildBrowse(id controller, id view);
void buildRadio(id controller, id view);
void buildVideos(id controller, id view);
void buildConnect(id controller, id view);
void buildRefresh(id controller, id view);
void buildOnboarding(id controller, id view);
void buildPasscode(id controller, id view);
void buildLinks(id controller, id view);

// The alerts the app presents, as UIKit's alert controllers: the album's action sheet and the
// question before a playlist is deleted. Autoreleased.
id makeActionSheet();
id makeAlert();

}  // namespace music::screens
