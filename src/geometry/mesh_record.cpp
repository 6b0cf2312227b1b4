#include "geometry/mesh_record.h"

#include <cstring>

#include "base/debug.h"
#include "base/format.h"

namespace geometry {

namespace {

constexpr size_t kMaxStringLength = (size_t(1) << 24) - 1;

// Writes little-endian values into a buffer of known size.
class Bytes {
public:
    explicit Bytes(uint8_t* out) : out_(out) {}
    void Tag(const char (&tag)[5]) { Raw(tag, 4); }
    template <class T>
    void Put(T value) { Raw(&value, sizeof value); }
    void Point(const host::Point3& p) { Put(p.x), Put(p.y), Put(p.z); }
    void String(const std::string& text) {
        if (text.size() < 255) {
            Put(static_cast<uint8_t>(text.size()));
        } else {
            Put(uint8_t{0xFF});
            Put(static_cast<uint8_t>(text.size())), Put(static_cast<uint8_t>(text.size() >> 8));
            Put(static_cast<uint8_t>(text.size() >> 16));
        }
        Raw(text.data(), text.size());
    }
    void Raw(const void* data, size_t size) {
        if (size) std::memcpy(out_, data, size);
        out_ += size;
    }
    uint8_t* Take(size_t size) {
        uint8_t* at = out_;
        out_ += size;
        return at;
    }

private:
    uint8_t* out_;
};

void CheckString(const std::string& text) {
    if (text.size() > kMaxStringLength)
        xDebug::Error("geometry/mesh_record", __LINE__, format("A name of %1% bytes does not fit a mesh file") % uint32_t(text.size()));
}

}  // namespace

size_t StringSize(size_t length) { return (length < 255 ? 1 : 4) + length; }

size_t MeshRecordSize(const MeshRecord& record) {
    size_t size = 4 + 4 + 4 + 24;  // MESH, PM01, BNDS, min, max
    if (record.skinned) {
        size += 4 + 4;
        for (const std::string& name : record.skinBones) {
            CheckString(name);
            size += StringSize(name.size());
        }
    }
    for (const SubmeshSection& s : record.submeshes) {
        CheckString(s.material);
        size += 4 + 5 * 2 + 2 + StringSize(s.material.size());
        if (s.flags & kSubmeshSkinned) size += 1 + s.palette.count;
    }
    size += 4 + 4 + 2 + 2 + record.VertexCount() * record.vertexSize;
    size += 4 + 4 + record.indices.size() * 2;
    return size;
}

void WriteMeshRecord(const MeshRecord& record, uint8_t* out) {
    Bytes b(out);
    b.Tag("MESH");
    b.Tag("PM01");
    b.Tag("BNDS");
    b.Point(record.bounds.pmin);
    b.Point(record.bounds.pmax);
    if (record.skinned) {
        b.Tag("SKIN");
        b.Put(static_cast<uint32_t>(record.skinBones.size()));
        for (const std::string& name : record.skinBones) b.String(name);
    }
    for (const SubmeshSection& s : record.submeshes) {
        b.Tag("SUBM");
        b.Put(static_cast<uint16_t>(s.format));
        b.Put(static_cast<uint16_t>(s.firstTriangle));
        b.Put(static_cast<uint16_t>(s.triangleCount));
        b.Put(static_cast<uint16_t>(s.firstVertex));
        b.Put(static_cast<uint16_t>(s.vertexCount));
        b.Put(s.flags);
        b.Put(uint8_t{0});  // reserved
        if (s.flags & kSubmeshSkinned) {
            b.Put(s.palette.count);
            b.Raw(s.palette.bones, s.palette.count);
        }
        b.String(s.material);
    }
    b.Tag("VERT");
    b.Put(static_cast<uint32_t>(record.VertexCount()));
    b.Put(static_cast<uint16_t>(record.vertexSize));
    b.Put(uint16_t{0});  // reserved
    if (record.order.empty())
        for (const MeshVertex& v : record.vertices) PackVertex(v, record.vertexSize, b.Take(record.vertexSize));
    for (uint16_t index : record.order) PackVertex(record.vertices[index], record.vertexSize, b.Take(record.vertexSize));
    b.Tag("INDX");
    b.Put(static_cast<uint32_t>(record.indices.size()));
    for (size_t i = 0; i + 2 < record.indices.size(); i += 3) {
        // The engine's winding is the reverse of the host's.
        b.Put(record.indices[i + 2]);
        b.Put(record.indices[i + 1]);
        b.Put(record.indices[i]);
    }
}

}  // namespace geometry
