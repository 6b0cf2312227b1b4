#pragma once
// The strip search: orders the faces of a face table into triangle strips so
// that drawing them one after another keeps a FIFO vertex cache warm.
#include <cstdint>
#include <vector>

#include "geometry/strip_faces.h"

namespace geometry {

/// One strip: a run of faces in which each face holds, in the opposite
/// direction, the edge formed by the last two strip vertices before it.
struct Strip {
    uint32_t first = 0;  ///< position of its first face in StripLayout::strip_faces
    uint32_t face_count = 0;
    /// The edge slot of the first face through which the strip leaves it; the
    /// strip's vertices start v[slot + 2], v[slot], v[slot + 1] (mod 3).
    uint8_t exit_slot = 0;
};

/// Strips and leftover faces, as face numbers of the face table.
struct StripLayout {
    std::vector<uint32_t> strip_faces;  ///< the faces of every strip, strip after strip
    std::vector<Strip> strips;
    std::vector<uint32_t> leftovers;  ///< faces of strips shorter than the minimum length
};

/// Covers every face of table with strips, found greedily against a FIFO cache
/// of cache_size entries. Strips with fewer than min_strip_length faces are
/// given back as leftovers instead, in their order. With free_turns, meant for
/// output as a triangle list, a strip is any path of faces joined by edges:
/// it may turn either way at each face, and its faces keep their windings
/// but need not form a drawable strip.
StripLayout FindStrips(const StripFaceTable& table, uint32_t cache_size, uint32_t min_strip_length,
                       bool free_turns);

}  // namespace geometry
