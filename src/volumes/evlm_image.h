#pragma once
// Building the EVLM image of a polyhedron volume and its hexadecimal text.
#include <string>
#include <string_view>

#include "host/math_matrix.h"
#include "host/trimesh.h"
#include "volumes/evlm_format.h"

namespace volumes {

/// The EVLM image of mesh: each vertex multiplied by object_offset, then by
/// master_scale; per face its corners 2, 1, 0 (the winding reversed) as the
/// low 16 bits of the vertex indices; per face its material index + 1 as a
/// byte. The caller refuses meshes of more than kEvlmMaxVertices vertices.
std::string BuildEvlmImage(const host::TriMesh& mesh, const host::Matrix3& object_offset, float master_scale);

/// bytes as two lower-case hexadecimal digits each, the high half first.
std::string HexText(std::string_view bytes);

}  // namespace volumes
