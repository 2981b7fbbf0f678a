// Preview settings: a settings property list read in either format and completed for the dark variant.
#include "preview_settings.h"

#include <plist/plist.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace obscuro::cli {

namespace {

using PlistPtr = std::unique_ptr<void, decltype(&plist_free)>;

}  // namespace

std::string previewSettingsXml(const std::optional<std::filesystem::path>& settingsFile, const std::optional<std::string>& theme) {
    PlistPtr dict(plist_new_dict(), plist_free);
    if (settingsFile) {
        std::ifstream in(*settingsFile, std::ios::binary);
        if (!in) throw std::runtime_error("cannot read the settings file " + settingsFile->string());
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        plist_t parsed = nullptr;
        if (!bytes.empty()) plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &parsed);
        if (!parsed)
            throw std::runtime_error(settingsFile->string() + " is not a property list");
        dict.reset(parsed);
        if (plist_get_node_type(parsed) != PLIST_DICT) throw std::runtime_error(settingsFile->string() + " is not a settings dictionary");
    }
    if (!settingsFile || theme) plist_dict_set_item(dict.get(), "enabled", plist_new_bool(1));
    if (theme) plist_dict_set_item(dict.get(), "theme", plist_new_string(theme->c_str()));
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(dict.get(), &xml, &length);
    if (!xml) throw std::runtime_error("cannot write the settings");
    std::string out(xml, length);
    plist_to_xml_free(xml);
    return out;
}

}  // namespace obscuro::cli
