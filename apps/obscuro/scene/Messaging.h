// Messages a scene sends: the receivers it names, arguments made by each method's signature, and the selectors it may not send.
#pragma once

#include "Arguments.h"
#include "SceneObjects.h"
#include "SceneSchema.h"

#include <objc/invoke.h>

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace obscuro::scene {

// Whether a selector is of an ownership family ("init", "copy", ...) by the platform's naming
// rule: the family's word at the start (after any underscores), followed by the end, a colon
// or a capital letter.
bool inFamily(std::string_view selector, std::string_view family);

// A result the caller owns: one of the new, alloc, copy and mutableCopy families.
bool returnsOwned(std::string_view selector);

class Messenger {
public:
    explicit Messenger(const SceneObjects& objects) : objects_(objects) {}

    // Sends `selectorName` with the "args" of `message` (a scene part of kind `part`; none when
    // `message` is null), made into arguments by the method's signature. The method's return
    // type is stored in *returned. Throws SceneError naming `where`.
    objc::Value send(id receiver, const std::string& selectorName, const nlohmann::ordered_json* message, ScenePart part,
                     const std::string& where, std::string* returned);

    // A scene object, or the object a key path "id.getter.getter" leads to.
    id resolveObject(const std::string& reference, const std::string& where);
    // A receiver: a scene object or key path, else a class (for a class method).
    id resolveReceiver(const std::string& reference, const std::string& where);
    // Resolves the {"ref": …} of an argument.
    ObjectResolver resolver();

private:
    std::string describeReceiver(id receiver) const;

    const SceneObjects& objects_;
};

}  // namespace obscuro::scene
