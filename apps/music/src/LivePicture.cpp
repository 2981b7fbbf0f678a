// Drawing the app's current screen to a PNG file that is replaced whole, for hosts that show the running app.
#include "LivePicture.h"

#include <UIKit/UIView.h>
#include <render/Renderer.h>
#include <screens/MusicScreens.h>

#include <unistd.h>

#include <fstream>
#include <stdexcept>

namespace music {

LivePicture::LivePicture(std::string screen, std::filesystem::path file, double scale)
    : screen_(std::move(screen)), file_(std::move(file)), scale_(scale) {}

namespace {

// Writes a finished file beside `file` and renames it over `file`.
bool putInPlace(const std::filesystem::path& file, const std::function<void(const std::filesystem::path&)>& write, std::string* error) {
    std::filesystem::path partial = file;
    partial += ".partial-" + std::to_string(::getpid());
    try {
        write(partial);
    } catch (const std::runtime_error& failure) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        *error = failure.what();
        return false;
    }
    std::error_code renamed;
    std::filesystem::rename(partial, file, renamed);
    if (renamed) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        *error = "cannot put the picture in place at " + file.string();
        return false;
    }
    return true;
}

}  // namespace

bool LivePicture::paint(std::string* error) {
    objc::AutoreleasePool pool;
    if (describer_.begin) describer_.begin();
    // The old window leaves the application's windows before the new one becomes key.
    if (window_) msg<void>(window_.get(), sel<"setHidden:">(), true);
    window_ = {};
    window_ = screens::showScreen(screen_);
    if (!window_) {
        *error = "no screen called " + screen_;
        return false;
    }
    auto* window = static_cast<UIView*>(window_.get());
    render::Picture picture = render::renderView(window, scale_);
    if (describer_.describe) {
        std::string description = describer_.describe(window);
        bool written = putInPlace(describedFile(), [&](const std::filesystem::path& partial) {
            std::ofstream out(partial, std::ios::binary | std::ios::trunc);
            if (!(out << description) || !out.flush()) throw std::runtime_error("cannot write " + partial.string());
        }, error);
        if (!written) return false;
    }
    if (!putInPlace(file_, [&](const std::filesystem::path& partial) { render::writePNG(picture, partial); }, error)) return false;
    ++paintings_;
    return true;
}

}  // namespace music
