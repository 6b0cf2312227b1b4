#include "volumes/volume_tags.h"

#include <algorithm>
#include <optional>
#include <string>

#include "base/format.h"
#include "scene/messages.h"
#include "scene/node_params.h"
#include "volumes/messages.h"

namespace volumes {

using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;

namespace {

// The words of the "able" block that carry their property's value, in the
// order they are written.
constexpr const char* kValueWords[] = {"visible", "bullet", "overlap", "contact", "contact_ground", "blast",
                                       "select",  "hole",   "holed",   "touch",   "float",          "window"};

// Zone keys and the words they are written as.
struct ZoneKey {
    const char* key;
    const char* word;
};
constexpr ZoneKey kZoneValues[] = {{"Proper", "proper"}, {"Permit", "permit"}};
constexpr ZoneKey kZoneFlags[] = {{"Rotate", "rotate"}, {"Move", "move"}, {"Static", "static"}};

// The host's reading of key (the rest of its line), or empty.
std::string HostValue(host::Node& node, const char* key) {
    std::string value;
    node.GetUserPropString(key, value);
    return value;
}

// True when value can be written as bare words; reports it otherwise.
bool SafeWords(scene::Reporter& report, host::Node& node, const char* key, const std::string& value) {
    if (scene::IsSafeBareValue(value)) return true;
    report.Error(format(scene::Message(msg::kUnsafeValue)) % value % key % node.GetName());
    return false;
}

void WriteTagList(host::Node& node, xIo::xSdl::eWriter& w) {
    if (!scene::HasProperty(node, "Tags")) return;
    w << begin << Ident{"tags"};
    const std::string value = HostValue(node, "Tags");
    for (size_t start = 0; start <= value.size();) {
        size_t end = std::min(value.find_first_of(",\n", start), value.size());
        if (end > start) w << value.substr(start, end - start);
        start = end + 1;
    }
    w << endl;
}

void WriteZoneTags(host::Node& node, xIo::xSdl::eWriter& w) {
    for (const ZoneKey& k : kZoneValues)
        if (std::optional<std::string> value = scene::Property(node, k.key)) w << begin << Ident{k.word} << *value << endl;
    for (const ZoneKey& k : kZoneFlags)
        if (scene::HasProperty(node, k.key)) w << begin << Ident{k.word} << endl;
}

void WriteAble(scene::Reporter& report, host::Node& node, xIo::xSdl::eWriter& w) {
    w << begin << Ident{"able"} << xIo::xSdl::mark;
    if (scene::HasProperty(node, "Clear")) w << Ident{"clear"};
    for (const char* word : kValueWords) {
        std::optional<std::string> value = scene::Property(node, word);
        if (!value || !SafeWords(report, node, word, *value)) continue;
        w << begin << Ident{word};
        if (!value->empty()) w << Ident{value->c_str()};
        w << xIo::xSdl::end;
    }
    std::optional<std::string> obstacle = scene::Property(node, "obstacle");
    if (obstacle && !obstacle->empty() && ParseInt(obstacle->c_str()) == 0)
        w << begin << Ident{"obstacle"} << int32_t{0} << xIo::xSdl::end;
    w << endl;
}

void WriteVolumeOnlyTags(scene::Reporter& report, host::Node& node, xIo::xSdl::eWriter& w) {
    std::optional<std::string> component = scene::Property(node, "Volume");
    if (component && !component->empty()) w << begin << Ident{"component"} << *component << endl;
    if (scene::HasProperty(node, "Thickness")) {
        std::string thickness = HostValue(node, "Thickness");
        for (char& c : thickness)
            if (c == ',') c = ' ';
        if (SafeWords(report, node, "Thickness", thickness))
            w << begin << Ident{"thickness"} << Ident{thickness.c_str()} << endl;
    }
    WriteAble(report, node, w);
}

}  // namespace

void WriteVolumeTags(scene::Reporter& report, host::Node& node, bool for_volume, xIo::xSdl::eWriter& target) {
    WriteTagList(node, target);
    if (for_volume) WriteVolumeOnlyTags(report, node, target);
    else WriteZoneTags(node, target);
}

}  // namespace volumes
