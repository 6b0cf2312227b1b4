#include "qelinspect/dds_command.h"

#include <array>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "qelinspect/file_bytes.h"
#include "texture_tools/bc_decode.h"
#include "texture_tools/dds_reader.h"

namespace qelinspect {

namespace {

using texture_tools::DdsInfo;
using texture_tools::DdsLevel;

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string FormatDescription(const DdsInfo& info) {
    if (info.format_name == "DXT1") return "DXT1 (BC1, colour only)";
    if (info.format_name == "DXT5") return "DXT5 (BC3, colour and alpha)";
    return info.format_name + (info.block_bytes ? " (block-compressed)" : " (uncompressed)");
}

// The mean decoded colour of a level, for the formats we can decode.
std::optional<std::array<uint8_t, 4>> Mean(const std::string& bytes, const DdsInfo& info, const DdsLevel& level) {
    if (!info.block_format) return std::nullopt;
    const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data()) + level.offset;
    return texture_tools::MeanColour(data, level.width, level.height, *info.block_format);
}

void PrintText(const std::string& bytes, const DdsInfo& info, std::ostream& out) {
    out << "format: " << FormatDescription(info) << "\n"
        << "size: " << info.width << "x" << info.height << "\n"
        << "mip levels: " << info.mip_count << "\n"
        << "flags: " << Hex(info.flags) << "\n"
        << "linear size: " << info.linear_size << "\n"
        << "pixel format flags: " << Hex(info.pixel_format_flags) << "\n"
        << "caps: " << Hex(info.caps) << " " << Hex(info.caps2) << "\n";
    for (size_t index = 0; index < info.levels.size(); ++index) {
        const DdsLevel& level = info.levels[index];
        out << "level " << index << ": " << level.width << "x" << level.height << ", " << level.size << " bytes at "
            << level.offset;
        if (auto mean = Mean(bytes, info, level))
            out << ", mean colour " << int((*mean)[0]) << " " << int((*mean)[1]) << " " << int((*mean)[2]) << " "
                << int((*mean)[3]);
        out << "\n";
    }
    out << "file: " << info.file_size << " bytes, all levels present\n";
}

void PrintJson(const std::string& bytes, const DdsInfo& info, std::ostream& out) {
    nlohmann::json levels = nlohmann::json::array();
    for (const DdsLevel& level : info.levels) {
        nlohmann::json entry = {
            {"width", level.width}, {"height", level.height}, {"offset", level.offset}, {"size", level.size}};
        if (auto mean = Mean(bytes, info, level)) entry["mean_colour"] = *mean;
        levels.push_back(entry);
    }
    nlohmann::json document = {{"format", info.format_name},
                               {"width", info.width},
                               {"height", info.height},
                               {"mip_count", info.mip_count},
                               {"flags", info.flags},
                               {"linear_size", info.linear_size},
                               {"pixel_format_flags", info.pixel_format_flags},
                               {"caps", info.caps},
                               {"caps2", info.caps2},
                               {"file_size", info.file_size},
                               {"levels", levels}};
    out << document.dump(2) << "\n";
}

}  // namespace

int RunDds(const DdsOptions& options, std::ostream& out, std::ostream& err) {
    std::string bytes;
    if (!ReadFileBytes("dds", options.file, bytes, err)) return 2;
    texture_tools::DdsReadResult result = texture_tools::ReadDds(bytes);
    if (!result.ok) {
        err << "qelinspect dds: " << options.file << ": " << result.reason << " at byte " << result.offset << "\n";
        return 1;
    }
    if (options.json) PrintJson(bytes, result.info, out);
    else PrintText(bytes, result.info, out);
    return 0;
}

void AddDdsCommand(CLI::App& app, int& exit_code) {
    auto options = std::make_shared<DdsOptions>();
    CLI::App* command = app.add_subcommand(
        "dds", "Check a DDS texture and print its format, size and mip levels; exit 1 with the reason on a malformed file");
    command->add_option("FILE", options->file, "the DDS file")->required();
    command->add_flag("--json", options->json, "print one JSON object instead of text");
    command->callback([options, &exit_code] { exit_code = RunDds(*options, std::cout, std::cerr); });
}

}  // namespace qelinspect
