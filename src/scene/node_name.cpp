#include "scene/node_name.h"

#include <cstdlib>

#include "scene/properties.h"

namespace scene {

namespace {
bool EndsWithNoCase(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() && EqualsNoCase(std::string_view(text).substr(text.size() - suffix.size()), suffix);
}
}  // namespace

std::string CleanName(std::string_view name, bool strip_suffix) {
    std::string clean(name);
    for (char& c : clean) {
        if (c == '"') c = '\'';
        else if (static_cast<signed char>(c) <= 32) c = '_';
    }
    if (strip_suffix) {
        if (clean.size() > 4 && EndsWithNoCase(clean, "_vol")) clean.resize(clean.size() - 4);
        if (clean.size() > 4 && EndsWithNoCase(clean, "_dup")) clean.resize(clean.size() - 4);
    }
    for (char& c : clean)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return clean;
}

int LodIndexOfName(std::string_view name) {
    std::string clean = CleanName(name, false);
    size_t at = clean.find("_lod");
    if (at == std::string::npos) return 0;
    long value = std::strtol(clean.c_str() + at + 4, nullptr, 10);
    if (value > INT32_MAX || value < INT32_MIN) return 0;
    return static_cast<int>(value);
}

}  // namespace scene
