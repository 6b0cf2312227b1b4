#include "texture_tools/bmp_writer.h"

#include <vector>

#include "base/debug.h"
#include "base/format.h"
#include "texture_tools/bmp_format.h"
#include "texture_tools/byte_fields.h"
#include "texture_tools/dds_format.h"

namespace texture_tools {

namespace {

void Put16(uint8_t* p, uint32_t value) { StoreLittleEndian(p, value, 2); }
void Put32(uint8_t* p, uint32_t value) { StoreLittleEndian(p, value, 4); }

}  // namespace

void WriteBmp(const uint8_t* pixels, int32_t width, int32_t height, int32_t row_pitch, bool with_alpha,
              xIo::eStream& sink) {
    using namespace bmp;
    if (width < 1 || width > dds::kMaxSide || height < 1 || height > dds::kMaxSide)
        xDebug::Error("texture_tools/bmp_writer", __LINE__, format("Bitmap size %1%x%2% is outside 1 to 16384") % width % height);
    if (row_pitch < width * 4)
        xDebug::Error("texture_tools/bmp_writer", __LINE__, format("Row pitch %1% is below %2% bytes") % row_pitch % (width * 4));

    const int bytes_per_pixel = with_alpha ? 4 : 3;
    const uint32_t row_size = RowSize(width, bytes_per_pixel * 8);
    const uint32_t image_size = row_size * static_cast<uint32_t>(height);
    uint8_t header[kHeadersSize] = {};
    Put16(header, kSignature);
    Put32(header + kOffsetFileSize, kHeadersSize + image_size);
    Put32(header + kOffsetPixelOffset, kHeadersSize);
    Put32(header + kOffsetInfoSize, kInfoHeaderSize);
    Put32(header + kOffsetWidth, static_cast<uint32_t>(width));
    Put32(header + kOffsetHeight, static_cast<uint32_t>(height));  // positive: bottom-up
    Put16(header + kOffsetPlanes, 1);
    Put16(header + kOffsetBitCount, static_cast<uint16_t>(bytes_per_pixel * 8));
    Put32(header + kOffsetImageSize, image_size);
    sink.Write(header, sizeof header);

    std::vector<uint8_t> row(row_size, 0);  // the padding stays zero
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint8_t* source = pixels + static_cast<size_t>(y) * static_cast<size_t>(row_pitch);
        uint8_t* target = row.data();
        for (int32_t x = 0; x < width; ++x, source += 4, target += bytes_per_pixel) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
            if (with_alpha) target[3] = source[3];
        }
        sink.Write(row.data(), static_cast<int32_t>(row_size));
    }
}

}  // namespace texture_tools
