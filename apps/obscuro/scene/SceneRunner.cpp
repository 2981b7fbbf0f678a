// The scene runner: a private device, the Music app in this process, the scene's objects and steps, and the report.
#include "SceneRunner.h"

#include "../colour_json.h"
#include "../device_folder.h"
#include "../explain/DecisionJson.h"
#include "Arguments.h"
#include "DeviceSection.h"
#include "SceneError.h"
#include "StoredState.h"
#include "TweakProbe.h"
#include "ValueJson.h"

#include <CoreFoundation/CFNotificationCenter.h>
#include <CoreFoundation/RunLoop.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSLog.h>
#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSString.h>
#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>
#include <device/device.h>
#include <music/MusicApp.h>
#include <music/MusicClasses.h>
#include <objc/NSException.h>
#include <objc/swift.h>
#include <substrate/TweakLoader.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <set>
#include <unordered_map>

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

// A notification crosses a local socket and one turn of the run loop; two seconds is plenty.
constexpr double kReloadWaitSeconds = 2.0;

// ThemeState's flags, each with the value it has before the library's first load.
struct FlagName {
    const char* name;
    bool startingValue;
};
constexpr FlagName kFlags[] = {{"enabled", false},           {"enableDarkKeyboard", true}, {"useCustomColors", false},
                               {"noctisIntegration", false}, {"displayArtworkShadow", false}, {"useDarkPlaceholder", true},
                               {"colorFlowMusicEnabled", true}};
constexpr const char* kColourNames[] = {"bgColor", "darkerBgColor", "mainTextColor", "barColor", "tintColor", "textDrawingColor"};

CFStringRef settingsChangedName() { return CFSTR("com.tarnwick.obscurosettings/settingschanged"); }

// The ownership family of a selector, by the platform's naming rule: the family's word at the
// start (after any underscores), followed by the end, a colon or a capital letter.
bool inFamily(std::string_view selector, std::string_view family) {
    while (selector.starts_with('_')) selector.remove_prefix(1);
    if (!selector.starts_with(family)) return false;
    if (selector.size() == family.size()) return true;
    char next = selector[family.size()];
    return next == ':' || (next >= 'A' && next <= 'Z');
}

// A result the scene owns: the caller of these families receives a reference of its own.
bool returnsOwned(std::string_view selector) {
    return inFamily(selector, "new") || inFamily(selector, "alloc") || inFamily(selector, "copy") || inFamily(selector, "mutableCopy");
}

// The scene's objects are owned by the runner; a scene that retained, released or destroyed one
// itself would leave it freed under the runner's references or never freed.
bool managesMemory(std::string_view selector) {
    return selector == "retain" || selector == "release" || selector == "autorelease" || selector == "dealloc";
}

// The keyword of the argument at `index` ("setStrokeColor:" → "setStrokeColor").
std::string_view keywordOf(std::string_view selector, int index) {
    for (int i = 0; i < index; ++i) {
        auto colon = selector.find(':');
        if (colon == std::string_view::npos) return {};
        selector.remove_prefix(colon + 1);
    }
    return selector.substr(0, selector.find(':'));
}

std::string describeJson(const ordered_json& value) { return value.dump(-1, ' ', false, ordered_json::error_handler_t::replace); }

// NSLog lines while it lives.
class LogCapture {
public:
    LogCapture() {
        platform::setLogObserver([this](const std::string& message) {
            std::lock_guard guard(lock_);
            lines_.push_back(message);
        });
    }
    ~LogCapture() { platform::setLogObserver({}); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    ordered_json lines() {
        std::lock_guard guard(lock_);
        return lines_;
    }

private:
    std::mutex lock_;
    std::vector<std::string> lines_;
};

// Set on the main run loop when the settings-changed notification reaches this process. The
// runner's observer is registered after the tweak's, and observers of one name are called in
// registration order, so when this is set the tweak has reloaded.
bool gSettingsChangeArrived = false;

void noteSettingsChange(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { gSettingsChangeArrived = true; }

// Removes everything the last scene may have changed in the device copy and copies the source
// device in again. The live notification registrations stay, with this process's own.
void restoreDevice(const std::filesystem::path& source, const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    const fs::path kept[] = {"var", fs::path("var") / "run", fs::path("var") / "run" / "notifyd"};
    std::vector<fs::path> doomed;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        fs::path relative = it->path().lexically_relative(root);
        if (relative == kept[2]) {
            it.disable_recursion_pending();
        } else if (relative != kept[0] && relative != kept[1]) {
            doomed.push_back(it->path());
            it.disable_recursion_pending();
        }
    }
    for (const fs::path& path : doomed) fs::remove_all(path);
    cli::copyDevice(source, root);
}

// Hides class names for the length of one scene.
class HiddenClasses {
public:
    HiddenClasses() = default;
    ~HiddenClasses() {
        for (const std::string& name : names_) objc_unhideClass(name.c_str());
    }
    HiddenClasses(const HiddenClasses&) = delete;
    HiddenClasses& operator=(const HiddenClasses&) = delete;

