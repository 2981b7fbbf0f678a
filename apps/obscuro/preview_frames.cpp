// Drawn screens over a pipe: a length-prefixed JSON header and the thumbnail's pixels.
#include "preview_frames.h"

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace obscuro::cli {

namespace {

// A header lists 77 short entries; anything near this is not one.
constexpr std::uint32_t kMaxHeaderBytes = 1 << 20;
constexpr int kMaxSide = 16384;  // the largest picture the renderer draws

void writeAll(int fd, const void* bytes, std::size_t length) {
    const char* at = static_cast<const char*>(bytes);
    while (length > 0) {
        ssize_t n = ::write(fd, at, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error(std::string("cannot hand a drawn screen back: ") + std::strerror(errno));
        at += n;
        length -= std::size_t(n);
    }
}

// Reads exactly `length` bytes; false when the pipe ended before the first byte.
bool readAll(int fd, void* bytes, std::size_t length) {
    char* at = static_cast<char*>(bytes);
    std::size_t got = 0;
    while (got < length) {
        ssize_t n = ::read(fd, at + got, length - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw std::runtime_error(std::string("cannot read a drawn screen: ") + std::strerror(errno));
        if (n == 0) {
            if (got == 0) return false;
            throw std::runtime_error("a drawn screen was cut short");
        }
        got += std::size_t(n);
    }
    return true;
}

nlohmann::json headerOf(const DrawnScreen& drawn) {
    nlohmann::json header = {{"screen", drawn.screen}, {"width", drawn.thumbnail.width}, {"height", drawn.thumbnail.height}};
    if (drawn.calls) {
        nlohmann::json calls = nlohmann::json::array();
        for (const HookCalls& c : *drawn.calls)
            calls.push_back({{"entry", c.entry}, {"class", c.className}, {"selector", c.selector}, {"calls", c.calls}});
        header["calls"] = std::move(calls);
    }
    return header;
}

}  // namespace

void sendDrawnScreen(int fd, const DrawnScreen& drawn) {
    const render::Picture& picture = drawn.thumbnail;
    if (picture.width < 0 || picture.height < 0 || picture.rgba.size() != std::size_t(picture.width) * picture.height * 4)
        throw std::runtime_error("the picture of " + drawn.screen + " does not hold its size in pixels");
    std::string header = headerOf(drawn).dump();
    auto length = static_cast<std::uint32_t>(header.size());
    writeAll(fd, &length, sizeof length);
    writeAll(fd, header.data(), header.size());
    writeAll(fd, drawn.thumbnail.rgba.data(), drawn.thumbnail.rgba.size());
}

std::optional<DrawnScreen> receiveDrawnScreen(int fd) {
    std::uint32_t length = 0;
    if (!readAll(fd, &length, sizeof length)) return std::nullopt;
    if (length == 0 || length > kMaxHeaderBytes) throw std::runtime_error("a drawn screen has no readable header");
    std::string text(length, '\0');
    if (!readAll(fd, text.data(), text.size())) throw std::runtime_error("a drawn screen was cut short");
    nlohmann::json header = nlohmann::json::parse(text, nullptr, false);
    if (header.is_discarded() || !header.is_object() || !header.value("screen", nlohmann::json()).is_string() ||
        !header.value("width", nlohmann::json()).is_number_integer() || !header.value("height", nlohmann::json()).is_number_integer())
        throw std::runtime_error("a drawn screen has no readable header");
    DrawnScreen drawn;
    drawn.screen = header["screen"].get<std::string>();
    int width = header["width"].get<int>(), height = header["height"].get<int>();
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
        throw std::runtime_error("a drawn screen claims a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
    drawn.thumbnail.width = width;
    drawn.thumbnail.height = height;
    drawn.thumbnail.rgba.resize(std::size_t(width) * height * 4);
    if (!drawn.thumbnail.rgba.empty() && !readAll(fd, drawn.thumbnail.rgba.data(), drawn.thumbnail.rgba.size()))
        throw std::runtime_error("a drawn screen was cut short");
    if (header.contains("calls")) drawn.calls = hookCallsFromReply(header);
    return drawn;
}

}  // namespace obscuro::cli
