#pragma once
// "qelinspect mesh": reads a ".mesh" file, checks its structure and prints
// every table entry and record.
#include <iosfwd>
#include <string>

#include <CLI/CLI.hpp>

namespace qelinspect {

struct MeshOptions {
    std::string file;  ///< a path on disk
    bool json = false;
};

/// Reads options.file as a mesh file and prints to out every table entry
/// and record (bounds, skin bones, submeshes with palettes, vertex format
/// and decoded vertices, triangles as stored), as text or with json as one
/// JSON object. Returns 0. A malformed file prints "<file>: offset <n>:
/// <reason>" to err, nothing to out, and returns 1; a file that cannot be
/// read returns 2.
int RunMesh(const MeshOptions& options, std::ostream& out, std::ostream& err);

/// The text form of a mesh file's bytes, as RunMesh prints it; false with
/// the error line in text when the bytes are malformed.
bool MeshText(std::string_view bytes, std::string& text);

/// Adds the "mesh" subcommand to app; when it is chosen, its run stores the
/// exit code in exit_code.
void AddMeshCommand(CLI::App& app, int& exit_code);

}  // namespace qelinspect
