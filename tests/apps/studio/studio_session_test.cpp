// The studio on a Settings host in this process, with a real Music app: settings written over HTTP redraw the picture, the restart button starts the app afresh.
#include "studio_device.h"

#include <settings/SettingsHost.h>
#include <studio/Studio.h>
#include <studio/StudioEvents.h>

#include <device/device.h>
#include <httplib.h>

#include <gtest/gtest.h>

#include <signal.h>

#include <condition_variable>
#include <fstream>
#include <thread>

namespace studio_test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr const char* kToken = "00112233445566778899aabbccddeeff";
constexpr auto kPictureWait = 30s;

// The colours the library screen mostly shows: the stock white, and each theme's background.
constexpr const char* kStock = "#FFFFFF";
constexpr const char* kMidnight = "#0B0E14";
constexpr const char* kOled = "#000000";

// The page's event stream, read the way the page reads it: each "studio" event's data.
class EventStream {
public:
    explicit EventStream(int port) : client_("127.0.0.1", port) {
        client_.set_read_timeout(60, 0);
        thread_ = std::thread([this] {
            client_.Get("/studio/events", [this](const char* data, std::size_t size) {
                std::lock_guard guard(lock_);
                buffer_.append(data, size);
                for (auto end = buffer_.find("\n\n"); end != std::string::npos; end = buffer_.find("\n\n")) {
                    std::string event = buffer_.substr(0, end + 1);
                    buffer_.erase(0, end + 2);
                    if (!event.starts_with("event: studio\n") && event.find("\nevent: studio\n") == std::string::npos) continue;
                    auto at = event.find("data: ");
                    if (at != std::string::npos) events_.push_back(nlohmann::json::parse(event.substr(at + 6, event.find('\n', at) - at - 6)));
                }
                changed_.notify_all();
                return !leaving_;
            });
            std::lock_guard guard(lock_);
            ended_ = true;
            changed_.notify_all();
        });
    }
    ~EventStream() {
        leaving_ = true;
        client_.stop();
        thread_.join();
    }
    // The first event, from the start of the stream, for which `wanted` holds.
    std::optional<nlohmann::json> next(const std::function<bool(const nlohmann::json&)>& wanted, std::chrono::milliseconds timeout) {
        std::unique_lock guard(lock_);
        std::optional<nlohmann::json> found;
        changed_.wait_for(guard, timeout, [&] {
            for (const auto& event : events_) {
                if (!wanted(event)) continue;
                found = event;
                return true;
            }
            return ended_;
        });
        return found;
    }
    bool ended() {
        std::unique_lock guard(lock_);
        return changed_.wait_for(guard, 5s, [&] { return ended_; });
    }

private:
    httplib::Client client_;
    std::thread thread_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::string buffer_;
    std::vector<nlohmann::json> events_;
    bool ended_ = false;
    std::atomic<bool> leaving_{false};
};

// One device, one Settings host and one studio for the whole executable: the settings bundle
// loads once per process.
class StudioSession : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        device_ = new CopiedDevice;
        device::setRoot(device_->root());
        std::string error;
        auto session = settings::SettingsSession::open("obscurosettings", &error);
        ASSERT_TRUE(session) << error;
        for (auto [key, value] : {std::pair<const char*, nlohmann::json>{"enabled", true}, {"theme", "midnight"}})
            ASSERT_EQ(session->write(*session->pageDeclaring(key), key, value).refusal, settings::Refusal::none);
        host_ = new settings::SettingsHost(std::move(session), kToken);
        studio_ = new studio::Studio(*host_, {OBSCURO_MUSIC, device_->root(), "obscurosettings", "library", 1, {"library", "album"}});
        port_ = host_->bind(0);
        ASSERT_GT(port_, 0);
        thread_ = new std::thread([] { host_->run(); });
        ASSERT_TRUE(studio_->start(&error)) << error;
    }
    static void TearDownTestSuite() {
        if (studio_) studio_->closeStreams();
        if (host_) host_->stop();
        if (thread_) thread_->join();
        if (studio_) studio_->stop();
        delete thread_;
        delete studio_;
        delete host_;
        delete device_;
    }

    // Waits for a picture newer than `after` (from a process other than `notFrom`, when given).
    static studio::StudioState pictureAfter(std::uint64_t after, pid_t notFrom = 0) {
        auto deadline = std::chrono::steady_clock::now() + kPictureWait;
        studio::StudioState state = studio_->feed().state();
        while (!(state.picture > after && state.running() && state.process != notFrom) && std::chrono::steady_clock::now() < deadline)
            if (auto changed = studio_->feed().waitForChange(state.version, 1s)) state = *changed;
        return state;
    }
    // A picture newer than `after`, once the app is done drawing: every write posts the
    // settings-changed notification twice (the bundle's controller, then the stock setter it
    // passes the value on to), and the app may draw once for each.
    static studio::StudioState settledPictureAfter(std::uint64_t after, pid_t notFrom = 0) {
        studio::StudioState state = pictureAfter(after, notFrom);
        while (auto changed = studio_->feed().waitForChange(state.version, 600ms)) state = *changed;
        return state;
    }
    static int post(const std::string& path, const nlohmann::json& body, const char* token = kToken) {
        httplib::Client client("127.0.0.1", port_);
        httplib::Headers headers;
        if (token) headers.emplace("X-Obscuro-Token", token);
        auto result = client.Post(path.c_str(), headers, body.dump(), "application/json");
        return result ? result->status : -1;
    }
    static int set(const std::string& key, const nlohmann::json& value) {
        return post("/api/pages/obscurosettings/Root/set", {{"key", key}, {"value", value}});
    }
    static int tapRespring() { return post("/api/pages/obscurosettings/Root/tap", {{"label", "Respring"}}); }
    static std::string colourOf(const std::string& pictureUrl) {
        httplib::Client client("127.0.0.1", port_);
        auto result = client.Get(pictureUrl.c_str());
        if (!result || result->status != 200) return "no picture";
        return mostCommonColour(pictureFromPng(result->body));
    }
    static std::string colourNow() { return mostCommonColour(pictureFromPng(*studio_->feed().picture())); }
    static bool hasEnded(pid_t pid) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        if (!std::getline(stat, line)) return true;
        auto close = line.rfind(')');
        return line.size() > close + 2 && (line[close + 2] == 'Z' || line[close + 2] == 'X');
    }

    static inline CopiedDevice* device_ = nullptr;
    static inline settings::SettingsHost* host_ = nullptr;
    static inline studio::Studio* studio_ = nullptr;
    static inline std::thread* thread_ = nullptr;
    static inline int port_ = 0;
};