    void hide(const std::string& name) {
        objc_hideClass(name.c_str());
        names_.push_back(name);
    }

private:
    std::vector<std::string> names_;
};

class Runner {
public:
    Runner(const ordered_json& scene, Stage& stage) : scene_(scene), options_(stage.options), stage_(stage) {}

    ordered_json run() {
        checkTopLevel();
        bool first = !stage_.appStarted;
        try {
            if (!stage_.device) stage_.device.emplace(options_.device);
            else restoreDevice(options_.device, stage_.device->root());
        } catch (const std::exception& failure) {
            throw RunFailure(failure.what());
        }
        device::setRoot(stage_.device->root());
        if (auto it = scene_.find("device"); it != scene_.end() && !it->is_null()) applyDeviceSection(*it, "device");

        LogCapture log;
        objc::AutoreleasePool pool;
        if (first) {
            music::startMusicApp();
            prepareClasses();
            stage_.stockText = StockTextGetters::capture();
            if (shouldLoad()) {
                platform::loadTweaks(music::kBundleIdentifier, music::kExecutableName);
                stage_.probe = TweakProbe::find();
            }
            stage_.appStarted = true;
        } else {
            shouldLoad();
            prepareClasses();
        }
        probe_ = stage_.probe;
        stockText_ = stage_.stockText;
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), this, noteSettingsChange, settingsChangedName(),
                                        nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
        struct ObserverRegistration {
            Runner* runner;
            ~ObserverRegistration() {
                CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), runner);
                if (runner->probe_) runner->probe_->setExplaining(false);
            }
        } registration{this};
        // A later scene's settings reach the loaded library as a change the settings pages announce.
        if (!first && probe_) announceSettingsChange("device");
        if (options_.explain && probe_) probe_->setExplaining(true);

        createObjects();
        collectDecisions(std::nullopt);
        ordered_json results = ordered_json::array();
        if (auto it = scene_.find("steps"); it != scene_.end()) {
            if (!it->is_array()) throw SceneError("steps: expected an array of steps");
            for (std::size_t i = 0; i < it->size(); ++i) {
                objc::AutoreleasePool stepPool;
                performStep((*it)[i], i, results);
                collectDecisions(static_cast<long>(i));
            }
        }

        ordered_json out;
        out["theme"] = themeJson();
        out["hooks"] = probe_ ? ordered_json(probe_->state()["hooks"]) : ordered_json{{"installed", 0}, {"missing", ordered_json::array()}};
        out["results"] = std::move(results);
        out["objects"] = objectsJson();
        out["appearance"] = appearanceJson(sceneIdOf());
        out["log"] = log.lines();
        if (options_.explain) out["explain"] = std::move(explain_);
        return out;
    }

