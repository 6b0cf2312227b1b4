#pragma once
// "qelinspect anm": checks an animation file and prints every chunk and
// record.
#include <iosfwd>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "animation/anm_reader.h"

namespace qelinspect {

struct AnmOptions {
    std::string file;      ///< a path on disk
    bool json = false;
    std::string meshFile;  ///< a ".mesh" file whose record decodes vertex blocks; empty for none
    std::string meshName;  ///< the record's name (UTF-8): the bone of the same name is decoded by it
};

/// Reads options.file and checks its structure (animation::ReadAnmFile). On
/// a well-formed file prints to out the version, the frame count, the bone
/// map and every frame with its records (flags, position, orientation with
/// w rebuilt, vertex runs), or with json one JSON object of the same, and
/// returns 0. With a mesh file and name, the vertex blocks of the bone of
/// that name are checked against the mesh record's vertex size and count
/// and their vertices decoded by its formats; other vertex blocks show the
/// position and the raw bytes of each vertex. On a malformed or unreadable
/// file prints nothing to out, prints "qelinspect anm: FILE: REASON at byte
/// OFFSET" (or the open failure) to err and returns 1; a mesh file that
/// cannot be read or lacks the record, or a name that is no bone of the
/// file, returns 2 with the reason.
int RunAnm(const AnmOptions& options, std::ostream& out, std::ostream& err);

/// The text form of an animation file's bytes, as RunAnm prints it; false
/// with "REASON at byte OFFSET" in text when the bytes are malformed.
bool AnmText(std::string_view bytes, const animation::AnmReadOptions& read_options, std::string& text);

/// Adds the "anm" subcommand to app; when it is chosen, its run stores the
/// exit code in exit_code.
void AddAnmCommand(CLI::App& app, int& exit_code);

}  // namespace qelinspect
