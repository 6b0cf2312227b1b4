#include "texture_tools/dds_writer.h"

#include <cmath>
#include <utility>
#include <vector>

#include "base/debug.h"
#include "base/format.h"
#include "texture_tools/block_compress.h"
#include "texture_tools/byte_fields.h"
#include "texture_tools/dds_format.h"
#include "texture_tools/image.h"
#include "texture_tools/stb_backend.h"

namespace texture_tools {

namespace {

[[noreturn]] void Fail(int line, const std::string& message) { xDebug::Error("texture_tools/dds_writer", line, message); }

std::string Hex(uint32_t code) { return format("0x%X") % code; }

// The option codes turned into what they select.
struct Plan {
    bool chain = true;
    ResizeFilter filter = ResizeFilter::kMitchell;
    ResizeEdge edge = ResizeEdge::kClamp;
    bool high_quality = false;
};

Plan MakePlan(const DdsOptions& options) {
    Plan plan;
    if (options.format != kDdsFormatBc1 && options.format != kDdsFormatBc3 && options.format != kDdsFormatByAlpha)
        Fail(__LINE__, "Unknown DDS format code " + Hex(options.format));
    if (options.mipmaps != kDdsMipChain && options.mipmaps != kDdsMipTopOnly)
        Fail(__LINE__, "Unknown DDS mip-map code " + Hex(options.mipmaps));
    plan.chain = options.mipmaps == kDdsMipChain;
    if (options.filter != kDdsFilterBox && options.filter != kDdsFilterMitchell)
        Fail(__LINE__, "Unknown DDS filter code " + Hex(options.filter));
    plan.filter = options.filter == kDdsFilterBox ? ResizeFilter::kBox : ResizeFilter::kMitchell;
    switch (options.edge) {
        case kDdsEdgeClamp: plan.edge = ResizeEdge::kClamp; break;
        case kDdsEdgeWrap: plan.edge = ResizeEdge::kWrap; break;
        default: Fail(__LINE__, format("Unknown DDS edge mode %1%") % options.edge);
    }
    if (options.refinement_passes != 1 && options.refinement_passes != 2)
        Fail(__LINE__, format("DDS refinement passes must be 1 or 2, not %1%") % options.refinement_passes);
    plan.high_quality = options.refinement_passes == 2;
    if (!std::isfinite(options.scale) || options.scale <= 0.0f)
        Fail(__LINE__, format("Bad DDS scale %1%") % options.scale);
    return plan;
}

bool ValidSide(int32_t side) { return side >= 1 && side <= dds::kMaxSide; }

// A side multiplied by the scale, rounded to the nearest pixel, at least 1.
int32_t ScaledSide(int32_t side, float scale) {
    double scaled = std::round(static_cast<double>(side) * static_cast<double>(scale));
    if (scaled > dds::kMaxSide) Fail(__LINE__, format("DDS scale %1% makes a side of %2% pixels more than 16384") % scale % side);
    return scaled < 1.0 ? 1 : static_cast<int32_t>(scaled);
}

void Put32(uint8_t* header, size_t offset, uint32_t value) { StoreLittleEndian(header + offset, value, 4); }

void WriteHeader(xIo::eStream& sink, int32_t width, int32_t height, int32_t mip_count, BlockFormat block_format) {
    using namespace dds;
    uint8_t header[kFileHeaderSize] = {};
    Put32(header, 0, kMagic);
    Put32(header, kOffsetHeaderSize, kHeaderSize);
    Put32(header, kOffsetFlags, kFlagCaps | kFlagHeight | kFlagWidth | kFlagPixelFormat | kFlagMipCount | kFlagLinearSize);
    Put32(header, kOffsetHeight, static_cast<uint32_t>(height));
    Put32(header, kOffsetWidth, static_cast<uint32_t>(width));
    Put32(header, kOffsetLinearSize, static_cast<uint32_t>(LevelSize(width, height, BlockBytes(block_format))));
    Put32(header, kOffsetMipCount, static_cast<uint32_t>(mip_count));
    Put32(header, kOffsetPixelFormatSize, kPixelFormatSize);
    Put32(header, kOffsetPixelFormatFlags, kPixelFourCc);
    Put32(header, kOffsetFourCc, block_format == BlockFormat::kBc1 ? kFourCcDxt1 : kFourCcDxt5);
    Put32(header, kOffsetCaps, kCapsTexture | (mip_count > 1 ? kCapsComplex | kCapsMipmap : 0));
    sink.Write(header, sizeof header);
}

}  // namespace

void WriteDds(const uint8_t* pixels, int32_t width, int32_t height, int32_t row_pitch, int32_t plane_count,
              const DdsOptions& options, xIo::eStream& sink) {
    if (!ValidSide(width) || !ValidSide(height))
        Fail(__LINE__, format("DDS image size %1%x%2% is outside 1 to 16384") % width % height);
    if (row_pitch < width * 4) Fail(__LINE__, format("Row pitch %1% is below %2% bytes") % row_pitch % (width * 4));
    if (plane_count != 1) Fail(__LINE__, format("DDS images have 1 plane, not %1%") % plane_count);
    Plan plan = MakePlan(options);

    ImageView source{pixels, width, height, row_pitch};
    bool transparent = HasTransparency(source);
    BlockFormat block_format = options.format == kDdsFormatBc3 || (options.format == kDdsFormatByAlpha && transparent)
                                   ? BlockFormat::kBc3
                                   : BlockFormat::kBc1;
    // Alpha weighting keeps transparent pixels from bleeding their colour into
    // the levels below; BC1 stores no alpha, so there it would only cost.
    bool alpha_weighted = transparent && block_format == BlockFormat::kBc3;

    Image level_pixels;  // the level being compressed, when it is not the caller's buffer
    ImageView level = source;
    if (options.scale != 1.0f) {
        level_pixels = Image(ScaledSide(width, options.scale), ScaledSide(height, options.scale));
        Resize(source, level_pixels, plan.filter, plan.edge, alpha_weighted);
        level = level_pixels.View();
    }

    const int32_t top_width = level.width, top_height = level.height;
    const int32_t mip_count = plan.chain ? FullMipCount(top_width, top_height) : 1;
    WriteHeader(sink, top_width, top_height, mip_count, block_format);
    std::vector<uint8_t> blocks(LevelSize(top_width, top_height, BlockBytes(block_format)));
    Image next_pixels;
    for (int32_t index = 0; index < mip_count; ++index) {
        if (index > 0) {
            next_pixels = Image(MipSide(top_width, index), MipSide(top_height, index));
            Resize(level, next_pixels, plan.filter, plan.edge, alpha_weighted);
            std::swap(level_pixels, next_pixels);
            level = level_pixels.View();
        }
        CompressLevel(level, block_format, plan.high_quality, blocks.data());
        sink.Write(blocks.data(), static_cast<int32_t>(LevelSize(level.width, level.height, BlockBytes(block_format))));
    }
}

}  // namespace texture_tools