private:
    // --- Set-up --------------------------------------------------------------------------------

    void checkTopLevel() {
        if (!scene_.is_object()) throw SceneError("scene: expected a JSON object");
        static const std::set<std::string> known = {"device", "absentClasses", "classes", "load", "objects", "steps"};
        for (const auto& [key, value] : scene_.items())
            if (!known.contains(key)) throw SceneError("scene: unknown key \"" + key + "\"");
    }

    bool shouldLoad() const {
        auto it = scene_.find("load");
        if (it == scene_.end() || it->is_null()) return true;
        if (!it->is_boolean()) throw SceneError("load: expected true or false");
        return it->get<bool>();
    }

    // Absent classes leave the runtime before the app's classes are registered, so that a Music
    // class whose superclass is absent is absent too; added classes come after both.
    void prepareClasses() {
        std::set<std::string> absent;
        if (auto it = scene_.find("absentClasses"); it != scene_.end()) {
            if (!it->is_array()) throw SceneError("absentClasses: expected an array of class names");
            for (const auto& name : *it) {
                if (!name.is_string() || name.get_ref<const std::string&>().empty())
                    throw SceneError("absentClasses: expected class names, not " + describeJson(name));
                absent.insert(name.get<std::string>());
            }
        }
        for (const std::string& name : absent) {
            hidden_.hide(name);
            if (auto mangled = objc::swiftMangledClassName(name)) hidden_.hide(*mangled);
        }
        for (const std::string& name : music::registerMusicClasses(absent))
            std::fprintf(stderr, "obscuro scene: note: %s is absent too: its superclass is absent\n", name.c_str());

        auto it = scene_.find("classes");
        if (it == scene_.end()) return;
        if (!it->is_array()) throw SceneError("classes: expected an array of {\"name\", \"superclass\"}");
        for (std::size_t i = 0; i < it->size(); ++i) addClass((*it)[i], "classes[" + std::to_string(i) + "]");
    }

    void addClass(const ordered_json& entry, const std::string& where) {
        if (!entry.is_object() || !entry.contains("name") || !entry["name"].is_string() || !entry.contains("superclass") ||
            !entry["superclass"].is_string() || entry.size() != 2)
            throw SceneError(where + ": expected {\"name\": \"…\", \"superclass\": \"…\"}");
        const std::string& name = entry["name"].get_ref<const std::string&>();
        const std::string& superName = entry["superclass"].get_ref<const std::string&>();
        Class superclass = objc_getClass(superName.c_str());
        if (!superclass) throw SceneError(where + ": unknown superclass '" + superName + "'");
        if (name.empty() || objc_getClass(name.c_str())) throw SceneError(where + ": the class '" + name + "' already exists");
        std::string runtimeName = objc::swiftMangledClassName(name).value_or(name);
        Class cls = objc_allocateClassPair(superclass, runtimeName.c_str(), 0);
        if (!cls) throw SceneError(where + ": the class '" + name + "' cannot be added");
        objc_registerClassPair(cls);
    }

    // --- Objects -------------------------------------------------------------------------------

    std::optional<std::string> sceneId(id object) const {
        auto it = nameOf_.find(object);
        if (it == nameOf_.end()) return std::nullopt;
        return it->second;
    }

    SceneIdOf sceneIdOf() const {
        return [this](id object) { return sceneId(object); };
    }

    ObjectResolver resolver() {
        return [this](const std::string& reference) { return resolveObject(reference, "ref \"" + reference + "\""); };
    }

    void registerObject(const std::string& name, id object, const std::string& where) {
        if (byName_.contains(name)) throw SceneError(where + ": the id '" + name + "' is used twice");
        byName_[name] = objects_.size();
        objects_.push_back({name, objc::retain(object)});
        nameOf_.emplace(object, name);
    }

    id objectNamed(const std::string& name) const {
        auto it = byName_.find(name);
        return it == byName_.end() ? nullptr : objects_[it->second].object.get();
    }

    // A scene object, or the object a key path "id.getter.getter" leads to.
    id resolveObject(const std::string& reference, const std::string& where) {
        if (id object = objectNamed(reference)) return object;
        auto dot = reference.find('.');
        id object = dot == std::string::npos ? nullptr : objectNamed(reference.substr(0, dot));
        if (!object) throw SceneError(where + ": unknown object id '" + reference + "'");
        std::size_t start = dot + 1;
        while (true) {
            auto end = reference.find('.', start);
            std::string getter = reference.substr(start, end == std::string::npos ? std::string::npos : end - start);
            std::string returned;
            objc::Value value = send(object, getter, ordered_json::array(), where + ": key path " + reference, &returned);
            if (returned != "@") throw SceneError(where + ": key path " + reference + ": " + getter + " does not return an object");
            object = std::get<id>(value);
            if (!object) throw SceneError(where + ": key path " + reference + ": " + getter + " gave nil");
            if (returnsOwned(getter)) objc_autorelease(object);
            if (end == std::string::npos) return object;
            start = end + 1;
        }
    }

    // A receiver: a scene object or key path, else a class (for a class method).
    id resolveReceiver(const std::string& reference, const std::string& where) {
        if (objectNamed(reference)) return objectNamed(reference);
        auto dot = reference.find('.');
        if (dot != std::string::npos && objectNamed(reference.substr(0, dot))) return resolveObject(reference, where);
        if (Class cls = objc_getClass(reference.c_str())) return reinterpret_cast<id>(cls);
        throw SceneError(where + ": unknown object id or class '" + reference + "'");
    }

    std::string describeReceiver(id receiver) const {
        if (auto name = sceneId(receiver)) return "'" + *name + "'";
        Class cls = object_getClass(receiver);
        if (class_isMetaClass(cls)) return "class " + objc::utf8(NSStringFromClass(reinterpret_cast<Class>(receiver)));
        return "a " + objc::utf8(NSStringFromClass(cls));
    }

    // Sends `selectorName` with arguments made from `args` by the method's signature. The
    // method's return type is stored in *returned.
    objc::Value send(id receiver, const std::string& selectorName, const ordered_json& args, const std::string& where, std::string* returned) {
        if (selectorName.empty()) throw SceneError(where + ": the selector is empty");
        if (managesMemory(selectorName))
            throw SceneError(where + ": " + selectorName + " is not sent by scenes: the runner owns the scene's objects");
        SEL selector = sel_registerName(selectorName.c_str());
        Method method = class_getInstanceMethod(object_getClass(receiver), selector);
        if (!method) throw SceneError(where + ": " + describeReceiver(receiver) + " does not respond to " + selectorName);
        const char* types = method_getTypeEncoding(method);
        int count = objc::signatureArgumentCount(types);
        if (!args.is_array()) throw SceneError(where + ": args: expected an array");
        if (count < 0 || args.size() != static_cast<std::size_t>(count))
            throw SceneError(where + ": " + selectorName + " takes " + std::to_string(count) + " argument(s), not " + std::to_string(args.size()));
        std::vector<objc::Value> values;
        for (int i = 0; i < count; ++i) {
            std::string type = objc::signatureArgumentType(types, i);
            std::string at = where + ": argument " + std::to_string(i + 1);
            // An untyped pointer is passed as a Core Graphics colour, so only where the keyword
            // says a colour goes: anything else would read the colour as some other structure.
            std::string_view keyword = keywordOf(selectorName, i);
            if (type == "^v" && keyword.find("Color") == std::string_view::npos && keyword.find("color") == std::string_view::npos)
                throw SceneError(at + ": cannot pass a pointer to " + std::string(keyword) + ":");
            values.push_back(argumentFromJson(args[static_cast<std::size_t>(i)], type, resolver(), at));
        }
        if (returned) *returned = objc::signatureArgumentType(types, -1);
        try {
            return objc::invoke(receiver, selector, values);
        } catch (const objc::InvokeError& error) {
            throw SceneError(where + ": " + error.what());
        } catch (const NSException& exception) {
            throw SceneError(where + ": " + selectorName + " raised " + exception.name() + ": " + exception.reason());
        }
    }

    // Makes one node and, below it, its controller and subviews. Returns the node borrowed
    // (the scene holds it).
    id createNode(const ordered_json& node, const std::string& where, bool deferParents) {
        if (!node.is_object()) throw SceneError(where + ": an object is {\"id\": …, \"class\": …}");
        static const std::set<std::string> known = {"id", "class", "frame", "tag", "hidden", "init", "controller", "subviews"};
        for (const auto& [key, value] : node.items())
            if (!known.contains(key)) throw SceneError(where + ": unknown key \"" + key + "\"");
        std::string name;
        if (auto it = node.find("id"); it != node.end()) {
            if (!it->is_string() || it->get_ref<const std::string&>().empty()) throw SceneError(where + ": id: expected a non-empty string");
            name = it->get<std::string>();
        }
        std::string at = name.empty() ? where : where + ": object '" + name + "'";
        if (!node.contains("class") || !node["class"].is_string()) throw SceneError(at + ": class: expected a class name");
        const std::string& className = node["class"].get_ref<const std::string&>();
        Class cls = objc_getClass(className.c_str());
        if (!cls) throw SceneError(at + ": unknown class '" + className + "'");
        bool isView = class_isSubclassOfClass(cls, UIView::class_());

        std::optional<CGRect> frame;
        if (auto it = node.find("frame"); it != node.end()) {
            objc::Value rect = argumentFromJson(*it, "{CGRect=dddd}", resolver(), at + ": frame");
            const auto& fields = std::get<objc::StructValue>(rect).fields;
            frame = CGRectMake(fields[0], fields[1], fields[2], fields[3]);
        }
        objc::Strong<objc_object> object = instantiate(cls, node, isView, frame.value_or(CGRect{}), at);
        if (!name.empty()) registerObject(name, object.get(), at);
        if (!isView && (node.contains("frame") || node.contains("tag") || node.contains("hidden") || node.contains("subviews") ||
                        node.contains("controller")))
            throw SceneError(at + ": frame, tag, hidden, subviews and controller belong to views; " + className + " is not one");
        if (isView) {
            auto* view = static_cast<UIView*>(object.get());
            if (frame) view->frame = *frame;
            if (auto it = node.find("tag"); it != node.end()) {
                if (!it->is_number_integer()) throw SceneError(at + ": tag: expected an integer");
                view->tag = it->get<long>();
            }
            if (auto it = node.find("hidden"); it != node.end()) {
                if (!it->is_boolean()) throw SceneError(at + ": hidden: expected true or false");
                view->hidden = it->get<bool>();
            }
            if (auto it = node.find("controller"); it != node.end() && !it->is_null()) attachController(view, *it, at, deferParents);
            if (auto it = node.find("subviews"); it != node.end()) {
                if (!it->is_array()) throw SceneError(at + ": subviews: expected an array");
                for (std::size_t i = 0; i < it->size(); ++i) {
                    id child = createNode((*it)[i], at + ": subviews[" + std::to_string(i) + "]", deferParents);
                    addSubview(object.get(), child, at);
                }
            }
        }
        keepAlive_.push_back(object);
        return object.get();
    }

    objc::Strong<objc_object> instantiate(Class cls, const ordered_json& node, bool isView, CGRect frame, const std::string& at) {
        id allocated = msg<id>(reinterpret_cast<id>(cls), sel<"alloc">());
        objc::Value made;
        try {
            if (auto it = node.find("init"); it != node.end()) {
                if (!it->is_object() || !it->contains("send") || !(*it)["send"].is_string())
                    throw SceneError(at + ": init: expected {\"send\": \"init…\", \"args\": [...]}");
                for (const auto& [key, value] : it->items())
                    if (key != "send" && key != "args") throw SceneError(at + ": init: unknown key \"" + key + "\"");
                if (!inFamily((*it)["send"].get_ref<const std::string&>(), "init"))
                    throw SceneError(at + ": init: " + (*it)["send"].get<std::string>() + " is not an initialiser (init…)");
                std::string returned;
                made = send(allocated, (*it)["send"].get<std::string>(), it->value("args", ordered_json::array()), at + ": init", &returned);
                if (returned != "@") throw SceneError(at + ": init: " + (*it)["send"].get<std::string>() + " does not return an object");
            } else if (isView) {
                made = msg<id>(allocated, sel<"initWithFrame:">(), frame);
            } else {
                made = msg<id>(allocated, sel<"init">());
            }
        } catch (...) {
            objc_release(allocated);
            throw;
        }
        id object = std::holds_alternative<id>(made) ? std::get<id>(made) : nullptr;
        if (!object) throw SceneError(at + ": the initialiser returned nil");
        return objc::adopt(object);
    }

    void addSubview(id parent, id child, const std::string& where) {
        try {
            msg<void>(parent, sel<"addSubview:">(), child);
        } catch (const NSException& exception) {
            throw SceneError(where + ": addSubview: raised " + exception.name() + ": " + exception.reason());
        }
    }

    // The view becomes the root view of a new controller, as a controller's loadView would
    // leave it, but without viewDidLoad: the scene decides what happens next.
    void attachController(UIView* view, const ordered_json& spec, const std::string& where, bool deferParent) {
        std::string at = where + ": controller";
        if (!spec.is_object()) throw SceneError(at + ": expected {\"id\": …, \"class\": …, \"parent\": …}");
        for (const auto& [key, value] : spec.items())
            if (key != "id" && key != "class" && key != "parent") throw SceneError(at + ": unknown key \"" + key + "\"");
        if (!spec.contains("class") || !spec["class"].is_string()) throw SceneError(at + ": class: expected a class name");
        const std::string& className = spec["class"].get_ref<const std::string&>();
        Class cls = objc_getClass(className.c_str());
        if (!cls) throw SceneError(at + ": unknown class '" + className + "'");
        if (!class_isSubclassOfClass(cls, UIViewController::class_())) throw SceneError(at + ": " + className + " is not a view controller");
        std::string name;
        if (auto it = spec.find("id"); it != spec.end() && !it->is_null()) {
            if (!it->is_string() || it->get_ref<const std::string&>().empty()) throw SceneError(at + ": id: expected a non-empty string");
            name = it->get<std::string>();
            at = "controller '" + name + "'";
        }
        auto controller = objc::adopt(msg<id>(msg<id>(reinterpret_cast<id>(cls), sel<"alloc">()), sel<"init">()));
        if (!controller) throw SceneError(at + ": init returned nil");
        if (!name.empty()) registerObject(name, controller.get(), at);
        keepAlive_.push_back(controller);
        msg<void>(controller.get(), sel<"setView:">(), static_cast<id>(view));
        if (auto it = spec.find("parent"); it != spec.end() && !it->is_null()) {
            if (!it->is_string()) throw SceneError(at + ": parent: expected a controller id or null");
            PendingParent pending{controller.get(), it->get<std::string>(), at};
            if (deferParent) pendingParents_.push_back(pending);
            else adoptChild(pending);
        }
    }

    struct PendingParent {
        id controller;
        std::string parent;
        std::string where;
    };

    void adoptChild(const PendingParent& pending) {
        id parent = objectNamed(pending.parent);
        if (!parent) throw SceneError(pending.where + ": parent: unknown object id '" + pending.parent + "'");
        if (!object_isKindOfClass(parent, UIViewController::class_()))
            throw SceneError(pending.where + ": parent: '" + pending.parent + "' is not a view controller");
        msg<void>(parent, sel<"addChildViewController:">(), pending.controller);
    }

    // Top-level objects in order; parents of controllers once every object exists, so a scene
    // can name a parent that comes later.
    void createObjects() {
        auto it = scene_.find("objects");
        if (it == scene_.end()) return;
        if (!it->is_array()) throw SceneError("objects: expected an array of objects");
        for (std::size_t i = 0; i < it->size(); ++i) createNode((*it)[i], "objects[" + std::to_string(i) + "]", true);
        for (const PendingParent& pending : pendingParents_) adoptChild(pending);
        pendingParents_.clear();
    }

    // --- Steps ---------------------------------------------------------------------------------

    void performStep(const ordered_json& step, std::size_t index, ordered_json& results) {
        std::string where = "step " + std::to_string(index);
        if (!step.is_object()) throw SceneError(where + ": expected an object");
        int kinds = step.contains("send") + step.contains("layout") + step.contains("reload") + step.contains("add");
        if (kinds != 1) throw SceneError(where + ": a step has exactly one of \"send\", \"layout\", \"reload\" and \"add\"");
        if (step.contains("send")) sendStep(step, index, where, results);
        else if (step.contains("layout")) layoutStep(step, where);
        else if (step.contains("reload")) reloadStep(step, where);
        else addStep(step, where);
    }

    static void allowKeys(const ordered_json& step, std::initializer_list<const char*> keys, const std::string& where) {
        for (const auto& [key, value] : step.items()) {
            bool allowed = false;
            for (const char* k : keys) allowed = allowed || key == k;
            if (!allowed) throw SceneError(where + ": unknown key \"" + key + "\"");
        }
    }

    void sendStep(const ordered_json& step, std::size_t index, std::string where, ordered_json& results) {
        allowKeys(step, {"send", "to", "args"}, where);
        if (!step["send"].is_string()) throw SceneError(where + ": send: expected a selector");
        const std::string& selectorName = step["send"].get_ref<const std::string&>();
        where += " (send " + selectorName + ")";
        if (!step.contains("to") || !step["to"].is_string()) throw SceneError(where + ": to: expected an object id or class name");
        id receiver = resolveReceiver(step["to"].get<std::string>(), where);
        std::string returned;
        objc::Value value = send(receiver, selectorName, step.value("args", ordered_json::array()), where, &returned);
        if (returned == "v") return;
        results.push_back({{"step", index}, {"value", resultJson(value, sel_registerName(selectorName.c_str()), sceneIdOf())}});
        // A result of the new, alloc and copy families is owned by the caller: the scene.
        if (std::holds_alternative<id>(value) && returnsOwned(selectorName)) objc_autorelease(std::get<id>(value));
    }

    void layoutStep(const ordered_json& step, const std::string& where) {
        allowKeys(step, {"layout"}, where);
        if (!step["layout"].is_string()) throw SceneError(where + ": layout: expected a view id");
        id view = resolveObject(step["layout"].get<std::string>(), where + " (layout)");
        if (!object_isKindOfClass(view, UIView::class_())) throw SceneError(where + " (layout): not a view");
        try {
            platform::layoutTree(static_cast<UIView*>(view));
        } catch (const NSException& exception) {
            throw SceneError(where + " (layout): raised " + exception.name() + ": " + exception.reason());
        }
    }

    // Rewrites device files (as the settings pages would), posts the settings-changed
    // notification and turns the main run loop until this process has heard it.
    void reloadStep(const ordered_json& step, const std::string& where) {
        allowKeys(step, {"reload"}, where);
        const ordered_json& section = step["reload"];
        if (!section.is_null() && !(section.is_boolean() && section.get<bool>())) applyDeviceSection(section, where + " (reload)");
        announceSettingsChange(where + " (reload)");
    }

    void announceSettingsChange(const std::string& where) {
        gSettingsChangeArrived = false;
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), settingsChangedName(), nullptr, nullptr, true);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(kReloadWaitSeconds);
        while (!gSettingsChangeArrived) {
            double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
            if (left <= 0) throw RunFailure(where + ": the settings-changed notification did not arrive within 2 seconds");
            platform::RunLoop::main().runFor(left, true);
        }
    }

    void addStep(const ordered_json& step, const std::string& where) {
        allowKeys(step, {"add", "to"}, where);
        if (!step.contains("to") || !step["to"].is_string()) throw SceneError(where + " (add): to: expected the id of a view");
        id parent = resolveObject(step["to"].get<std::string>(), where + " (add)");
        if (!object_isKindOfClass(parent, UIView::class_())) throw SceneError(where + " (add): the parent is not a view");
        id child = createNode(step["add"], where + " (add)", false);
        if (!object_isKindOfClass(child, UIView::class_())) throw SceneError(where + " (add): only views can be added");
        addSubview(parent, child, where + " (add)");
    }

    // --- Report --------------------------------------------------------------------------------

    void collectDecisions(std::optional<long> step) {
        if (!probe_ || !options_.explain) return;
        for (const DecisionRecord& decision : probe_->decisions()) {
            ordered_json entry;
            entry["step"] = step ? ordered_json(*step) : ordered_json(nullptr);
            if (auto name = sceneId(decision.view)) entry["object"] = *name;
            else if (decision.view) entry["object"] = {{"object", objc::utf8(NSStringFromClass(object_getClass(decision.view)))}};
            else entry["object"] = nullptr;
            entry["entry"] = decision.entry ? ordered_json(*decision.entry) : ordered_json(nullptr);
            entry["selector"] = decision.selector;
            entry["given"] = explain::decisionValueJson(decision.given);
            entry["decidedBy"] = decision.step;
            entry["result"] = explain::decisionValueJson(decision.result);
            explain_.push_back(std::move(entry));
        }
    }

    // ThemeState as the library holds it; without the library, the values it starts with.
    ordered_json themeJson() const {
        ordered_json theme;
        if (!probe_) {
            for (const FlagName& flag : kFlags) theme[flag.name] = flag.startingValue;
            theme["theme"] = nullptr;
            for (const char* colour : kColourNames) theme[colour] = nullptr;
            return theme;
        }
        nlohmann::json state = probe_->state();
        for (const FlagName& flag : kFlags) theme[flag.name] = state["flags"][flag.name];
        id name = probe_->variable("theme");
        theme["theme"] = name && object_isKindOfClass(name, NSString::class_()) ? ordered_json(objc::utf8(name)) : ordered_json(nullptr);
        for (const char* colour : kColourNames) theme[colour] = cli::colourJson(probe_->variable(colour));
        return theme;
    }

    ordered_json objectsJson() const {
        ordered_json out = ordered_json::object();
        for (const auto& object : objects_) out[object.name] = storedStateJson(object.object.get(), sceneIdOf(), stockText_);
        return out;
    }

    struct SceneObject {
        std::string name;
        objc::Strong<objc_object> object;
    };

    const ordered_json& scene_;
    const RunOptions& options_;
    Stage& stage_;
    HiddenClasses hidden_;
    std::optional<TweakProbe> probe_;
    StockTextGetters stockText_;
    std::vector<SceneObject> objects_;
    std::vector<objc::Strong<objc_object>> keepAlive_;  // objects without an id too
    std::unordered_map<std::string, std::size_t> byName_;
    std::unordered_map<id, std::string> nameOf_;
    std::vector<PendingParent> pendingParents_;
    ordered_json explain_ = ordered_json::array();
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
