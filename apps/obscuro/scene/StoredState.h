// What the scene left behind: the state stored on its objects and the calls made on appearance proxies.
#pragma once

#include "ValueJson.h"

#include <objc/message.h>

#include <nlohmann/json.hpp>

#include <vector>

namespace obscuro::scene {

// The stock getters of the text classes, taken before any tweak loads. Labels, text fields and
// text views keep their text privately; the stock getters read it back as stored, while the
// tweak's replacements of the same getters answer with theme colours instead.
class StockTextGetters {
public:
    // Call before the tweak loads; a class absent at that time is never read.
    static StockTextGetters capture();

    // The stored text colour and attributed text of a label, text field or text view; nil for
    // anything else.
    id textColor(id object) const;
    id attributedText(id object) const;
    bool holdsText(id object) const { return entryFor(object) != nullptr; }

private:
    struct Entry {
        Class cls;
        IMP textColor;
        IMP attributedText;
    };
    const Entry* entryFor(id object) const;
    std::vector<Entry> entries_;
};

// What is stored on a scene object, read from its storage, never through a getter that a tweak
// may have replaced:
//   every object:  "class" (as NSStringFromClass gives it)
//   views:         "backgroundColor", "tintColor" (own, not inherited), "hidden", "tag";
//                  "layer": {"borderColor"[, "strokeColor", "fillColor"]} when the layer has a
//                  border colour or is a shape layer
//   text classes:  "textColor", "attributedText"
//   image views:   "image" (see imageJson)
//   buttons:       "image" (the normal state's), "images" ({"state": image} for every state set)
//   activity indicators: "color"; table views: "separatorColor", "separatorStyle";
//   navigation bars: "barTintColor", "translucent"; tab bars: "barTintColor",
//   "unselectedItemTintColor"; search bars: "barTintColor"
//   layers:        "backgroundColor", "borderColor"[, "strokeColor", "fillColor"]
//   any object with an object instance variable "fillColor" (a circle view): "fillColor"
nlohmann::ordered_json storedStateJson(id object, const SceneIdOf& sceneId, const StockTextGetters& text);

// The appearance proxies' recorded setters: {"ClassName": {"setter:": value}} for each class and
// setter called, the value of the last call; a setter of several arguments prints them as an
// array. Classes are named as NSStringFromClass names them.
nlohmann::ordered_json appearanceJson(const SceneIdOf& sceneId);

}  // namespace obscuro::scene
