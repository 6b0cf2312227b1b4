#include "geometry/mesh_reader.h"

#include <cstring>

#include "geometry/mesh_vertex.h"

namespace geometry {

namespace {

constexpr uint32_t kMaxSkinBones = 255;
constexpr uint32_t kMaxPalette = 25;

struct Malformed {
    size_t offset;
    std::string reason;
};

class Cursor {
public:
    explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

    size_t Position() const { return at_; }
    size_t Left() const { return bytes_.size() - at_; }
    [[noreturn]] void Fail(size_t offset, std::string reason) const { throw Malformed{offset, std::move(reason)}; }

    const uint8_t* Take(size_t count, const char* what) {
        if (count > Left())
            Fail(at_, std::string("truncated: ") + what + " needs " + std::to_string(count) + " bytes, " +
                          std::to_string(Left()) + " left");
        const auto* p = reinterpret_cast<const uint8_t*>(bytes_.data() + at_);
        at_ += count;
        return p;
    }
    template <class T>
    T Get(const char* what) {
        T value;
        std::memcpy(&value, Take(sizeof value, what), sizeof value);
        return value;
    }
    std::string Tag() {
        const uint8_t* p = Take(4, "a tag");
        return std::string(reinterpret_cast<const char*>(p), 4);
    }
    void ExpectTag(const char* tag) {
        const size_t at = at_;
        std::string found = Tag();
        if (found != tag) Fail(at, "expected tag '" + std::string(tag) + "', found " + Printable(found));
    }
    host::Point3 Point(const char* what) {
        host::Point3 p;
        p.x = Get<float>(what), p.y = Get<float>(what), p.z = Get<float>(what);
        return p;
    }
    std::string String(const char* what) {
        size_t length = Get<uint8_t>(what);
        if (length == 0xFF) {
            const uint8_t* p = Take(3, what);
            length = size_t(p[0]) | size_t(p[1]) << 8 | size_t(p[2]) << 16;
        }
        const uint8_t* text = Take(length, what);
        return std::string(reinterpret_cast<const char*>(text), length);
    }