TEST_F(StudioSession, ThePageFramesTheSettingsAndCarriesTheToken) {
    httplib::Client client("127.0.0.1", port_);
    auto page = client.Get("/studio");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("<iframe id=\"settings\" title=\"Settings\" src=\"/pages/obscurosettings/Root\">"), std::string::npos);
    EXPECT_NE(page->body.find(std::string("\"token\":\"") + kToken + "\""), std::string::npos);
    EXPECT_NE(page->body.find("new EventSource('/studio/events')"), std::string::npos);

    studio::StudioState state = pictureAfter(0);
    ASSERT_TRUE(state.running()) << "no first picture: " << state.note;
    auto described = nlohmann::json::parse(client.Get("/studio/state")->body);
    EXPECT_EQ(described["screen"], "library");
    EXPECT_GE(described["picture"].get<std::uint64_t>(), 1u);
    auto picture = client.Get(described["pictureUrl"].get<std::string>().c_str());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->get_header_value("Content-Type"), "image/png");
    render::Picture drawn = pictureFromPng(picture->body);
    EXPECT_EQ(drawn.width, 375);
    EXPECT_EQ(drawn.height, 812);
    EXPECT_EQ(client.Post("/studio/start", "{}", "application/json")->status, 403) << "starting the app asks for the token";
}

TEST_F(StudioSession, AThemeWrittenThroughTheHostReachesThePageAsANewPicture) {
    ASSERT_TRUE(settledPictureAfter(0).running());
    EventStream events(port_);
    auto first = events.next([](const nlohmann::json&) { return true; }, 10s);
    ASSERT_TRUE(first) << "the stream sends the state at once";
    std::uint64_t before = (*first)["picture"];

    for (auto [theme, colour] : {std::pair{"oled", kOled}, std::pair{"midnight", kMidnight}}) {
        ASSERT_EQ(set("theme", theme), 200);
        auto event = events.next([&](const nlohmann::json& e) { return e["picture"].get<std::uint64_t>() > before; }, kPictureWait);
        ASSERT_TRUE(event) << "no new picture announced after the theme " << theme;
        EXPECT_EQ((*event)["running"], true);
        studio::StudioState settled = settledPictureAfter(before);
        before = settled.picture;
        EXPECT_EQ(colourOf(studio::stateJson(settled, "library", 1)["pictureUrl"]), colour) << "the library screen in the theme " << theme;
    }
}

TEST_F(StudioSession, TheRestartButtonStartsTheAppAgainWithTheSettingsOfNow) {
    studio::StudioState state = settledPictureAfter(0);
    ASSERT_TRUE(state.running());
    ASSERT_EQ(set("enabled", false), 200);
    state = settledPictureAfter(state.picture);
    EXPECT_EQ(colourNow(), kStock) << "switched off, the running product passes every call through";

    pid_t before = state.process;
    ASSERT_EQ(tapRespring(), 200);
    state = settledPictureAfter(state.picture, before);
    ASSERT_NE(state.process, before) << "no picture from a restarted app";
    EXPECT_TRUE(hasEnded(before)) << "the app before the restart still runs";
    EXPECT_EQ(colourNow(), kStock);

    // Switched on, the product of an app that loaded it switched off stays inert until the restart.
    ASSERT_EQ(set("enabled", true), 200);
    state = settledPictureAfter(state.picture);
    EXPECT_EQ(colourNow(), kStock);
    before = state.process;
    ASSERT_EQ(tapRespring(), 200);
    state = settledPictureAfter(state.picture, before);
    ASSERT_NE(state.process, before);
    EXPECT_EQ(colourNow(), kMidnight) << "the restarted app loads the product switched on";
}

