#pragma once
// The one place where a path as the exporter spells it (a host path such as
// "d:/thegame/units/tank.mdl") becomes a path of this machine. Every file
// operation of the core library goes through LocalPath; the embedding
// application installs the mapping.
#include <functional>
#include <optional>
#include <string>

namespace xIo {

/// Maps a path to a local one; nullopt refuses it (a host path for which
/// this machine has no folder).
using PathMapper = std::function<std::optional<std::string>(const std::string& path)>;

/// Installs the mapping; null restores the identity.
void SetPathMapper(PathMapper mapper);
/// The local path of a path. Its backslashes become slashes and its "."
/// and ".." components are folded before it is mapped; without a mapper the
/// folded path is the local one. A refused path (one the mapper refuses, or
/// one climbing above its drive or root) raises "Host path "%1%" has no local
/// folder in the path map".
std::string LocalPath(const std::string& path);
/// The same without raising: false for a refused path.
bool TryLocalPath(const std::string& path, std::string& local);

}  // namespace xIo
