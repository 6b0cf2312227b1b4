#include "geometry/strip_faces.h"

#include <algorithm>
#include <cstdio>

#include "geometry/messages.h"

namespace geometry {

namespace {

bool IsDegenerate(uint16_t a, uint16_t b, uint16_t c) { return a == b || b == c || c == a; }

bool HasVertex(const StripFace& face, uint16_t vertex) {
    return face.v[0] == vertex || face.v[1] == vertex || face.v[2] == vertex;
}

// The faces in the order of their smallest vertex, stably. Faces near each
// other in the mesh then lie near each other in memory however the input was
// ordered, which the strip search's walks over neighbours profit from.
std::vector<StripFace> SortBySmallestVertex(const std::vector<StripFace>& faces, uint32_t vertex_count) {
    std::vector<uint32_t> first(vertex_count + 1u, 0);
    for (const StripFace& face : faces) ++first[std::min({face.v[0], face.v[1], face.v[2]}) + 1u];
    for (uint32_t vertex = 0; vertex < vertex_count; ++vertex) first[vertex + 1] += first[vertex];
    std::vector<StripFace> sorted(faces.size());
    for (const StripFace& face : faces) sorted[first[std::min({face.v[0], face.v[1], face.v[2]})]++] = face;
    return sorted;
}

// The half edges leaving each vertex (3 * face + slot), with the vertex each
// one runs to, in one flat array.
struct OutgoingEdges {
    std::vector<uint32_t> first;  // vertex_count + 1 offsets
    std::vector<uint32_t> half_edges;
    std::vector<uint16_t> targets;

    uint32_t Begin(uint16_t vertex) const { return first[vertex]; }
    uint32_t End(uint16_t vertex) const { return first[vertex + 1u]; }
};

OutgoingEdges BuildOutgoingEdges(const std::vector<StripFace>& faces, uint32_t vertex_count) {
    OutgoingEdges edges;
    edges.first.assign(vertex_count + 1u, 0);
    for (const StripFace& face : faces)
        for (uint16_t vertex : face.v) ++edges.first[vertex + 1u];
    for (uint32_t vertex = 0; vertex < vertex_count; ++vertex) edges.first[vertex + 1] += edges.first[vertex];
    edges.half_edges.resize(faces.size() * 3);
    edges.targets.resize(faces.size() * 3);
    std::vector<uint32_t> fill(edges.first.begin(), edges.first.end() - 1);
    for (uint32_t f = 0; f < faces.size(); ++f) {
        for (uint32_t e = 0; e < 3; ++e) {
            uint32_t at = fill[faces[f].v[e]]++;
            edges.half_edges[at] = 3 * f + e;
            edges.targets[at] = faces[f].v[(e + 1) % 3];
        }
    }
    return edges;
}

// Pairs each half edge with the first unpaired one running the other way.
// The half edge of lowest number on an edge held by more than two faces
// reports it, so each such edge is reported once.
void PairEdges(StripFaceTable& table, const OutgoingEdges& out) {
    const std::vector<StripFace>& faces = table.faces;
    std::vector<uint32_t>& neighbours = table.neighbours;
    neighbours.assign(faces.size() * 3, StripFaceTable::kNoNeighbour);
    for (uint32_t h = 0; h < neighbours.size(); ++h) {
        // A half edge paired already was paired by one of lower number,
        // which has also looked for more faces on the edge.
        if (neighbours[h] != StripFaceTable::kNoNeighbour) continue;
        const StripFace& face = faces[h / 3];
        uint16_t from = face.v[h % 3];
        uint16_t to = face.v[(h % 3 + 1) % 3];
        uint32_t others = 0;
        bool lowest = true;
        for (uint32_t i = out.Begin(to); i < out.End(to); ++i) {
            if (out.targets[i] != from) continue;
            uint32_t twin = out.half_edges[i];
            ++others;
            lowest = lowest && twin > h;
            if (neighbours[h] == StripFaceTable::kNoNeighbour && neighbours[twin] == StripFaceTable::kNoNeighbour) {
                neighbours[h] = twin;
                neighbours[twin] = h;
            }
        }
        for (uint32_t i = out.Begin(from); i < out.End(from); ++i) {
            uint32_t same = out.half_edges[i];
            if (out.targets[i] != to || same == h) continue;
            ++others;
            lowest = lowest && same > h;
        }
        if (others >= 2 && lowest) std::printf("%s\n", msg::kEdgeSharedByMoreThanTwo);
    }
}

}  // namespace

StripFaceTable BuildStripFaceTable(std::span<const uint16_t> indices) {
    StripFaceTable table;
    std::vector<StripFace> faces;
    faces.reserve(indices.size() / 3);
    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
        uint16_t a = indices[i], b = indices[i + 1], c = indices[i + 2];
        if (IsDegenerate(a, b, c)) continue;
        faces.push_back(StripFace{{a, b, c}});
        table.vertex_count = std::max<uint32_t>(table.vertex_count, std::max({a, b, c}) + 1u);
    }
    table.faces = SortBySmallestVertex(faces, table.vertex_count);
    PairEdges(table, BuildOutgoingEdges(table.faces, table.vertex_count));
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
