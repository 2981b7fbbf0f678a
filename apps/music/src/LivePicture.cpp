// Drawing the app's current screen to a PNG file that is replaced whole, for hosts that show the running app.
#include "LivePicture.h"

#include <UIKit/UIView.h>
#include <render/Renderer.h>
#include <screens/MusicScreens.h>

#include <unistd.h>

#include <stdexcept>

namespace music {

LivePicture::LivePicture(std::string screen, std::filesystem::path file, double scale)
    : screen_(std::move(screen)), file_(std::move(file)), scale_(scale) {}

UIView* LivePicture::window() const { return static_cast<UIView*>(window_.get()); }

bool LivePicture::paint(std::string* error) {
    objc::AutoreleasePool pool;
    if (willBuild_) willBuild_();
    // The old window leaves the application's windows before the new one becomes key.
    if (window_) msg<void>(window_.get(), sel<"setHidden:">(), true);
    window_ = {};
    window_ = screens::showScreen(screen_);
    if (!window_) {
        *error = "no screen called " + screen_;
        return false;
    }
    std::filesystem::path partial = file_;
    partial += ".partial-" + std::to_string(::getpid());
    try {
        render::writePNG(render::renderView(static_cast<UIView*>(window_.get()), scale_), partial);
    } catch (const std::runtime_error& failure) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        *error = failure.what();
        return false;
    }
    std::error_code renamed;
    std::filesystem::rename(partial, file_, renamed);
    if (renamed) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        *error = "cannot put the picture in place at " + file_.string();
        return false;
    }
    ++paintings_;
    return true;
}

}  // namespace music
