#pragma once
// The working vertex of a mesh (one per distinct face corner) and the vertex
// format word that says which of its fields a packed vertex of the mesh file
// holds.
#include <cstdint>

#include "host/math_point.h"

namespace geometry {

// Vertex format flags: a 32-bit word whose low 16 bits are stored in mesh files.
enum : uint32_t {
    kFormatPosition = 0x1,     ///< always set
    kFormatNormal = 0x2,
    kFormatColour = 0x4,
    kFormatReserved = 0x8,     ///< never set here; counted in the size when set
    kFormatUvShift = 4,
    kFormatUvMask = 0xF0,      ///< the number of texture coordinate sets
    kFormatTangent = 0x100,
    kFormatWeightShift = 9,
    kFormatWeightMask = 0x600, ///< bones per vertex − 1: the stored blend weights
};

/// The number of texture coordinate sets of format.
inline uint32_t UvSetCount(uint32_t format) { return (format & kFormatUvMask) >> kFormatUvShift; }
/// The number of blend weights a packed vertex of format stores (bones per vertex − 1).
inline uint32_t WeightCount(uint32_t format) { return (format & kFormatWeightMask) >> kFormatWeightShift; }
/// Bytes of a packed vertex of format.
uint32_t VertexSize(uint32_t format);

/// Opaque white: every byte of a colour word set.
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

struct MeshVertex {
    host::Point3 position;        ///< metres, in the bone's space
    float weights[2] = {0, 0};    ///< blend weights of the first two influences
    uint8_t boneIndices[4] = {};  ///< palette positions of the influences; the fourth is 0
    host::Point3 normal;          ///< unit normal
    uint32_t colour = kOpaqueWhite;  ///< alpha in bits 24-31, then red, green, blue
    host::Point2 uv[2];           ///< texture coordinate sets 0 and 1
    int32_t group = 0;            ///< submesh group index
    host::Point4 tangent;         ///< (0, 0, 0, 0) without a bump map
    uint32_t smoothing = 0;       ///< smoothing group of the face the corner came from
    uint32_t format = 0;          ///< vertex format flags
};

/// The largest packed vertex any format word can describe.
constexpr uint32_t kMaxVertexSize = 12 + 12 + 4 + 4 + 8 * 15 + 16 + 16;

/// Writes vertex_size bytes to out: the fields v's own format selects, in
/// the file's order, packed from the start into a zero-filled buffer (so the
/// rest is zero; a vertex_size below the vertex's own size cuts it).
void PackVertex(const MeshVertex& v, uint32_t vertex_size, uint8_t* out);

}  // namespace geometry
