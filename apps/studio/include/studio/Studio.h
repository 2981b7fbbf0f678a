// The studio: the Settings host's pages beside a live picture of the Music app, served by one local page.
#pragma once

#include <studio/LiveMusicApp.h>
#include <studio/PictureFeed.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace settings {
class SettingsHost;
}

namespace studio {

struct StudioOptions {
    std::filesystem::path musicProgram;  // the obscuro-music executable
    std::filesystem::path root;          // the device the host's session and the app share
    std::string bundle = "obscurosettings";  // whose Root page the studio frames
    std::string screen = "library";  // the screen shown first
    double scale = 2;
    std::vector<std::string> screens;  // the screens the page offers; only `screen` when empty
};

// Adds to a Settings host (the session opened on the same device):
//   GET  /studio              the page: the bundle's Root page in a frame, the picture beside it,
//                             a restart button (the Root page's respring action, through the host)
//   GET  /studio/state        the state as JSON (see stateJson)
//   GET  /studio/picture.png  the latest picture (404 before the first)
//   GET  /studio/events       text/event-stream: a "studio" event with the state at once and after
//                             every change (a new picture, a restarted or ended app)
//   POST /studio/start        starts the Music app again when it has ended (X-Obscuro-Token)
//   POST /studio/screen       {"screen": NAME}: the app shows that screen from now on (X-Obscuro-Token)
//   GET  /studio/inspect?x=X&y=Y   the views of the latest description under the point (window
//                             points), topmost first: {"picture": the picture it describes,
//                             "screen", "point": [x, y], "views": [VIEW...], "text": for people}
// and runs the Music app that draws the picture, on the same device.
class Studio {
public:
    static constexpr const char* kPagePath = "/studio";

    // Adds the routes (call before host.run()). The host must have stopped before the studio
    // goes away. Throws std::runtime_error when its scratch folder cannot be made.
    Studio(settings::SettingsHost& host, StudioOptions options);
    ~Studio();  // stop(), and the scratch folder removed
    Studio(const Studio&) = delete;
    Studio& operator=(const Studio&) = delete;

    // Starts the Music app; when one was started before and has ended, starts it again. True
    // when an app runs or was started; false, with the reason in `error`, when it cannot start.
    bool start(std::string* error);
    // Ends the page's event streams for good, so that the host can stop; call before host.stop().
    void closeStreams();
    // closeStreams(), then ends the Music app wherever it runs now (see LiveMusicApp::stop).
    void stop();

    const PictureFeed& feed() const { return feed_; }
    // Asks the running app to show `screen` (see LiveMusicApp::showScreen).
    bool showScreen(const std::string& screen, std::string* error);
    const StudioOptions& options() const { return options_; }

private:
    std::vector<std::string> screens() const;
    std::string shownScreen(const StudioState& state) const;

    StudioOptions options_;
    std::filesystem::path scratch_;  // holds the picture file the app draws to
    PictureFeed feed_;
    std::mutex appLock_;
    std::unique_ptr<LiveMusicApp> app_;
};

}  // namespace studio
