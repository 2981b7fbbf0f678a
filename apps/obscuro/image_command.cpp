// `obscuro image`: the toolkit's image operations and colour analysis on PNG files, with JSON on stdout.
#include "colour_json.h"
#include "commands.h"
#include "image_files.h"

#include <commandline/CommandLine.h>

#include "UIColor+TarnwickAnalysis.h"
#include "UIImage+Color.h"

#include <Foundation/NSDictionary.h>
#include <UIKit/UIScreen.h>
#include <objc/NSException.h>
#include <objc/message.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace obscuro::cli {

namespace {

constexpr const char* kUsage =
    "usage: obscuro image OP ARGS... [--scale S] [--screen-scale S] [--detail N]\n"
    "  tint IN COLOUR OUT       round IN RADIUS OUT        solid COLOUR W H OUT\n"
    "  thumbnail COLOUR W H OUT scale IN W H OUT           vscale IN W H OUT (W, H in pixels)\n"
    "  brightness IN FACTOR OUT remove-white IN OUT\n"
    "  average IN | average-for IN | luminosity IN | main-colours IN [--detail N]\n"
    "  is-light IN | is-all-white IN | has-alpha IN | same A B | info IN\n"
    "  --scale S          the scale of the input images (default 1)\n"
    "  --screen-scale S   the main screen's scale (default 3)\n"
    "Images are PNG files; an operation that makes an image writes OUT and prints its size.\n";

// Sides larger than this many pixels are refused before anything is drawn.
constexpr double kLargestSide = 16384;

// A bad argument or input: the message goes to stderr and the exit status is 2.
struct UsageError {
    std::string message;
    bool showUsage = true;
};

std::optional<double> decimal(std::string_view text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

struct Options {
    double scale = 1;
    double screenScale = 3;
    int detail = 1;
    bool detailGiven = false;
    std::vector<std::string> operands;
};

// How many operands each operation takes, declared as its positionals.
struct OperandCount {
    const char* op;
    std::size_t count;
};

constexpr OperandCount kOperandCounts[] = {
    {"tint", 3}, {"round", 3}, {"solid", 4}, {"thumbnail", 4}, {"scale", 4}, {"vscale", 4}, {"brightness", 3},
    {"remove-white", 2}, {"average", 1}, {"average-for", 1}, {"luminosity", 1}, {"main-colours", 1}, {"is-light", 1},
    {"is-all-white", 1}, {"has-alpha", 1}, {"same", 2}, {"info", 1},
};

std::string takes(const std::string& op) {
    for (const auto& [name, count] : kOperandCounts)
        if (op == name) return op + " takes " + std::to_string(count) + " argument" + (count == 1 ? "" : "s");
    return op;
}

CLI::Validator imageScale(const std::string& flag) {
    return CLI::Validator([flag](std::string& value) -> std::string {
        auto number = decimal(value);
        if (!number || *number <= 0 || *number > 64) return flag + " takes a scale above 0 and at most 64, not '" + value + "'";
        return {};
    }, "S");
}

CLI::Validator wholeNumber() {
    return CLI::Validator([](std::string& value) -> std::string {
        int detail = 0;
        auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), detail);
        if (value.empty() || error != std::errc() || end != value.data() + value.size()) return "--detail takes a whole number, not '" + value + "'";
        return {};
    }, "N");
}

// The operands of one operation, read in order with the checks each kind needs.
class Operands {
public:
    Operands(const Options& options, std::string_view op, std::size_t count) : options_(options) {
        if (options.operands.size() != count + 1)
            throw UsageError{std::string(op) + " takes " + std::to_string(count) + " argument" + (count == 1 ? "" : "s")};
    }

    id image() { return readPNGImage(next(), options_.scale); }

    // An input image that the operation draws at `scale`, refused when that would take more
    // than kLargestSide pixels a side.
    id imageDrawnAt(double scale) {
        std::string path = next();
        id image = readPNGImage(path, options_.scale);
        CGSize size = msg<CGSize>(image, sel<"size">());
        if (std::max(size.width, size.height) * scale > kLargestSide)
            throw UsageError{"'" + path + "' is too large to draw at scale " + json(scale).dump(), false};
        return image;
    }

