#pragma once
// "qelinspect dds": checks a DDS texture file and prints its header and mip
// levels.
#include <iosfwd>
#include <string>

#include <CLI/CLI.hpp>

namespace qelinspect {

struct DdsOptions {
    std::string file;  ///< a path on disk
    bool json = false;
};

/// Reads options.file and checks its structure (texture_tools::ReadDds). On
/// a well-formed file prints to out the format, size, mip count, header
/// fields and one line per level (size, bytes, offset and, for DXT1 and DXT5,
/// the mean decoded colour), or with json one JSON object of the same, and
/// returns 0. On a malformed or unreadable file prints nothing to out, prints
/// "qelinspect dds: FILE: REASON at byte OFFSET" (or the open failure) to
/// err and returns 1.
int RunDds(const DdsOptions& options, std::ostream& out, std::ostream& err);

/// Adds the "dds" subcommand to app; when it is chosen, its run stores the
/// exit code in exit_code.
void AddDdsCommand(CLI::App& app, int& exit_code);

}  // namespace qelinspect
