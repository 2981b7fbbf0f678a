// The studio's HTML page: the settings frame, the picture and the script that follows the event stream.
#pragma once

#include <string>
#include <vector>

namespace studio {

// `settingsPage`: the path of the framed settings page ("/pages/BUNDLE/Root"); `token`: the host's
// session token, for the restart button's tap; `screens`: the screens the page can switch between,
// `screen` the one shown first.
std::string studioPage(const std::string& settingsPage, const std::string& screen, const std::vector<std::string>& screens,
                       const std::string& token);

}  // namespace studio
