#include "texture_tools/bmp_reader.h"

#include "base/format.h"
#include "texture_tools/bmp_format.h"
#include "texture_tools/byte_fields.h"
#include "texture_tools/dds_format.h"

namespace texture_tools {

namespace {

using namespace bmp;

struct Reader : FieldCheck<BmpReadResult> {
    bool Read() {
        BmpInfo& info = result.info;
        info.file_size = bytes.size();
        if (bytes.size() < 2) return Fail(bytes.size(), "file ends inside the signature");
        if (Load(0, 2) != kSignature) return Fail(0, "not a bitmap file: the signature is not \"BM\"");
        if (bytes.size() < kHeadersSize) return Fail(bytes.size(), "file ends inside the 54-byte headers");
        if (uint32_t size = Load(kOffsetFileSize, 4); size != bytes.size())
            return Fail(kOffsetFileSize, format("file size field %1%, the file has %2% bytes") % size %
                                             static_cast<uint32_t>(bytes.size()));
        info.info_size = Load(kOffsetInfoSize, 4);
        if (info.info_size < kInfoHeaderSize || info.info_size > bytes.size() - kFileHeaderSize)
            return Fail(kOffsetInfoSize, format("information header size %1% is not 40 or more within the file") %
                                             info.info_size);
        uint32_t width = Load(kOffsetWidth, 4);
        if (width < 1 || width > static_cast<uint32_t>(dds::kMaxSide))
            return Fail(kOffsetWidth, format("width %1% is outside 1 to 16384") % static_cast<int32_t>(width));
        int32_t height = static_cast<int32_t>(Load(kOffsetHeight, 4));
        if (height == 0 || height < -dds::kMaxSide || height > dds::kMaxSide)
            return Fail(kOffsetHeight, format("height %1% is outside 1 to 16384 either way up") % height);
        info.width = static_cast<int32_t>(width);
        info.height = height < 0 ? -height : height;
        info.bottom_up = height > 0;
        if (uint32_t planes = Load(kOffsetPlanes, 2); planes != 1)
            return Fail(kOffsetPlanes, format("%1% planes, not 1") % planes);
        info.bit_count = static_cast<int32_t>(Load(kOffsetBitCount, 2));
        if (info.bit_count != 24 && info.bit_count != 32)
            return Fail(kOffsetBitCount, format("%1% bits a pixel, not 24 or 32") % info.bit_count);
        if (uint32_t compression = Load(kOffsetCompression, 4); compression != 0)
            return Fail(kOffsetCompression, format("compression %1%, not 0 (none)") % compression);
        info.row_size = RowSize(info.width, info.bit_count);
        uint32_t image_size = info.row_size * static_cast<uint32_t>(info.height);
        if (uint32_t stored = Load(kOffsetImageSize, 4); stored != 0 && stored != image_size)
            return Fail(kOffsetImageSize, format("image size field %1%, the rows take %2%") % stored % image_size);
        info.pixel_offset = Load(kOffsetPixelOffset, 4);
        uint32_t headers_end = kFileHeaderSize + info.info_size;
        if (info.pixel_offset < headers_end || info.pixel_offset > bytes.size())
            return Fail(kOffsetPixelOffset, format("pixel offset %1% is not between the headers' end %2% and the file's end") %
                                                info.pixel_offset % headers_end);
        if (image_size != bytes.size() - info.pixel_offset)
            return Fail(bytes.size(), format("the rows take %1% bytes from %2%, the file has %3%") % image_size %
                                          info.pixel_offset % static_cast<uint32_t>(bytes.size() - info.pixel_offset));
        return true;
    }
};

}  // namespace

BmpReadResult ReadBmp(std::string_view bytes) {
    Reader reader{{bytes, {}}};
    reader.result.ok = reader.Read();
    return std::move(reader.result);
}

void BmpPixel(std::string_view bytes, const BmpInfo& info, int32_t x, int32_t y, uint8_t* rgba) {
    int32_t stored_row = info.bottom_up ? info.height - 1 - y : y;
    size_t offset = info.pixel_offset + static_cast<size_t>(stored_row) * info.row_size +
                    static_cast<size_t>(x) * static_cast<size_t>(info.bit_count / 8);
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data()) + offset;
    rgba[0] = p[2];
    rgba[1] = p[1];
    rgba[2] = p[0];
    rgba[3] = info.bit_count == 32 ? p[3] : 255;
}

}  // namespace texture_tools
