#include "sim/textures.h"

#include <cmath>

#include <stb_image.h>

#include "io/path_map.h"

namespace sim {

namespace {

// Samples a texture at fixed coordinates.
class PointContext : public host::ShadeContext {
public:
    PointContext(host::TimeValue t, host::Point3 uvw) : t_(t), uvw_(uvw) {}
    host::TimeValue CurTime() const override { return t_; }
    host::Point3 P() const override { return uvw_; }
    host::Point3 Normal() const override { return {0, 0, 1}; }
    host::Point3 PObj() const override { return uvw_; }
    host::Point3 UVW(int) const override { return uvw_; }

private:
    host::TimeValue t_;
    host::Point3 uvw_;
};

constexpr int kMaxSampleSide = 16384;

}  // namespace

host::Matrix3 UvGenData::GetUvTransform() const {
    const host::Point3 centre(0.5f, 0.5f, 0);
    return host::Matrix3::Scale({tilingU, tilingV, 1}) * host::Matrix3::Translation(-centre) *
           host::Matrix3::RotateZ(angleDeg * 3.14159265358979f / 180.0f) * host::Matrix3::Translation(centre) *
           host::Matrix3::Translation({offsetU, offsetV, 0});
}

host::Texture* SimTexture::GetSubTexmap(int i) const {
    return i >= 0 && size_t(i) < subs_.size() ? subs_[size_t(i)] : nullptr;
}

host::Point3 SimTexture::Uv(const host::ShadeContext& context) const {
    if (!has_uv_) return context.UVW(1);
    host::Point3 uvw;
    switch (uv_.source) {
        case host::UvSource::kExplicit: uvw = context.UVW(uv_.channel); break;
        case host::UvSource::kVertexColor: uvw = context.UVW(0); break;
        case host::UvSource::kObjectXyz: uvw = context.PObj(); break;
        case host::UvSource::kWorldXyz: uvw = context.P(); break;
    }
    return uvw * uv_.GetUvTransform();
}

host::AColor SimTexture::SubColor(int i, const host::ShadeContext& context) const {
    const host::Texture* sub = GetSubTexmap(i);
    return sub ? sub->EvalColor(context) : host::AColor(0, 0, 0, 1);
}

bool SimTexture::SampleRect(host::TimeValue t, int width, int height, std::vector<host::AColor>& pixels) const {
    if (width <= 0 || height <= 0 || width > kMaxSampleSide || height > kMaxSampleSide) return false;
    pixels.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const PointContext context(t, {(float(x) + 0.5f) / float(width), 1.0f - (float(y) + 0.5f) / float(height), 0});
            pixels[size_t(y) * size_t(width) + size_t(x)] = EvalColor(context);
        }
    return true;
}

void SimTexture::EnumAuxFiles(host::NameEnumCallback& callback, uint32_t flags) const {
    for (const host::Texture* sub : subs_)
        if (sub != nullptr) sub->EnumAuxFiles(callback, flags);
}

void BitmapTexture::EnumAuxFiles(host::NameEnumCallback& callback, uint32_t) const {
    if (!file_.empty()) callback.RecordName(file_);
}

bool BitmapTexture::GetBitmapInfo(host::BitmapInfo& info) const {
    if (file_.empty()) return false;
    // A file this machine has no folder for is a file the host cannot read.
    std::string local;
    int width = 0, height = 0, channels = 0;
    if (!xIo::TryLocalPath(file_, local) || !stbi_info(local.c_str(), &width, &height, &channels)) return false;
    info.width = width;
    info.height = height;
    info.hasAlpha = has_alpha_key_ ? alpha_ : (channels == 2 || channels == 4);
    return true;
}

bool BitmapTexture::SampleRect(host::TimeValue t, int width, int height, std::vector<host::AColor>& pixels) const {
    if (!file_.empty() && !LoadPixels()) return false;
    return SimTexture::SampleRect(t, width, height, pixels);
}

bool BitmapTexture::LoadPixels() const {
    if (loaded_) return !pixels_.empty();
    loaded_ = true;
    if (file_.empty()) return false;
    std::string local;
    if (!xIo::TryLocalPath(file_, local)) return false;
    int channels = 0;
    unsigned char* data = stbi_load(local.c_str(), &width_, &height_, &channels, 4);
    if (!data) return false;
    pixels_.assign(data, data + size_t(width_) * size_t(height_) * 4);
    stbi_image_free(data);
    return true;
}

host::AColor BitmapTexture::EvalColor(const host::ShadeContext& context) const {
    if (!LoadPixels()) return {0, 0, 0, 1};
    const host::Point3 uv = Uv(context);
    // Wraps (tiles) and takes the nearest pixel; v = 1 is the top row.
    const float u = uv.x - std::floor(uv.x), v = uv.y - std::floor(uv.y);
    const int x = std::min(width_ - 1, int(u * float(width_)));
    const int y = std::min(height_ - 1, int((1.0f - v) * float(height_)));
    const unsigned char* p = &pixels_[(size_t(y) * size_t(width_) + size_t(x)) * 4];
    return {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f};
}

host::AColor ProceduralTexture::EvalColor(const host::ShadeContext& context) const {
    const host::ClassId id = ClassID();
    if (id == host::kCheckerClassId) {
        const host::Point3 uv = Uv(context);
        const long squares = long(std::floor(uv.x * 8.0f)) + long(std::floor(uv.y * 8.0f));
        return host::AColor(squares % 2 == 0 ? color1_ : color2_);
    }
    if (id == host::kVertexColorClassId) {
        const host::Point3 c = context.UVW(0);
        return {c.x, c.y, c.z, 1};
    }
    if (id == host::kMixTextureClassId) {
        const host::AColor a = SubColor(0, context), b = SubColor(1, context);
        const host::AColor m = GetSubTexmap(2) ? SubColor(2, context) : host::AColor(0, 0, 0, 1);
        const float s = (m.r + m.g + m.b) / 3.0f;
        return {a.r + (b.r - a.r) * s, a.g + (b.g - a.g) * s, a.b + (b.b - a.b) * s, a.a + (b.a - a.a) * s};
    }
    if (id == host::kRgbMultiplyClassId) {
        const host::AColor a = SubColor(0, context), b = SubColor(1, context);
        return {a.r * b.r, a.g * b.g, a.b * b.b, a.a * b.a};
    }
    return SubColor(0, context);  // normal bump: its normal map
}

}  // namespace sim
