// Feeds arbitrary bytes to the mesh file reader. Any outcome but a decoded
// file or a refusal with an offset inside the input (a crash, a hang, a
// leak, an offset past the end) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "geometry/mesh_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    geometry::MeshFileContent content;
    geometry::MeshReadError error;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!geometry::ReadMeshFile(bytes, content, error)) {
        if (error.offset > size || error.reason.empty()) std::abort();
        return 0;
    }
    // A file that reads must hold what its records say.
    for (const geometry::DecodedMesh& mesh : content.meshes)
        for (uint16_t index : mesh.indices)
            if (index >= mesh.vertices.size()) std::abort();
    return 0;
}
