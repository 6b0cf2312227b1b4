#pragma once
// "qelinspect evlm": decodes the EVLM image of a polyhedron volume, given
// as its hexadecimal text or as a model description holding polyhedra.
#include <iosfwd>
#include <string>

#include <CLI/CLI.hpp>

namespace qelinspect {

struct EvlmOptions {
    std::string input;  ///< hexadecimal text, or the path of a model description
    bool json = false;
};

/// Decodes options.input: a file that exists is read as a model description
/// (through the SDL reader) and every {polyhedron "..."} block in it is
/// decoded under the name of its volume; anything else is taken as the
/// hexadecimal text of one image. Prints to out the vertices and the faces
/// with their sides as text, or with json as one JSON object. Returns 0;
/// on a malformed image or model description prints the reason to err,
/// nothing to out, and returns 1; returns 2 when a path ending in ".mdl"
/// cannot be read.
int RunEvlm(const EvlmOptions& options, std::ostream& out, std::ostream& err);

/// Adds the "evlm" subcommand to app; when it is chosen, its run stores the
/// exit code in exit_code.
void AddEvlmCommand(CLI::App& app, int& exit_code);

}  // namespace qelinspect
