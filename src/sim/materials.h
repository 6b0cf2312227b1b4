#pragma once
// The simulated host's own materials: standard, multi/sub-object and two-layer.
#include <string>
#include <vector>

#include "host/material.h"
#include "host/texture.h"

namespace sim {

/// The material plug-in's class, created through its class descriptor, and
/// the parameter ids of its block 0.
constexpr host::ClassId kCorvaneMtlClassId{0x71CA8543, 0x0C80AD68};
enum : int { kParamSubMaterial = 0, kParamBlend, kParamModulate2x, kParamEnvmap, kParamAmount, kParamMask, kParamMap };

/// The maps of a standard material's slot.
struct MapSlot {
    host::Texture* texture = nullptr;
    float amountPercent = 100.0f;
    bool enabled = true;
};

/// Values common to the simulated materials; colours black, numbers 0.
class SimMaterial : public host::Material {
public:
    SimMaterial(host::ClassId class_id, std::string name) : class_(class_id), name_(std::move(name)) {}
    host::ClassId ClassID() const override { return class_; }
    const std::string& GetName() const override { return name_; }
    void SetName(const std::string& name) override { name_ = name; }
    host::Color GetAmbient(host::TimeValue) const override { return {}; }
    host::Color GetDiffuse(host::TimeValue) const override { return {}; }
    host::Color GetSpecular(host::TimeValue) const override { return {}; }
    float GetShinStr(host::TimeValue) const override { return 0.0f; }
    float GetShininess(host::TimeValue) const override { return 0.0f; }
    float GetXParency(host::TimeValue) const override { return 0.0f; }
    uint32_t Requirements(int) const override { return 0; }
    void Shade(const host::ShadeContext&, host::ShadeOutput& out) const override { out = {}; }

private:
    host::ClassId class_;
    std::string name_;
};

class StandardMaterial : public SimMaterial {
public:
    struct Values {
        host::Color diffuse{0.5f, 0.5f, 0.5f};
        host::Color specular{0.9f, 0.9f, 0.9f};
        float specularLevel = 0.0f;
        float shininessStrength = 0.0f;
        float transparency = 0.0f;
        bool twoSided = false;
    };
    StandardMaterial(std::string name, const Values& values) : SimMaterial(host::kStandardMaterialClassId, std::move(name)), values_(values) {}
    void SetMap(int slot, const MapSlot& map);
    const Values& GetValues() const { return values_; }
    /// The slot of a diffuse, specular level, opacity or bump map; null for another.
    const MapSlot* Slot(int i) const;

    int NumRefs() const override { return 4; }
    host::ReferenceTarget* GetReference(int i) const override;

    int NumSubTexmaps() const override { return 12; }
    host::Texture* GetSubTexmap(int i) const override;
    void SetSubTexmap(int i, host::Texture* texture) override;
    float GetTexmapAmount(int i, host::TimeValue t) const override;
    bool MapEnabled(int i) const override;

    host::Color GetAmbient(host::TimeValue) const override { return values_.diffuse; }
    host::Color GetDiffuse(host::TimeValue) const override { return values_.diffuse; }
    host::Color GetSpecular(host::TimeValue) const override { return values_.specular; }
    float GetShinStr(host::TimeValue) const override { return values_.shininessStrength; }
    float GetSpecularLevel(host::TimeValue) const override { return values_.specularLevel; }
    float GetXParency(host::TimeValue) const override { return values_.transparency; }
    uint32_t Requirements(int) const override { return values_.twoSided ? host::kMtlReqTwoSided : 0u; }
    void Shade(const host::ShadeContext& context, host::ShadeOutput& out) const override;

private:
    Values values_;
    MapSlot diffuse_, specular_level_, opacity_, bump_;
};

/// Multi/sub-object (IsMultiMtl) and two-layer materials: sub-materials only.
class CompositeMaterial : public SimMaterial {
public:
    CompositeMaterial(host::ClassId class_id, std::string name, std::vector<host::Material*> subs)
        : SimMaterial(class_id, std::move(name)), subs_(std::move(subs)) {}
    bool IsMultiMtl() const override { return ClassID() == host::kMultiMaterialClassId; }
    int NumSubMtls() const override { return static_cast<int>(subs_.size()); }
    host::Material* GetSubMtl(int i) const override;
    bool SetSubMtl(int i, host::Material* material) override;
    int NumRefs() const override { return NumSubMtls(); }
    host::ReferenceTarget* GetReference(int i) const override { return GetSubMtl(i); }
    uint32_t Requirements(int sub_mtl) const override;
    void Shade(const host::ShadeContext& context, host::ShadeOutput& out) const override;

private:
    std::vector<host::Material*> subs_;
};

}  // namespace sim