    static std::string Printable(const std::string& tag) {
        std::string out = "'";
        for (unsigned char c : tag) {
            if (c >= 0x20 && c < 0x7F && c != '\'' && c != '\\') {
                out += static_cast<char>(c);
            } else {
                static const char* kHex = "0123456789abcdef";
                out += "\\x";
                out += kHex[c >> 4];
                out += kHex[c & 15];
            }
        }
        return out + "'";
    }

private:
    std::string_view bytes_;
    size_t at_ = 0;
};

// Where a packed vertex of format ends: the fields it selects (the
// reserved bit counts in the size but packs nothing).
uint32_t PackedSize(uint32_t format) { return VertexSize(format) - ((format & kFormatReserved) ? 4 : 0); }

DecodedSubmesh ReadSubmesh(Cursor& in, const DecodedMesh& mesh) {
    DecodedSubmesh s;
    s.offset = in.Position() - 4;
    s.format = in.Get<uint16_t>("a submesh header");
    s.firstTriangle = in.Get<uint16_t>("a submesh header");
    s.triangleCount = in.Get<uint16_t>("a submesh header");
    s.firstVertex = in.Get<uint16_t>("a submesh header");
    s.vertexCount = in.Get<uint16_t>("a submesh header");
    s.flags = in.Get<uint8_t>("a submesh header");
    s.reserved = in.Get<uint8_t>("a submesh header");
    if (!(s.format & kFormatPosition)) in.Fail(s.offset + 4, "submesh format lacks the position bit");
    if (s.flags & 0x2) {
        const size_t at = in.Position();
        if (!mesh.hasSkin) in.Fail(s.offset + 14, "skinned submesh in a mesh without a skin section");
        s.hasPalette = true;
        const uint8_t count = in.Get<uint8_t>("a palette");
        if (count > kMaxPalette) in.Fail(at, "palette of " + std::to_string(count) + " bones (at most 25)");
        const uint8_t* bones = in.Take(count, "a palette");
        s.palette.assign(bones, bones + count);
        for (uint8_t i = 0; i < count; ++i)
            if (bones[i] == 0 || bones[i] > mesh.skinBones.size())
                in.Fail(at + 1 + i, "palette bone number " + std::to_string(bones[i]) + " outside the skin's " +
                                        std::to_string(mesh.skinBones.size()) + " bones");
    }
    s.material = in.String("a material reference");
    return s;
}

void ReadVertices(Cursor& in, DecodedMesh& mesh) {
    const size_t section = in.Position() - 4;
    const uint32_t count = in.Get<uint32_t>("the vertex count");
    mesh.vertexSize = in.Get<uint16_t>("the vertex size");
    mesh.vertexReserved = in.Get<uint16_t>("the vertex section");
    for (const DecodedSubmesh& s : mesh.submeshes)
        if (VertexSize(s.format) > mesh.vertexSize)
            in.Fail(section + 8, "vertex size " + std::to_string(mesh.vertexSize) + " is below the " +
                                     std::to_string(VertexSize(s.format)) + " bytes of submesh format " +
                                     std::to_string(s.format));
    if (count > 0 && mesh.vertexSize == 0) in.Fail(section + 8, "vertex size 0");
    if (mesh.vertexSize > 0 && count > in.Left() / mesh.vertexSize)
        in.Fail(section + 4, "truncated: " + std::to_string(count) + " vertices of " + std::to_string(mesh.vertexSize) +
                                 " bytes need more than the " + std::to_string(in.Left()) + " bytes left");
    mesh.vertices.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = in.Position();
        const uint8_t* data = in.Take(mesh.vertexSize, "a vertex");
        const DecodedSubmesh* owner = OwnerOf(mesh, i);
        if (owner == nullptr) in.Fail(at, "vertex " + std::to_string(i) + " lies in no submesh's vertex range");
        const uint32_t used = PackedSize(owner->format);
        for (uint32_t b = used; b < mesh.vertexSize; ++b)
            if (data[b] != 0) in.Fail(at + b, "vertex " + std::to_string(i) + ": padding byte not zero");
        DecodedVertex v = DecodeVertex(data, owner->format);
        if (v.weightCount > 0) {
            const size_t limit = owner->palette.empty() ? 1 : owner->palette.size();
            for (int k = 0; k < 4; ++k)
                if (v.bones[k] >= limit)
                    in.Fail(at + 12 + 4 * v.weightCount + size_t(k),
                            "vertex " + std::to_string(i) + ": bone index " + std::to_string(v.bones[k]) +
                                " outside its submesh's palette of " + std::to_string(owner->palette.size()));
        }
        mesh.vertices.push_back(v);
    }
}

void ReadIndices(Cursor& in, DecodedMesh& mesh) {
    const size_t section = in.Position() - 4;
    const uint32_t count = in.Get<uint32_t>("the index count");
    if (count % 3 != 0) in.Fail(section + 4, "index count " + std::to_string(count) + " is not a multiple of 3");
    if (count > in.Left() / 2)
        in.Fail(section + 4, "truncated: " + std::to_string(count) + " indices need more than the " +
                                 std::to_string(in.Left()) + " bytes left");
    const size_t first = in.Position();
    const uint8_t* data = in.Take(size_t(count) * 2, "the indices");
    mesh.indices.resize(count);
    if (count) std::memcpy(mesh.indices.data(), data, size_t(count) * 2);
    for (uint32_t i = 0; i < count; ++i)
        if (mesh.indices[i] >= mesh.vertices.size())
            in.Fail(first + 2 * size_t(i), "index " + std::to_string(mesh.indices[i]) + " past the " +
                                               std::to_string(mesh.vertices.size()) + " vertices");
    const size_t triangles = count / 3;
    for (const DecodedSubmesh& s : mesh.submeshes) {
        if (size_t(s.firstTriangle) + s.triangleCount > triangles)
            in.Fail(s.offset + 6, "submesh triangles " + std::to_string(s.firstTriangle) + "+" +
                                      std::to_string(s.triangleCount) + " past the " + std::to_string(triangles) +
                                      " triangles");
        if (size_t(s.firstVertex) + s.vertexCount > mesh.vertices.size())
            in.Fail(s.offset + 10, "submesh vertices " + std::to_string(s.firstVertex) + "+" +
                                       std::to_string(s.vertexCount) + " past the " +
                                       std::to_string(mesh.vertices.size()) + " vertices");
        for (size_t i = 3 * size_t(s.firstTriangle); i < 3 * (size_t(s.firstTriangle) + s.triangleCount); ++i) {
            const uint16_t index = mesh.indices[i];
            if (index < s.firstVertex || index >= uint32_t(s.firstVertex) + s.vertexCount)
                in.Fail(first + 2 * i, "index " + std::to_string(index) + " outside its submesh's vertices " +
                                           std::to_string(s.firstVertex) + "+" + std::to_string(s.vertexCount));
        }
    }
}

void ReadRecord(Cursor& in, DecodedMesh& mesh) {
    mesh.fileOffset = in.Position();
    in.ExpectTag("MESH");
    in.ExpectTag("PM01");
    in.ExpectTag("BNDS");
    mesh.bounds.pmin = in.Point("the bounds");
    mesh.bounds.pmax = in.Point("the bounds");
    size_t at = in.Position();
    std::string tag = in.Tag();
    if (tag == "SKIN") {
        mesh.hasSkin = true;
        const size_t count_at = in.Position();
        const uint32_t count = in.Get<uint32_t>("the skin bone count");
        if (count > kMaxSkinBones) in.Fail(count_at, std::to_string(count) + " skin bones (at most 255)");
        for (uint32_t i = 0; i < count; ++i) mesh.skinBones.push_back(in.String("a skin bone name"));
        at = in.Position();
        tag = in.Tag();
    }
    while (tag == "SUBM") {
        mesh.submeshes.push_back(ReadSubmesh(in, mesh));
        at = in.Position();
        tag = in.Tag();
    }
    if (tag != "VERT") in.Fail(at, "expected tag 'SUBM' or 'VERT', found " + Cursor::Printable(tag));
    ReadVertices(in, mesh);
    in.ExpectTag("INDX");
    ReadIndices(in, mesh);
    mesh.size = in.Position() - mesh.fileOffset;
}

}  // namespace

