#pragma once
// The one place where a path as the exporter spells it (a host path such as
// "d:/thegame/units/tank.mdl") becomes a path of this machine. Every file
// operation of the core library goes through LocalPath; the embedding
// application installs the mapping.
#include <functional>
#include <string>

namespace xIo {

using PathMapper = std::function<std::string(const std::string& path)>;

/// Installs the mapping; null restores the identity.
void SetPathMapper(PathMapper mapper);
/// The local path of a path; the identity unless a mapper is installed.
std::string LocalPath(const std::string& path);

}  // namespace xIo
