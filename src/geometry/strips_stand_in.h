#pragma once
// A stand-in for the triangle optimiser until it arrives on this branch: the
// same interface, returning the triangles in their order, without the
// degenerate ones. Only the mesh writer calls it.
#include <cstdint>
#include <vector>

namespace geometry {

enum class PrimitiveType : uint8_t { kList = 0, kStrip = 1 };

struct PrimitiveGroup {
    PrimitiveType type = PrimitiveType::kList;
    std::vector<uint16_t> indices;
};

void SetCacheSize(uint32_t entries);
void SetListsOnly(bool lists_only);

/// One list group of index_count / 3 triangles minus the degenerate ones.
bool GenerateStrips(const uint16_t* indices, uint32_t index_count, std::vector<PrimitiveGroup>& groups, bool validate);

/// groups with vertices renumbered in the order of their first use.
std::vector<PrimitiveGroup> RenumberVertices(const std::vector<PrimitiveGroup>& groups, uint32_t vertex_count);

}  // namespace geometry
