#include "texture_tools/image_quality.h"

#include <cmath>
#include <limits>

namespace texture_tools {

double Psnr(const ImageView& a, const ImageView& b, int channel_count) {
    uint64_t squared_sum = 0;
    for (int y = 0; y < a.height; ++y) {
        const uint8_t* row_a = a.Row(y);
        const uint8_t* row_b = b.Row(y);
        for (int x = 0; x < a.width; ++x)
            for (int c = 0; c < channel_count; ++c) {
                int d = row_a[x * 4 + c] - row_b[x * 4 + c];
                squared_sum += static_cast<uint64_t>(d * d);
            }
    }
    if (squared_sum == 0) return std::numeric_limits<double>::infinity();
    double mean = static_cast<double>(squared_sum) / (static_cast<double>(a.width) * a.height * channel_count);
    return 10.0 * std::log10(255.0 * 255.0 / mean);
}

}  // namespace texture_tools
