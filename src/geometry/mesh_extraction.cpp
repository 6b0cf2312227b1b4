#include "geometry/mesh_extraction.h"

namespace geometry {

void ExtractNodeFrames(const MeshSettings& /*settings*/, ModelMeshes& /*meshes*/, host::Node& /*node*/,
                       int32_t /*bone_index*/) {
    // Faces, corners, texture coordinates, colours and skin data are copied
    // out of the host mesh here once mesh extraction exists.
}

bool MeshBounds(const ModelMeshes& /*meshes*/, int32_t /*bone_index*/, host::Box3& /*box*/) {
    // No mesh is extracted yet, so no bone has a mesh box.
    return false;
}

}  // namespace geometry
