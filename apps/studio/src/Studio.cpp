// The studio's routes on the Settings host, and the Music app it keeps running beside them.
#include <studio/Studio.h>

#include "StudioPage.h"

#include <explain/ViewTreeQuery.h>
#include <settings/SettingsHost.h>
#include <studio/StudioEvents.h>

#include <httplib.h>

#include <stdlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
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

std::optional<double> coordinate(const std::string& text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
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
        response.set_content(studioPage(settingsPage, options_.screen, screens(), host.token()), "text/html; charset=utf-8");
    });
    http.Get("/studio/state", [this](const httplib::Request&, httplib::Response& response) {
        StudioState state = feed_.state();
        replyJson(response, 200, stateJson(state, shownScreen(state), options_.scale));
    });
    http.Get("/studio/inspect", [this](const httplib::Request& request, httplib::Response& response) {
        auto x = coordinate(request.get_param_value("x")), y = coordinate(request.get_param_value("y"));
        if (!x || !y) return replyJson(response, 400, {{"error", "x and y are numbers of points"}});
        StudioState state = feed_.state();
        auto description = feed_.description();
        if (!description) return replyJson(response, 404, {{"error", "the Music app has not described its screen yet"}});
        std::vector<nlohmann::ordered_json> views = obscuro::explain::viewsAt(*description, *x, *y);
        std::string text;
        for (const auto& view : views) text += obscuro::explain::describeView(view);
        nlohmann::ordered_json reply = {{"picture", state.described}, {"screen", shownScreen(state)}, {"point", {*x, *y}},
                                        {"views", views}, {"text", text}};
        response.set_header("Cache-Control", "no-store");
        response.set_content(reply.dump(), "application/json");
    });
    http.Post("/studio/screen", [this, &host](const httplib::Request& request, httplib::Response& response) {
        if (!host.acceptsToken(request.get_header_value("X-Obscuro-Token")))
            return replyJson(response, 403, {{"error", "this request does not carry the page's session token; reload the page"}});
        auto body = nlohmann::json::parse(request.body, nullptr, false);
        if (body.is_discarded() || !body.is_object() || !body.contains("screen") || !body["screen"].is_string())
            return replyJson(response, 400, {{"error", "send {\"screen\": NAME}"}});
        std::string screen = body["screen"].get<std::string>();
        std::vector<std::string> offered = screens();
        if (std::find(offered.begin(), offered.end(), screen) == offered.end())
            return replyJson(response, 400, {{"error", "no screen called " + screen}});
        std::string error;
        if (!showScreen(screen, &error)) return replyJson(response, 500, {{"error", error}});
        StudioState state = feed_.state();
        replyJson(response, 200, stateJson(state, shownScreen(state), options_.scale));
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
                text += serverSentEvent("studio", stateJson(*state, shownScreen(*state), options_.scale).dump());
            }
            return sink.write(text.data(), text.size());
        });
    });
    http.Post("/studio/start", [this, &host](const httplib::Request& request, httplib::Response& response) {
        if (!host.acceptsToken(request.get_header_value("X-Obscuro-Token")))
            return replyJson(response, 403, {{"error", "this request does not carry the page's session token; reload the page"}});
        std::string error;
        if (!start(&error)) return replyJson(response, 500, {{"error", error}});
        StudioState state = feed_.state();
        replyJson(response, 200, stateJson(state, shownScreen(state), options_.scale));
    });
}

std::vector<std::string> Studio::screens() const {
    return options_.screens.empty() ? std::vector<std::string>{options_.screen} : options_.screens;
}

std::string Studio::shownScreen(const StudioState& state) const { return state.screen.empty() ? options_.screen : state.screen; }

bool Studio::showScreen(const std::string& screen, std::string* error) {
    std::lock_guard guard(appLock_);
    if (!app_) {
        *error = "the Music app has not been started";
        return false;
    }
    return app_->showScreen(screen, error);
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
