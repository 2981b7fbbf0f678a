// Descriptions of arrays and dictionaries, laid out as the phone lays them out.
#include "Description.h"

#include <Foundation/NSDictionary.h>

#include "Internal.h"

namespace foundation {

namespace {

// Strings made only of these characters appear bare; any other string is quoted.
bool needsQuotes(const std::string& text) {
    if (text.empty()) return true;
    for (char c : text) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '$' ||
                     c == '/' || c == ':';
        if (!plain) return true;
    }
    return false;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

std::string element(id object, int level) {
    if (auto* s = as<NSString>(object)) return needsQuotes(s->utf8()) ? quoted(s->utf8()) : s->utf8();
    return describeCollection(object, level);
}

}  // namespace

std::string describeCollection(id object, int level) {
    std::string indent(static_cast<std::size_t>(level) * 4, ' ');
    std::string inner(static_cast<std::size_t>(level + 1) * 4, ' ');
    if (auto* array = as<NSArray>(object)) {
        std::string out = "(\n";
        const auto& objects = array->objects();
        for (std::size_t i = 0; i < objects.size(); ++i)
            out += inner + element(objects[i].get(), level + 1) + (i + 1 < objects.size() ? ",\n" : "\n");
        return out + indent + ")";
    }
    if (auto* dictionary = as<NSDictionary>(object)) {
        std::string out = "{\n";
        for (const auto& entry : dictionary->entries())
            out += inner + element(entry.key.get(), level + 1) + " = " + element(entry.value.get(), level + 1) + ";\n";
        return out + indent + "}";
    }
    return describe(object);
}

}  // namespace foundation
