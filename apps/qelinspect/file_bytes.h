#pragma once
// Reading a whole binary file for the inspecting commands.
#include <iosfwd>
#include <string>

namespace qelinspect {

/// Reads the file at path into bytes and returns true; on failure prints
/// "qelinspect COMMAND: PATH: cannot open the file" (or "cannot read") to err
/// and returns false: the command then exits with 2, as for any input it
/// cannot read (a malformed file exits with 1).
bool ReadFileBytes(const std::string& command, const std::string& path, std::string& bytes, std::ostream& err);

}  // namespace qelinspect
