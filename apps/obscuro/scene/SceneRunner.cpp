// The scene runner: a private device, the Music app in this process, then the scene's classes, objects, steps and report in turn.
#include "SceneRunner.h"

#include "../device_folder.h"
#include "DeviceReset.h"
#include "DeviceSection.h"
#include "LogCapture.h"
#include "ObjectCreation.h"
#include "Report.h"
#include "SceneClasses.h"
#include "SceneSchema.h"
#include "SettingsChange.h"
#include "StoredState.h"
#include "Steps.h"
#include "TweakProbe.h"

#include <device/device.h>
#include <music/MusicApp.h>
#include <substrate/TweakLoader.h>

#include <optional>

namespace obscuro::scene {

// What outlives one scene when a process runs several: the device copy, and the app and
// library the first scene started.
struct SceneSeries::Stage {
    explicit Stage(const RunOptions& runOptions) : options(runOptions) {}

    RunOptions options;
    std::optional<cli::TemporaryDevice> device;
    bool appStarted = false;
    std::optional<TweakProbe> probe;
    StockTextGetters stockText;
};

namespace {

using Stage = SceneSeries::Stage;

using nlohmann::ordered_json;

class Runner {
public:
    Runner(const ordered_json& scene, Stage& stage) : scene_(scene), options_(stage.options), stage_(stage) {}

    ordered_json run() {
        checkPart(scene_, ScenePart::scene, "scene");
        bool first = !stage_.appStarted;
        try {
            if (!stage_.device) stage_.device.emplace(options_.device);
            else resetDeviceCopy(options_.device, stage_.device->root());
        } catch (const std::exception& failure) {
            throw RunFailure(failure.what());
        }
        device::setRoot(stage_.device->root());
        if (const ordered_json* device = partField(scene_, ScenePart::scene, "device", "")) applyDeviceSection(*device, "device");

        LogCapture log;
        objc::AutoreleasePool pool;
        if (first) {
            music::startMusicApp();
            prepareClasses(scene_, hidden_);
            stage_.stockText = StockTextGetters::capture();
            if (shouldLoad()) {
                platform::loadTweaks(music::kBundleIdentifier, music::kExecutableName);
                stage_.probe = TweakProbe::find();
            }
            stage_.appStarted = true;
        } else {
            shouldLoad();
            prepareClasses(scene_, hidden_);
        }
        probe_ = stage_.probe;
        struct ExplainingOff {
            const std::optional<TweakProbe>& probe;
            ~ExplainingOff() {
                if (probe) probe->setExplaining(false);
            }
        } explainingOff{probe_};
        SettingsChangeListener settings;
        // A later scene's settings reach the loaded library as a change the settings pages announce.
        if (!first && probe_) settings.announce("device");
        if (options_.explain && probe_) probe_->setExplaining(true);

        builder_.createObjects(partField(scene_, ScenePart::scene, "objects", ""));
        collectDecisions(std::nullopt);
        ordered_json results = ordered_json::array();
        if (const ordered_json* steps = partField(scene_, ScenePart::scene, "steps", "")) {
            StepRunner stepRunner(objects_, messenger_, builder_, settings);
            for (std::size_t i = 0; i < steps->size(); ++i) {
                objc::AutoreleasePool stepPool;
                stepRunner.perform((*steps)[i], i, results);
                collectDecisions(static_cast<long>(i));
            }
        }

        ordered_json out;
        out["theme"] = themeJson(probe_);
        out["hooks"] = hooksJson(probe_);
        out["results"] = std::move(results);
        out["objects"] = objectsJson(objects_, stage_.stockText);
        out["appearance"] = appearanceJson(objects_.idOfFunction());
        out["log"] = log.lines();
        if (options_.explain) out["explain"] = decisions_.take();
        return out;
    }

private:
    bool shouldLoad() const {
        const ordered_json* load = partField(scene_, ScenePart::scene, "load", "");
        return !load || load->get<bool>();
    }

    void collectDecisions(std::optional<long> step) {
        if (probe_ && options_.explain) decisions_.collect(*probe_, objects_, step);
    }

    const ordered_json& scene_;
    const RunOptions& options_;
    Stage& stage_;
    HiddenClasses hidden_;
    std::optional<TweakProbe> probe_;
    SceneObjects objects_;
    Messenger messenger_{objects_};
    ObjectBuilder builder_{objects_, messenger_};
    DecisionLog decisions_;
};

}  // namespace

ordered_json runScene(const ordered_json& scene, const RunOptions& options) {
    Stage stage(options);
    return Runner(scene, stage).run();
}

SceneSeries::SceneSeries(const RunOptions& options) : stage_(std::make_unique<Stage>(options)) {}

SceneSeries::~SceneSeries() = default;

ordered_json SceneSeries::run(const ordered_json& scene) { return Runner(scene, *stage_).run(); }

}  // namespace obscuro::scene
