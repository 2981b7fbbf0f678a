// What a preview's drawing process hands back for each screen, over a pipe to the command that started it.
#pragma once

#include "preview_coverage.h"

#include <render/Renderer.h>

#include <optional>
#include <string>
#include <vector>

namespace obscuro::cli {

struct DrawnScreen {
    std::string screen;
    render::Picture thumbnail;  // the picture as the contact sheet shows it
    std::optional<std::vector<HookCalls>> calls;  // nothing when the product was not loaded
};

// Writes one screen to `fd`: a 4-byte length, a JSON header of that length, then the
// thumbnail's RGBA bytes. Throws std::runtime_error when the pipe takes them no more.
void sendDrawnScreen(int fd, const DrawnScreen& drawn);

// Reads the next screen from `fd`; nothing when the writer closed its end between screens.
// Throws std::runtime_error for a screen cut short or a header that is not one.
std::optional<DrawnScreen> receiveDrawnScreen(int fd);

}  // namespace obscuro::cli
