// The studio's HTML page: the settings frame, the picture and the script that follows the event stream.
#pragma once

#include <string>

namespace studio {

// `settingsPage`: the path of the framed settings page ("/pages/BUNDLE/Root"); `token`: the host's
// session token, for the restart button's tap.
std::string studioPage(const std::string& settingsPage, const std::string& screen, const std::string& token);

}  // namespace studio
