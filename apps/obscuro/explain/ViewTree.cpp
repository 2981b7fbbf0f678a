// Walking a window's views in drawing order and matching each colour and image with the decisions recorded on its view.
#include "ViewTree.h"

#include "../scene/ValueJson.h"
#include "DecisionJson.h"

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSString.h>
#include <QuartzCore/CALayer.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITextField.h>
#include <UIKit/UITextView.h>
#include <UIKit/UIView.h>
#include <objc/message.h>
#include <objc/runtime.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace obscuro::explain {

namespace {

using nlohmann::ordered_json;

// What a view holds under one name, read the way drawing reads it.
struct HeldValue {
    enum class Kind { Colour, CGColour, Image } kind;
    id object = nullptr;
    CGColorRef cgColour = nullptr;
};

struct HeldProperty {
    const char* name;
    // The selectors of the procedures that set or answer it.
    std::vector<std::string_view> selectors;
    bool (*applies)(UIView* view);
    HeldValue (*read)(UIView* view);
};

bool respondsTo(UIView* view, SEL selector) { return class_respondsToSelector(object_getClass(view), selector); }
bool holdsText(UIView* view) {
    return object_isKindOfClass(view, UILabel::class_()) || object_isKindOfClass(view, UITextField::class_()) ||
           object_isKindOfClass(view, UITextView::class_());
}
bool every(UIView*) { return true; }
HeldValue colourFrom(UIView* view, SEL getter) { return {HeldValue::Kind::Colour, msg<id>(view, getter)}; }

// Views are read through the getters drawing sends (text and tint colours), so a replaced getter
// shows what it answers; a background is read stored, as the layer draws it.
const std::vector<HeldProperty>& heldProperties() {
    static const std::vector<HeldProperty> table = {
        {"background", {"setBackgroundColor:", "backgroundColor"}, every,
         [](UIView* view) { return HeldValue{HeldValue::Kind::Colour, view->backgroundColor.get()}; }},
        {"text", {"setTextColor:", "textColor", "setAttributedText:"}, holdsText,
         [](UIView* view) { return colourFrom(view, sel<"textColor">()); }},
        {"tint", {"tintColor", "setTintColor:"}, every, [](UIView* view) { return colourFrom(view, sel<"tintColor">()); }},
        {"color", {"color", "setColor:", "initWithActivityIndicatorStyle:"},
         [](UIView* view) { return object_isKindOfClass(view, objc_getClass("UIActivityIndicatorView")); },
         [](UIView* view) { return colourFrom(view, sel<"color">()); }},
        {"barTint", {"barTintColor", "setBarTintColor:"}, [](UIView* view) { return respondsTo(view, sel<"barTintColor">()); },
         [](UIView* view) { return colourFrom(view, sel<"barTintColor">()); }},
        {"unselectedItemTint", {"unselectedItemTintColor", "setUnselectedItemTintColor:"},
         [](UIView* view) { return respondsTo(view, sel<"unselectedItemTintColor">()); },
         [](UIView* view) { return colourFrom(view, sel<"unselectedItemTintColor">()); }},
        {"separator", {"separatorColor", "setSeparatorColor:"}, [](UIView* view) { return object_isKindOfClass(view, UITableView::class_()); },
         [](UIView* view) { return colourFrom(view, sel<"separatorColor">()); }},
        {"layerBorder", {}, [](UIView* view) { return view->layer && view->layer->borderWidth > 0 && view->layer->borderColor; },
         [](UIView* view) { return HeldValue{HeldValue::Kind::CGColour, nullptr, view->layer->borderColor}; }},
        {"shapeFill", {}, [](UIView* view) { return object_isKindOfClass(view->layer.get(), CAShapeLayer::class_()); },
         [](UIView* view) { return HeldValue{HeldValue::Kind::CGColour, nullptr, static_cast<CAShapeLayer*>(view->layer.get())->fillColor}; }},
        {"shapeStroke", {}, [](UIView* view) { return object_isKindOfClass(view->layer.get(), CAShapeLayer::class_()); },
         [](UIView* view) { return HeldValue{HeldValue::Kind::CGColour, nullptr, static_cast<CAShapeLayer*>(view->layer.get())->strokeColor}; }},
        {"image", {"setImage:", "setImage:forState:", "image"},
         [](UIView* view) { return object_isKindOfClass(view, UIImageView::class_()) || object_isKindOfClass(view, UIButton::class_()); },
         [](UIView* view) {
             if (object_isKindOfClass(view, UIButton::class_())) {
                 auto& images = static_cast<UIButton*>(view)->images;
                 auto normal = images.find(0);
                 return HeldValue{HeldValue::Kind::Image, normal == images.end() ? nullptr : normal->second.get()};
             }
             auto* imageView = static_cast<UIImageView*>(view);
             UIImage* shown = imageView->highlighted && imageView->highlightedImage ? imageView->highlightedImage.get() : imageView->image.get();
             return HeldValue{HeldValue::Kind::Image, shown};
         }},
    };
    return table;
}

const HeldProperty* propertyFor(std::string_view selector) {
    for (const HeldProperty& property : heldProperties())
        if (std::find(property.selectors.begin(), property.selectors.end(), selector) != property.selectors.end()) return &property;
    return nullptr;
}

bool isGetter(std::string_view selector) { return selector.find(':') == std::string_view::npos; }

std::string className(id object) { return objc::utf8(NSStringFromClass(object_getClass(object))); }

ordered_json ownerName(UIView* view) {
    id responder = view;
    while (object_isKindOfClass(responder, UIView::class_())) responder = msg<id>(responder, sel<"nextResponder">());
    return responder ? ordered_json(className(responder)) : ordered_json(nullptr);
}

struct Placed {
    UIView* view;
    std::string id;
    std::string parent;
    CGPoint origin;  // in window points
};

// Pre-order, subviews back to front: the order the renderer draws in.
void collectViews(UIView* view, std::string id, const Placed* parent, std::vector<Placed>& out) {
    CGPoint origin{0, 0};
    if (parent)
        origin = {parent->origin.x + view->frame.origin.x - parent->view->boundsOrigin.x,
                  parent->origin.y + view->frame.origin.y - parent->view->boundsOrigin.y};
    out.push_back({view, id, parent ? parent->id : std::string(), origin});
    std::size_t self = out.size() - 1;
    for (std::size_t i = 0; i < view->subviews.size(); ++i)
        if (UIView* subview = view->subviews[i].get()) {
            Placed copy = out[self];  // `out` grows below, so the parent is passed by value
            collectViews(subview, id + "." + std::to_string(i), &copy, out);
        }
}

// The decisions recorded on each receiver, in the order they were made.
using DecisionsByReceiver = std::unordered_map<id, std::vector<const scene::DecisionRecord*>>;

ordered_json decisionsFor(const std::vector<const scene::DecisionRecord*>& records) {
    // A getter answers each time it is asked; the last answer is the one read for the value.
    ordered_json out = ordered_json::array();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const scene::DecisionRecord* record = records[i];
        if (isGetter(record->selector)) {
            bool later = std::any_of(records.begin() + i + 1, records.end(),
                                     [&](const scene::DecisionRecord* other) { return other->selector == record->selector; });
            if (later) continue;
        }
        out.push_back(decisionJson(*record));
    }
    return out;
}

