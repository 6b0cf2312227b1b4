#include "qelinspect/bmp_command.h"

#include <array>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "qelinspect/file_bytes.h"
#include "texture_tools/bmp_reader.h"

namespace qelinspect {

namespace {

using texture_tools::BmpInfo;

std::array<int, 4> MeanColour(const std::string& bytes, const BmpInfo& info) {
    uint64_t sums[4] = {};
    uint8_t rgba[4];
    for (int32_t y = 0; y < info.height; ++y)
        for (int32_t x = 0; x < info.width; ++x) {
            texture_tools::BmpPixel(bytes, info, x, y, rgba);
            for (int c = 0; c < 4; ++c) sums[c] += rgba[c];
        }
    uint64_t count = static_cast<uint64_t>(info.width) * static_cast<uint64_t>(info.height);
    std::array<int, 4> mean{};
    for (int c = 0; c < 4; ++c) mean[c] = static_cast<int>((sums[c] + count / 2) / count);
    return mean;
}

}  // namespace

int RunBmp(const BmpOptions& options, std::ostream& out, std::ostream& err) {
    std::string bytes;
    if (!ReadFileBytes("bmp", options.file, bytes, err)) return 2;
    texture_tools::BmpReadResult result = texture_tools::ReadBmp(bytes);
    if (!result.ok) {
        err << "qelinspect bmp: " << options.file << ": " << result.reason << " at byte " << result.offset << "\n";
        return 1;
    }
    const BmpInfo& info = result.info;
    std::array<int, 4> mean = MeanColour(bytes, info);
    if (options.json) {
        nlohmann::json document = {{"width", info.width},          {"height", info.height},
                                   {"bit_count", info.bit_count},  {"bottom_up", info.bottom_up},
                                   {"row_size", info.row_size},    {"pixel_offset", info.pixel_offset},
                                   {"info_size", info.info_size},  {"file_size", info.file_size},
                                   {"mean_colour", mean}};
        out << document.dump(2) << "\n";
        return 0;
    }
    out << "size: " << info.width << "x" << info.height << "\n"
        << "bits per pixel: " << info.bit_count << (info.bit_count == 32 ? " (with alpha)" : " (no alpha)") << "\n"
        << "rows: " << (info.bottom_up ? "bottom-up" : "top-down") << ", " << info.row_size << " bytes each\n"
        << "pixel offset: " << info.pixel_offset << "\n"
        << "information header size: " << info.info_size << "\n"
        << "mean colour: " << mean[0] << " " << mean[1] << " " << mean[2] << " " << mean[3] << "\n"
        << "file: " << info.file_size << " bytes, all rows present\n";
    return 0;
}

void AddBmpCommand(CLI::App& app, int& exit_code) {
    auto options = std::make_shared<BmpOptions>();
    CLI::App* command = app.add_subcommand(
        "bmp", "Check a converted bitmap texture and print its size and layout; exit 1 with the reason on a malformed file");
    command->add_option("FILE", options->file, "the bitmap file")->required();
    command->add_flag("--json", options->json, "print one JSON object instead of text");
    command->callback([options, &exit_code] { exit_code = RunBmp(*options, std::cout, std::cerr); });
}

}  // namespace qelinspect
