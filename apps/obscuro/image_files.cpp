// PNG files in and out for `obscuro image`: checked reading, and writing that never leaves a partial file.
#include "image_files.h"

#include <CoreGraphics/CGImagePNG.h>
#include <objc/message.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

namespace obscuro::cli {

namespace {

constexpr unsigned char kPNGSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// Writes all of `bytes` to `fd`, across short writes and interruptions.
bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

}  // namespace

id readPNGImage(const std::string& path, double scale) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) throw ImageFileError("cannot read " + quoted(path) + ": no such file");
    if (std::filesystem::is_directory(path, error)) throw ImageFileError("cannot read " + quoted(path) + ": it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ImageFileError("cannot read " + quoted(path) + ": " + std::strerror(errno));
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw ImageFileError("cannot read " + quoted(path) + ": read error");
    if (bytes.size() < sizeof kPNGSignature || std::memcmp(bytes.data(), kPNGSignature, sizeof kPNGSignature) != 0)
        throw ImageFileError(quoted(path) + " is not a PNG image");
    CGImageRef bitmap = CGImageCreateWithPNGData(bytes.data(), bytes.size());
    if (!bitmap) throw ImageFileError(quoted(path) + " is a damaged or unsupported PNG image");
    id image = msg<id>(objc_getClass("UIImage"), sel<"imageWithCGImage:scale:orientation:">(), bitmap, scale, 0L);
    CGImageRelease(bitmap);
    return image;
}

void writePNGImage(id image, const std::string& path) {
    std::vector<std::uint8_t> png = CGImageCopyPNGData(msg<CGImageRef>(image, sel<"CGImage">()));
    if (png.empty()) throw ImageFileError("the operation made no image to write to " + quoted(path));

    std::filesystem::path target(path);
    std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) throw ImageFileError("cannot write " + quoted(path) + ": " + std::strerror(errno));
    bool written = writeAll(fd, png) && ::fsync(fd) == 0;
    int saved = errno;
    // mkstemp makes the file private; the image gets the usual permissions of a new file.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    if (::close(fd) != 0 && written) written = false, saved = errno;
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) written = false, saved = errno;
    if (!written) {
        ::unlink(temporary.c_str());
        throw ImageFileError("cannot write " + quoted(path) + ": " + std::strerror(saved));
    }
}

nlohmann::json imageJson(id image) {
    CGSize size = msg<CGSize>(image, sel<"size">());
    CGImageRef bitmap = msg<CGImageRef>(image, sel<"CGImage">());
    return {{"size", {size.width, size.height}},
            {"scale", msg<double>(image, sel<"scale">())},
            {"pixels", {CGImageGetWidth(bitmap), CGImageGetHeight(bitmap)}}};
}

}  // namespace obscuro::cli