TEST_F(StudioSession, AnEndedAppIsShownAndStartedAgainWithTheToken) {
    studio::StudioState state = pictureAfter(0);
    ASSERT_TRUE(state.running());
    pid_t killed = state.process;
    ::kill(killed, SIGKILL);
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while ((state.running() || state.note.empty()) && std::chrono::steady_clock::now() < deadline)
        if (auto changed = studio_->feed().waitForChange(state.version, 1s)) state = *changed;
    ASSERT_FALSE(state.running());
    EXPECT_NE(state.note.find("the Music app"), std::string::npos) << state.note;

    EXPECT_EQ(post("/studio/start", nlohmann::json::object(), "ffffffffffffffffffffffffffffffff"), 403);
    EXPECT_FALSE(studio_->feed().state().running());
    EXPECT_EQ(post("/studio/start", nlohmann::json::object()), 200);
    state = pictureAfter(state.picture, killed);
    EXPECT_TRUE(state.running()) << "no picture after starting the app again: " << state.note;
}

TEST_F(StudioSession, APointOfThePictureListsItsViewsAndAnotherScreenComesWithoutARestart) {
    studio::StudioState state = settledPictureAfter(0);
    ASSERT_TRUE(state.running());
    auto deadline = std::chrono::steady_clock::now() + kPictureWait;
    while (state.described != state.picture && std::chrono::steady_clock::now() < deadline)
        if (auto changed = studio_->feed().waitForChange(state.version, 1s)) state = *changed;
    ASSERT_EQ(state.described, state.picture) << "the picture is described after it is shown";

    httplib::Client client("127.0.0.1", port_);
    auto inspected = client.Get("/studio/inspect?x=100&y=300");
    ASSERT_TRUE(inspected && inspected->status == 200);
    nlohmann::json reply = nlohmann::json::parse(inspected->body);
    EXPECT_EQ(reply["screen"], "library");
    ASSERT_FALSE(reply["views"].empty());
    EXPECT_EQ(reply["views"].back()["id"], "0") << "topmost first, the window last";
    const nlohmann::json* decided = nullptr;
    for (const auto& view : reply["views"])
        if (!view["colours"]["background"]["decisions"].empty() && !decided) decided = &view;
    ASSERT_NE(decided, nullptr) << reply.dump();
    EXPECT_EQ((*decided)["colours"]["background"]["decisions"].back()["result"]["hex"], colourNow())
        << "the decision behind the background the picture mostly shows";
    EXPECT_NE(reply["text"].get<std::string>().find("setBackgroundColor: step "), std::string::npos);
    auto bad = client.Get("/studio/inspect?x=left&y=300");
    EXPECT_TRUE(bad && bad->status == 400);

    pid_t process = state.process;
    EXPECT_EQ(post("/studio/screen", {{"screen", "album"}}, "ffffffffffffffffffffffffffffffff"), 403);
    EXPECT_EQ(post("/studio/screen", {{"screen", "lyrics"}}), 400) << "only the screens the page offers";
    EXPECT_EQ(post("/studio/screen", {{"name", "album"}}), 400);
    ASSERT_EQ(post("/studio/screen", {{"screen", "album"}}), 200);
    deadline = std::chrono::steady_clock::now() + kPictureWait;
    while (!(state.screen == "album" && state.described == state.picture) && std::chrono::steady_clock::now() < deadline)
        if (auto changed = studio_->feed().waitForChange(state.version, 1s)) state = *changed;
    EXPECT_EQ(state.screen, "album");
    EXPECT_EQ(state.process, process) << "the same app draws the other screen";
    inspected = client.Get("/studio/inspect?x=100&y=300");
    ASSERT_TRUE(inspected && inspected->status == 200);
    EXPECT_EQ(nlohmann::json::parse(inspected->body)["screen"], "album");
    ASSERT_EQ(post("/studio/screen", {{"screen", "library"}}), 200);
}

TEST_F(StudioSession, ClosingTheStreamsEndsThemSoTheHostCanStop) {
    EventStream events(port_);
    ASSERT_TRUE(events.next([](const nlohmann::json&) { return true; }, 10s));
    // The last test of the executable: it stops what every other test shares.
    auto closing = std::chrono::steady_clock::now();
    studio_->closeStreams();
    EXPECT_TRUE(events.ended());
    host_->stop();
    thread_->join();
    delete thread_;
    thread_ = nullptr;
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 4s);
}

}  // namespace
}  // namespace studio_test
