// Text made safe for the pages the hosts serve.
#pragma once

#include <string>

namespace settings {

// Text made safe inside HTML text and quoted attribute values.
std::string escapeHtml(const std::string& text);

}  // namespace settings
