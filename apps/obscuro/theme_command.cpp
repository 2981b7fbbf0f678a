// `obscuro theme from-image`: a theme proposed from album art, printed, and optionally added to the device's theme file.
#include "commands.h"
#include "device_folder.h"
#include "theme_proposal.h"

#include <commandline/CommandLine.h>

#include <CoreGraphics/CGImagePNG.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>
#include <Foundation/NSNumber.h>
#include <UIKit/UIImage.h>
#include <device/device.h>
#include <UIColor+TarnwickAnalysis.h>
#include <objc/Strong.h>
#include <objc/message.h>

#include <nlohmann/json.hpp>
#include <plist/plist.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

namespace obscuro::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "usage: obscuro theme from-image ART.png [--name NAME] [--write] [--root DIR]\n";
constexpr const char* kThemeFile = "Library/MobileSubstrate/DynamicLibraries/com.tarnwick.obscuro.bundle/themes.plist";

int usageError(const std::string& message) {
    std::fprintf(stderr, "obscuro theme: %s\n%s", message.c_str(), kUsage);
    return 2;
}

std::optional<std::string> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The picture's main colours, largest share first; nothing when the file is not a PNG.
std::optional<std::vector<Swatch>> swatchesOf(const std::string& png) {
    CGImageRef cgImage = CGImageCreateWithPNGData(png.data(), png.size());
    if (!cgImage) return std::nullopt;
    id image = UIImage::imageWithCGImage(cgImage);
    CGImageRelease(cgImage);
    std::vector<Swatch> swatches;
    id colours = mainColoursInImage(image, 1);
    if (!object_isKindOfClass(colours, NSDictionary::class_())) return swatches;
    auto* dictionary = static_cast<NSDictionary*>(colours);
    for (auto it = begin(dictionary); it != end(dictionary); ++it) {
        id colour = *it;
        double r = 0, g = 0, b = 0, a = 0;
        if (!msg<bool>(colour, sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a)) continue;
        id share = dictionary->objectForKey(colour);
        swatches.push_back({{r, g, b}, msg<double>(share, sel<"doubleValue">())});
    }
    return swatches;
}

// Adds (or replaces) `name` in the theme file and renames a complete new file over the old one,
// so a reader sees either the old themes or all of the new ones.
void writeTheme(const fs::path& root, const std::string& name, const nlohmann::ordered_json& colours) {
    const fs::path themeFile = root / kThemeFile;
    using PlistPtr = std::unique_ptr<void, decltype(&plist_free)>;
    PlistPtr themes(nullptr, plist_free);
    if (auto bytes = readFile(themeFile); bytes && !bytes->empty()) {
        plist_t parsed = nullptr;
        plist_from_memory(bytes->data(), static_cast<uint32_t>(bytes->size()), &parsed);
        themes.reset(parsed);
        if (!parsed || plist_get_node_type(parsed) != PLIST_DICT)
            throw std::runtime_error(themeFile.string() + " is not a theme dictionary; left as it is");
    } else {
        themes.reset(plist_new_dict());
    }
    plist_t theme = plist_new_dict();
    for (const auto& [key, value] : colours.items()) plist_dict_set_item(theme, key.c_str(), plist_new_string(value.get<std::string>().c_str()));
    plist_dict_set_item(themes.get(), name.c_str(), theme);

    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(themes.get(), &xml, &length);
    if (!xml) throw std::runtime_error("cannot write the themes");
    std::string text(xml, length);
    plist_to_xml_free(xml);

    // The device's own atomic write: a temporary file beside the old one, flushed, renamed over
    // it and the folder flushed; on any failure the old file stays as it was.
    fs::create_directories(themeFile.parent_path());
    device::setRoot(root);
    id data = msg<id>(objc_getClass("NSData"), sel<"dataWithBytes:length:">(), static_cast<const void*>(text.data()),
                      static_cast<unsigned long>(text.size()));
    errno = 0;
    if (!msg<BOOL>(data, sel<"writeToFile:atomically:">(), objc::str(std::string("/") + kThemeFile), YES))
        throw std::runtime_error("cannot write " + themeFile.string() + (errno ? std::string(": ") + std::strerror(errno) : "") +
                                 "; the themes there are as they were");
}

int proposeFromImage(const fs::path& art, std::string name, bool write) {
    if (name.empty()) name = art.stem().string();
    if (name.empty()) return usageError("--name takes a theme name");

    auto png = readFile(art);
    if (!png) return usageError("cannot read " + art.string());
    objc::AutoreleasePool pool;
    auto swatches = swatchesOf(*png);
    if (!swatches) return usageError(art.string() + " is not a PNG picture");

    ThemeProposal theme = proposeTheme(*swatches);
    nlohmann::ordered_json colours = {{"backgroundColor", hexString(theme.background)},
                                      {"secondaryColor", hexString(theme.secondary)},
                                      {"textColor", hexString(theme.text)},
                                      {"barColor", hexString(theme.bar)},
                                      {"tintColor", hexString(theme.tint)}};
    nlohmann::ordered_json out = {{"name", name},
                                  {"theme", colours},
                                  {"contrast", {{"text", contrastRatio(theme.text, theme.background)},
                                                {"tint", contrastRatio(theme.tint, theme.background)}}}};
    if (write) {
        const fs::path root = deviceRoot();
        fs::path themeFile = root / kThemeFile;
        try {
            writeTheme(root, name, colours);
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "obscuro theme: %s\n", failure.what());
            return 1;
        }
        out["written"] = themeFile.string();
    }
    std::printf("%s\n", out.dump(2).c_str());
    return 0;
}

}  // namespace

Action themeCommand(CLI::App& command) {
    describeUsage(command, "obscuro theme", kUsage, [&command](const CLI::App& where, const CLI::Error& error) -> std::optional<std::string> {
        if (!isMissingOrLeftOver(error)) return std::nullopt;
        if (&where == &command) return "expected from-image";
        std::string left = firstLeftOver(where);
        return left.empty() ? "missing ART.png" : "unexpected argument " + left;
    });
    command.require_subcommand(1);
    CLI::App* fromImage = command.add_subcommand("from-image");
    auto art = std::make_shared<std::string>();
    auto name = std::make_shared<std::string>();
    auto write = std::make_shared<bool>(false);
    fromImage->add_option("ART.png", *art)->required();
    fromImage->add_option("--name", *name)->type_name("NAME");
    fromImage->add_flag("--write", *write);
    return [art, name, write] { return proposeFromImage(fs::path(*art), *name, *write); };
}

}  // namespace obscuro::cli