DecodedVertex DecodeVertex(const uint8_t* data, uint32_t format) {
    DecodedVertex v;
    v.format = format;
    size_t at = 0;
    auto f32 = [&] {
        float value;
        std::memcpy(&value, data + at, 4);
        at += 4;
        return value;
    };
    auto point = [&] {
        host::Point3 p;
        p.x = f32(), p.y = f32(), p.z = f32();
        return p;
    };
    v.position = point();
    v.weightCount = WeightCount(format);
    if (v.weightCount > 0) {
        for (uint32_t k = 0; k < v.weightCount; ++k) v.weights[k] = f32();
        std::memcpy(v.bones, data + at, 4);
        at += 4;
    }
    if (format & kFormatNormal) v.normal = point();
    if (format & kFormatColour) {
        std::memcpy(&v.colour, data + at, 4);
        at += 4;
    }
    v.uvCount = UvSetCount(format);
    for (uint32_t k = 0; k < v.uvCount; ++k) v.uv[k].x = f32(), v.uv[k].y = f32();
    if (format & kFormatTangent) v.tangent.x = f32(), v.tangent.y = f32(), v.tangent.z = f32(), v.tangent.w = f32();
    return v;
}

const DecodedSubmesh* OwnerOf(const DecodedMesh& mesh, uint32_t vertex) {
    for (const DecodedSubmesh& s : mesh.submeshes)
        if (vertex >= s.firstVertex && vertex < uint32_t(s.firstVertex) + s.vertexCount) return &s;
    return nullptr;
}

bool ReadMeshFile(std::string_view bytes, MeshFileContent& content, MeshReadError& error) {
    Cursor in(bytes);
    try {
        in.ExpectTag("PMSH");
        in.ExpectTag("MTBL");
        const uint32_t count = in.Get<uint32_t>("the table count");
        // An entry takes at least 5 bytes: an empty name and an offset.
        if (count > in.Left() / 5)
            in.Fail(8, "table of " + std::to_string(count) + " entries is longer than the file");
        content.meshes.resize(count);
        std::vector<size_t> offset_at(count);
        for (uint32_t i = 0; i < count; ++i) {
            content.meshes[i].name = in.String("a table entry");
            offset_at[i] = in.Position();
            content.meshes[i].offset = in.Get<uint32_t>("a table entry");
        }
        const size_t records = in.Position();
        for (uint32_t i = 0; i < count; ++i) {
            DecodedMesh& mesh = content.meshes[i];
            const size_t expected = in.Position() - records;
            if (mesh.offset != expected)
                in.Fail(offset_at[i], "table entry " + std::to_string(i) + " gives offset " + std::to_string(mesh.offset) +
                                          ", its record starts at " + std::to_string(expected));
            ReadRecord(in, mesh);
        }
        if (in.Left() != 0) in.Fail(in.Position(), std::to_string(in.Left()) + " bytes after the last record");
    } catch (const Malformed& m) {
        error = {m.offset, m.reason};
        return false;
    }
    return true;
}

}  // namespace geometry
