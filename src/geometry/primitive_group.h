#pragma once
// What the triangle optimiser hands back: groups of indices drawn as a
// triangle list or a triangle strip, and the options that shape them.
#include <cstdint>
#include <vector>

namespace geometry {

enum class PrimitiveType : uint8_t { List = 0, Strip = 1 };

/// One draw's worth of indices. A list holds three indices per triangle; a
/// strip draws a triangle for every three consecutive indices, every second
/// one with its first two indices swapped.
struct PrimitiveGroup {
    PrimitiveType type = PrimitiveType::List;
    std::vector<uint16_t> indices;

    uint32_t IndexCount() const { return static_cast<uint32_t>(indices.size()); }
};

/// How the optimiser searches and what it emits.
struct StripOptions {
    /// Entries of the FIFO vertex cache the search keeps warm.
    uint32_t cache_size = 24;
    /// Strips mode: join all strips into one strip group rather than a group each.
    bool stitch_strips = true;
    /// Strips of fewer faces are emitted as leftover triangles instead.
    uint32_t min_strip_length = 0;
    /// Emit one triangle list instead of strips.
    bool lists_only = false;
    /// Strips mode: strip groups are read with restart_value as a break, and
    /// stitching joins strips with it rather than with degenerate triangles.
    bool primitive_restart = false;
    uint16_t restart_value = 0;
};

}  // namespace geometry
