#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "geometry/mesh_collector.h"
#include "geometry/mesh_record.h"
#include "qelinspect/mesh_command.h"
#include "support/temp_dir.h"

namespace {

using qelinspect::MeshOptions;
using qelinspect::RunMesh;

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Inspect(const MeshOptions& options) {
    std::ostringstream out, err;
    int code = RunMesh(options, out, err);
    return {code, out.str(), err.str()};
}

// Two records: a skinned quad of one submesh, and a bare triangle whose
// vertex format has no colour.
std::string WriteFile(const qeltest::TempDir& dir) {
    geometry::MeshCollector collector;
    geometry::MeshRecord quad;
    quad.bounds = {{0, 0, 0}, {1, 0.5f, 0}};
    quad.skinned = true;
    quad.skinBones = {"root", "\xEB\xE0\xEF\xE0"};  // "лапа" in code page 1251
    geometry::SubmeshSection s;
    s.format = 0x217;
    s.triangleCount = 2;
    s.vertexCount = 4;
    s.flags = geometry::kSubmeshSkinned;
    s.palette.count = 2;
    s.palette.bones[0] = 1, s.palette.bones[1] = 2;
    s.material = "stone";
    quad.submeshes = {s};
    const host::Point3 corners[4] = {{0, 0, 0}, {1, 0, 0}, {0, 0.5f, 0}, {1, 0.5f, 0}};
    for (int i = 0; i < 4; ++i) {
        geometry::MeshVertex v;
        v.position = corners[i];
        v.normal = {0, 0, 1};
        v.colour = 0xFF102030u;
        v.uv[0] = {corners[i].x, 1 - corners[i].y};
        v.weights[0] = i < 2 ? 1.0f : 0.1f;
        v.boneIndices[0] = uint8_t(i / 2);
        v.format = 0x217;
        quad.vertices.push_back(v);
    }
    quad.vertexSize = geometry::VertexSize(0x217);
    quad.indices = {0, 1, 3, 0, 3, 2};
    geometry::WriteMeshRecord(quad, collector.AddRecord("quad", geometry::MeshRecordSize(quad)));

    geometry::MeshRecord tri;
    tri.bounds = {{0, 0, 0}, {1, 1, 0}};
    s = {};
    s.format = 0x13;
    s.triangleCount = 1;
    s.vertexCount = 3;
    s.flags = geometry::kSubmeshTwoSided;
    tri.submeshes = {s};
    for (int i = 0; i < 3; ++i) {
        geometry::MeshVertex v;
        v.position = {float(i == 1), float(i == 2), 0};
        v.normal = {0, 0, -1};
        v.format = 0x13;
        tri.vertices.push_back(v);
    }
    tri.vertexSize = 32;
    tri.indices = {0, 1, 2};
    geometry::WriteMeshRecord(tri, collector.AddRecord("tri", geometry::MeshRecordSize(tri)));
    geometry::WriteMeshFile(dir.path(), collector);
    return dir / ".mesh";
}

TEST(InspectMesh, TextShowsEveryEntryRecordAndVertex) {
    qeltest::TempDir dir;
    Result r = Inspect({WriteFile(dir), false});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "mesh file: 2 meshes\n"
              "mesh 0 \"quad\": offset 0, 287 bytes\n"
              "  bounds (0 0 0) (1 0.5 0)\n"
              "  skin 2 bones: \"root\" \"лапа\"\n"
              "  submesh 0: format 0x0217 (position weights1 normal colour uv1), triangles 0+2, vertices 0+4, "
              "flags 0x02 skinned, palette [1 2], material \"stone\"\n"
              "  vertices 4 of 44 bytes\n"
              "    0: p (0 0 0) w (1) b (0 0 0 0) n (0 0 1) c #ff102030 uv (0 1)\n"
              "    1: p (1 0 0) w (1) b (0 0 0 0) n (0 0 1) c #ff102030 uv (1 1)\n"
              "    2: p (0 0.5 0) w (0.1) b (1 0 0 0) n (0 0 1) c #ff102030 uv (0 0.5)\n"
              "    3: p (1 0.5 0) w (0.1) b (1 0 0 0) n (0 0 1) c #ff102030 uv (1 0.5)\n"
              "  triangles 2\n"
              "    0: 3 1 0\n"
              "    1: 2 3 0\n"
              "mesh 1 \"tri\": offset 287, 175 bytes\n"
              "  bounds (0 0 0) (1 1 0)\n"
              "  submesh 0: format 0x0013 (position normal uv1), triangles 0+1, vertices 0+3, flags 0x01 two-sided, "
              "material \"\"\n"
              "  vertices 3 of 32 bytes\n"
              "    0: p (0 0 0) n (0 0 -1) uv (0 0)\n"
              "    1: p (1 0 0) n (0 0 -1) uv (0 0)\n"
              "    2: p (0 1 0) n (0 0 -1) uv (0 0)\n"
              "  triangles 1\n"
              "    0: 2 1 0\n");
}

TEST(InspectMesh, JsonHoldsTheSameFields) {
    qeltest::TempDir dir;
    Result r = Inspect({WriteFile(dir), true});
    ASSERT_EQ(r.code, 0) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["meshes"].size(), 2u);
    const nlohmann::json& quad = j["meshes"][0];
    EXPECT_EQ(quad["name"], "quad");
    EXPECT_EQ(quad["skin"], nlohmann::json({"root", "лапа"}));
    EXPECT_EQ(quad["submeshes"][0]["palette"], nlohmann::json({1, 2}));
    EXPECT_EQ(quad["submeshes"][0]["format"], 0x217);
    EXPECT_EQ(quad["vertexSize"], 44);
    EXPECT_EQ(quad["vertices"][2]["position"], nlohmann::json({0.0, 0.5, 0.0}));
    EXPECT_EQ(quad["vertices"][2]["bones"], nlohmann::json({1, 0, 0, 0}));
    EXPECT_EQ(quad["vertices"][2]["colour"], 0xFF102030u);
    EXPECT_EQ(quad["indices"], nlohmann::json({3, 1, 0, 2, 3, 0}));
    EXPECT_FALSE(j["meshes"][1].contains("skin"));
    EXPECT_FALSE(j["meshes"][1]["vertices"][0].contains("colour"));
    EXPECT_EQ(j["meshes"][1]["offset"], 287);
}

TEST(InspectMesh, AMalformedFileGivesItsOffsetAndExitCode1AndAMissingOne2) {
    qeltest::TempDir dir;
    std::string file = WriteFile(dir);
    std::string bytes = qeltest::ReadFile(file);
    qeltest::WriteFile(file, bytes.substr(0, bytes.size() - 1));
    for (bool json : {false, true}) {
        Result r = Inspect({file, json});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.out, "");
        // At the index count of the last record, whose 3 indices no longer fit.
        EXPECT_EQ(r.err, file + ": offset " + std::to_string(bytes.size() - 10) +
                             ": truncated: 3 indices need more than the 5 bytes left\n");
    }
    Result r = Inspect({dir / "none.mesh", false});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "qelinspect mesh: " + dir / "none.mesh" + ": cannot open the file\n");
}

}  // namespace
