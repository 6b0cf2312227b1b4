#include "geometry/triangle_strips.h"

#include <algorithm>

#include "geometry/strip_faces.h"
#include "geometry/strip_groups.h"
#include "geometry/strip_search.h"
#include "geometry/strip_validation.h"

namespace geometry {

namespace {

StripOptions& Options() {
    static StripOptions options;
    return options;
}

constexpr uint32_t kUnset = UINT32_MAX;

}  // namespace

const StripOptions& ModuleStripOptions() { return Options(); }
void SetCacheSize(uint32_t cache_size) { Options().cache_size = cache_size; }
void SetStitchStrips(bool stitch) { Options().stitch_strips = stitch; }
void SetMinStripLength(uint32_t min_strip_length) { Options().min_strip_length = min_strip_length; }
void SetListsOnly(bool lists_only) { Options().lists_only = lists_only; }
void SetPrimitiveRestart(bool restart) { Options().primitive_restart = restart; }
void SetRestartValue(uint16_t restart_value) { Options().restart_value = restart_value; }

bool GenerateStrips(std::span<const uint16_t> indices, const StripOptions& options,
                    std::vector<PrimitiveGroup>& out_groups, bool validate) {
    out_groups.clear();
    if (indices.size() % 3 != 0) return false;
    // Strip groups are read with the restart index when the option is on; an
    // index that is also a vertex would cut strips through that vertex.
    bool restart_used = !options.lists_only && options.primitive_restart;
    if (restart_used && std::find(indices.begin(), indices.end(), options.restart_value) != indices.end())
        return false;

    StripFaceTable table = BuildStripFaceTable(indices);
    StripLayout layout = FindStrips(table, options.cache_size, options.min_strip_length, options.lists_only);
    std::vector<PrimitiveGroup> groups =
        options.lists_only ? BuildListGroups(table, layout) : BuildStripGroups(table, layout, options);
    if (validate && !ValidateGroups(indices, groups, options)) return false;
    out_groups = std::move(groups);
    return true;
}

bool GenerateStrips(std::span<const uint16_t> indices, std::vector<PrimitiveGroup>& out_groups, bool validate) {
    return GenerateStrips(indices, ModuleStripOptions(), out_groups, validate);
}

bool RenumberVertices(std::span<const PrimitiveGroup> groups, uint32_t vertex_count, const StripOptions& options,
                      std::vector<PrimitiveGroup>& out_groups, std::vector<uint16_t>* old_of_new) {
    out_groups.clear();
    if (old_of_new) old_of_new->clear();
    std::vector<uint32_t> new_of_old(vertex_count, kUnset);
    std::vector<uint16_t> old_numbers;
    std::vector<PrimitiveGroup> renumbered;
    renumbered.reserve(groups.size());
    for (const PrimitiveGroup& group : groups) {
        bool keeps_restart = options.primitive_restart && group.type == PrimitiveType::Strip;
        PrimitiveGroup out{group.type, {}};
        out.indices.reserve(group.indices.size());
        for (uint16_t index : group.indices) {
            if (keeps_restart && index == options.restart_value) {
                out.indices.push_back(index);
                continue;
            }
            if (index >= vertex_count) return false;
            if (new_of_old[index] == kUnset) {
                new_of_old[index] = static_cast<uint32_t>(old_numbers.size());
                old_numbers.push_back(index);
            }
            uint16_t renumbered_index = static_cast<uint16_t>(new_of_old[index]);
            if (keeps_restart && renumbered_index == options.restart_value) return false;
            out.indices.push_back(renumbered_index);
        }
        renumbered.push_back(std::move(out));
    }
    out_groups = std::move(renumbered);
    if (old_of_new) *old_of_new = std::move(old_numbers);
    return true;
}

bool RenumberVertices(std::span<const PrimitiveGroup> groups, uint32_t vertex_count,
                      std::vector<PrimitiveGroup>& out_groups, std::vector<uint16_t>* old_of_new) {
    return RenumberVertices(groups, vertex_count, ModuleStripOptions(), out_groups, old_of_new);
}

}  // namespace geometry
