#pragma once
// Small meshes for the volume tests.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "sim/mesh_data.h"

namespace qeltest {

/// A mesh of these vertices and triangles; face i has material index
/// material_ids[i], or 0 past the list's end.
inline std::unique_ptr<host::TriMesh> MeshOf(std::vector<host::Point3> verts,
                                             const std::vector<std::array<uint32_t, 3>>& faces,
                                             const std::vector<uint16_t>& material_ids = {}) {
    sim::MeshData data;
    data.verts = std::move(verts);
    for (size_t i = 0; i < faces.size(); ++i) {
        host::Face face;
        for (int corner = 0; corner < 3; ++corner) face.v[corner] = faces[i][static_cast<size_t>(corner)];
        face.SetMaterialId(i < material_ids.size() ? material_ids[i] : 0);
        data.faces.push_back(face);
    }
    return sim::MakeTriMesh(std::make_shared<const sim::MeshData>(std::move(data)));
}

/// The unit cube from (0, 0, 0) to (1, 1, 1): 8 vertices, 12 outward faces;
/// vertex 6, the corner (1, 1, 1), may be put elsewhere.
inline std::unique_ptr<host::TriMesh> UnitCube(host::Point3 corner6 = {1, 1, 1}) {
    return MeshOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, corner6, {0, 1, 1}},
                  {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4},
                   {1, 2, 6}, {1, 6, 5}, {2, 3, 7}, {2, 7, 6}, {3, 0, 4}, {3, 4, 7}});
}

}  // namespace qeltest
