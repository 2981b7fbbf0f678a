// Proposing a theme from main colours: darken the dominant colour, lift the text and tint until readable.
#include "theme_proposal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace obscuro::cli {

namespace {

double channelLuminance(double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }

double luminance(const Rgb& c) {
    return 0.2126 * channelLuminance(c.r) + 0.7152 * channelLuminance(c.g) + 0.0722 * channelLuminance(c.b);
}

Rgb mix(const Rgb& a, const Rgb& b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb scaled(const Rgb& c, double s) { return {c.r * s, c.g * s, c.b * s}; }

double saturation(const Rgb& c) {
    double high = std::max({c.r, c.g, c.b}), low = std::min({c.r, c.g, c.b});
    return high > 0 ? (high - low) / high : 0;
}

constexpr Rgb kWhite{1, 1, 1};
constexpr Rgb kShippedPink{1, 55 / 255.0, 95 / 255.0};
// Dark enough that near-white text clears 7:1 by far, yet the hue still shows.
constexpr double kBackgroundLuminance = 0.012;

// Moves `colour` toward white in small steps until it reads against every colour in `against`.
Rgb lightenUntil(Rgb colour, double ratio, const Rgb& against, const Rgb& alsoAgainst) {
    for (int step = 0; step <= 50; ++step) {
        Rgb candidate = mix(colour, kWhite, step / 50.0);
        if (contrastRatio(candidate, against) >= ratio && contrastRatio(candidate, alsoAgainst) >= ratio) return candidate;
    }
    return kWhite;
}

}  // namespace

double contrastRatio(const Rgb& a, const Rgb& b) {
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::string hexString(const Rgb& c) {
    auto byte = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", byte(c.r), byte(c.g), byte(c.b));
    return text;
}

ThemeProposal proposeTheme(const std::vector<Swatch>& swatches) {
    Rgb dominant = swatches.empty() ? Rgb{0.2, 0.2, 0.22} : swatches.front().colour;
    if (luminance(dominant) <= 0) dominant = {0.2, 0.2, 0.22};

    ThemeProposal theme;
    double factor = 1;
    while (factor > 0.01 && luminance(scaled(dominant, factor)) > kBackgroundLuminance) factor *= 0.95;
    theme.background = scaled(dominant, factor);
    theme.secondary = scaled(theme.background, 0.7);
    theme.bar = mix(theme.background, kWhite, 0.04);

    const Swatch* vivid = nullptr;
    for (const Swatch& swatch : swatches)
        if (saturation(swatch.colour) >= 0.35 && (!vivid || saturation(swatch.colour) > saturation(vivid->colour))) vivid = &swatch;
    theme.tint = lightenUntil(vivid ? vivid->colour : kShippedPink, kTintContrast, theme.background, theme.bar);
    theme.text = lightenUntil(mix(kWhite, dominant, 0.08), kTextContrast, theme.background, theme.bar);
    return theme;
}

}  // namespace obscuro::cli
