#include "materials/material_writer.h"

#include <algorithm>
#include <set>

#include "base/format.h"
#include "materials/material_inputs.h"
#include "materials/messages.h"
#include "materials/texture_file.h"
#include "materials/texture_name.h"
#include "scene/messages.h"

namespace materials {

namespace {

// The texture of layer k.
const host::Texture* LayerTexture(const MaterialInputs& in, bool envmap, int k) {
    if (envmap) {
        if (k == 0) return in.queried ? in.queried->GetSubTexmap(host::kMapDiffuse) : nullptr;
        if (k == 1) return in.mask != nullptr ? in.mask : in.envMap;
        return in.envMap;
    }
    const host::Material* q = in.queried;
    if (q == nullptr) return nullptr;
    if (q->ClassID() == host::kTwoLayerMaterialClassId) {
        const host::Material* sub = q->GetSubMtl(k);
        return sub ? sub->GetSubTexmap(host::kMapDiffuse) : nullptr;
    }
    const host::Texture* diffuse = q->GetSubTexmap(host::kMapDiffuse);
    if (diffuse != nullptr &&
        (diffuse->ClassID() == host::kMixTextureClassId || diffuse->ClassID() == host::kRgbMultiplyClassId))
        return diffuse->GetSubTexmap(k);
    if (k == 0) return diffuse;
    if (k == 1) return q->GetSubTexmap(in.bump > 0 ? host::kMapBump : host::kMapSpecularLevel);
    return q->GetSubTexmap(host::kMapSpecularLevel);
}

// The slot of layer k.
std::string* LayerSlot(MaterialRecord& record, const MaterialInputs& in, bool envmap, int k) {
    if (k == 0) return &record.diffuse;
    if (envmap) return k == 1 && in.mask != nullptr ? &record.mask : &record.envmap;
    if (in.twoLayer) return &record.diffuse1;
    if (k == 1 && in.bump > 0) return &record.bump;
    return &record.specular;
}

const char* Shader(const MaterialInputs& in, bool envmap) {
    if (envmap) return "envmap";
    switch (in.layers) {
        case 1: return "simple";
        case 2:
            if (in.multiplyMap) return "multiply";
            [[fallthrough]];
        case 3: return in.twoLayer ? "blend" : "bump";
        default: return "";
    }
}

uint8_t Truncated(float value) { return static_cast<uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f); }

uint32_t ColorWord(const host::Material& m) {
    const host::Color c = m.GetSpecular(0);
    return uint32_t(Truncated(c.b)) | uint32_t(Truncated(c.g)) << 8 | uint32_t(Truncated(c.r)) << 16 |
           uint32_t(Truncated(m.GetShinStr(0))) << 24;
}

const char* BlendWord(const host::Material& material, const MaterialInputs& in, uint32_t alpha) {
    static constexpr const char* kWords[] = {"none", "test", "blend", "add", "sub"};
    if (in.corvane) return in.transparency >= 0 && in.transparency <= 4 ? kWords[in.transparency] : "";
    if (alpha & kAlphaBlend) return "blend";
    if (alpha & kAlphaAdditive) return "add";
    if (material.GetXParency(0) > 0.0f) return "blend";
    if (!(alpha & kAlphaChannel)) return "none";
    return "";
}

MaterialRecord MakeRecord(const MaterialSettings& settings, const TexturePaths& paths,
                          const geometry::MaterialTraits& traits, const geometry::SubmeshGroup& group) {
    host::Material& material = *traits.material;
    MaterialRecord record;
    record.name = geometry::MaterialName(material);
    MaterialInputs in = ReadMaterialInputs(material, traits);
    const bool envmap = in.corvane && in.envmapUse;
    record.shader = Shader(in, envmap);

    uint32_t alpha = 0;
    for (int k = 0; k < in.layers; ++k) {
        const host::Texture* texture = LayerTexture(in, envmap, k);
        if (texture == nullptr) continue;
        TextureSource source;
        source.texture = texture;
        source.material = in.queried;
        source.bumpAmount = in.bump;
        source.name = NameTexture(paths, in.queried, *texture, k, group.index, "", settings.report);
        source.destination = DestinationPath(paths, source.name);
        const uint32_t flags = WriteTextureFile(source, settings.report);
        if (k == 0) alpha = flags;
        *LayerSlot(record, in, envmap, k) = StoredName(source.name.name);
    }

    if (envmap && in.mask == nullptr) record.amount = in.reflection;
    if (in.specLevel > 0 && in.queried != nullptr) record.color = ColorWord(*in.queried);
    record.blend = BlendWord(material, in, alpha);
    record.modulate2x = in.multiplyMap && in.corvane && in.modulate2x;
    return record;
}

std::string LowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

void WriteModelMaterials(const MaterialSettings& settings, const geometry::ModelMeshes& meshes,
                         const std::string& common_dir, MaterialList& target) {
    host::Progress& progress = settings.app.GetProgress();
    progress.SetTitle(scene::Message(msg::kWritingTextures));

    // One material name per skin partition: a second host material of the
    // same name would give the engine two materials it cannot tell apart.
    std::set<std::string> keys;
    for (const auto& [key, group] : meshes.Groups()) {
        const std::string name = geometry::MaterialName(*meshes.Material(group.material).material);
        const std::string text = (format("%s~^&*%d") % name % group.partition).str();
        if (!keys.insert(LowerCase(text)).second)
            settings.report.Error(format(scene::Message(msg::kDuplicateMaterial)) % name);
    }

    const TexturePaths paths{settings.gameResourcePath, settings.commonTextureSourcePath,
                             settings.commonTexturePathInGame, common_dir};
    const float step = meshes.Groups().empty() ? 0.0f : 100.0f / static_cast<float>(meshes.Groups().size());
    float done = 0.0f;
    for (const auto& [key, group] : meshes.Groups()) {
        if (group.partition != 0) continue;
        if (progress.GetCancel()) return;
        target.Add(MakeRecord(settings, paths, meshes.Material(group.material), group));
        done += step;
        progress.Update(static_cast<int>(done));
    }
}

}  // namespace materials
