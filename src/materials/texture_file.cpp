#include "materials/texture_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "base/debug.h"
#include "base/format.h"
#include "host/class_id.h"
#include "io/file_system.h"
#include "io/name.h"
#include "io/stream_file.h"
#include "materials/messages.h"
#include "scene/messages.h"
#include "texture_tools/bmp_writer.h"
#include "texture_tools/converted_format.h"
#include "texture_tools/dds_writer.h"
#include "texture_tools/normal_map.h"

namespace materials {

namespace {

// What is decided about a texture before any file is touched.
struct Plan {
    bool copy = false;
    const host::Texture* sampled = nullptr;  ///< the texture asked for pixels
    bool normalMap = false;
    int width = kProceduralSide;
    int height = kProceduralSide;
    bool withAlpha = false;
    std::string target;  ///< the file written
};

Plan MakePlan(const TextureSource& source) {
    Plan plan;
    const host::Texture& texture = *source.texture;
    const bool normal_bump = texture.ClassID() == host::kNormalBumpClassId;
    const bool bump_slot = source.material != nullptr && source.material->GetSubTexmap(host::kMapBump) == &texture;
    const float bump = normal_bump && bump_slot ? source.bumpAmount : 0.0f;

    plan.copy = !source.name.file.empty() && IsEngineFormat(source.name.file) && bump == 0.0f;
    plan.normalMap = bump != 0.0f;
    // A Normal Bump map is sampled through its normal map.
    plan.sampled = normal_bump ? texture.GetSubTexmap(0) : &texture;
    host::BitmapInfo info;
    if (plan.sampled != nullptr && plan.sampled->GetBitmapInfo(info) && info.width > 0 && info.height > 0) {
        plan.width = info.width;
        plan.height = info.height;
        plan.withAlpha = info.hasAlpha && !plan.normalMap;
    }
    if (plan.copy) {
        std::string extension = ExtensionOf(source.name.file);
        xIo::NormalizePath(extension);
        plan.target = WithExtension(source.destination, extension);
    } else {
        const texture_tools::ConvertedFormat format = texture_tools::ChooseConvertedFormat(plan.width, plan.height);
        plan.target = WithExtension(source.destination, texture_tools::Extension(format));
    }
    return plan;
}

bool CopyFile(const std::string& from, const std::string& to) {
    xDebug::eExceptionMode throwing(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        xIo::eFileStream in;
        if (!in.Open(from, xIo::kModeRead, xIo::eFileStream::kOutputBufferSize)) return false;
        if (!xIo::MakeDirectories(xIo::GetPart(to, xIo::ePart::Directory))) return false;
        xIo::eFileStream out;
        if (!out.Open(to, xIo::kModeWrite | xIo::kModeTruncate, xIo::eFileStream::kOutputBufferSize)) return false;
        out.WriteFrom(in, -1);
        out.Close();
        in.Close();
        // A copy keeps no time of its own: it is as new as the export.
        return xIo::SetFileWriteTimeNow(to);
    } catch (const xDebug::eEx_Custom&) {
        return false;
    }
}

uint8_t Byte(float value) { return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)); }

// The texture's samples as RGBA8 pixels, rows from the top; false when the
// host cannot sample it.
bool SamplePixels(const Plan& plan, std::vector<uint8_t>& pixels) {
    std::vector<host::AColor> samples;
    if (plan.sampled == nullptr || !plan.sampled->SampleRect(0, plan.width, plan.height, samples)) return false;
    pixels.resize(samples.size() * 4);
    for (size_t i = 0; i < samples.size(); ++i) {
        const host::AColor& c = samples[i];
        uint8_t* p = &pixels[i * 4];
        if (plan.normalMap) {
            const std::array<uint8_t, 4> n = texture_tools::NormalPixel(c.r, c.g, c.b, c.a);
            std::copy(n.begin(), n.end(), p);
        } else {
            p[0] = Byte(c.r);
            p[1] = Byte(c.g);
            p[2] = Byte(c.b);
            p[3] = Byte(c.a);
        }
        // A texture without an alpha channel is opaque, whatever the samples say.
        if (!plan.withAlpha) p[3] = 255;
    }
    return true;
}

void WriteImage(const Plan& plan, const std::vector<uint8_t>& pixels, xIo::eStream& out) {
    const int32_t pitch = plan.width * 4;
    if (texture_tools::ChooseConvertedFormat(plan.width, plan.height) == texture_tools::ConvertedFormat::kDds) {
        texture_tools::DdsOptions options;
        options.format = texture_tools::kDdsFormatByAlpha;
        options.mipmaps = texture_tools::kDdsMipChain;
        options.filter = texture_tools::kDdsFilterMitchell;
        options.scale = 1.0f;
        options.refinement_passes = 2;
        options.edge = texture_tools::kDdsEdgeWrap;
        texture_tools::WriteDds(pixels.data(), plan.width, plan.height, pitch, 1, options, out);
    } else {
        texture_tools::WriteBmp(pixels.data(), plan.width, plan.height, pitch, plan.withAlpha, out);
    }
}

// Samples the texture and writes the file. A failure of the host or the
// core library on the way fails this texture only.
bool Convert(const Plan& plan, const std::string& to) {
    xDebug::eExceptionMode throwing(xDebug::kModeThrow | xDebug::kModeNoLog);
    try {
        std::vector<uint8_t> pixels;
        if (!SamplePixels(plan, pixels) || !xIo::MakeDirectories(xIo::GetPart(to, xIo::ePart::Directory))) return false;
        xIo::eFileStream out;
        if (!out.Open(to, xIo::kModeWrite | xIo::kModeTruncate, xIo::eFileStream::kOutputBufferSize)) return false;
        WriteImage(plan, pixels, out);
        out.Close();
        return true;
    } catch (const xDebug::eEx_Custom&) {
        return false;
    }
}

}  // namespace

std::string TextureFilePath(const TextureSource& source) { return MakePlan(source).target; }

uint32_t WriteTextureFile(const TextureSource& source, scene::Reporter& report) {
    const Plan plan = MakePlan(source);
    const uint32_t flags = plan.withAlpha ? kAlphaChannel | kAlphaBlend : 0u;

    const uint64_t source_time = source.name.file.empty() ? 0 : xIo::FileWriteTime(source.name.file);
    const uint64_t target_time = xIo::FileWriteTime(plan.target);
    if (target_time != 0 && target_time >= source_time) return flags;

    if (plan.copy) {
        if (!CopyFile(source.name.file, plan.target))
            report.Warning(format(scene::Message(msg::kTextureCopyFailed)) % source.name.file % plan.target);
    } else if (!Convert(plan, plan.target)) {
        const std::string& from = source.name.file.empty() ? source.texture->GetName() : source.name.file;
        report.Warning(format(scene::Message(msg::kTextureConversionFailed)) % from % plan.target);
    }
    return flags;
}

}  // namespace materials
