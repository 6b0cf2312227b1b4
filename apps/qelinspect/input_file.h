#pragma once
// Reading a file named on the command line.
#include <string>

namespace qelinspect {

/// The whole content of the file at path; raises "PATH - open error!"
/// through the error channel when it cannot be opened.
std::string ReadDiskFile(const std::string& path);

}  // namespace qelinspect
