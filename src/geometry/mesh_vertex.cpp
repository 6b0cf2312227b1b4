#include "geometry/mesh_vertex.h"

#include <algorithm>
#include <cstring>

namespace geometry {

uint32_t VertexSize(uint32_t format) {
    uint32_t size = 0;
    if (format & kFormatPosition) size += 12;
    if (format & kFormatNormal) size += 12;
    if (format & kFormatColour) size += 4;
    if (format & kFormatReserved) size += 4;
    size += 8 * UvSetCount(format);
    if (format & kFormatTangent) size += 16;
    if (uint32_t w = WeightCount(format)) size += 4 * w + 4;
    return size;
}

namespace {

class Packer {
public:
    explicit Packer(uint8_t* out) : out_(out) {}
    void Float(float value) { Bytes(&value, 4); }
    void Point(const host::Point3& p) { Float(p.x), Float(p.y), Float(p.z); }
    void Bytes(const void* data, size_t count) {
        std::memcpy(out_ + used_, data, count);
        used_ += count;
    }

private:
    uint8_t* out_;
    size_t used_ = 0;
};

}  // namespace

void PackVertex(const MeshVertex& v, uint32_t vertex_size, uint8_t* out) {
    uint8_t buffer[kMaxVertexSize] = {};
    Packer p(buffer);
    const uint32_t format = v.format;
    p.Point(v.position);
    if (uint32_t w = WeightCount(format)) {
        // The last influence's weight is one minus the others: not stored.
        for (uint32_t k = 0; k < w; ++k) p.Float(k < 2 ? v.weights[k] : 0.0f);
        p.Bytes(v.boneIndices, 4);
    }
    if (format & kFormatNormal) p.Point(v.normal);
    if (format & kFormatColour) p.Bytes(&v.colour, 4);
    for (uint32_t k = 0; k < UvSetCount(format); ++k) {
        host::Point2 uv = k < 2 ? v.uv[k] : host::Point2();
        p.Float(uv.x), p.Float(uv.y);
    }
    if (format & kFormatTangent) p.Float(v.tangent.x), p.Float(v.tangent.y), p.Float(v.tangent.z), p.Float(v.tangent.w);
    std::memcpy(out, buffer, std::min(vertex_size, kMaxVertexSize));
    if (vertex_size > kMaxVertexSize) std::memset(out + kMaxVertexSize, 0, vertex_size - kMaxVertexSize);
}

}  // namespace geometry
