// The screen a running Music app keeps drawn: built afresh and written to a PNG file at start and after every settings change.
#pragma once

#include <objc/Strong.h>
#include <objc/objc.h>

#include <filesystem>
#include <functional>
#include <string>

class UIView;

namespace music {

// One screen of the app (a name of music::screens::screenNames()) drawn at `scale` into `file`.
// Needs the app started and its classes registered; runs on the main thread, like the app's UI.
class LivePicture {
public:
    LivePicture(std::string screen, std::filesystem::path file, double scale);

    // Closes the window shown before, builds the screen in a new one (so every method the app
    // calls while building meets the ThemeState of now), draws it and puts the PNG in place by
    // renaming a finished file over `file`: a reader sees the old picture or the new one, never
    // half of one. False, with the reason in `error`, when the screen cannot be drawn or written;
    // `file` is then left as it was.
    bool paint(std::string* error);

    // Called inside each painting's autorelease pool just before the screen is built, for a host
    // that follows what the build does.
    void setWillBuild(std::function<void()> willBuild) { willBuild_ = std::move(willBuild); }
    // The window of the last painting, kept until the next one; nil before the first.
    UIView* window() const;

    // The screen the next painting shows.
    void setScreen(std::string screen) { screen_ = std::move(screen); }
    const std::string& screen() const { return screen_; }
    const std::filesystem::path& file() const { return file_; }
    // How many pictures this process has written.
    int paintings() const { return paintings_; }

private:
    std::string screen_;
    std::filesystem::path file_;
    double scale_;
    objc::Strong<objc_object> window_;
    int paintings_ = 0;
    std::function<void()> willBuild_;
};

}  // namespace music
