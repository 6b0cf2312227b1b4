#include "texture_tools/converted_format.h"

namespace texture_tools {

namespace {

bool PowerOfTwoFromFour(int side) { return side >= 4 && (side & (side - 1)) == 0; }

}  // namespace

ConvertedFormat ChooseConvertedFormat(int width, int height) {
    return PowerOfTwoFromFour(width) && PowerOfTwoFromFour(height) ? ConvertedFormat::kDds : ConvertedFormat::kBmp;
}

const char* Extension(ConvertedFormat format) { return format == ConvertedFormat::kDds ? ".dds" : ".bmp"; }

}  // namespace texture_tools
