#pragma once
// "qelinspect sdl": reads an SDL file through the reader and prints what the
// reader delivers.
#include <iosfwd>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace qelinspect {

struct SdlOptions {
    std::string file;                 ///< a path on disk
    std::vector<std::string> mounts;  ///< "MOUNTPOINT=DIR"
    std::vector<std::string> mods;    ///< modules that "mod" blocks find loaded
    bool json = false;
};

/// Reads options.file (with includes, defines, mod blocks and arithmetic
/// executed) and prints to out either the block tree, one block per line,
/// indented by two spaces a level, or with json one JSON array of the
/// tokens, written as they are read so that memory stays small. Warnings go
/// to err as they are raised. A file lying under a mounted directory is read
/// by its resource name, so that its relative includes resolve. Returns 0; on
/// malformed input prints the error report (message, source, line, trace) to
/// err and returns 1: the tree prints nothing to out, the JSON array is left
/// unclosed after the tokens already written, so it never parses as a whole.
/// Returns 2 for a bad --mount argument.
int RunSdl(const SdlOptions& options, std::ostream& out, std::ostream& err);

/// Adds the "sdl" subcommand to app; when it is chosen, its run stores the
/// exit code in exit_code.
void AddSdlCommand(CLI::App& app, int& exit_code);

}  // namespace qelinspect
