#pragma once
// Parameter blocks: a plug-in describes its parameters once (the
// descriptor); the host keeps the values of each instance (the block), typed,
// by parameter id, at a time.
#include <string>
#include <vector>

#include "host/math_color.h"
#include "host/reference.h"

namespace host {

class Material;
class Texture;

enum class ParamType { kInt, kBool, kFloat, kColor, kString, kMaterial, kTexture };

/// The dialog control that shows a parameter.
enum class ControlType { kNone, kRadioButtons, kCheckBox, kFloatSpinner, kIntSpinner, kColorSwatch, kMaterialButton, kMapButton };

// Descriptor flags.
enum : uint32_t {
    kBlockAutoConstruct = 0x1,  ///< the host creates the block as reference refNumber
    kBlockAutoUi = 0x2,         ///< the host builds the dialog controls from the descriptor
};

struct ParamDef {
    int id = 0;
    std::string internalName;
    ParamType type = ParamType::kInt;
    int defaultInt = 0;        ///< kInt and kBool
    float defaultFloat = 0.0f;
    Color defaultColor;
    std::string defaultString;
    bool hasRange = false;     ///< values are clamped to [rangeMin, rangeMax]
    float rangeMin = 0.0f;
    float rangeMax = 0.0f;
    int refNumber = -1;        ///< kMaterial and kTexture: the owner's reference slot
    ControlType control = ControlType::kNone;
    std::vector<int> controlIds;  ///< dialog item ids (one per radio button)
    std::vector<std::string> labels;  ///< radio button labels, code page 1251
};

struct ParamBlockDesc {
    int blockId = 0;
    std::string internalName;
    int refNumber = 0;     ///< the owner's reference slot of the block
    uint32_t flags = 0;
    int dialogId = 0;
    std::string rollupTitle;
    std::vector<ParamDef> params;

    /// The definition of parameter id, or null.
    const ParamDef* Find(int id) const {
        for (const ParamDef& def : params)
            if (def.id == id) return &def;
        return nullptr;
    }
};

/// The values of one instance. Every getter returns false (leaving the value
/// untouched) for an unknown id or a parameter of another type; a getter
/// narrows valid, when given, to the validity of the value. Every successful
/// setter tells the owner (OnReferenceChanged with kChanged and the id).
class ParamBlock : public ReferenceTarget {
public:
    SuperClassId SuperClassID() const override { return kParamBlockClass; }

    virtual const ParamBlockDesc& GetDesc() const = 0;
    /// The target told about changes (the plug-in object), or null.
    virtual void SetOwner(ReferenceTarget* owner) = 0;

    /// kInt and kBool parameters.
    virtual bool GetValue(int id, TimeValue t, int& value, Interval* valid = nullptr) const = 0;
    virtual bool GetValue(int id, TimeValue t, float& value, Interval* valid = nullptr) const = 0;
    virtual bool GetValue(int id, TimeValue t, Color& value, Interval* valid = nullptr) const = 0;
    virtual bool GetValue(int id, TimeValue t, std::string& value, Interval* valid = nullptr) const = 0;
    virtual bool GetValue(int id, TimeValue t, Material*& value, Interval* valid = nullptr) const = 0;
    virtual bool GetValue(int id, TimeValue t, Texture*& value, Interval* valid = nullptr) const = 0;

    /// Sets a kInt or kBool parameter (a bool is stored as 0 or 1).
    virtual bool SetValue(int id, TimeValue t, int value) = 0;
    /// Sets a kFloat parameter, clamped to its range.
    virtual bool SetValue(int id, TimeValue t, float value) = 0;
    virtual bool SetValue(int id, TimeValue t, const Color& value) = 0;
    virtual bool SetValue(int id, TimeValue t, const std::string& value) = 0;
    virtual bool SetValue(int id, TimeValue t, Material* value) = 0;
    virtual bool SetValue(int id, TimeValue t, Texture* value) = 0;

    /// Every parameter back to its default; owners are told once per parameter.
    virtual void ResetAll() = 0;
};

}  // namespace host
