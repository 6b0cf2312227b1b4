#include "scene/properties.h"

namespace scene {

namespace {

// Keys that never reach the pass-through parameter string.
constexpr std::string_view kReservedKeys[] = {
    "IKMin",        "IKMax",          "IKSpeed",     "IKType",        "IKLimit",      "IKTerminate",
    "Proper",       "Permit",         "type",        "model",         "xmodel",       "poly",
    "voxels",       "anitex",         "animation",   "animationresume", "animationauto", "layer",
    "oldskin",      "LODControlBone", "LODLastOff",  "structure",     "DecalTarget",  "NoGroupMesh",
    "NoCastShadows", "NoGetShadows",  "Mesh",        "Color",         "Hold",
};

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::string NormalizePropertyText(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '\r') line += ';';
        else if (u >= 32) line += c;
    }
    return line;
}

std::vector<PropertyEntry> ParseProperties(std::string_view text) {
    std::string line = NormalizePropertyText(text);
    std::vector<PropertyEntry> entries;
    size_t start = 0;
    while (start < line.size()) {
        size_t end = line.find(';', start);
        if (end == std::string::npos) end = line.size();
        std::string_view entry(line.data() + start, end - start);
        size_t eq = entry.find('=');
        if (eq == std::string_view::npos) {
            entries.push_back({std::string(entry), std::string()});
        } else {
            std::string_view rest = entry.substr(eq + 1);
            entries.push_back({std::string(entry.substr(0, eq)), std::string(rest.substr(0, rest.find('=')))});
        }
        start = end + 1;
    }
    return entries;
}

bool HasPropertyKey(std::string_view text, std::string_view key) { return PropertyValue(text, key).has_value(); }

std::optional<std::string> PropertyValue(std::string_view text, std::string_view key) {
    for (PropertyEntry& e : ParseProperties(text))
        if (EqualsNoCase(e.key, key)) return std::move(e.value);
    return std::nullopt;
}

bool IsReservedKey(std::string_view key) {
    for (std::string_view reserved : kReservedKeys)
        if (EqualsNoCase(key, reserved)) return true;
    return false;
}

std::string RebuildPropertyLine(std::string_view text, bool drop_reserved) {
    std::string line;
    for (const PropertyEntry& e : ParseProperties(text)) {
        if (drop_reserved && IsReservedKey(e.key)) continue;
        line += e.key;
        if (!e.value.empty()) line += "=" + e.value;
        line += ';';
    }
    return line;
}

}  // namespace scene
