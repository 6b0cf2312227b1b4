// The mesh file's bytes: a record written from known fields, read back
// field by field, its layout at fixed offsets, every prefix refused, and
// each structural check giving its offset and reason.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "geometry/mesh_collector.h"
#include "geometry/mesh_reader.h"
#include "geometry/mesh_record.h"
#include "support/temp_dir.h"

namespace {

using geometry::MeshVertex;

MeshVertex Vertex(float x, uint32_t format, uint8_t bone) {
    MeshVertex v;
    v.position = {x, 2 * x, 3 * x};
    v.normal = {0, 0, 1};
    v.colour = 0x80402010u;
    v.uv[0] = {x, 1 - x};
    v.tangent = {1, 0, 0, -1};
    v.weights[0] = 0.25f;
    v.boneIndices[0] = bone;
    v.format = format;
    return v;
}

// Two submeshes of different formats in one skinned record: A (60-byte
// vertices with colour and tangent) and B (40 bytes, padded to 60).
constexpr uint32_t kFormatA = 0x317, kFormatB = 0x213;

geometry::MeshRecord Record() {
    geometry::MeshRecord r;
    r.bounds = {{-1, -2, -3}, {4, 5, 6}};
    r.skinned = true;
    r.skinBones = {"pelvis", "spine"};
    geometry::SubmeshSection a;
    a.format = kFormatA;
    a.triangleCount = 1;
    a.vertexCount = 3;
    a.flags = geometry::kSubmeshTwoSided | geometry::kSubmeshSkinned;
    a.palette.count = 2;
    a.palette.bones[0] = 1, a.palette.bones[1] = 2;
    a.material = "common/rock";
    geometry::SubmeshSection b;
    b.format = kFormatB;
    b.firstTriangle = 1;
    b.triangleCount = 1;
    b.firstVertex = 3;
    b.vertexCount = 3;
    b.flags = geometry::kSubmeshSkinned;
    b.palette.count = 1;
    b.palette.bones[0] = 2;
    r.submeshes = {a, b};
    for (int i = 0; i < 3; ++i) r.vertices.push_back(Vertex(float(i), kFormatA, uint8_t(i % 2)));
    for (int i = 3; i < 6; ++i) r.vertices.push_back(Vertex(float(i), kFormatB, 0));
    r.vertexSize = geometry::VertexSize(kFormatA);
    r.indices = {0, 1, 2, 3, 4, 5};
    return r;
}

// Record offsets (from the record's start) of the fields the checks name.
constexpr size_t kRecordStart = 21;  // "PMSH" "MTBL", count, entry "rock" and its offset
constexpr size_t kSubmeshA = 57, kPaletteA = 73, kSubmeshB = 88, kVertexSection = 107, kVertices = 119;
constexpr size_t kIndexSection = 479, kIndices = 487, kRecordSize = 499;

std::string File() {
    const geometry::MeshRecord record = Record();
    qeltest::TempDir dir;
    geometry::MeshCollector collector;
    geometry::WriteMeshRecord(record, collector.AddRecord("rock", geometry::MeshRecordSize(record)));
    geometry::WriteMeshFile(dir.path(), collector);
    return qeltest::ReadFile(dir / ".mesh");
}

geometry::MeshReadError Refused(const std::string& bytes) {
    geometry::MeshFileContent content;
    geometry::MeshReadError error;
    EXPECT_FALSE(geometry::ReadMeshFile(bytes, content, error));
    return error;
}

TEST(MeshFile, ARecordIsLaidOutTagByTagAndReadsBackFieldByField) {
    const std::string bytes = File();
    ASSERT_EQ(bytes.size(), kRecordStart + kRecordSize);
    EXPECT_EQ(bytes.substr(0, 21), std::string("PMSHMTBL\x01\0\0\0\x04rock\0\0\0\0", 21));
    const std::string record = bytes.substr(kRecordStart);
    EXPECT_EQ(record.substr(0, 12), "MESHPM01BNDS");
    EXPECT_EQ(record.substr(36, 21), std::string("SKIN\x02\0\0\0\x06pelvis\x05spine", 21));
    EXPECT_EQ(record.substr(kSubmeshA, 31),
              std::string("SUBM\x17\x03\0\0\x01\0\0\0\x03\0\x03\0\x02\x01\x02\x0b" "common/rock", 31));
    EXPECT_EQ(record.substr(kSubmeshB, 19), std::string("SUBM\x13\x02\x01\0\x01\0\x03\0\x03\0\x02\0\x01\x02\0", 19));
    EXPECT_EQ(record.substr(kVertexSection, 12), std::string("VERT\x06\0\0\0\x3c\0\0\0", 12));
    // B's first vertex: position, weight and index bytes, normal, texture set, then zeros.
    const std::string b0 = record.substr(kVertices + 3 * 60, 60);
    EXPECT_EQ(b0.substr(40), std::string(20, '\0'));
    EXPECT_EQ(record.substr(kIndexSection, 20), std::string("INDX\x06\0\0\0\x02\0\x01\0\0\0\x05\0\x04\0\x03\0", 20));

    geometry::MeshFileContent content;
    geometry::MeshReadError error;
    ASSERT_TRUE(geometry::ReadMeshFile(bytes, content, error)) << error.offset << ": " << error.reason;
    ASSERT_EQ(content.meshes.size(), 1u);
    const geometry::DecodedMesh& m = content.meshes[0];
    const geometry::MeshRecord expected = Record();
    EXPECT_EQ(m.name, "rock");
    EXPECT_EQ(m.size, kRecordSize);
    EXPECT_EQ(m.bounds.pmin, expected.bounds.pmin);
    EXPECT_EQ(m.bounds.pmax, expected.bounds.pmax);
    EXPECT_EQ(m.skinBones, expected.skinBones);
    ASSERT_EQ(m.submeshes.size(), 2u);
    EXPECT_EQ(m.submeshes[0].material, "common/rock");
    EXPECT_EQ(m.submeshes[1].palette, std::vector<uint8_t>{2});
    ASSERT_EQ(m.vertices.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        const MeshVertex& v = expected.vertices[i];
        const geometry::DecodedVertex& d = m.vertices[i];
        EXPECT_EQ(d.format, v.format);
        EXPECT_EQ(d.position, v.position);
        EXPECT_EQ(d.normal, v.normal);
        EXPECT_EQ(d.uv[0], v.uv[0]);
        EXPECT_EQ(d.weights[0], v.weights[0]);
        EXPECT_EQ(d.bones[0], v.boneIndices[0]);
        EXPECT_EQ(d.colour, (v.format & geometry::kFormatColour) ? v.colour : 0u);
        EXPECT_EQ(d.tangent, (v.format & geometry::kFormatTangent) ? v.tangent : host::Point4());
    }
    EXPECT_EQ(m.indices, (std::vector<uint16_t>{2, 1, 0, 5, 4, 3}));
}

TEST(MeshFile, EveryPrefixOfAFileIsRefusedWithinIt) {
    const std::string bytes = File();
    for (size_t length = 0; length < bytes.size(); ++length) {
        geometry::MeshReadError error = Refused(bytes.substr(0, length));
        EXPECT_LE(error.offset, length) << length;
        EXPECT_FALSE(error.reason.empty()) << length;
    }
}

TEST(MeshFile, EachStructuralCheckNamesItsOffsetAndReason) {
    auto at = [](size_t record_offset) { return kRecordStart + record_offset; };
    auto put16 = [](std::string& b, size_t offset, uint16_t value) { std::memcpy(&b[offset], &value, 2); };
    auto put32 = [](std::string& b, size_t offset, uint32_t value) { std::memcpy(&b[offset], &value, 4); };
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
        size_t offset;
        const char* reason;
    } cases[] = {
        {"magic", [](std::string& b) { b[3] = 'X'; }, 0, "expected tag 'PMSH', found 'PMSX'"},
        {"table count", [&](std::string& b) { put32(b, 8, 1000); }, 8, "table of 1000 entries is longer than the file"},
        {"entry offset", [&](std::string& b) { put32(b, 17, 4); }, 17, "table entry 0 gives offset 4, its record starts at 0"},
        {"record tag", [&](std::string& b) { b[at(4)] = 'Q'; }, at(4), "expected tag 'PM01', found 'QM01'"},
        {"skin bones", [&](std::string& b) { put32(b, at(40), 256); }, at(40), "256 skin bones (at most 255)"},
        {"section tag", [&](std::string& b) { b[at(kSubmeshB)] = 'X'; }, at(kSubmeshB), "expected tag 'SUBM' or 'VERT', found 'XUBM'"},
        {"palette size", [&](std::string& b) { b[at(kPaletteA)] = 26; }, at(kPaletteA), "palette of 26 bones (at most 25)"},
        {"palette bone", [&](std::string& b) { b[at(kPaletteA + 2)] = 3; }, at(kPaletteA + 2),
         "palette bone number 3 outside the skin's 2 bones"},
        {"vertex size", [&](std::string& b) { put16(b, at(kVertexSection + 8), 56); }, at(kVertexSection + 8),
         "vertex size 56 is below the 60 bytes of submesh format 791"},
        {"padding", [&](std::string& b) { b[at(kVertices + 4 * 60 + 45)] = 1; }, at(kVertices + 4 * 60 + 45),
         "vertex 4: padding byte not zero"},
        {"bone index", [&](std::string& b) { b[at(kVertices + 60 + 17)] = 2; }, at(kVertices + 60 + 17),
         "vertex 1: bone index 2 outside its submesh's palette of 2"},
        {"index count", [&](std::string& b) { put32(b, at(kIndexSection + 4), 5); }, at(kIndexSection + 4),
         "index count 5 is not a multiple of 3"},
        {"index past the vertices", [&](std::string& b) { put16(b, at(kIndices + 2), 6); }, at(kIndices + 2),
         "index 6 past the 6 vertices"},
        {"index of another submesh", [&](std::string& b) { put16(b, at(kIndices + 2), 4); }, at(kIndices + 2),
         "index 4 outside its submesh's vertices 0+3"},
        {"triangle range", [&](std::string& b) { put16(b, at(kSubmeshB + 6), 2); }, at(kSubmeshB + 6),
         "submesh triangles 2+1 past the 2 triangles"},
        {"vertex range", [&](std::string& b) { put16(b, at(kSubmeshB + 12), 4); }, at(kSubmeshB + 10),
         "submesh vertices 3+4 past the 6 vertices"},
        {"trailing bytes", [](std::string& b) { b += "!!"; }, kRecordStart + kRecordSize, "2 bytes after the last record"},
    };
    for (const Case& c : cases) {
        std::string bytes = File();
        c.damage(bytes);
        geometry::MeshReadError error = Refused(bytes);
        EXPECT_EQ(error.offset, c.offset) << c.what;
        EXPECT_EQ(error.reason, c.reason) << c.what;
    }
}

}  // namespace
