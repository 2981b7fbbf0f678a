// The table of every scene part's keys, with their types and messages, and the one check that reads it.
#include "SceneSchema.h"

#include <algorithm>
#include <span>

namespace obscuro::scene {

namespace {

using nlohmann::ordered_json;

enum class Kind { any, string, nonEmptyString, boolean, integer, positiveNumber, array, object };

// What a null value of a key is: judged by the key's kind, the same as an absent key, or a
// value of its own (settings: null removes the file).
enum class Null { byKind, absent, value };

enum class Presence { optional, required };

// When a key's type is checked: as the runner reads the key, or as soon as the part is
// entered, before its unknown keys.
enum class Checked { onRead, onEntry };

struct KeyRule {
    std::string_view name;
    Kind kind;
    std::string_view expected = {};  // the message after the key's name; empty: the part's own message
    Presence presence = Presence::optional;
    Null null = Null::byKind;
    Checked checked = Checked::onRead;
};

// When a part's unknown keys are refused: the first in document order as the part is entered,
// or each as it is reached, for the parts applied key by key.
enum class UnknownKeys { onEntry, asReached };

struct PartRule {
    ScenePart part;
    std::string_view expected;  // the message for a value that is no object
    std::string_view joiner;    // between the part's name and a key's in messages
    std::string_view unknownKey;  // the words before an unknown key; empty: the part's own message
    UnknownKeys unknown;
    std::span<const KeyRule> keys;
};

constexpr KeyRule kSceneKeys[] = {
    {"device", Kind::any, {}, Presence::optional, Null::absent},
    {"absentClasses", Kind::array, "expected an array of class names"},
    {"classes", Kind::array, "expected an array of {\"name\", \"superclass\"}"},
    {"load", Kind::boolean, "expected true or false", Presence::optional, Null::absent},
    {"objects", Kind::array, "expected an array of objects"},
    {"steps", Kind::array, "expected an array of steps"},
};

constexpr KeyRule kDeviceKeys[] = {
    {"settings", Kind::object, "the settings are a dictionary, or null to remove the file", Presence::optional, Null::value},
    {"files", Kind::object, "expected an object of device paths"},
};

constexpr KeyRule kAddedClassKeys[] = {
    {"name", Kind::string, {}, Presence::required, Null::byKind, Checked::onEntry},
    {"superclass", Kind::string, {}, Presence::required, Null::byKind, Checked::onEntry},
};

constexpr KeyRule kObjectKeys[] = {
    {"id", Kind::nonEmptyString, "expected a non-empty string"},
    {"class", Kind::string, "expected a class name", Presence::required},
    {"frame", Kind::any},  // read as a rectangle argument
    {"tag", Kind::integer, "expected an integer"},
    {"hidden", Kind::boolean, "expected true or false"},
    {"init", Kind::any},  // an initialiser part
    {"controller", Kind::any, {}, Presence::optional, Null::absent},  // a controller part
    {"subviews", Kind::array, "expected an array"},
};

constexpr KeyRule kInitialiserKeys[] = {
    {"send", Kind::string, {}, Presence::required, Null::byKind, Checked::onEntry},
    {"args", Kind::array, "expected an array"},
};

constexpr KeyRule kControllerKeys[] = {
    {"id", Kind::nonEmptyString, "expected a non-empty string", Presence::optional, Null::absent},
    {"class", Kind::string, "expected a class name", Presence::required},
    {"parent", Kind::string, "expected a controller id or null", Presence::optional, Null::absent},
};

// The first key of each step kind is the one that names the kind.
constexpr KeyRule kSendStepKeys[] = {
    {"send", Kind::string, "expected a selector", Presence::required},
    {"to", Kind::string, "expected an object id or class name", Presence::required},
    {"args", Kind::array, "expected an array"},
};

constexpr KeyRule kLayoutStepKeys[] = {
    {"layout", Kind::string, "expected a view id", Presence::required},
};

constexpr KeyRule kReloadStepKeys[] = {
    {"reload", Kind::any, {}, Presence::required},  // true, null or a device part
};

constexpr KeyRule kAddStepKeys[] = {
    {"add", Kind::any, {}, Presence::required},  // an object part
    {"to", Kind::string, "expected the id of a view", Presence::required},
};

constexpr KeyRule kImageKeys[] = {
    {"size", Kind::any},  // read as two numbers
    {"scale", Kind::positiveNumber, "expected a positive number"},
    {"resizable", Kind::boolean, "expected true or false"},
    {"template", Kind::boolean, "expected true or false"},
    {"fill", Kind::string, "expected \"#RRGGBB\""},
};

constexpr PartRule kParts[] = {
    {ScenePart::scene, "expected a JSON object", ": ", "unknown key", UnknownKeys::onEntry, kSceneKeys},
    {ScenePart::device, "expected an object with \"settings\" and/or \"files\"", ".", "unknown key", UnknownKeys::asReached, kDeviceKeys},
    {ScenePart::addedClass, "expected {\"name\": \"…\", \"superclass\": \"…\"}", ": ", {}, UnknownKeys::onEntry, kAddedClassKeys},
    {ScenePart::object, "an object is {\"id\": …, \"class\": …}", ": ", "unknown key", UnknownKeys::onEntry, kObjectKeys},
    {ScenePart::initialiser, "expected {\"send\": \"init…\", \"args\": [...]}", ": ", "unknown key", UnknownKeys::onEntry, kInitialiserKeys},
    {ScenePart::controller, "expected {\"id\": …, \"class\": …, \"parent\": …}", ": ", "unknown key", UnknownKeys::onEntry, kControllerKeys},
    {ScenePart::sendStep, "expected an object", ": ", "unknown key", UnknownKeys::onEntry, kSendStepKeys},
    {ScenePart::layoutStep, "expected an object", ": ", "unknown key", UnknownKeys::onEntry, kLayoutStepKeys},
    {ScenePart::reloadStep, "expected an object", ": ", "unknown key", UnknownKeys::onEntry, kReloadStepKeys},
    {ScenePart::addStep, "expected an object", ": ", "unknown key", UnknownKeys::onEntry, kAddStepKeys},
    {ScenePart::image, "an image is {\"size\": [w, h], \"scale\": s, \"fill\": \"#RRGGBB\", …}", ".", "unknown image key",
     UnknownKeys::asReached, kImageKeys},
};

constexpr ScenePart kStepParts[] = {ScenePart::sendStep, ScenePart::layoutStep, ScenePart::reloadStep, ScenePart::addStep};

const PartRule& ruleOf(ScenePart part) {
    return *std::find_if(std::begin(kParts), std::end(kParts), [part](const PartRule& rule) { return rule.part == part; });
}

const KeyRule* keyRule(const PartRule& part, std::string_view key) {
    auto it = std::find_if(part.keys.begin(), part.keys.end(), [key](const KeyRule& rule) { return rule.name == key; });
    return it == part.keys.end() ? nullptr : &*it;
}

SceneError partError(const PartRule& part, const std::string& where) { return SceneError(where + ": " + std::string(part.expected)); }

SceneError unknownKeyError(const PartRule& part, std::string_view key, const std::string& where) {
    if (part.unknownKey.empty()) return partError(part, where);
    return SceneError(where + ": " + std::string(part.unknownKey) + " \"" + std::string(key) + "\"");
}

// A key's message names the key after its part (a top-level key by its name alone).
SceneError keyError(const PartRule& part, const KeyRule& key, const std::string& where) {
    if (key.expected.empty()) return partError(part, where);
    std::string name = where.empty() ? std::string(key.name) : where + std::string(part.joiner) + std::string(key.name);
    return SceneError(name + ": " + std::string(key.expected));
}

bool hasKind(const ordered_json& value, const KeyRule& key) {
    if (value.is_null() && key.null == Null::value) return true;
    switch (key.kind) {
    case Kind::any: return true;
    case Kind::string: return value.is_string();
    case Kind::nonEmptyString: return value.is_string() && !value.get_ref<const std::string&>().empty();
    case Kind::boolean: return value.is_boolean();
    case Kind::integer: return value.is_number_integer();
    case Kind::positiveNumber: return value.is_number() && value.get<double>() > 0;
    case Kind::array: return value.is_array();
    case Kind::object: return value.is_object();
    }
    return false;
}

// The value of a key of `part`; nullptr when absent (or null, where null means absent).
const ordered_json* checkedValue(const ordered_json& value, const PartRule& part, const KeyRule& key, const std::string& where) {
    auto it = value.find(key.name);
    if (it == value.end() || (it->is_null() && key.null == Null::absent)) {
        if (key.presence == Presence::required) throw keyError(part, key, where);
        return nullptr;
    }
    if (!hasKind(*it, key)) throw keyError(part, key, where);
    return &*it;
}

}  // namespace

void checkPart(const ordered_json& value, ScenePart part, const std::string& where) {
    const PartRule& rule = ruleOf(part);
    if (!value.is_object()) throw partError(rule, where);
    for (const KeyRule& key : rule.keys)
        if (key.checked == Checked::onEntry) checkedValue(value, rule, key, where);
    if (rule.unknown == UnknownKeys::asReached) return;
    for (const auto& [key, item] : value.items())
        if (!keyRule(rule, key)) throw unknownKeyError(rule, key, where);
}

const ordered_json* partField(const ordered_json& value, ScenePart part, std::string_view key, const std::string& where) {
    const PartRule& rule = ruleOf(part);
    return checkedValue(value, rule, *keyRule(rule, key), where);
}

void checkPartEntry(ScenePart part, std::string_view key, const ordered_json& value, const std::string& where) {
    const PartRule& rule = ruleOf(part);
    const KeyRule* keyRuleFound = keyRule(rule, key);
    if (!keyRuleFound) throw unknownKeyError(rule, key, where);
    if (!hasKind(value, *keyRuleFound)) throw keyError(rule, *keyRuleFound, where);
}

SceneError partKeyError(ScenePart part, std::string_view key, const std::string& where) {
    const PartRule& rule = ruleOf(part);
    return keyError(rule, *keyRule(rule, key), where);
}

ScenePart stepPart(const ordered_json& step, const std::string& where) {
    if (!step.is_object()) throw partError(ruleOf(ScenePart::sendStep), where);
    const ScenePart* found = nullptr;
    int kinds = 0;
    std::string names;
    for (std::size_t i = 0; i < std::size(kStepParts); ++i) {
        std::string_view marker = ruleOf(kStepParts[i]).keys.front().name;
        if (step.contains(marker)) {
            ++kinds;
            found = &kStepParts[i];
        }
        names += (i == 0 ? "" : i + 1 == std::size(kStepParts) ? " and " : ", ") + ("\"" + std::string(marker) + "\"");
    }
    if (kinds != 1) throw SceneError(where + ": a step has exactly one of " + names);
    return *found;
}

}  // namespace obscuro::scene
