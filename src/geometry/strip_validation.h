#pragma once
// Checks an optimiser result against its input triangles.
#include <array>
#include <cstdint>
#include <span>

#include "geometry/primitive_group.h"

namespace geometry {

using Triangle = std::array<uint16_t, 3>;

inline bool IsDegenerate(const Triangle& t) { return t[0] == t[1] || t[1] == t[2] || t[2] == t[0]; }

/// Calls draw for each triangle group draws, in order and in the winding it
/// is drawn with: three indices at a time for a list; for a strip, each three
/// consecutive indices, every second triangle with its first two swapped,
/// triangles with two equal indices skipped, and starting afresh after
/// restart_value when that is given.
template <class Draw>
void ForEachTriangle(const PrimitiveGroup& group, const uint16_t* restart_value, Draw&& draw) {
    const std::vector<uint16_t>& s = group.indices;
    if (group.type == PrimitiveType::List) {
        for (size_t i = 0; i + 2 < s.size(); i += 3) draw(Triangle{s[i], s[i + 1], s[i + 2]});
        return;
    }
    size_t start = 0;  // first index of the current run between restarts
    for (size_t i = 0; i + 2 < s.size(); ++i) {
        if (restart_value && (s[i] == *restart_value || s[i + 1] == *restart_value || s[i + 2] == *restart_value)) {
            if (s[i] == *restart_value) start = i + 1;
            continue;
        }
        Triangle t = (i - start) % 2 ? Triangle{s[i + 1], s[i], s[i + 2]} : Triangle{s[i], s[i + 1], s[i + 2]};
        if (!IsDegenerate(t)) draw(t);
    }
}

/// True when groups draw exactly the triangles of the list input that have
/// three different indices, each once per occurrence in input and each with
/// its own winding (any rotation of it), and a list group holds whole
/// triangles none of which is degenerate. Triangles are compared bucket by
/// bucket, 100 buckets chosen by the smallest index.
bool ValidateGroups(std::span<const uint16_t> input, std::span<const PrimitiveGroup> groups,
                    const StripOptions& options);

}  // namespace geometry
