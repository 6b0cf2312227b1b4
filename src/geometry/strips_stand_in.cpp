#include "geometry/strips_stand_in.h"

namespace geometry {

void SetCacheSize(uint32_t) {}
void SetListsOnly(bool) {}

bool GenerateStrips(const uint16_t* indices, uint32_t index_count, std::vector<PrimitiveGroup>& groups, bool) {
    groups.assign(1, PrimitiveGroup());
    std::vector<uint16_t>& list = groups.front().indices;
    for (uint32_t i = 0; i + 2 < index_count; i += 3) {
        const uint16_t a = indices[i], b = indices[i + 1], c = indices[i + 2];
        if (a == b || b == c || a == c) continue;
        list.insert(list.end(), {a, b, c});
    }
    return true;
}

std::vector<PrimitiveGroup> RenumberVertices(const std::vector<PrimitiveGroup>& groups, uint32_t vertex_count) {
    std::vector<uint32_t> numbers(vertex_count, 0xFFFFFFFFu);
    uint32_t next = 0;
    std::vector<PrimitiveGroup> renumbered = groups;
    for (PrimitiveGroup& group : renumbered)
        for (uint16_t& index : group.indices) {
            if (numbers[index] == 0xFFFFFFFFu) numbers[index] = next++;
            index = static_cast<uint16_t>(numbers[index]);
        }
    return renumbered;
}

}  // namespace geometry
