// Sending a scene's messages and following its key paths, within what the runner's ownership allows.
#include "Messaging.h"

#include "SceneError.h"

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSString.h>
#include <objc/NSException.h>

#include <vector>

namespace obscuro::scene {

namespace {

using nlohmann::ordered_json;

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

}  // namespace

bool inFamily(std::string_view selector, std::string_view family) {
    while (selector.starts_with('_')) selector.remove_prefix(1);
    if (!selector.starts_with(family)) return false;
    if (selector.size() == family.size()) return true;
    char next = selector[family.size()];
    return next == ':' || (next >= 'A' && next <= 'Z');
}

bool returnsOwned(std::string_view selector) {
    return inFamily(selector, "new") || inFamily(selector, "alloc") || inFamily(selector, "copy") || inFamily(selector, "mutableCopy");
}

ObjectResolver Messenger::resolver() {
    return [this](const std::string& reference) { return resolveObject(reference, "ref \"" + reference + "\""); };
}

id Messenger::resolveObject(const std::string& reference, const std::string& where) {
    if (id object = objects_.named(reference)) return object;
    auto dot = reference.find('.');
    id object = dot == std::string::npos ? nullptr : objects_.named(reference.substr(0, dot));
    if (!object) throw SceneError(where + ": unknown object id '" + reference + "'");
    std::size_t start = dot + 1;
    while (true) {
        auto end = reference.find('.', start);
        std::string getter = reference.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string returned;
        objc::Value value = send(object, getter, nullptr, ScenePart::sendStep, where + ": key path " + reference, &returned);
        if (returned != "@") throw SceneError(where + ": key path " + reference + ": " + getter + " does not return an object");
        object = std::get<id>(value);
        if (!object) throw SceneError(where + ": key path " + reference + ": " + getter + " gave nil");
        if (returnsOwned(getter)) objc_autorelease(object);
        if (end == std::string::npos) return object;
        start = end + 1;
    }
}

id Messenger::resolveReceiver(const std::string& reference, const std::string& where) {
    if (id object = objects_.named(reference)) return object;
    auto dot = reference.find('.');
    if (dot != std::string::npos && objects_.named(reference.substr(0, dot))) return resolveObject(reference, where);
    if (Class cls = objc_getClass(reference.c_str())) return reinterpret_cast<id>(cls);
    throw SceneError(where + ": unknown object id or class '" + reference + "'");
}

std::string Messenger::describeReceiver(id receiver) const {
    if (auto name = objects_.idOf(receiver)) return "'" + *name + "'";
    Class cls = object_getClass(receiver);
    if (class_isMetaClass(cls)) return "class " + objc::utf8(NSStringFromClass(reinterpret_cast<Class>(receiver)));
    return "a " + objc::utf8(NSStringFromClass(cls));
}

objc::Value Messenger::send(id receiver, const std::string& selectorName, const ordered_json* message, ScenePart part,
                            const std::string& where, std::string* returned) {
    if (selectorName.empty()) throw SceneError(where + ": the selector is empty");
    if (managesMemory(selectorName))
        throw SceneError(where + ": " + selectorName + " is not sent by scenes: the runner owns the scene's objects");
    SEL selector = sel_registerName(selectorName.c_str());
    Method method = class_getInstanceMethod(object_getClass(receiver), selector);
    if (!method) throw SceneError(where + ": " + describeReceiver(receiver) + " does not respond to " + selectorName);
    const char* types = method_getTypeEncoding(method);
    int count = objc::signatureArgumentCount(types);
    // The arguments are checked once the method is known, so that a scene sending a selector
    // nothing answers hears that first.
    static const ordered_json kNoArguments = ordered_json::array();
    const ordered_json* given = message ? partField(*message, part, "args", where) : nullptr;
    const ordered_json& args = given ? *given : kNoArguments;
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

}  // namespace obscuro::scene
