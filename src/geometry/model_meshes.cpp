#include "geometry/model_meshes.h"

namespace geometry {

uint32_t ModelMeshes::MaterialNumber(host::Material& material, bool& added) {
    auto [it, inserted] = materialNumbers_.try_emplace(&material, static_cast<uint32_t>(materials_.size()));
    added = inserted;
    if (inserted) materials_.push_back(ReadMaterialTraits(material));
    return it->second;
}

SubmeshGroup& ModelMeshes::Group(uint32_t material, int32_t partition) {
    auto [it, inserted] = groups_.try_emplace(GroupKey{material, partition});
    if (inserted) {
        it->second.material = material;
        it->second.partition = partition;
        it->second.index = static_cast<int32_t>(byIndex_.size());
        byIndex_.push_back(&it->second);
    }
    return it->second;
}

}  // namespace geometry
