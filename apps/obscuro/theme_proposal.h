// A theme proposed from a picture's main colours, adjusted until it meets the shipped themes' readability rules.
#pragma once

#include <string>
#include <vector>

namespace obscuro::cli {

struct Rgb {
    double r = 0, g = 0, b = 0;  // 0…1
};

// One of the picture's main colours and its share of the picture.
struct Swatch {
    Rgb colour;
    double share = 0;
};

struct ThemeProposal {
    Rgb background, secondary, text, bar, tint;
};

// The readability rules every shipped theme meets: text against the background at least 7:1,
// the tint at least 3:1.
inline constexpr double kTextContrast = 7.0;
inline constexpr double kTintContrast = 3.0;

// The contrast ratio of two colours (1…21), from their relative luminances.
double contrastRatio(const Rgb& a, const Rgb& b);

// "#RRGGBB".
std::string hexString(const Rgb& colour);

// A dark background and a darker secondary of the dominant (first) swatch's hue, a bar a shade
// lighter than the background, a near-white text colour of the same hue and an accent tint from
// the most saturated swatch (the shipped pink when every swatch is grey), each lightened or
// darkened until the rules above hold against both the background and the bar. No swatches
// give a neutral dark theme.
ThemeProposal proposeTheme(const std::vector<Swatch>& swatches);

}  // namespace obscuro::cli
