#pragma once
// Reading a ".mesh" file back: every table entry and record decoded, and
// the file's structure checked (tags, counts, sizes, offsets, palettes, and
// index ranges inside each submesh's vertex range). Input is untrusted: a
// malformed file gives the offset and reason of its first problem.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/math_box.h"

namespace geometry {

struct DecodedVertex {
    uint32_t format = 0;         ///< the format of the submesh it was decoded by
    host::Point3 position;
    uint32_t weightCount = 0;
    float weights[3] = {};
    uint8_t bones[4] = {};
    host::Point3 normal;
    uint32_t colour = 0;
    uint32_t uvCount = 0;
    host::Point2 uv[15];
    host::Point4 tangent;
};

struct DecodedSubmesh {
    size_t offset = 0;  ///< of its "SUBM" tag in the file
    uint16_t format = 0;
    uint16_t firstTriangle = 0;
    uint16_t triangleCount = 0;
    uint16_t firstVertex = 0;
    uint16_t vertexCount = 0;
    uint8_t flags = 0;
    uint8_t reserved = 0;
    bool hasPalette = false;
    std::vector<uint8_t> palette;  ///< bone numbers
    std::string material;
};

struct DecodedMesh {
    std::string name;
    uint32_t offset = 0;      ///< as the table gives it
    size_t fileOffset = 0;    ///< where the record starts in the file
    size_t size = 0;          ///< bytes of the record
    host::Box3 bounds;
    bool hasSkin = false;
    std::vector<std::string> skinBones;
    std::vector<DecodedSubmesh> submeshes;
    uint16_t vertexSize = 0;
    uint16_t vertexReserved = 0;
    std::vector<DecodedVertex> vertices;
    std::vector<uint16_t> indices;  ///< as stored (winding reversed)
};

struct MeshFileContent {
    std::vector<DecodedMesh> meshes;
};

struct MeshReadError {
    size_t offset = 0;  ///< byte offset in the file
    std::string reason;
};

/// Decodes and checks bytes as a mesh file. True on success; otherwise
/// false, with error holding where and why, and content partly filled.
bool ReadMeshFile(std::string_view bytes, MeshFileContent& content, MeshReadError& error);

/// The fields of a packed vertex of format at data (VertexSize(format)
/// bytes, the reserved field aside).
DecodedVertex DecodeVertex(const uint8_t* data, uint32_t format);

/// The submesh whose vertex range holds vertex, or null.
const DecodedSubmesh* OwnerOf(const DecodedMesh& mesh, uint32_t vertex);

}  // namespace geometry
