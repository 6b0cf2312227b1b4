#pragma once
// A material: sub-materials, sub-textures by slot, the standard material's
// values, shading and parameter blocks.
#include <string>

#include "host/math_color.h"
#include "host/reference.h"
#include "host/shade.h"

namespace host {

class ParamBlock;
class ParamMap;
class PluginServices;
class Texture;

// Sub-texture slots of the standard material.
enum : int { kMapDiffuse = 1, kMapSpecularLevel = 3, kMapOpacity = 6, kMapBump = 8 };

// Requirement bits.
enum : uint32_t { kMtlReqTwoSided = 0x1 };

class Material : public ReferenceTarget {
public:
    SuperClassId SuperClassID() const override { return kMaterialClass; }

    /// The material's name, code page 1251.
    virtual const std::string& GetName() const = 0;
    /// Renames the material (code page 1251).
    virtual void SetName(const std::string& /*name*/) {}
    /// True for a multi/sub-object material, whose sub-materials are chosen by face material id.
    virtual bool IsMultiMtl() const { return false; }
    virtual int NumSubMtls() const { return 0; }
    /// Sub-material i, or null (also for i out of range).
    virtual Material* GetSubMtl(int /*i*/) const { return nullptr; }
    /// Puts material into slot i; false when the material refuses it.
    virtual bool SetSubMtl(int /*i*/, Material* /*material*/) { return false; }
    /// The name the host shows for sub-material slot i; "" when it has none.
    virtual std::string GetSubMtlSlotName(int /*i*/) const { return std::string(); }

    virtual int NumSubTexmaps() const { return 0; }
    /// The texture in slot i (standard: kMapDiffuse, kMapSpecularLevel,
    /// kMapBump), or null.
    virtual Texture* GetSubTexmap(int /*i*/) const { return nullptr; }
    virtual void SetSubTexmap(int /*i*/, Texture* /*texture*/) {}
    /// The name the host shows for sub-texture slot i; "" when it has none.
    virtual std::string GetSubTexmapSlotName(int /*i*/) const { return std::string(); }
    /// The amount of the map in slot i, 0..1 (the percentage / 100).
    virtual float GetTexmapAmount(int /*i*/, TimeValue /*t*/) const { return 0.0f; }
    /// True when the map in slot i is switched on.
    virtual bool MapEnabled(int /*i*/) const { return false; }

    virtual Color GetAmbient(TimeValue t) const = 0;
    virtual Color GetDiffuse(TimeValue t) const = 0;
    virtual Color GetSpecular(TimeValue t) const = 0;
    /// The shininess strength: the value following the specular colour.
    virtual float GetShinStr(TimeValue t) const = 0;
    virtual float GetShininess(TimeValue t) const = 0;
    /// The specular level getter of a standard material.
    virtual float GetSpecularLevel(TimeValue /*t*/) const { return 0.0f; }
    /// Transparency 0..1 at t.
    virtual float GetXParency(TimeValue t) const = 0;
    virtual float GetWireSize(TimeValue /*t*/) const { return 1.0f; }
    /// Requirement bits (kMtlReqTwoSided) of sub-material sub_mtl, −1 for the whole.
    virtual uint32_t Requirements(int sub_mtl) const = 0;
    /// The shaded colour at the context's point.
    virtual void Shade(const ShadeContext& context, ShadeOutput& out) const = 0;

    /// Brings cached values up to date at t and narrows valid to their validity.
    virtual void Update(TimeValue /*t*/, Interval& /*valid*/) {}
    /// The time range over which the material's values hold at t.
    virtual Interval Validity(TimeValue /*t*/) const { return Interval::Forever(); }

    virtual int NumParamBlocks() const { return 0; }
    /// Parameter block i, or null.
    virtual ParamBlock* GetParamBlock(int /*i*/) const { return nullptr; }
    /// The parameter block with block id, or null.
    virtual ParamBlock* GetParamBlockById(int /*block_id*/) const { return nullptr; }

    /// Opens the material's editor controls; the material owns the returned
    /// map until CloseParamDlg. Null for materials without an editor.
    virtual ParamMap* CreateParamDlg(PluginServices& /*services*/) { return nullptr; }
    virtual void CloseParamDlg() {}
};

}  // namespace host
