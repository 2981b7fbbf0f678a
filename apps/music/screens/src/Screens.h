// The screen builders: each fills a loaded controller's view with what the app shows on that screen.
#pragma once

#include <objc/objc.h>

namespace music::screens {

void buildLibrary(id controller, id view);
void buildAlbum(id controller, id view);
void buildMissingArtwork(id controller, id view);
void buildSearch(id controller, id view);
void buildNowPlaying(id controller, id view);
void buildMiniPlayer(id controller, id view);
void buildLyrics(id controller, id view);
void buildActionSheet(id controller, id view);

}  // namespace music::screens
