#include "texture_tools/image.h"

namespace texture_tools {

bool HasTransparency(const ImageView& image) {
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* row = image.Row(y);
        for (int x = 0; x < image.width; ++x)
            if (row[x * 4 + 3] != 255) return true;
    }
    return false;
}

}  // namespace texture_tools