    id colour() {
        std::string text = next();
        id colour = colourArgument(text);
        if (!colour) throw UsageError{"'" + text + "' is not a colour; " + kColourForms, false};
        return colour;
    }

    double number(const char* what) {
        std::string text = next();
        auto value = decimal(text);
        if (!value) throw UsageError{std::string(what) + " must be a finite number, not '" + text + "'"};
        return *value;
    }

    // A length in points (or pixels at `scale` 1) that makes at least one and at most
    // kLargestSide pixels at `scale`.
    double side(const char* what, double scale) {
        double value = number(what);
        if (!(value * scale >= 1 && value * scale <= kLargestSide))
            throw UsageError{std::string(what) + " must give 1 to " + std::to_string(int(kLargestSide)) +
                             " pixels at scale " + json(scale).dump() + ", not " + json(value).dump()};
        return value;
    }

    std::string path() { return next(); }

private:
    using json = nlohmann::json;
    std::string next() { return options_.operands[++used_]; }
    const Options& options_;
    std::size_t used_ = 0;
};

// Shows how far a long count has come, on one line of a terminal.
class ProgressLine {
public:
    ProgressLine() : shown_(::isatty(STDERR_FILENO) == 1) {}
    ~ProgressLine() {
        if (shown_ && last_ >= 0) std::fputs("\r\033[K", stderr);
    }

    MainColoursProgress callback() {
        if (!shown_) return {};
        return [this](double fraction) {
            int percent = int(fraction * 100);
            if (percent == last_) return;
            last_ = percent;
            std::fprintf(stderr, "\robscuro image: counting main colours %3d%%", percent);
            std::fflush(stderr);
        };
    }

private:
    bool shown_;
    int last_ = -1;
};

nlohmann::json mainColoursJson(id colours) {
    struct Entry {
        id colour;
        float share;
    };
    std::vector<Entry> entries;
    for (id colour : static_cast<NSDictionary*>(colours))
        entries.push_back({colour, msg<float>(msg<id>(colours, sel<"objectForKey:">(), colour), sel<"floatValue">())});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.share > b.share; });
    nlohmann::json list = nlohmann::json::array();
    for (const Entry& entry : entries) list.push_back({{"color", colourJson(entry.colour)}, {"share", entry.share}});
    return list;
}

// Runs one operation and returns what it prints.
nlohmann::json run(std::string_view op, const Options& options) {
    auto written = [](id image, const std::string& out) {
        writePNGImage(image, out);
        return imageJson(image);
    };
    auto boolean = [](const char* key, BOOL value) { return nlohmann::json{{key, static_cast<bool>(value)}}; };
    const double screen = options.screenScale;

    if (op == "tint") {
        Operands in(options, op, 3);
        id image = in.imageDrawnAt(screen), tint = in.colour();
        return written(imageWithTint(image, tint), in.path());
    }
    if (op == "round") {
        Operands in(options, op, 3);
        id image = in.imageDrawnAt(screen);
        double radius = in.number("RADIUS");
        return written(roundedImageWithRadius(image, radius), in.path());
    }
    if (op == "solid" || op == "thumbnail") {
        Operands in(options, op, 4);
        id colour = in.colour();
        double scale = op == "solid" ? screen : 1.0;
        double width = in.side("W", scale), height = in.side("H", scale);
        id image = op == "solid" ? imageWithColorAndBounds(colour, CGRectMake(0, 0, width, height))
                                 : thumbnailWithSize(colour, CGSizeMake(width, height));
        return written(image, in.path());
    }
    if (op == "scale") {
        Operands in(options, op, 4);
        id image = in.image();
        double width = in.side("W", screen), height = in.side("H", screen);
        return written(scaledToSize(image, CGSizeMake(width, height)), in.path());
    }
    if (op == "vscale") {
        Operands in(options, op, 4);
        id image = in.image();
        // Sizes below one pixel are passed on: the scaler refuses them with its exception.
        double width = in.number("W"), height = in.number("H");
        if (width > kLargestSide || height > kLargestSide)
            throw UsageError{"W and H may be at most " + std::to_string(int(kLargestSide)) + " pixels"};
        return written(vImageScaledImageWithSize(image, CGSizeMake(width, height)), in.path());
    }
    if (op == "brightness") {
        Operands in(options, op, 3);
        id image = in.image();
        double factor = in.number("FACTOR");
        return written(imageWithBrightness(image, factor), in.path());
    }
    if (op == "remove-white") {
        Operands in(options, op, 2);
        id image = in.imageDrawnAt(screen);
        return written(removeWhiteColor(image), in.path());
    }
    if (op == "average") return colourJson(averageColor(Operands(options, op, 1).image()));
    if (op == "average-for") return colourJson(averageColorForImage(Operands(options, op, 1).image()));
    if (op == "luminosity") return {{"luminosity", luminosity(Operands(options, op, 1).image())}};
    if (op == "main-colours") {
        id image = Operands(options, op, 1).image();
        ProgressLine progress;
        return mainColoursJson(mainColoursInImage(image, options.detail, progress.callback()));
    }
    if (op == "is-light") return boolean("light", imageIsLightColor(Operands(options, op, 1).image()));
    if (op == "is-all-white") return boolean("allWhite", imageIsAllWhite(Operands(options, op, 1).image()));
    if (op == "has-alpha") return boolean("hasAlpha", hasAlpha(Operands(options, op, 1).image()));
    if (op == "same") {
        Operands in(options, op, 2);
        id image = in.image(), other = in.image();
        return boolean("same", isSameImage(image, other));
    }
    if (op == "info") return imageJson(Operands(options, op, 1).image());
    throw UsageError{"unknown operation '" + std::string(op) + "'"};
}

