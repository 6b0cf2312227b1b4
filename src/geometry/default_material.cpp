#include "geometry/default_material.h"

#include <string>

#include "host/class_id.h"

namespace geometry {

namespace {

class DumMtl : public host::Material {
public:
    host::ClassId ClassID() const override { return host::kStandardMaterialClassId; }
    const std::string& GetName() const override { return name_; }
    host::Color GetAmbient(host::TimeValue) const override { return kGrey; }
    host::Color GetDiffuse(host::TimeValue) const override { return kGrey; }
    host::Color GetSpecular(host::TimeValue) const override { return kGrey; }
    float GetShinStr(host::TimeValue) const override { return 0.0f; }
    float GetShininess(host::TimeValue) const override { return 0.0f; }
    float GetXParency(host::TimeValue) const override { return 0.0f; }
    uint32_t Requirements(int) const override { return 0; }
    void Shade(const host::ShadeContext&, host::ShadeOutput& out) const override {
        out.color = kGrey;
        out.transparency = host::Color();
    }

private:
    static inline const host::Color kGrey{0.5f, 0.5f, 0.5f};
    const std::string name_;
};

}  // namespace

host::Material& DefaultMaterial() {
    static DumMtl material;
    return material;
}

}  // namespace geometry
