#include "geometry/strip_faces.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "geometry/messages.h"

namespace geometry {

namespace {

bool IsDegenerate(const StripFace& f) { return f.v[0] == f.v[1] || f.v[1] == f.v[2] || f.v[2] == f.v[0]; }

bool HasVertex(const StripFace& face, uint16_t vertex) {
    return face.v[0] == vertex || face.v[1] == vertex || face.v[2] == vertex;
}

uint16_t Smallest(const StripFace& face) { return std::min({face.v[0], face.v[1], face.v[2]}); }

// The half edges (3 * face + slot) grouped by the smaller vertex of their
// edge: the group of vertex v runs from ends[v - 1] (0 for v = 0) to ends[v].
struct EdgeGroups {
    std::vector<uint32_t> ends;
    std::vector<uint32_t> half_edges;

    uint32_t Begin(uint32_t vertex) const { return vertex == 0 ? 0 : ends[vertex - 1]; }
    uint32_t End(uint32_t vertex) const { return ends[vertex]; }
};

uint16_t SmallerEnd(const StripFace& face, uint32_t slot) { return std::min(face.v[slot], face.v[(slot + 1) % 3]); }

// A half edge as the pairing sees it, within the group of its edge's smaller
// vertex.
struct GroupEntry {
    uint32_t half_edge;
    uint16_t far_vertex;  // the larger vertex of its edge
    bool from_near;       // whether it runs from the smaller vertex
    bool done;            // paired, or counted with its edge
};

// Pairs each half edge with the first unpaired one of its edge running the
// other way. An edge held by more than two faces is reported once.
void PairEdges(StripFaceTable& table, const EdgeGroups& groups) {
    const std::vector<StripFace>& faces = table.faces;
    std::vector<uint32_t>& neighbours = table.neighbours;
    neighbours.assign(faces.size() * 3, StripFaceTable::kNoNeighbour);
    std::vector<GroupEntry> group;
    for (uint32_t vertex = 0; vertex < groups.ends.size(); ++vertex) {
        group.clear();
        for (uint32_t i = groups.Begin(vertex); i < groups.End(vertex); ++i) {
            uint32_t h = groups.half_edges[i];
            uint16_t from = faces[h / 3].v[h % 3];
            uint16_t to = faces[h / 3].v[(h % 3 + 1) % 3];
            group.push_back({h, std::max(from, to), from < to, false});
        }
        for (size_t i = 0; i < group.size(); ++i) {
            if (group[i].done) continue;
            // The first half edge of an edge counts the edge's faces and
            // pairs its half edges.
            uint32_t face_count = 0;
            for (size_t j = i; j < group.size(); ++j) {
                if (group[j].far_vertex != group[i].far_vertex) continue;
                ++face_count;
                group[j].done = true;
                if (neighbours[group[j].half_edge] != StripFaceTable::kNoNeighbour) continue;
                for (size_t k = j + 1; k < group.size(); ++k) {
                    if (group[k].far_vertex == group[i].far_vertex && group[k].from_near != group[j].from_near &&
                        neighbours[group[k].half_edge] == StripFaceTable::kNoNeighbour) {
                        neighbours[group[j].half_edge] = group[k].half_edge;
                        neighbours[group[k].half_edge] = group[j].half_edge;
                        break;
                    }
                }
            }
            if (face_count > 2) std::printf("%s\n", msg::kEdgeSharedByMoreThanTwo);
        }
    }
}

// Counts entries per vertex, then turns each count into the start of the
// vertex's range, so that placing entries moves it to the range's end.
template <class ForEach>
std::vector<uint32_t> CountingSortStarts(uint32_t vertex_count, ForEach&& for_each_key) {
    std::vector<uint32_t> starts(vertex_count, 0);
    for_each_key([&](uint16_t vertex) { ++starts[vertex]; });
    for (uint32_t vertex = 0, total = 0; vertex < vertex_count; ++vertex) total += std::exchange(starts[vertex], total);
    return starts;
}

}  // namespace

StripFaceTable BuildStripFaceTable(std::span<const uint16_t> indices) {
    StripFaceTable table;
    for (uint16_t index : indices) table.vertex_count = std::max<uint32_t>(table.vertex_count, index + 1u);
    auto for_each_face = [&](auto&& visit) {
        for (size_t i = 0; i + 2 < indices.size(); i += 3) {
            StripFace face{{indices[i], indices[i + 1], indices[i + 2]}};
            if (!IsDegenerate(face)) visit(face);
        }
    };
    // Faces in the order of their smallest vertex, stably: faces near each
    // other in the mesh then lie near each other in memory however the input
    // was ordered, which the strip search's walks over neighbours profit from.
    uint32_t face_count = 0;
    std::vector<uint32_t> face_ends = CountingSortStarts(table.vertex_count, [&](auto&& count) {
        for_each_face([&](const StripFace& face) {
            count(Smallest(face));
            ++face_count;
        });
    });
    table.faces.resize(face_count);
    for_each_face([&](const StripFace& face) { table.faces[face_ends[Smallest(face)]++] = face; });
    face_ends = {};

    // Half edges grouped by their edges' smaller vertices, read from the
    // sorted faces so that the groups fill nearly in order.
    EdgeGroups groups;
    groups.ends = CountingSortStarts(table.vertex_count, [&](auto&& count) {
        for (const StripFace& face : table.faces)
            for (uint32_t e = 0; e < 3; ++e) count(SmallerEnd(face, e));
    });
    groups.half_edges.resize(3u * face_count);
    for (uint32_t f = 0; f < face_count; ++f)
        for (uint32_t e = 0; e < 3; ++e) groups.half_edges[groups.ends[SmallerEnd(table.faces[f], e)]++] = 3 * f + e;
    PairEdges(table, groups);
    return table;
}

std::optional<uint16_t> NextIndex(const StripFace& face, uint16_t a, uint16_t b) {
    if (!HasVertex(face, a) || !HasVertex(face, b)) {
        std::printf("%s\n%s\n", msg::kTriangleLacksVertices, msg::kDuplicateTriangleDerailed);
        return std::nullopt;
    }
    // The face's three vertices differ, so one of them is neither a nor b
    // unless a and b are the same vertex, in which case any other serves.
    for (uint16_t vertex : face.v)
        if (vertex != a && vertex != b) return vertex;
    return std::nullopt;
}

}  // namespace geometry
