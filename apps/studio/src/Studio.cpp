// The studio's routes on the Settings host, and the Music app it keeps running beside them.
#include <studio/Studio.h>

#include "StudioPage.h"

#include <settings/SettingsHost.h>
#include <studio/StudioEvents.h>

#include <httplib.h>

#include <stdlib.h>

#include <stdexcept>

namespace studio {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A comment line now and then finds out that a page went away, so its stream ends.
constexpr auto kHeartbeat = 3s;

void replyJson(httplib::Response& response, int status, const nlohmann::json& body) {
    response.status = status;
    response.set_header("Cache-Control", "no-store");
    response.set_content(body.dump(), "application/json");
}

}  // namespace

Studio::Studio(settings::SettingsHost& host, StudioOptions options) : options_(std::move(options)) {
    std::string pattern = (fs::temp_directory_path() / "obscuro-studio-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder in " + fs::temp_directory_path().string());
    scratch_ = pattern;

    httplib::Server& http = host.server();
    // Streams and keep-alive connections hold the server's threads; a short keep-alive lets it stop promptly.
    http.set_keep_alive_timeout(1);
    std::string settingsPage = "/pages/" + options_.bundle + "/Root";
    http.Get(kPagePath, [this, &host, settingsPage](const httplib::Request&, httplib::Response& response) {
        response.set_header("Cache-Control", "no-store");
        response.set_content(studioPage(settingsPage, options_.screen, host.token()), "text/html; charset=utf-8");
    });
    http.Get("/studio/state", [this](const httplib::Request&, httplib::Response& response) {
        replyJson(response, 200, stateJson(feed_.state(), options_.screen, options_.scale));
    });
    http.Get("/studio/picture.png", [this](const httplib::Request&, httplib::Response& response) {
        StudioState state = feed_.state();
        auto picture = feed_.picture();
        if (!picture) return replyJson(response, 404, {{"error", "the Music app has not drawn its screen yet"}});
        response.set_header("Cache-Control", "no-store");
        response.set_header("X-Obscuro-Picture", std::to_string(state.picture));
        response.set_content(*picture, "image/png");
    });
    http.Get("/studio/events", [this](const httplib::Request&, httplib::Response& response) {
        response.set_header("Cache-Control", "no-store");
        auto seen = std::make_shared<std::optional<std::uint64_t>>();
        response.set_chunked_content_provider("text/event-stream", [this, seen](std::size_t, httplib::DataSink& sink) {
            std::optional<StudioState> state = seen->has_value() ? feed_.waitForChange(**seen, kHeartbeat) : feed_.state();
            if (feed_.closed()) {
                sink.done();
                return true;
            }
            std::string text;
            if (!state) {
                text = ": still here\n\n";
            } else {
                // The first event also tells the browser to come back soon after a lost connection.
                if (!seen->has_value()) text = "retry: 500\n";
                *seen = state->version;
                text += serverSentEvent("studio", stateJson(*state, options_.screen, options_.scale).dump());
            }
            return sink.write(text.data(), text.size());
        });
    });
    http.Post("/studio/start", [this, &host](const httplib::Request& request, httplib::Response& response) {
        if (!host.acceptsToken(request.get_header_value("X-Obscuro-Token")))
            return replyJson(response, 403, {{"error", "this request does not carry the page's session token; reload the page"}});
        std::string error;
        if (!start(&error)) return replyJson(response, 500, {{"error", error}});
        replyJson(response, 200, stateJson(feed_.state(), options_.screen, options_.scale));
    });
}

Studio::~Studio() {
    stop();
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
}

bool Studio::start(std::string* error) {
    std::lock_guard guard(appLock_);
    StudioState state = feed_.state();
    if (app_ && (state.running() || state.note.empty())) return true;  // running, or still starting
    if (app_) app_->stop();
    MusicAppLaunch launch{options_.musicProgram, options_.root, options_.screen, options_.scale, scratch_ / (options_.screen + ".png")};
    auto app = std::make_unique<LiveMusicApp>(std::move(launch), feed_);
    feed_.publishStarting();
    if (!app->start(error)) {
        feed_.publishEnded(*error);
        return false;
    }
    app_ = std::move(app);
    return true;
}

void Studio::closeStreams() { feed_.close(); }

void Studio::stop() {
    closeStreams();
    std::lock_guard guard(appLock_);
    if (app_) app_->stop();
}

}  // namespace studio
