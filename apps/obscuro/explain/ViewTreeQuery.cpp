// Hit testing a described view tree and writing its views for people.
#include "ViewTreeQuery.h"

#include <cstdio>
#include <unordered_map>

namespace obscuro::explain {

namespace {

using nlohmann::ordered_json;

bool holds(const ordered_json& frame, double x, double y) {
    if (!frame.is_array() || frame.size() != 4) return false;
    double left = frame[0].get<double>(), top = frame[1].get<double>();
    return x >= left && y >= top && x < left + frame[2].get<double>() && y < top + frame[3].get<double>();
}

bool invisible(const ordered_json& view) {
    return view.value("hidden", false) || view.value("alpha", 1.0) <= 0;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string valueText(const ordered_json& value) {
    if (value.is_null()) return "nil";
    if (value.is_object() && value.contains("space")) {
        if (value["hex"].is_string()) {
            std::string text = value["hex"].get<std::string>();
            const ordered_json& rgba = value["rgba"];
            if (rgba.is_array() && rgba.size() == 4 && rgba[3].get<double>() < 1) text += " alpha " + number(rgba[3].get<double>());
            return text;
        }
        return value["space"].get<std::string>() + " colour";
    }
    if (value.is_object() && value.contains("image")) {
        const ordered_json& image = value["image"];
        if (!image.is_object()) return "nil";
        std::string text = "image " + number(image["size"][0].get<double>()) + "×" + number(image["size"][1].get<double>());
        if (image.value("template", false)) text += " template";
        return text;
    }
    if (value.is_object() && value.contains("object")) return value["object"].get<std::string>();
    return value.dump();
}

std::string decisionText(const ordered_json& decision) {
    std::string entry = decision["entry"].is_number() ? std::to_string(decision["entry"].get<int>()) : std::string("?");
    const ordered_json& step = decision["step"];
    std::string stepText = step.is_string() ? step.get<std::string>() : step.dump();
    return "entry " + entry + " " + decision.value("selector", std::string()) + " step " + stepText +
           ": " + valueText(decision["given"]) + " → " + valueText(decision["result"]);
}

void describeHeld(std::string& out, const ordered_json& held) {
    if (!held.is_object()) return;
    for (const auto& [name, property] : held.items()) {
        out += "  " + name + " " + valueText(property["value"]) + "\n";
        for (const ordered_json& decision : property["decisions"]) out += "    " + decisionText(decision) + "\n";
    }
}

}  // namespace

std::vector<ordered_json> viewsAt(const ordered_json& tree, double x, double y) {
    std::vector<ordered_json> out;
    if (!tree.is_object() || !tree.contains("views") || !tree["views"].is_array()) return out;
    const ordered_json& views = tree["views"];
    std::unordered_map<std::string, const ordered_json*> byId;
    for (const ordered_json& view : views) byId[view.value("id", std::string())] = &view;

    for (auto it = views.rbegin(); it != views.rend(); ++it) {
        const ordered_json& view = *it;
        if (invisible(view) || !holds(view["frame"], x, y)) continue;
        bool shown = true;
        for (const ordered_json* up = &view; shown && up->contains("parent") && (*up)["parent"].is_string();) {
            auto parent = byId.find((*up)["parent"].get<std::string>());
            if (parent == byId.end()) break;
            up = parent->second;
            shown = !invisible(*up) && !(up->value("clips", false) && !holds((*up)["frame"], x, y));
        }
        if (shown) out.push_back(view);
    }
    return out;
}

std::string describeView(const ordered_json& view) {
    const ordered_json& frame = view["frame"];
    std::string out = view.value("class", std::string());
    if (view.value("runtimeClass", std::string()) != view.value("class", std::string()))
        out += " (" + view["runtimeClass"].get<std::string>() + ")";
    out += " " + view.value("id", std::string()) + " frame " + number(frame[0].get<double>()) + "," + number(frame[1].get<double>()) + " " +
           number(frame[2].get<double>()) + "×" + number(frame[3].get<double>());
    if (view.contains("owner") && view["owner"].is_string()) out += " owner " + view["owner"].get<std::string>();
    if (view.value("tag", 0L) != 0) out += " tag " + std::to_string(view["tag"].get<long>());
    out += "\n";
    describeHeld(out, view["colours"]);
    describeHeld(out, view["images"]);
    if (view.contains("decisions") && !view["decisions"].empty()) {
        out += "  other decisions\n";
        for (const ordered_json& decision : view["decisions"]) out += "    " + decisionText(decision) + "\n";
    }
    return out;
}

}  // namespace obscuro::explain
