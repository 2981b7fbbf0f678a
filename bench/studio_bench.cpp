// Studio: a theme written through the Settings host's HTTP API → the new picture announced on the page's event stream and served.
#include "median_report.h"
#include "private_device.h"

#include <settings/SettingsHost.h>
#include <studio/Studio.h>

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace {

constexpr const char* kToken = "0123456789abcdef0123456789abcdef";

// The studio as `obscuro studio` runs it (default screen and scale), on a copy of the default
// device with the product on, and a reader of its event stream as the page reads it.
class RunningStudio {
public:
    RunningStudio() {
        std::string error;
        auto session = settings::SettingsSession::open("obscurosettings", &error);
        if (!session) throw std::runtime_error("the settings bundle does not open: " + error);
        session->write(*session->pageDeclaring("enabled"), "enabled", true);
        host_ = std::make_unique<settings::SettingsHost>(std::move(session), kToken);
        studio::StudioOptions options;
        options.musicProgram = OBSCURO_MUSIC;
        options.root = device_.root();
        studio_ = std::make_unique<studio::Studio>(*host_, options);
        port_ = host_->bind(0);
        server_ = std::thread([this] { host_->run(); });
        if (!studio_->start(&error)) throw std::runtime_error(error);
        reader_ = std::thread([this] { readEvents(); });
        if (!waitForPicture(0, std::chrono::seconds(60))) throw std::runtime_error("the studio showed no first picture");
    }
    ~RunningStudio() {
        studio_->closeStreams();
        reader_.join();
        host_->stop();
        server_.join();
        studio_->stop();
        studio_.reset();
        host_.reset();
    }

    void setTheme(const std::string& theme) {
        httplib::Client client("127.0.0.1", port_);
        nlohmann::json body = {{"key", "theme"}, {"value", theme}};
        auto reply = client.Post("/api/pages/obscurosettings/Root/set", {{"X-Obscuro-Token", kToken}}, body.dump(), "application/json");
        if (!reply || reply->status != 200) throw std::runtime_error("the host refused the theme " + theme);
    }
    // The last picture announced once the app is done drawing: every write posts the
    // settings-changed notification twice (the bundle's controller, then the stock setter), and
    // the app may draw once for each; a picture still due from the last write must not count as
    // the next one's.
    std::uint64_t settledPicture() {
        std::unique_lock guard(lock_);
        for (std::uint64_t seen = picture_;; seen = picture_)
            if (!announced_.wait_for(guard, std::chrono::milliseconds(400), [&] { return picture_ != seen; })) return picture_;
    }
    // Until the stream announces a picture newer than `after`.
    bool waitForPicture(std::uint64_t after, std::chrono::milliseconds timeout) {
        std::unique_lock guard(lock_);
        return announced_.wait_for(guard, timeout, [&] { return picture_ > after; });
    }
    // The picture the page would load for the announcement: the bytes the studio serves.
    bool fetchPicture() {
        httplib::Client client("127.0.0.1", port_);
        auto reply = client.Get("/studio/picture.png");
        return reply && reply->status == 200 && !reply->body.empty();
    }

private:
    void readEvents() {
        httplib::Client client("127.0.0.1", port_);
        client.set_read_timeout(60, 0);
        std::string buffer;
        client.Get("/studio/events", [&](const char* data, std::size_t size) {
            buffer.append(data, size);
            for (auto end = buffer.find("\n\n"); end != std::string::npos; end = buffer.find("\n\n")) {
                std::string event = buffer.substr(0, end);
                buffer.erase(0, end + 2);
                auto at = event.find("data: ");
                if (at == std::string::npos) continue;
                auto state = nlohmann::json::parse(event.substr(at + 6), nullptr, false);
                if (!state.is_object()) continue;
                std::lock_guard guard(lock_);
                picture_ = std::max<std::uint64_t>(picture_, state.value("picture", 0));
                announced_.notify_all();
            }
            return true;
        });
    }

    bench::PrivateDevice device_;
    std::unique_ptr<settings::SettingsHost> host_;
    std::unique_ptr<studio::Studio> studio_;
    int port_ = 0;
    std::thread server_, reader_;
    std::mutex lock_;
    std::condition_variable announced_;
    std::uint64_t picture_ = 0;
};

void SettingChangedToNewPictureInThePage(benchmark::State& state) {
    RunningStudio studio;
    const char* themes[] = {"oled", "graphite", "ocean", "forest", "amethyst", "ember", "slate", "midnight"};
    std::size_t step = 0;
    std::uint64_t before = 0;
    bench::timeEachChange(
        state, "the page was never told of a new picture", [&] { before = studio.settledPicture(); },
        [&] {
            studio.setTheme(themes[step++ % std::size(themes)]);
            return studio.waitForPicture(before, std::chrono::seconds(10)) && studio.fetchPicture();
        });
}
BENCHMARK(SettingChangedToNewPictureInThePage)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
