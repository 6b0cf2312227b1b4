#include "texture_tools/dds_reader.h"

#include "base/format.h"
#include "texture_tools/byte_fields.h"

namespace texture_tools {

namespace {

using namespace dds;

// A FourCC as its characters when they are printable, else as a number.
std::string FourCcText(uint32_t code) {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        char c = static_cast<char>(code >> (8 * i));
        if (c < 0x20 || c > 0x7E) return format("0x%08X") % code;
        text += c;
    }
    return "\"" + text + "\"";
}

struct Reader : FieldCheck<DdsReadResult> {
    uint32_t Load32(size_t at) const { return Load(at, 4); }

    bool Side(size_t offset, const char* name, int32_t& side) {
        uint32_t value = Load32(offset);
        if (value < 1 || value > static_cast<uint32_t>(kMaxSide))
            return Fail(offset, format("%1% %2% is outside 1 to 16384") % name % value);
        side = static_cast<int32_t>(value);
        return true;
    }

    bool PixelFormat(DdsInfo& info) {
        if (info.pixel_format_flags & kPixelFourCc) {
            uint32_t code = Load32(kOffsetFourCc);
            bool dxt = (code & 0x00FFFFFF) == FourCc('D', 'X', 'T', 0) && code >> 24 >= '1' && code >> 24 <= '5';
            if (!dxt) return Fail(kOffsetFourCc, "unsupported FourCC " + FourCcText(code));
            info.format_name = std::string("DXT") + static_cast<char>(code >> 24);
            info.block_bytes = code == kFourCcDxt1 ? 8 : 16;
            if (code == kFourCcDxt1) info.block_format = BlockFormat::kBc1;
            if (code == kFourCcDxt5) info.block_format = BlockFormat::kBc3;
            return true;
        }
        uint32_t kinds = info.pixel_format_flags & (kPixelRgb | kPixelLuminance | kPixelAlpha);
        if (kinds == 0)
            return Fail(kOffsetPixelFormatFlags, format("pixel format flags 0x%X name no format") % info.pixel_format_flags);
        uint32_t bit_count = Load32(kOffsetBitCount);
        if (bit_count != 8 && bit_count != 16 && bit_count != 24 && bit_count != 32)
            return Fail(kOffsetBitCount, format("unsupported bit count %1%") % bit_count);
        info.bit_count = static_cast<int32_t>(bit_count);
        info.format_name = kinds & kPixelRgb ? "RGB" : kinds & kPixelLuminance ? "L" : "";
        if (info.pixel_format_flags & (kPixelAlphaPixels | kPixelAlpha)) info.format_name += "A";
        info.format_name += ToS(bit_count);
        return true;
    }

    size_t LevelSize(const DdsInfo& info, int32_t width, int32_t height) const {
        if (info.block_bytes) return texture_tools::LevelSize(width, height, info.block_bytes);
        return (static_cast<size_t>(width) * static_cast<size_t>(info.bit_count) + 7) / 8 * static_cast<size_t>(height);
    }

    bool Read() {
        DdsInfo& info = result.info;
        info.file_size = bytes.size();
        if (bytes.size() < 4) return Fail(bytes.size(), "file ends inside the magic");
        if (Load32(0) != kMagic) return Fail(0, "not a DDS file: the magic is not \"DDS \"");
        if (bytes.size() < kFileHeaderSize) return Fail(bytes.size(), "file ends inside the 128-byte header");
        if (uint32_t size = Load32(kOffsetHeaderSize); size != kHeaderSize)
            return Fail(kOffsetHeaderSize, format("header size %1%, not 124") % size);
        info.flags = Load32(kOffsetFlags);
        if ((info.flags & (kFlagWidth | kFlagHeight)) != (kFlagWidth | kFlagHeight))
            return Fail(kOffsetFlags, format("header flags 0x%X lack the width or height flag") % info.flags);
        if (!Side(kOffsetHeight, "height", info.height) || !Side(kOffsetWidth, "width", info.width)) return false;
        info.linear_size = Load32(kOffsetLinearSize);
        info.caps = Load32(kOffsetCaps);
        info.caps2 = Load32(kOffsetCaps2);
        if ((info.flags & kFlagDepth) || (info.caps2 & kCaps2Volume))
            return Fail(kOffsetCaps2, "volume textures are not supported");
        if (info.caps2 & kCaps2Cubemap) return Fail(kOffsetCaps2, "cube maps are not supported");
        if (uint32_t size = Load32(kOffsetPixelFormatSize); size != kPixelFormatSize)
            return Fail(kOffsetPixelFormatSize, format("pixel format size %1%, not 32") % size);
        info.pixel_format_flags = Load32(kOffsetPixelFormatFlags);
        if (!PixelFormat(info)) return false;

        uint32_t mip_count = info.flags & kFlagMipCount ? Load32(kOffsetMipCount) : 1;
        if (mip_count == 0) mip_count = 1;
        int32_t full = FullMipCount(info.width, info.height);
        if (mip_count > static_cast<uint32_t>(full))
            return Fail(kOffsetMipCount, format("mip count %1% exceeds the %2% levels of %3%x%4%") % mip_count % full %
                                             info.width % info.height);
        info.mip_count = static_cast<int32_t>(mip_count);

        size_t top_size = LevelSize(info, info.width, info.height);
        if ((info.flags & kFlagLinearSize) && info.block_bytes && info.linear_size != top_size)
            return Fail(kOffsetLinearSize, format("linear size %1%, level 0 has %2% bytes") % info.linear_size %
                                               static_cast<uint32_t>(top_size));

        size_t offset = kFileHeaderSize;
        for (int32_t index = 0; index < info.mip_count; ++index) {
            DdsLevel level{MipSide(info.width, index), MipSide(info.height, index), offset, 0};
            level.size = LevelSize(info, level.width, level.height);
            if (level.size > bytes.size() - offset)
                return Fail(bytes.size(), format("file ends inside level %1% (%2%x%3%, %4% bytes at %5%)") % index %
                                              level.width % level.height % static_cast<uint32_t>(level.size) %
                                              static_cast<uint32_t>(offset));
            info.levels.push_back(level);
            offset += level.size;
        }
        if (offset != bytes.size())
            return Fail(offset, format("file is %1% bytes long, its levels end at %2%") % static_cast<uint32_t>(bytes.size()) %
                                      static_cast<uint32_t>(offset));
        return true;
    }
};

}  // namespace

DdsReadResult ReadDds(std::string_view bytes) {
    Reader reader{{bytes, {}}};
    reader.result.ok = reader.Read();
    return std::move(reader.result);
}

}  // namespace texture_tools
