#include "sim/materials.h"

namespace sim {

void StandardMaterial::SetMap(int slot, const MapSlot& map) {
    if (slot == host::kMapDiffuse) diffuse_ = map;
    if (slot == host::kMapSpecularLevel) specular_level_ = map;
    if (slot == host::kMapOpacity) opacity_ = map;
    if (slot == host::kMapBump) bump_ = map;
}

const MapSlot* StandardMaterial::Slot(int i) const {
    switch (i) {
        case host::kMapDiffuse: return &diffuse_;
        case host::kMapSpecularLevel: return &specular_level_;
        case host::kMapOpacity: return &opacity_;
        case host::kMapBump: return &bump_;
        default: return nullptr;
    }
}

host::ReferenceTarget* StandardMaterial::GetReference(int i) const {
    const int slots[] = {host::kMapDiffuse, host::kMapSpecularLevel, host::kMapBump, host::kMapOpacity};
    return i >= 0 && i < 4 ? GetSubTexmap(slots[i]) : nullptr;
}

host::Texture* StandardMaterial::GetSubTexmap(int i) const {
    const MapSlot* slot = Slot(i);
    return slot ? slot->texture : nullptr;
}

void StandardMaterial::SetSubTexmap(int i, host::Texture* texture) {
    if (Slot(i)) const_cast<MapSlot*>(Slot(i))->texture = texture;
}

float StandardMaterial::GetTexmapAmount(int i, host::TimeValue) const {
    const MapSlot* slot = Slot(i);
    return slot ? slot->amountPercent / 100.0f : 0.0f;
}

bool StandardMaterial::MapEnabled(int i) const {
    const MapSlot* slot = Slot(i);
    return slot && slot->texture && slot->enabled;
}

void StandardMaterial::Shade(const host::ShadeContext& context, host::ShadeOutput& out) const {
    out.color = values_.diffuse;
    if (MapEnabled(host::kMapDiffuse)) {
        const host::AColor c = diffuse_.texture->EvalColor(context);
        out.color = {c.r, c.g, c.b};
    }
    out.transparency = {values_.transparency, values_.transparency, values_.transparency};
}

host::Material* CompositeMaterial::GetSubMtl(int i) const {
    return i >= 0 && size_t(i) < subs_.size() ? subs_[size_t(i)] : nullptr;
}

bool CompositeMaterial::SetSubMtl(int i, host::Material* material) {
    if (i < 0 || size_t(i) >= subs_.size()) return false;
    subs_[size_t(i)] = material;
    return true;
}

uint32_t CompositeMaterial::Requirements(int sub_mtl) const {
    if (sub_mtl >= 0) {
        const host::Material* sub = GetSubMtl(IsMultiMtl() && !subs_.empty() ? sub_mtl % NumSubMtls() : sub_mtl);
        return sub ? sub->Requirements(-1) : 0u;
    }
    uint32_t bits = 0;
    for (const host::Material* sub : subs_)
        if (sub) bits |= sub->Requirements(-1);
    return bits;
}

void CompositeMaterial::Shade(const host::ShadeContext& context, host::ShadeOutput& out) const {
    const host::Material* first = GetSubMtl(0);
    if (first) first->Shade(context, out);
    else out = {};
}

}  // namespace sim
