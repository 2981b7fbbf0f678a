// The Music app process the studio shows: started on the studio's device, followed through its output, ended with the studio.
#pragma once

#include <studio/PictureFeed.h>

#include <sys/types.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace studio {

struct MusicAppLaunch {
    std::filesystem::path program;  // the obscuro-music executable
    std::filesystem::path root;     // the device it runs on
    std::string screen;             // the screen it keeps drawn
    double scale = 2;
    std::filesystem::path picture;  // the PNG file it draws to; names this studio's app among the device's processes
};

// Runs `obscuro-music --root ROOT --screen SCREEN --picture FILE --scale S --explain --serve` and
// publishes each picture it reports drawing ("Painted SCREEN (process PID, …)") to the feed, read
// from the file, and each description of it ("Described …", FILE.json). The device's restart (its killall) ends that process and starts the same command
// again, writing to the same output: the feed then names the new process, which is not a child
// of this one. When no process writes to the output any more, the feed says the app ended.
class LiveMusicApp {
public:
    LiveMusicApp(MusicAppLaunch launch, PictureFeed& feed);
    ~LiveMusicApp();  // stop()
    LiveMusicApp(const LiveMusicApp&) = delete;
    LiveMusicApp& operator=(const LiveMusicApp&) = delete;

    // Starts the app and the thread that follows it. False, with the reason in `error`, when the
    // program cannot be started; call once.
    bool start(std::string* error);

    // Ends the app, whichever process now runs it (SIGTERM, SIGKILL after two seconds), and any
    // other process of the device drawing to this picture (one a restart was starting as the
    // studio stopped); returns once they have ended and the following thread is done.
    void stop();

    // The command line it runs, program first.
    std::vector<std::string> arguments() const;

    // Asks the app to show `screen` (a name of its screens) from now on, a restarted app included:
    // it draws that screen at once. False, with the reason in `error`, when the request cannot be made.
    bool showScreen(const std::string& screen, std::string* error);

private:
    void follow();
    void handleLine(const std::string& line);
    // Collects this object's own child if it has ended, without waiting; its exit in words, or
    // empty when there was nothing to collect.
    std::string reapChild();
    bool childRuns();
    std::vector<pid_t> processesDrawingHere() const;
    std::filesystem::path describedFile() const;
    std::filesystem::path screenRequestFile() const;

    MusicAppLaunch launch_;
    PictureFeed& feed_;
    std::mutex childLock_;
    pid_t child_ = -1;  // the process start() made, until collected
    int output_ = -1;   // read end of the app's standard output
    int wake_ = -1;     // an eventfd that ends follow()
    std::thread follower_;
};

}  // namespace studio
