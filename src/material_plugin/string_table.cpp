#include "material_plugin/string_table.h"

namespace corvane {

namespace {

struct StringResource {
    int id;
    const char* text;
};
constexpr StringResource kStrings[] = {
    {kStrLibDescription, "Corvane material"},
    {kStrCategory, "material"},
    {kStrClassName, "CorvaneMtl"},
    {kStrParameters, "Parameters"},
};

}  // namespace

const char* ResourceString(int id) {
    for (const StringResource& s : kStrings)
        if (s.id == id) return s.text;
    return nullptr;
}

}  // namespace corvane
