// Every shipped theme is complete, parses as the tweak reads it, and is readable by the contrast rules.
#include <Foundation/Foundation.h>
#include <UIKit/UIColor.h>
#include <colorpicker/libcolorpicker.h>
#include <objc/Strong.h>
#include <objc/message.h>

#include <plist/plist.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace {

constexpr std::array kColourKeys = {"backgroundColor", "secondaryColor", "textColor", "barColor", "tintColor"};

using Theme = std::map<std::string, std::string>;

std::map<std::string, Theme> shippedThemes() {
    std::ifstream in(OBSCURO_SOURCE_DIR "/resources/themes.plist", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    std::map<std::string, Theme> themes;
    if (!root || plist_get_node_type(root) != PLIST_DICT) return themes;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(root, &it);
    char* name = nullptr;
    plist_t entry = nullptr;
    for (plist_dict_next_item(root, it, &name, &entry); entry; plist_dict_next_item(root, it, &name, &entry)) {
        Theme& theme = themes[name];
        free(name);
        if (plist_get_node_type(entry) != PLIST_DICT) continue;
        for (const char* key : kColourKeys) {
            plist_t value = plist_dict_get_item(entry, key);
            if (!value || plist_get_node_type(value) != PLIST_STRING) continue;
            char* text = nullptr;
            plist_get_string_val(value, &text);
            theme[key] = text;
            free(text);
        }
    }
    free(it);
    plist_free(root);
    return themes;
}

// WCAG relative luminance of the colour the stored string names, read the way the tweak reads it.
double luminance(const std::string& stored) {
    objc::AutoreleasePool pool;
    id colour = LCPParseColorString(objc::str(stored), nullptr);
    double rgba[4] = {};
    EXPECT_TRUE(msg<BOOL>(colour, sel<"getRed:green:blue:alpha:">(), &rgba[0], &rgba[1], &rgba[2], &rgba[3]));
    auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(rgba[0]) + 0.7152 * linear(rgba[1]) + 0.0722 * linear(rgba[2]);
}

double contrast(const std::string& a, const std::string& b) {
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool isColourString(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return false;
    return std::all_of(text.begin() + 1, text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

TEST(ShippedThemes, IncludeTheDefaultAndSevenMore) {
    auto themes = shippedThemes();
    EXPECT_TRUE(themes.contains("midnight"));
    EXPECT_GE(themes.size(), 8u);
    for (const auto& [name, theme] : themes)
        EXPECT_TRUE(std::none_of(name.begin(), name.end(), [](unsigned char c) { return std::isupper(c); }))
            << name << ": the tweak looks themes up by lower-cased name";
}

TEST(ShippedThemes, HaveEveryColourAsAHexString) {
    for (const auto& [name, theme] : shippedThemes())
        for (const char* key : kColourKeys) {
            ASSERT_TRUE(theme.contains(key)) << name << " lacks " << key;
            EXPECT_TRUE(isColourString(theme.at(key))) << name << "." << key << " = " << theme.at(key);
        }
}

TEST(ShippedThemes, AreReadable) {
    for (const auto& [name, theme] : shippedThemes()) {
        if (theme.size() != kColourKeys.size()) continue;
        EXPECT_GE(contrast(theme.at("textColor"), theme.at("backgroundColor")), 7.0) << name << ": text on background";
        EXPECT_GE(contrast(theme.at("tintColor"), theme.at("backgroundColor")), 3.0) << name << ": tint on background";
    }
}

}  // namespace