// The decisions made away from any view (named images) whose result this view's image
// decisions were given, or which produced the image it holds.
std::vector<const scene::DecisionRecord*> imageSources(id held, const std::vector<const scene::DecisionRecord*>& onView,
                                                       const std::vector<const scene::DecisionRecord*>& madeAway) {
    std::vector<id> wanted;
    if (held) wanted.push_back(held);
    for (const scene::DecisionRecord* record : onView)
        if (record->given.object) wanted.push_back(record->given.object);
    std::vector<const scene::DecisionRecord*> out;
    for (const scene::DecisionRecord* record : madeAway)
        if (record->result.object && std::find(wanted.begin(), wanted.end(), record->result.object) != wanted.end())
            out.push_back(record);
    return out;
}

ordered_json heldValueJson(const HeldValue& value) {
    switch (value.kind) {
    case HeldValue::Kind::Colour: return decisionValueJson({value.object, nullptr});
    case HeldValue::Kind::CGColour: return scene::cgColorJson(value.cgColour);
    case HeldValue::Kind::Image: return value.object ? ordered_json{{"image", scene::imageJson(value.object)}} : ordered_json(nullptr);
    }
    return nullptr;
}

}  // namespace

ordered_json describeWindow(UIView* window, std::vector<scene::DecisionRecord> decisions, const scene::TweakProbe* probe) {
    ordered_json out;
    out["window"] = nullptr;
    out["views"] = ordered_json::array();
    if (!window) return out;
    out["window"] = {{"width", window->frame.size.width}, {"height", window->frame.size.height}};

    std::vector<Placed> views;
    collectViews(window, "0", nullptr, views);

    // Read everything first: the getters it sends make decisions of their own.
    std::vector<std::vector<std::pair<const HeldProperty*, HeldValue>>> held(views.size());
    std::vector<bool> hidden(views.size());
    for (std::size_t i = 0; i < views.size(); ++i) {
        UIView* view = views[i].view;
        hidden[i] = msg<bool>(view, sel<"hidden">()) || (view->layer && view->layer->hidden);
        for (const HeldProperty& property : heldProperties())
            if (property.applies(view)) held[i].push_back({&property, property.read(view)});
    }
    if (probe)
        for (scene::DecisionRecord& later : probe->decisions()) decisions.push_back(std::move(later));

    DecisionsByReceiver byReceiver;
    std::vector<const scene::DecisionRecord*> madeAway;
    for (const scene::DecisionRecord& decision : decisions) {
        // A view's layer is drawn as part of the view: what was decided on it is told with the view.
        id receiver = decision.view;
        if (object_isKindOfClass(receiver, CALayer::class_()) && static_cast<CALayer*>(receiver)->delegate)
            receiver = static_cast<CALayer*>(receiver)->delegate;
        byReceiver[receiver].push_back(&decision);
        // Images made away from any view (a named image is decided on its name) are matched by value.
        if (!object_isKindOfClass(receiver, UIView::class_()) && object_isKindOfClass(decision.result.object, UIImage::class_()))
            madeAway.push_back(&decision);
    }

    for (std::size_t i = 0; i < views.size(); ++i) {
        const Placed& placed = views[i];
        UIView* view = placed.view;
        ordered_json entry;
        entry["id"] = placed.id;
        entry["class"] = className(view);
        entry["runtimeClass"] = class_getName(object_getClass(view));
        entry["frame"] = {placed.origin.x, placed.origin.y, view->frame.size.width, view->frame.size.height};
        entry["hidden"] = static_cast<bool>(hidden[i]);
        // setAlpha: writes both; the layer's float opacity is reported as the view's double unless
        // the layer was changed on its own.
        bool layerOwnOpacity = view->layer && view->layer->opacity != static_cast<float>(view->alpha);
        entry["alpha"] = layerOwnOpacity ? double(view->layer->opacity) : view->alpha;
        entry["clips"] = view->clipsToBounds || (view->layer && view->layer->masksToBounds);
        entry["tag"] = view->tag;
        entry["parent"] = placed.parent.empty() ? ordered_json(nullptr) : ordered_json(placed.parent);
        entry["owner"] = ownerName(view);

        const auto found = byReceiver.find(view);
        static const std::vector<const scene::DecisionRecord*> none;
        const auto& onView = found == byReceiver.end() ? none : found->second;
        ordered_json colours = ordered_json::object(), images = ordered_json::object();
        for (const auto& [property, value] : held[i]) {
            std::vector<const scene::DecisionRecord*> matched;
            for (const scene::DecisionRecord* record : onView)
                if (propertyFor(record->selector) == property) matched.push_back(record);
            if (value.kind == HeldValue::Kind::Image) {
                std::vector<const scene::DecisionRecord*> sources = imageSources(value.object, matched, madeAway);
                matched.insert(matched.begin(), sources.begin(), sources.end());
            }
            ordered_json described = {{"value", heldValueJson(value)}, {"decisions", decisionsFor(matched)}};
            (value.kind == HeldValue::Kind::Image ? images : colours)[property->name] = std::move(described);
        }
        std::vector<const scene::DecisionRecord*> rest;
        for (const scene::DecisionRecord* record : onView)
            if (!propertyFor(record->selector)) rest.push_back(record);
        entry["colours"] = std::move(colours);
        entry["images"] = std::move(images);
        entry["decisions"] = decisionsFor(rest);
        out["views"].push_back(std::move(entry));
    }
    return out;
}

}  // namespace obscuro::explain
