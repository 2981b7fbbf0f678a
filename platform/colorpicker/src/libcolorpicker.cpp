// libcolorpicker: turning a stored colour string into a colour, with a fallback.
#include <colorpicker/libcolorpicker.h>

#include <Foundation/NSString.h>
#include <UIKit/UIColor.h>

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace {

struct ParsedColor {
    double red, green, blue, alpha;
};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A plain decimal from 0 to 1: digits with at most one point ("1", "0.25", ".5", "1.").
// Signs, exponents and words such as "nan" are not colour alphas.
std::optional<double> parseAlpha(std::string_view text) {
    std::size_t digits = 0, points = 0;
    for (char c : text) {
        if (isDigit(c)) ++digits;
        else if (c == '.') ++points;
        else return std::nullopt;
    }
    if (digits == 0 || points > 1) return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || value > 1.0) return std::nullopt;
    return value;
}

std::optional<ParsedColor> parseColorString(std::string_view text) {
    text = trimmed(text);
    if (text.empty() || text.front() != '#') return std::nullopt;
    text.remove_prefix(1);
    double alpha = 1.0;
    if (auto colon = text.find(':'); colon != std::string_view::npos) {
        auto parsed = parseAlpha(text.substr(colon + 1));
        if (!parsed) return std::nullopt;
        alpha = *parsed;
        text = text.substr(0, colon);
    }
    int values[6] = {};
    for (std::size_t i = 0; i < text.size() && i < 6; ++i)
        if ((values[i] = hexDigit(text[i])) < 0) return std::nullopt;
    if (text.size() == 3)  // each digit doubled: "#F80" is "#FF8800"
        return ParsedColor{values[0] * 17 / 255.0, values[1] * 17 / 255.0, values[2] * 17 / 255.0, alpha};
    if (text.size() == 6)
        return ParsedColor{(values[0] * 16 + values[1]) / 255.0, (values[2] * 16 + values[3]) / 255.0,
                           (values[4] * 16 + values[5]) / 255.0, alpha};
    return std::nullopt;
}

std::optional<ParsedColor> parseColorObject(id value) {
    if (!value || !object_isKindOfClass(value, NSString::class_())) return std::nullopt;
    return parseColorString(static_cast<NSString*>(value)->utf8());
}

}  // namespace

id LCPParseColorString(id storedValue, id fallbackString) {
    auto color = parseColorObject(storedValue);
    if (!color) color = parseColorObject(fallbackString);
    if (!color) color = ParsedColor{0, 0, 0, 1};
    return UIColor::colorWithRGBA(color->red, color->green, color->blue, color->alpha);
}