int runOperation(Options& options, const std::string& op) {
    try {
        options.operands.insert(options.operands.begin(), op);
        if (options.detailGiven && op != "main-colours") throw UsageError{"--detail is for main-colours only"};
        platform::setMainScreenScale(options.screenScale);
        nlohmann::json result = run(op, options);
        std::cout << result.dump() << '\n';
        return 0;
    } catch (const UsageError& error) {
        std::cerr << "obscuro image: " << error.message << '\n';
        if (error.showUsage) std::cerr << kUsage;
    } catch (const ImageFileError& error) {
        std::cerr << "obscuro image: " << error.what() << '\n';
    } catch (const NSException& exception) {
        std::cerr << "obscuro image: " << exception.name() << ": " << exception.reason() << '\n';
    }
    return 2;
}

}  // namespace

Action imageCommand(CLI::App& command) {
    describeUsage(command, "obscuro image", kUsage, [&command](const CLI::App& where, const CLI::Error& error) -> std::optional<std::string> {
        std::string message = error.what();
        if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) return message.substr(0, message.find(": ")) + " needs a value";
        std::string left = firstLeftOver(where);
        // Every option here takes a value: an unknown one with nothing after it is missing its value.
        if (dynamic_cast<const CLI::ExtrasError*>(&error) && looksLikeOption(left) && leftOver(where).size() == 1)
            return left + " needs a value";
        return actionCountProblem(command, where, error, "operation", [](const CLI::App& operation) { return takes(operation.get_name()); });
    });
    command.require_subcommand(1);
    auto options = std::make_shared<Options>();
    command.add_option("--scale", options->scale)->check(imageScale("--scale"));
    command.add_option("--screen-scale", options->screenScale)->check(imageScale("--screen-scale"));
    command.add_option("--detail", options->detail)->check(wholeNumber());
    // The options may stand before or after the operation and its operands.
    auto operands = std::make_shared<std::vector<std::vector<std::string>>>();
    for (const auto& [op, count] : kOperandCounts) {
        CLI::App* operation = command.add_subcommand(op)->fallthrough();
        operands->emplace_back(count);
        for (std::size_t i = 0; i < count; ++i) operation->add_option("ARG" + std::to_string(i + 1), operands->back()[i])->required();
    }
    return [&command, options, operands] {
        const CLI::App* chosen = command.get_subcommands().front();
        std::size_t index = 0;
        while (chosen->get_name() != kOperandCounts[index].op) ++index;
        options->operands = (*operands)[index];
        options->detailGiven = command.count("--detail") > 0;
        return runOperation(*options, chosen->get_name());
    };
}

}  // namespace obscuro::cli
