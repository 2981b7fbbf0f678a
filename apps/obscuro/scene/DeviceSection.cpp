// Writing a scene's device section into the device root: property lists, raw files and removals.
#include "DeviceSection.h"

#include "SceneError.h"
#include "SceneSchema.h"

#include <device/device.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace obscuro::scene {

namespace {

using nlohmann::ordered_json;

void appendEscaped(std::string& out, const std::string& text, const std::string& where) {
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                throw SceneError(where + ": a property list string cannot hold control characters");
            out += c;
        }
    }
}

void appendValue(std::string& out, const ordered_json& value, const std::string& where, int depth) {
    std::string indent(static_cast<std::size_t>(depth), '\t');
    out += indent;
    switch (value.type()) {
    case ordered_json::value_t::object:
        out += "<dict>\n";
        for (const auto& [key, item] : value.items()) {
            out += indent + "\t<key>";
            appendEscaped(out, key, where);
            out += "</key>\n";
            appendValue(out, item, where + "." + key, depth + 1);
        }
        out += indent + "</dict>\n";
        return;
    case ordered_json::value_t::array:
        out += "<array>\n";
        for (std::size_t i = 0; i < value.size(); ++i) appendValue(out, value[i], where + "[" + std::to_string(i) + "]", depth + 1);
        out += indent + "</array>\n";
        return;
    case ordered_json::value_t::string:
        out += "<string>";
        appendEscaped(out, value.get_ref<const std::string&>(), where);
        out += "</string>\n";
        return;
    case ordered_json::value_t::boolean:
        out += value.get<bool>() ? "<true/>\n" : "<false/>\n";
        return;
    case ordered_json::value_t::number_integer:
        out += "<integer>" + std::to_string(value.get<std::int64_t>()) + "</integer>\n";
        return;
    case ordered_json::value_t::number_unsigned:
        out += "<integer>" + std::to_string(value.get<std::uint64_t>()) + "</integer>\n";
        return;
    case ordered_json::value_t::number_float: {
        char text[64];
        auto end = std::to_chars(text, text + sizeof text, value.get<double>()).ptr;
        out += "<real>" + std::string(text, end) + "</real>\n";
        return;
    }
    default:
        throw SceneError(where + ": null cannot be stored in a property list (leave the key out instead)");
    }
}

// Writes follow a last symbolic link (which must stay inside the device); removals take the link itself.
fs::path hostPath(const std::string& devicePath, const std::string& where, device::LastLink last) {
    if (devicePath.empty() || devicePath.front() != '/')
        throw SceneError(where + ": '" + devicePath + "' is not an absolute device path");
    auto resolved = device::resolve(devicePath, last);
    if (!resolved) throw SceneError(where + ": '" + devicePath + "' does not lie inside the device");
    // The live notification registrations of the running processes, this one's included: a
    // scene that changed them would cut the app off from its own settings notifications.
    std::error_code ec;
    fs::path registrations = fs::weakly_canonical(device::root(), ec) / "var/run/notifyd";
    auto [end, ignored] = std::mismatch(registrations.begin(), registrations.end(), resolved->begin(), resolved->end());
    if (end == registrations.end())
        throw SceneError(where + ": '" + devicePath + "' is where running processes register for notifications, not a scene file");
    return *resolved;
}

void writeFile(const fs::path& path, const std::string& bytes, const std::string& where) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) throw SceneError(where + ": cannot make the folder " + path.parent_path().string() + ": " + error.message());
    if (fs::is_directory(path, error)) throw SceneError(where + ": a folder is in the way");
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) throw SceneError(where + ": cannot write " + path.string());
}

void removeFile(const fs::path& path, const std::string& where) {
    std::error_code error;
    if (fs::is_directory(fs::symlink_status(path, error))) throw SceneError(where + ": is a folder, not a file");
    fs::remove(path, error);
    if (error) throw SceneError(where + ": cannot remove " + path.string() + ": " + error.message());
}

// One device file from its scene value: a dictionary or array as a property list, a string as
// bytes, null as no file.
void applyFile(const std::string& devicePath, const ordered_json& value, const std::string& where) {
    if (value.is_null()) {
        removeFile(hostPath(devicePath, where, device::LastLink::keep), where);
        return;
    }
    fs::path path = hostPath(devicePath, where, device::LastLink::follow);
    if (value.is_string()) writeFile(path, value.get_ref<const std::string&>(), where);
    else if (value.is_object() || value.is_array()) writeFile(path, propertyListXml(value, where), where);
    else throw SceneError(where + ": a file is a dictionary or array (a property list), a string (raw bytes) or null (removed)");
}

}  // namespace

std::string propertyListXml(const ordered_json& value, const std::string& where) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n";
    appendValue(out, value, where, 0);
    out += "</plist>\n";
    return out;
}

// Each key is checked as it is reached, so that a fault in a file the section writes first is
// the one reported.
void applyDeviceSection(const ordered_json& section, const std::string& where) {
    checkPart(section, ScenePart::device, where);
    for (const auto& [key, value] : section.items()) {
        checkPartEntry(ScenePart::device, key, value, where);
        if (key == "settings") {
            applyFile(kSettingsPath, value, where + ".settings");
        } else {
            for (const auto& [path, content] : value.items()) applyFile(path, content, where + ".files[\"" + path + "\"]");
        }
    }
}

}  // namespace obscuro::scene
