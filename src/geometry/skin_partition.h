#pragma once
// Partitioning a skinned mesh: its faces are split into partitions whose
// bones fit one palette of 25, so that a vertex's bone bytes can name
// positions in its submesh's palette.
#include <array>
#include <cstdint>
#include <vector>

#include "geometry/bone_mesh.h"

namespace geometry {

/// Fills record's face partitions and palettes: pass after pass over the
/// faces still without a partition, a face joins the open palette when the
/// bones it adds still fit; each closed palette lists its bones ascending.
void PartitionSkin(BoneMesh& record);

/// Per partition, the palette position of each bone byte (0 for byte 0).
std::vector<std::array<uint8_t, 256>> PalettePositions(const BoneMesh& record);

}  // namespace geometry
