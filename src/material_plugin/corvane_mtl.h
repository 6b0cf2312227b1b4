#pragma once
// The CorvaneMtl material: one wrapped material (the sub-material) plus the
// engine's settings in a parameter block. It renders as its sub-material;
// the exporter reads the block and the sub-material.
//
// The block is the one store of every parameter, the sub-material and both
// maps included: references 0, 2 and 3 read it and write it. The material
// keeps its own copy of the sub-material only to put it back when a value the
// slot refuses reaches the block.
#include <memory>
#include <string>

#include "host/material.h"
#include "host/param_block.h"
#include "host/plugin.h"
#include "host/texture.h"

namespace corvane {

class Dialog;

class CorvaneMtl : public host::Material {
public:
    /// A material with the block's defaults and empty slots; services must
    /// outlive it.
    explicit CorvaneMtl(host::PluginServices& services);
    ~CorvaneMtl() override;

    host::ClassId ClassID() const override;
    const std::string& GetName() const override { return name_; }
    void SetName(const std::string& name) override { name_ = name; }

    // References: 0 the sub-material, 1 the parameter block, 2 the mask,
    // 3 the environment map. The block of slot 1 is the material's own:
    // SetReference(1, ...) leaves it in place.
    int NumRefs() const override;
    host::ReferenceTarget* GetReference(int i) const override;
    void SetReference(int i, host::ReferenceTarget* target) override;
    /// A change of the block empties the cached validity and refreshes the
    /// changed parameter's control; a target going away leaves its slot empty.
    void OnReferenceChanged(host::ReferenceTarget* from, host::RefMessage message, int param_id) override;

    // The sub-material slot (index 0, named by its parameter).
    int NumSubMtls() const override { return 1; }
    host::Material* GetSubMtl(int i) const override;
    /// Puts material into slot 0; a multi/sub-object material is refused
    /// with a message box and the slot keeps its value.
    bool SetSubMtl(int i, host::Material* material) override;
    std::string GetSubMtlSlotName(int i) const override;

    // Sub-textures: −2 the mask, −3 the environment map; slots from 0 up are
    // the sub-material's own.
    int NumSubTexmaps() const override;
    host::Texture* GetSubTexmap(int i) const override;
    void SetSubTexmap(int i, host::Texture* texture) override;
    std::string GetSubTexmapSlotName(int i) const override;

    // Shading: the sub-material's answers; without one, black and 0.
    host::Color GetAmbient(host::TimeValue t) const override;
    host::Color GetDiffuse(host::TimeValue t) const override;
    host::Color GetSpecular(host::TimeValue t) const override;
    float GetShinStr(host::TimeValue t) const override;
    float GetShininess(host::TimeValue t) const override;
    float GetXParency(host::TimeValue t) const override;
    float GetWireSize(host::TimeValue t) const override;
    uint32_t Requirements(int sub_mtl) const override;
    void Shade(const host::ShadeContext& context, host::ShadeOutput& out) const override;

    /// Refreshes the cached values when t lies outside their validity, updates
    /// the sub-material and both maps, and narrows valid to the cached
    /// validity. With the dialog open its enable rules are applied again.
    void Update(host::TimeValue t, host::Interval& valid) override;
    /// The cached validity narrowed by the sub-material's and both maps'.
    host::Interval Validity(host::TimeValue t) const override;

    int NumParamBlocks() const override { return 1; }
    host::ParamBlock* GetParamBlock(int i) const override;
    host::ParamBlock* GetParamBlockById(int block_id) const override;

    /// Opens the dialog model on the block; the material owns it until
    /// CloseParamDlg. A second call returns the open one.
    host::ParamMap* CreateParamDlg(host::PluginServices& services) override;
    void CloseParamDlg() override;

    /// Chunk 0x4000 with the host's base material data, chunk 0x4001 with the
    /// cached flags and, when they say environment mapping is on, the cached
    /// amount.
    void Save(host::ChunkSaver& saver) const override;
    /// Reads the chunks of Save in any order, skipping other ids. False when
    /// a 0x4001 chunk is too short for what its flags say; its values are
    /// then not taken.
    bool Load(host::ChunkLoader& loader) override;
    /// A copy with the base data, the block's values, the cached values, and
    /// the sub-material and both maps cloned through remap.
    std::unique_ptr<host::ReferenceTarget> Clone(host::RemapDir& remap) const override;

    /// Drops the sub-material and both maps and puts the block back to its defaults.
    void Reset();

    /// True (after telling the artist) when value may not go into the
    /// sub-material slot: a multi/sub-object material.
    bool RefusesSubMaterial(host::ReferenceTarget* value);

    host::Texture* Mask() const;
    host::Texture* EnvMap() const;
    uint32_t CachedFlags() const { return cached_flags_; }
    float CachedAmount() const { return cached_amount_; }
    const host::Interval& CachedValidity() const { return validity_; }
    /// The open dialog model, or null.
    host::ParamMap* OpenDialog() const;

private:
    host::Texture* TextureParam(int id) const;
    void SubMaterialChanged();

    host::PluginServices& services_;
    std::string name_;
    std::unique_ptr<host::ParamBlock> block_;
    host::Interval validity_;
    host::Material* sub_material_ = nullptr;
    uint32_t cached_flags_ = 0;
    float cached_amount_ = 0.5f;
    std::unique_ptr<Dialog> dialog_;
};

}  // namespace corvane
