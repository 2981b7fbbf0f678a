// The Settings host's web pages: the index of bundles and one page of rows.
#pragma once

#include <settings/HtmlText.h>
#include <settings/SettingsSession.h>

#include <string>
#include <vector>

namespace settings {

// The list of bundles and their pages.
std::string renderIndex(const std::vector<Page>& pages);

// One page: `rows` as SettingsSession::describe gives them with values; `token` goes into the
// page for its own writes.
std::string renderPage(const Page& page, const std::string& title, const nlohmann::json& rows, const std::string& token);

}  // namespace settings
