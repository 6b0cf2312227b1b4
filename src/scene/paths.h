#pragma once
// Output paths of an export: lower case, '/' only, joined with exactly one
// slash between two parts.
#include <string>

namespace scene {

/// Joins a and b: one '/' between them (an empty a gives "/b", an empty b
/// gives "a/").
std::string JoinPath(const std::string& a, const std::string& b);

/// The name part of a directory path: the text after its last '/', cut at
/// its last '.' when it has one ("units/tank" gives "tank").
std::string NamePart(const std::string& path);

/// resourceDir joined with its own name part: "d:/thegame/units/tank" gives
/// "d:/thegame/units/tank/tank".
std::string ModelBase(const std::string& resource_dir);

/// True when a cleaned Model value stays inside the game resource path and
/// names its files: not absolute (leading slash or drive letter), without a
/// ".." component, and with a name part (not empty, ".", or ending in '/').
bool IsSafeModelPath(const std::string& model);

/// True when a component of path (separated by '/' or '\\') is "..".
bool HasParentComponent(const std::string& path);

}  // namespace scene
