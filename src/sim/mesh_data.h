#pragma once
// Triangle mesh data as the simulated host keeps it, and the host mesh
// interface over it (with render normals built from smoothing groups).
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "host/trimesh.h"

namespace sim {

struct MapChannelData {
    std::vector<host::Point3> verts;
    std::vector<host::MapFace> faces;  ///< one per mesh face
};

struct NormalSpecData {
    std::vector<host::Point3> normals;
    std::vector<std::array<int, 3>> faces;  ///< per face: normal index per corner, −1 none
    std::vector<bool> isExplicit;           ///< per normal
};

struct MeshData {
    std::vector<host::Point3> verts;
    std::vector<host::Face> faces;
    std::map<int, MapChannelData> channels;  ///< by channel number
    std::optional<NormalSpecData> normals;
};

/// A host mesh over data, which it shares rather than copies; positions,
/// when not empty, replace the data's vertices (one per vertex).
std::unique_ptr<host::TriMesh> MakeTriMesh(std::shared_ptr<const MeshData> data,
                                           std::vector<host::Point3> positions = {});

}  // namespace sim
