#include "export/model_sections.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "base/format.h"
#include "export/messages.h"
#include "export/subsystem_settings.h"
#include "scene/messages.h"
#include "scene/node_name.h"
#include "scene/node_params.h"
#include "volumes/preview_writer.h"
#include "volumes/volume_tags.h"
#include "volumes/volume_writer.h"
#include "volumes/zone_writer.h"

namespace export_driver {

using scene::Message;
using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;
using xIo::xSdl::newline;

namespace {

bool LessNoCase(host::Node* a, host::Node* b) {
    const std::string& x = a->GetName();
    const std::string& y = b->GetName();
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char c, char d) {
        auto lower = [](char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; };
        return static_cast<unsigned char>(lower(c)) < static_cast<unsigned char>(lower(d));
    });
}

std::vector<host::Node*> SortedByName(std::vector<host::Node*> nodes) {
    std::stable_sort(nodes.begin(), nodes.end(), LessNoCase);
    return nodes;
}

// A coordinate truncated toward zero; one beyond the range of the written
// integer is held at its end (and NaN is 0), rather than left undefined.
int32_t TruncatedCoordinate(float value) {
    if (std::isnan(value)) return 0;
    double truncated = std::trunc(static_cast<double>(value));
    if (truncated >= 2147483647.0) return INT32_MAX;
    if (truncated <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(truncated);
}

void WriteSupportPoints(const model::SupportPoints& support_points, xIo::xSdl::eWriter& w) {
    if (support_points.empty()) return;
    w << begin << Ident{"SupportPoints"} << newline;
    for (const auto& [node, points] : support_points) {
        w << begin << Ident{"bone"} << scene::CleanNodeName(*node, true) << newline;
        for (const host::Point3& p : points)
            w << begin << Ident{"point"} << TruncatedCoordinate(p.x) << TruncatedCoordinate(p.y)
              << TruncatedCoordinate(p.z) << endl;
        w << endl;
    }
    w << endl;
}

void WriteZones(const volumes::VolumeSettings& settings, const scene::ModelRoot& lists, xIo::xSdl::eWriter& w) {
    if (lists.areas.empty()) return;
    w << begin << "zones" << newline;
    for (host::Node* node : SortedByName(lists.areas)) {
        std::optional<std::string> obstacle = scene::Property(*node, "Obstacle");
        const char* kind = "area";
        if (obstacle) {
            if (!obstacle->empty() && ParseInt(obstacle->c_str()) == 0) continue;
            kind = "obstacle";
        }
        w << begin << Ident{kind} << scene::CleanNodeName(*node, false) << newline;
        volumes::WriteZoneShape(settings, *node, w);
        volumes::WriteVolumeTags(settings.report, *node, false, w);
        w << endl;
    }
    w << endl;
}

void WriteVolumes(const volumes::VolumeSettings& settings, const scene::ModelRoot& lists, xIo::xSdl::eWriter& model,
                  xIo::xSdl::eWriter& entity) {
    if (lists.volumes.empty()) return;
    entity << begin << "volumes" << newline;
    model << begin << "volumes" << newline;
    std::vector<std::string> seen;
    for (host::Node* node : SortedByName(lists.volumes)) {
        std::string name = scene::CleanNodeName(*node, true);
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
            settings.report.Error(format(Message(export_messages::kDuplicateVolume)) % name);
            continue;
        }
        seen.push_back(name);
        volumes::WriteVolume(settings, *node, model, entity);
    }
    entity << endl;
    model << endl;
}

}  // namespace

void WriteModelSections(const ExportState& state, ModelState& model) {
    const scene::ModelRoot& lists = model.bones.lists;
    volumes::VolumeSettings settings = VolumeSettingsOf(state, model.Root());
    WriteSupportPoints(model.bones.supportPoints, model.modelWriter);
    WriteZones(settings, lists, model.modelWriter);
    if (!lists.bodies.empty()) state.report.Warning(Message(export_messages::kBodiesObsolete));
    WriteVolumes(settings, lists, model.modelWriter, model.entityWriter);
    // The preview's ambient block gets the scene's ambient scaled by the
    // ambientPercent option: that share exists for this block alone, nothing
    // else of the export reads it. The black test then judges the colour that
    // is written, so a share of 0 writes no ambient block.
    if (!lists.previews.empty())
        volumes::WritePreview(settings, lists.previews, state.ambientScaled, model.modelWriter);
}

}  // namespace export_driver
