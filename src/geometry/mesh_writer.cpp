#include "geometry/mesh_writer.h"

namespace geometry {

scene::StepResult WriteBoneMesh(const MeshSettings& /*settings*/, ModelMeshes& /*meshes*/, int32_t /*bone_index*/,
                                const std::string& /*mesh_name*/, MeshCollector& /*collector*/,
                                xIo::xSdl::eWriter& /*model_writer*/) {
    // The mesh record is built and written here once the mesh writer exists;
    // until then a bone's mesh adds nothing and is not reported as empty.
    return scene::StepResult::Done();
}

}  // namespace geometry
