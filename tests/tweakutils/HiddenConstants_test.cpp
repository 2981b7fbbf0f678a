// The loader's hidden constants: they reveal to the shipped keys and colour, and their stored bytes hold no zero.
#include "HiddenConstants.h"

#include <Foundation/NSString.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

TEST(HiddenConstants, RevealToTheDefaultColourAndTheThemeKeys) {
    objc::AutoreleasePool pool;
    EXPECT_EQ(objc::utf8(revealDefaultBackgroundColor()), "#121212");
    EXPECT_EQ(objc::utf8(revealBackgroundColorKey()), "backgroundColor");
    EXPECT_EQ(objc::utf8(revealTextColorKey()), "textColor");
}

TEST(HiddenConstants, ShippedThemesUseTheRevealedKeys) {
    objc::AutoreleasePool pool;
    std::ifstream file(OBSCURO_SOURCE_DIR "/resources/themes.plist");
    std::string themes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(themes.empty());
    EXPECT_NE(themes.find("<key>" + objc::utf8(revealBackgroundColorKey()) + "</key>"), std::string::npos);
    EXPECT_NE(themes.find("<key>" + objc::utf8(revealTextColorKey()) + "</key>"), std::string::npos);
}

template <std::size_t N>
void expectNoEarlyTerminator(const unsigned char (&stored)[N]) {
    EXPECT_EQ(stored[N - 1], 0);
    for (std::size_t i = 0; i + 1 < N; ++i) EXPECT_NE(stored[i], 0) << "byte " << i;
}

TEST(HiddenConstants, StoredFormsHaveNoZeroBeforeTheTerminator) {
    expectNoEarlyTerminator(hidden::_defaultBackgroundColor);
    expectNoEarlyTerminator(hidden::_backgroundColorKey);
    expectNoEarlyTerminator(hidden::_textColorKey);
}

}  // namespace
