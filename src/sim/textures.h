#pragma once
// The simulated host's texture maps. A bitmap reads its file (through the
// path map) only when asked for its information or its pixels.
#include <string>
#include <vector>

#include "host/texture.h"

namespace sim {

struct UvGenData : host::UvGen {
    int channel = 1;
    host::UvSource source = host::UvSource::kExplicit;
    float tilingU = 1, tilingV = 1, offsetU = 0, offsetV = 0, angleDeg = 0;

    int GetMapChannel() const override { return channel; }
    host::UvSource GetCoordSource() const override { return source; }
    host::Matrix3 GetUvTransform() const override;
};

class SimTexture : public host::Texture {
public:
    SimTexture(host::ClassId class_id, std::string name, std::vector<host::Texture*> subs, bool has_uv, UvGenData uv)
        : class_(class_id), name_(std::move(name)), subs_(std::move(subs)), has_uv_(has_uv), uv_(uv) {}

    host::ClassId ClassID() const override { return class_; }
    const std::string& GetName() const override { return name_; }
    int NumSubTexmaps() const override { return static_cast<int>(subs_.size()); }
    host::Texture* GetSubTexmap(int i) const override;
    int NumRefs() const override { return NumSubTexmaps(); }
    host::ReferenceTarget* GetReference(int i) const override { return GetSubTexmap(i); }
    const host::UvGen* GetUvGen() const override { return has_uv_ ? &uv_ : nullptr; }

    /// The files of the sub-textures, in slot order, as a host's maps
    /// enumerate the files of the maps they hold.
    void EnumAuxFiles(host::NameEnumCallback& callback, uint32_t flags) const override;
    bool GetBitmapInfo(host::BitmapInfo&) const override { return false; }
    bool SampleRect(host::TimeValue t, int width, int height, std::vector<host::AColor>& pixels) const override;

protected:
    /// The texture coordinates of the context after the generator's transform.
    host::Point3 Uv(const host::ShadeContext& context) const;
    host::AColor SubColor(int i, const host::ShadeContext& context) const;

private:
    host::ClassId class_;
    std::string name_;
    std::vector<host::Texture*> subs_;
    bool has_uv_;
    UvGenData uv_;
};

class BitmapTexture : public SimTexture {
public:
    /// file: host path, "" for a bitmap without file; has_alpha_key: whether
    /// the scene said if the file has alpha, and then alpha says it.
    BitmapTexture(std::string name, std::string file, bool has_alpha_key, bool alpha, UvGenData uv)
        : SimTexture(host::kBitmapTextureClassId, std::move(name), {}, true, uv),
          file_(std::move(file)), has_alpha_key_(has_alpha_key), alpha_(alpha) {}
    void EnumAuxFiles(host::NameEnumCallback& callback, uint32_t flags) const override;
    bool GetBitmapInfo(host::BitmapInfo& info) const override;
    host::AColor EvalColor(const host::ShadeContext& context) const override;
    /// False when the bitmap names a file that cannot be read; a bitmap
    /// without file samples black, as it renders.
    bool SampleRect(host::TimeValue t, int width, int height, std::vector<host::AColor>& pixels) const override;
    const std::string& File() const { return file_; }
    bool HasAlphaKey() const { return has_alpha_key_; }
    bool Alpha() const { return alpha_; }

private:
    bool LoadPixels() const;
    std::string file_;
    bool has_alpha_key_, alpha_;
    mutable bool loaded_ = false;
    mutable int width_ = 0, height_ = 0;
    mutable std::vector<unsigned char> pixels_;  // RGBA, rows from the top
};

/// Normal bump (sub 0), mix (map 1, map 2, mask), RGB multiply (two maps),
/// checker (two colours) and vertex colour.
class ProceduralTexture : public SimTexture {
public:
    ProceduralTexture(host::ClassId class_id, std::string name, std::vector<host::Texture*> subs, bool has_uv,
                      UvGenData uv, host::Color color1 = {}, host::Color color2 = {1, 1, 1})
        : SimTexture(class_id, std::move(name), std::move(subs), has_uv, uv), color1_(color1), color2_(color2) {}
    host::AColor EvalColor(const host::ShadeContext& context) const override;
    /// A checker's two colours.
    host::Color Color1() const { return color1_; }
    host::Color Color2() const { return color2_; }

private:
    host::Color color1_, color2_;
};

}  // namespace sim
