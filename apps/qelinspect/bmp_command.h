#pragma once
// "qelinspect bmp": checks a bitmap file as texture conversion writes it and
// prints its header.
#include <iosfwd>
#include <string>

#include <CLI/CLI.hpp>

namespace qelinspect {

struct BmpOptions {
    std::string file;  ///< a path on disk
    bool json = false;
};

/// Reads options.file and checks its structure (texture_tools::ReadBmp). On
/// a well-formed file prints to out its size, bits a pixel, row order, row
/// size, pixel offset and the mean colour of its pixels, or with json one
/// JSON object of the same, and returns 0. On a malformed or unreadable file
/// prints nothing to out, prints "qelinspect bmp: FILE: REASON at byte
/// OFFSET" (or the open failure) to err and returns 1.
int RunBmp(const BmpOptions& options, std::ostream& out, std::ostream& err);

/// Adds the "bmp" subcommand to app; when it is chosen, its run stores the
/// exit code in exit_code.
void AddBmpCommand(CLI::App& app, int& exit_code);

}  // namespace qelinspect
