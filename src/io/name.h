#pragma once
// Taking paths apart: directory, stem, extension, file name, and trimming a
// root from the front. Paths use forward slashes; callers normalise first,
// comparisons are byte for byte.
#include <string>

namespace xIo {

enum class ePart {
    Directory = 0,         ///< up to and including the last slash
    Stem = 1,              ///< after the last slash, up to the last point
    Extension = 2,         ///< from the last point of the last component, point included
    WithoutExtension = 3,  ///< the path up to the last point of the last component
    FileName = 4,          ///< after the last slash
};

std::string GetPart(const std::string& path, ePart part);

/// Removes root from the front of path and returns true when path starts
/// with it; otherwise warns "Cannot trim root "%1%" from path "%2%"" and
/// leaves path unchanged.
bool TrimRoot(const std::string& root, std::string& path);
/// The same on a copy: the trimmed path, or path unchanged after the warning.
std::string TrimmedRoot(const std::string& root, const std::string& path);

/// Folds the "." and ".." components of path by its text alone, with
/// backslashes read as slashes (they become slashes); every other component,
/// an empty one or a trailing slash included, stays as it is. False, with
/// path unchanged, when a ".." would climb above the root of a path that has
/// one (a drive "d:", or a leading slash); a relative path keeps its leading
/// "..".
bool FoldDotSegments(std::string& path);

}  // namespace xIo
