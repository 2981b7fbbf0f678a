// Reading what scene objects store and what the appearance proxies recorded, past any replaced getter.
#include "StoredState.h"

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSString.h>
#include <QuartzCore/CALayer.h>
#include <UIKit/UIActivityIndicatorView.h>
#include <UIKit/UIAppearance.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UISearchBar.h>
#include <UIKit/UITabBar.h>
#include <UIKit/UITableView.h>
#include <UIKit/UIView.h>

#include <string>

namespace obscuro::scene {

namespace {

using nlohmann::ordered_json;

std::string className(Class cls) { return objc::utf8(NSStringFromClass(cls)); }

ordered_json colour(id object, const SceneIdOf& sceneId) { return objectJson(object, sceneId); }

ordered_json layerColours(CALayer* layer) {
    ordered_json out = ordered_json::object();
    out["borderColor"] = cgColorJson(layer->borderColor);
    if (object_isKindOfClass(layer, CAShapeLayer::class_())) {
        auto* shape = static_cast<CAShapeLayer*>(layer);
        out["strokeColor"] = cgColorJson(shape->strokeColor);
        out["fillColor"] = cgColorJson(shape->fillColor);
    }
    return out;
}

void addViewState(UIView* view, ordered_json& out, const SceneIdOf& sceneId) {
    out["backgroundColor"] = colour(view->backgroundColor.get(), sceneId);
    out["tintColor"] = colour(view->tintColor.get(), sceneId);
    out["hidden"] = view->hidden;
    out["tag"] = view->tag;
    CALayer* layer = view->layer.get();
    if (layer && (layer->borderColor || object_isKindOfClass(layer, CAShapeLayer::class_()))) out["layer"] = layerColours(layer);
}

// The colours and images of the UIKit classes whose state the hooks change.
void addClassState(id object, ordered_json& out, const SceneIdOf& sceneId) {
    if (object_isKindOfClass(object, UIImageView::class_())) {
        out["image"] = imageJson(static_cast<UIImageView*>(object)->image.get());
    } else if (object_isKindOfClass(object, UIButton::class_())) {
        auto* button = static_cast<UIButton*>(object);
        auto normal = button->images.find(0);
        out["image"] = normal == button->images.end() ? ordered_json(nullptr) : imageJson(normal->second.get());
        ordered_json images = ordered_json::object();
        for (const auto& [state, image] : button->images) images[std::to_string(state)] = imageJson(image.get());
        out["images"] = std::move(images);
    } else if (object_isKindOfClass(object, UIActivityIndicatorView::class_())) {
        out["color"] = colour(static_cast<UIActivityIndicatorView*>(object)->color.get(), sceneId);
    } else if (object_isKindOfClass(object, UITableView::class_())) {
        auto* table = static_cast<UITableView*>(object);
        out["separatorColor"] = colour(table->separatorColor.get(), sceneId);
        out["separatorStyle"] = table->separatorStyle;
    } else if (object_isKindOfClass(object, UINavigationBar::class_())) {
        auto* bar = static_cast<UINavigationBar*>(object);
        out["barTintColor"] = colour(bar->barTintColor.get(), sceneId);
        out["translucent"] = bar->translucent;
    } else if (object_isKindOfClass(object, UITabBar::class_())) {
        auto* bar = static_cast<UITabBar*>(object);
        out["barTintColor"] = colour(bar->barTintColor.get(), sceneId);
        out["unselectedItemTintColor"] = colour(bar->unselectedItemTintColor.get(), sceneId);
    } else if (object_isKindOfClass(object, UISearchBar::class_())) {
        out["barTintColor"] = colour(static_cast<UISearchBar*>(object)->barTintColor.get(), sceneId);
    }
}

}  // namespace

StockTextGetters StockTextGetters::capture() {
    StockTextGetters getters;
    for (const char* name : {"UILabel", "UITextField", "UITextView"}) {
        Class cls = objc_getClass(name);
        if (!cls) continue;
        Method textColor = class_getInstanceMethod(cls, sel<"textColor">());
        Method attributedText = class_getInstanceMethod(cls, sel<"attributedText">());
        if (textColor && attributedText)
            getters.entries_.push_back({cls, method_getImplementation(textColor), method_getImplementation(attributedText)});
    }
    return getters;
}

const StockTextGetters::Entry* StockTextGetters::entryFor(id object) const {
    for (const Entry& entry : entries_)
        if (object_isKindOfClass(object, entry.cls)) return &entry;
    return nullptr;
}

id StockTextGetters::textColor(id object) const {
    const Entry* entry = entryFor(object);
    return entry ? objc::callIMP<id>(entry->textColor, object, sel<"textColor">()) : nullptr;
}

id StockTextGetters::attributedText(id object) const {
    const Entry* entry = entryFor(object);
    return entry ? objc::callIMP<id>(entry->attributedText, object, sel<"attributedText">()) : nullptr;
}

ordered_json storedStateJson(id object, const SceneIdOf& sceneId, const StockTextGetters& text) {
    ordered_json out;
    out["class"] = className(object_getClass(object));
    if (object_isKindOfClass(object, UIView::class_())) {
        addViewState(static_cast<UIView*>(object), out, sceneId);
        if (text.holdsText(object)) {
            out["textColor"] = colour(text.textColor(object), sceneId);
            out["attributedText"] = objectJson(text.attributedText(object), sceneId);
        }
        addClassState(object, out, sceneId);
    } else if (object_isKindOfClass(object, CALayer::class_())) {
        auto* layer = static_cast<CALayer*>(object);
        out["backgroundColor"] = cgColorJson(layer->backgroundColor);
        out.update(layerColours(layer));
    }
    // A colour kept in an instance variable of that name (a circle's fill) is read in place.
    if (Ivar fill = class_getInstanceVariable(object_getClass(object), "fillColor");
        fill && std::string_view(ivar_getTypeEncoding(fill)).starts_with("@"))
        out["fillColor"] = objectJson(object_getIvar(object, fill), sceneId);
    return out;
}

ordered_json appearanceJson(const SceneIdOf& sceneId) {
    ordered_json out = ordered_json::object();
    for (const auto& [runtimeName, records] : platform::appearanceRecords()) {
        if (records.empty()) continue;
        Class cls = objc_getClass(runtimeName.c_str());
        ordered_json& setters = out[cls ? className(cls) : runtimeName];
        setters = ordered_json::object();
        for (const platform::AppearanceRecord& record : records) {
            SEL selector = sel_registerName(record.selector.c_str());
            ordered_json value;
            if (record.arguments.size() == 1) {
                value = resultJson(record.arguments[0], selector, sceneId);
            } else {
                value = ordered_json::array();
                for (const objc::Value& argument : record.arguments) value.push_back(resultJson(argument, selector, sceneId));
            }
            setters[record.selector] = std::move(value);
        }
    }
    return out;
}

}  // namespace obscuro::scene
