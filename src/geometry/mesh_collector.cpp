#include "geometry/mesh_collector.h"

namespace geometry {

void WriteMeshFile(const std::string& /*dir*/, const MeshCollector& /*collector*/) {
    // The mesh file is written here once the mesh writer fills collectors.
}

}  // namespace geometry
