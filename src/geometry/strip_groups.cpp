#include "geometry/strip_groups.h"

#include <optional>

namespace geometry {

namespace {

void AppendFace(const StripFace& face, std::vector<uint16_t>& indices) {
    indices.insert(indices.end(), face.v.begin(), face.v.end());
}

PrimitiveGroup ListOf(const StripFaceTable& table, const std::vector<uint32_t>& faces) {
    PrimitiveGroup group{PrimitiveType::List, {}};
    group.indices.reserve(faces.size() * 3);
    for (uint32_t f : faces) AppendFace(table.faces[f], group.indices);
    return group;
}

// The vertices of one strip: its first face from the vertex before its exit
// edge, then the one new vertex of each further face. Should a face not hold
// the last two vertices, the strip ends before it and its faces from there on
// are added to leftovers.
std::vector<uint16_t> StripVertices(const StripFaceTable& table, const StripLayout& layout, const Strip& strip,
                                    std::vector<uint32_t>& leftovers) {
    const StripFace& first = table.faces[layout.strip_faces[strip.first]];
    uint8_t exit = strip.exit_slot;
    std::vector<uint16_t> vertices{first.v[(exit + 2) % 3], first.v[exit], first.v[(exit + 1) % 3]};
    for (uint32_t i = 1; i < strip.face_count; ++i) {
        uint32_t position = strip.first + i;
        std::optional<uint16_t> next =
            NextIndex(table.faces[layout.strip_faces[position]], vertices[vertices.size() - 2], vertices.back());
        if (!next) {
            leftovers.insert(leftovers.end(), layout.strip_faces.begin() + position,
                             layout.strip_faces.begin() + strip.first + strip.face_count);
            break;
        }
        vertices.push_back(*next);
    }
    return vertices;
}

// Appends strip to the joined strip. Without a restart index the join repeats
// the last vertex so far and the strip's first one, and once more when needed
// so that the strip starts at an even position and keeps its winding; every
// triangle across the join then has two equal indices and draws nothing.
void Stitch(const std::vector<uint16_t>& strip, const StripOptions& options, std::vector<uint16_t>& joined) {
    if (!joined.empty()) {
        if (options.primitive_restart) {
            joined.push_back(options.restart_value);
        } else {
            joined.push_back(joined.back());
            joined.push_back(strip.front());
            if (joined.size() % 2 != 0) joined.push_back(strip.front());
        }
    }
    joined.insert(joined.end(), strip.begin(), strip.end());
}

}  // namespace

std::vector<PrimitiveGroup> BuildListGroups(const StripFaceTable& table, const StripLayout& layout) {
    if (layout.strip_faces.empty() && layout.leftovers.empty()) return {};
    PrimitiveGroup group = ListOf(table, layout.strip_faces);
    for (uint32_t f : layout.leftovers) AppendFace(table.faces[f], group.indices);
    std::vector<PrimitiveGroup> groups;
    groups.push_back(std::move(group));
    return groups;
}

std::vector<PrimitiveGroup> BuildStripGroups(const StripFaceTable& table, const StripLayout& layout,
                                             const StripOptions& options) {
    std::vector<PrimitiveGroup> groups;
    std::vector<uint32_t> leftovers = layout.leftovers;
    for (const Strip& strip : layout.strips) {
        std::vector<uint16_t> vertices = StripVertices(table, layout, strip, leftovers);
        if (!options.stitch_strips || groups.empty()) groups.push_back({PrimitiveType::Strip, {}});
        if (options.stitch_strips)
            Stitch(vertices, options, groups.back().indices);
        else
            groups.back().indices = std::move(vertices);
    }
    if (!leftovers.empty()) groups.push_back(ListOf(table, leftovers));
    return groups;
}

}  // namespace geometry
