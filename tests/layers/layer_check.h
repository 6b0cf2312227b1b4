#pragma once
// The layer order of the code base, checked on the include lines of every
// source file: a library may include only itself and the libraries below it,
// and only platform files may include the operating system's headers.
#include <filesystem>
#include <string>
#include <vector>

namespace layers {

/// One include that breaks the order: the file (relative to the tree's
/// root), its line, the included name and why it is not allowed.
struct Violation {
    std::string file;
    int line = 0;
    std::string included;
    std::string reason;
};

/// Checks every .h and .cpp file under root/src and root/apps.
std::vector<Violation> CheckTree(const std::filesystem::path& root);

/// One line per violation: "file:line: #include "name": reason".
std::string Describe(const std::vector<Violation>& violations);

}  // namespace layers
