// Mangling and demangling of simple top-level Swift class names.
#include <objc/swift.h>

#include <cctype>

namespace objc {

std::optional<std::string> swiftMangledClassName(std::string_view dotted) {
    auto dot = dotted.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == dotted.size()) return std::nullopt;
    if (dotted.find('.', dot + 1) != std::string_view::npos) return std::nullopt;
    std::string_view module = dotted.substr(0, dot);
    std::string_view name = dotted.substr(dot + 1);
    std::string out = "_TtC";
    if (module == "Swift") out += "s";
    else out += std::to_string(module.size()) + std::string(module);
    out += std::to_string(name.size()) + std::string(name);
    return out;
}

namespace {

// Reads "<len><text>" at `pos`: a decimal length without leading zero, then that many bytes.
std::optional<std::string_view> readCounted(std::string_view s, std::size_t& pos) {
    if (pos >= s.size() || !std::isdigit(static_cast<unsigned char>(s[pos])) || s[pos] == '0') return std::nullopt;
    std::size_t len = 0;
    while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) {
        len = len * 10 + static_cast<std::size_t>(s[pos] - '0');
        if (len > s.size()) return std::nullopt;
        ++pos;
    }
    if (len == 0 || pos + len > s.size()) return std::nullopt;
    std::string_view text = s.substr(pos, len);
    pos += len;
    return text;
}

}  // namespace

std::string swiftDemangledClassName(std::string_view runtimeName) {
    constexpr std::string_view prefix = "_TtC";
    if (!runtimeName.starts_with(prefix)) return std::string(runtimeName);
    std::size_t pos = prefix.size();
    std::string_view module;
    if (pos < runtimeName.size() && runtimeName[pos] == 's') {
        module = "Swift";
        ++pos;
    } else {
        auto m = readCounted(runtimeName, pos);
        if (!m) return std::string(runtimeName);
        module = *m;
    }
    auto name = readCounted(runtimeName, pos);
    if (!name || pos != runtimeName.size()) return std::string(runtimeName);
    return std::string(module) + "." + std::string(*name);
}

}  // namespace objc
