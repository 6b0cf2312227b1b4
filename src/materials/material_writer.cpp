#include "materials/material_writer.h"

namespace materials {

void WriteModelMaterials(const MaterialSettings& /*settings*/, const geometry::ModelMeshes& /*meshes*/,
                         const std::string& /*common_dir*/, MaterialList& /*target*/) {
    // Materials are classified and their textures produced here once the
    // mesh extraction records the host materials of the submeshes.
}

void WriteMaterialFile(const std::string& /*dir*/, const MaterialList& /*list*/) {
    // The ".material" file is written here once material records exist.
}

}  // namespace materials
