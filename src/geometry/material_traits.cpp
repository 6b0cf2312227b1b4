#include "geometry/material_traits.h"

#include <algorithm>

#include "host/class_id.h"
#include "scene/node_name.h"

namespace geometry {

namespace {

constexpr host::ClassId kCorvaneMtlClassId{0x71CA8543, 0x0C80AD68};

// The material whose maps and amounts a face material stands for: a
// CorvaneMtl wraps its sub-material 0.
const host::Material* Queried(const host::Material& material) {
    if (material.ClassID() == kCorvaneMtlClassId) return material.GetSubMtl(0);
    return &material;
}

float MapAmount(const host::Material* m, int slot) {
    if (m == nullptr || m->ClassID() != host::kStandardMaterialClassId) return 0.0f;
    if (m->GetSubTexmap(slot) == nullptr || !m->MapEnabled(slot)) return 0.0f;
    return m->GetTexmapAmount(slot, 0);
}

const host::Texture* Diffuse(const host::Material* m) { return m ? m->GetSubTexmap(host::kMapDiffuse) : nullptr; }

bool IsClass(const host::Texture* t, const host::ClassId& id) { return t != nullptr && t->ClassID() == id; }

TextureSet SetOf(const host::Texture* texture) {
    TextureSet set;
    set.texture = texture;
    if (texture == nullptr) return set;
    // A texture without a coordinate generator reads map channel 1 unchanged.
    if (const host::UvGen* gen = texture->GetUvGen()) {
        set.source = gen->GetCoordSource();
        set.channel = gen->GetMapChannel();
        set.transform = gen->GetUvTransform();
    }
    return set;
}

void CollectWorldMapped(const host::Texture* texture, std::vector<const host::Texture*>& found, int depth) {
    if (texture == nullptr || depth > 32) return;
    for (int i = 0; i < texture->NumSubTexmaps(); ++i) CollectWorldMapped(texture->GetSubTexmap(i), found, depth + 1);
    const host::UvGen* gen = texture->GetUvGen();
    if (gen != nullptr && gen->GetCoordSource() == host::UvSource::kWorldXyz) found.push_back(texture);
}

void CollectWorldMapped(const host::Material* material, std::vector<const host::Texture*>& found, int depth) {
    if (material == nullptr || depth > 32) return;
    for (int i = 0; i < material->NumSubTexmaps(); ++i) CollectWorldMapped(material->GetSubTexmap(i), found, depth + 1);
    for (int i = 0; i < material->NumSubMtls(); ++i) CollectWorldMapped(material->GetSubMtl(i), found, depth + 1);
}

}  // namespace

std::string MaterialName(const host::Material& material) { return scene::CleanName(material.GetName(), false); }

MaterialTraits ReadMaterialTraits(host::Material& material) {
    MaterialTraits traits;
    traits.material = &material;
    const host::Material* q = Queried(material);
    traits.bump = MapAmount(q, host::kMapBump);
    traits.specLevel = MapAmount(q, host::kMapSpecularLevel);
    const host::Texture* diffuse = Diffuse(q);
    const bool two_layer = q != nullptr && q->ClassID() == host::kTwoLayerMaterialClassId;
    const bool layered_map = IsClass(diffuse, host::kMixTextureClassId) || IsClass(diffuse, host::kRgbMultiplyClassId);

    if (two_layer) {
        traits.sets[0] = SetOf(Diffuse(q->GetSubMtl(0)));
        traits.sets[1] = SetOf(Diffuse(q->GetSubMtl(1)));
    } else if (traits.bump != 0.0f) {
        traits.sets[0] = SetOf(diffuse);
        traits.sets[1] = SetOf(q->GetSubTexmap(host::kMapBump));
    } else if (traits.specLevel != 0.0f) {
        traits.sets[0] = SetOf(diffuse);
        traits.sets[1] = SetOf(q->GetSubTexmap(host::kMapSpecularLevel));
    } else if (layered_map) {
        // A Mix map's mask (its third map) feeds nothing the mesh stores.
        traits.sets[0] = SetOf(diffuse->GetSubTexmap(0));
        traits.sets[1] = SetOf(diffuse->GetSubTexmap(1));
    } else {
        traits.sets[0] = SetOf(diffuse);
    }
    if (traits.bump == 0.0f && traits.specLevel == 0.0f && (two_layer || layered_map)) traits.uvSets = 2;

    traits.twoSided = (material.Requirements(-1) & host::kMtlReqTwoSided) != 0;
    traits.transparency = std::clamp(material.GetXParency(0), 0.0f, 1.0f);
    traits.reference = MaterialName(material);
    std::replace(traits.reference.begin(), traits.reference.end(), '\\', '/');
    return traits;
}

std::vector<const host::Texture*> WorldMappedTextures(host::Material& material) {
    std::vector<const host::Texture*> found;
    CollectWorldMapped(Queried(material), found, 0);
    return found;
}

}  // namespace geometry
