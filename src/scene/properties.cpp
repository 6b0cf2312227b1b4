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

namespace {

// True when the text's only control characters are CR LF line ends, so its
// entries can be cut from it directly: CR ends an entry like ';' and the LF
// after it is dropped.
bool HasOnlyLineEnds(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 32) continue;
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        if (c == '\r' && i + 1 == text.size()) continue;
        return false;
    }
    return true;
}

// Calls visit(key, value) for each entry of the normalised line, in order,
// until it returns true; true when it did.
template <class Visit>
bool VisitEntries(std::string_view text, Visit&& visit) {
    std::string normalized;
    std::string_view line = text;
    bool cut_line_ends = HasOnlyLineEnds(text);
    if (!cut_line_ends) {
        normalized = NormalizePropertyText(text);
        line = normalized;
    }
    size_t start = 0;
    while (start < line.size()) {
        if (cut_line_ends && line[start] == '\n') {
            ++start;
            continue;
        }
        size_t end = line.find_first_of(cut_line_ends ? ";\r" : ";", start);
        if (end == std::string_view::npos) end = line.size();
        std::string_view entry = line.substr(start, end - start);
        size_t eq = entry.find('=');
        std::string_view key = entry.substr(0, eq);
        std::string_view value;
        if (eq != std::string_view::npos) {
            value = entry.substr(eq + 1);
            value = value.substr(0, value.find('='));
        }
        if (visit(key, value)) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

std::vector<PropertyEntry> ParseProperties(std::string_view text) {
    std::vector<PropertyEntry> entries;
    VisitEntries(text, [&](std::string_view key, std::string_view value) {
        entries.push_back({std::string(key), std::string(value)});
        return false;
    });
    return entries;
}

bool HasPropertyKey(std::string_view text, std::string_view key) {
    return VisitEntries(text, [&](std::string_view k, std::string_view) { return EqualsNoCase(k, key); });
}

uint32_t PropertyKeyMask(std::string_view text, std::initializer_list<std::string_view> keys) {
    uint32_t mask = 0;
    VisitEntries(text, [&](std::string_view k, std::string_view) {
        uint32_t bit = 1;
        for (std::string_view key : keys) {
            if (EqualsNoCase(k, key)) mask |= bit;
            bit <<= 1;
        }
        return false;
    });
    return mask;
}

std::optional<std::string> PropertyValue(std::string_view text, std::string_view key) {
    std::optional<std::string> found;
    VisitEntries(text, [&](std::string_view k, std::string_view v) {
        if (!EqualsNoCase(k, key)) return false;
        found = std::string(v);
        return true;
    });
    return found;
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
