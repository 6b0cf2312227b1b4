#pragma once
// The triangle optimiser: reorders a triangle list so that consecutive
// triangles share vertices in a FIFO vertex cache, as strips or as one
// plain list, and numbers vertices in the order of their first use.
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/primitive_group.h"

namespace geometry {

/// The options of the module, used by the calls without an options argument.
/// They start at the StripOptions defaults. Not safe to change while another
/// thread optimises with them; such callers pass their own options.
const StripOptions& ModuleStripOptions();
void SetCacheSize(uint32_t cache_size);
void SetStitchStrips(bool stitch);
void SetMinStripLength(uint32_t min_strip_length);
void SetListsOnly(bool lists_only);
void SetPrimitiveRestart(bool restart);
void SetRestartValue(uint16_t restart_value);

/// Optimises the triangle list indices into out_groups (replacing its
/// contents). Triangles with two equal indices are dropped; every other
/// triangle comes back once, in its own winding. Lists only: one list group,
/// the triangles in strip order. Otherwise strip groups and a list group of
/// the leftover triangles. No triangles give no groups, which is a success.
/// Returns false, with no groups, when the index count is not a multiple of
/// 3, when a primitive restart value also stands for a vertex of the input,
/// or when validate is set and the result does not draw exactly the input's
/// triangles.
bool GenerateStrips(std::span<const uint16_t> indices, const StripOptions& options,
                    std::vector<PrimitiveGroup>& out_groups, bool validate);
bool GenerateStrips(std::span<const uint16_t> indices, std::vector<PrimitiveGroup>& out_groups, bool validate);

/// Numbers the vertices in the order the groups first use them, from 0, and
/// gives out_groups as groups with the same types and counts whose indices
/// are the new numbers. A restart index in a strip group stays as it is when
/// options.primitive_restart is on. When old_of_new is given it receives the
/// old number of each new number. Returns false, with no groups, when an
/// index is not below vertex_count or a new number would equal the restart
/// index.
bool RenumberVertices(std::span<const PrimitiveGroup> groups, uint32_t vertex_count, const StripOptions& options,
                      std::vector<PrimitiveGroup>& out_groups, std::vector<uint16_t>* old_of_new = nullptr);
bool RenumberVertices(std::span<const PrimitiveGroup> groups, uint32_t vertex_count,
                      std::vector<PrimitiveGroup>& out_groups, std::vector<uint16_t>* old_of_new = nullptr);

}  // namespace geometry
