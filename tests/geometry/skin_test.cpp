// Skinned meshes through whole exports: influences, palettes, the bind
// pose, the bone limit and the skinned-group rule.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "geometry/mesh_record.h"
#include "geometry/mesh_vertex.h"
#include "mesh_export.h"

namespace {

using geometry::DecodedMesh;
using geometry::DecodedVertex;
using Strings = std::vector<std::string>;

// Model M with helper bones b0..b<count−1> and the given mesh nodes.
std::string Skeleton(int count, const std::string& meshes, const std::string& bone_extra = "") {
    std::string text = R"("nodes": [{"name": "M", "props": "Model=units/m\r\n", "children": [)";
    for (int i = 0; i < count; ++i) {
        text += R"({"name": "b)";
        text += std::to_string(i);
        text += R"(", "object": {"type": "helper"})";
        if (i == 0) text += bone_extra;
        text += "}, ";
    }
    text += meshes;
    text += "]}]";
    return text;
}

std::string BoneList(int count) {
    std::string list;
    for (int i = 0; i < count; ++i) {
        list += i ? ", \"b" : "\"b";
        list += std::to_string(i);
        list += "\"";
    }
    return list;
}

const DecodedVertex& VertexAt(const DecodedMesh& mesh, const host::Point3& p) {
    for (const DecodedVertex& v : mesh.vertices)
        if (v.position.Equals(p, 1e-5f)) return v;
    ADD_FAILURE() << "no vertex at " << p.x << " " << p.y << " " << p.z;
    return mesh.vertices.front();
}

TEST(Skinning, TheThreeStrongestInfluencesAreKeptRenormalisedAndNamePalettePositions) {
    geotest::MeshExport e(Skeleton(4, R"({"name": "skin", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]},
        "skin": {"bones": ["b0", "b1", "b2", "b3"],
                 "weights": [[[0, 0.1], [1, 0.4], [2, 0.3], [3, 0.2]], [[0, 0.7], [1, 0.0005]], []]}})"));
    EXPECT_EQ(e.Run(), Strings{});
    DecodedMesh mesh = e.Mesh("units/m/.mesh");
    ASSERT_TRUE(mesh.hasSkin);
    EXPECT_EQ(mesh.skinBones, (Strings{"b0", "b1", "b2", "b3"}));
    ASSERT_EQ(mesh.submeshes.size(), 1u);
    EXPECT_EQ(mesh.submeshes[0].flags, geometry::kSubmeshSkinned);
    EXPECT_EQ(mesh.submeshes[0].palette, (std::vector<uint8_t>{1, 2, 3, 4}));
    // Three bones per vertex at most: two weights stored.
    EXPECT_EQ(mesh.submeshes[0].format, 0x413);
    EXPECT_EQ(mesh.vertexSize, 44);

    const DecodedVertex& strong = VertexAt(mesh, {0, 0, 0});
    EXPECT_NEAR(strong.weights[0], 0.4f / 0.9f, 1e-6);
    EXPECT_NEAR(strong.weights[1], 0.3f / 0.9f, 1e-6);
    EXPECT_EQ(std::vector<int>(strong.bones, strong.bones + 4), (std::vector<int>{1, 2, 3, 0}));
    // 0.0005 is dropped: one influence of weight 1.
    const DecodedVertex& single = VertexAt(mesh, {1, 0, 0});
    EXPECT_EQ(single.weights[0], 1.0f);
    EXPECT_EQ(single.weights[1], 0.0f);
    EXPECT_EQ(std::vector<int>(single.bones, single.bones + 4), (std::vector<int>{0, 0, 0, 0}));
    // No assignment: weight 1 on no bone.
    const DecodedVertex& none = VertexAt(mesh, {0, 1, 0});
    EXPECT_EQ(none.weights[0], 1.0f);
    EXPECT_EQ(std::vector<int>(none.bones, none.bones + 4), (std::vector<int>{0, 0, 0, 0}));

    // The packed vertex: position, two weights and four index bytes, normal, texture set.
    const std::string bytes = e.Bytes("units/m/.mesh");
    const size_t vertices = bytes.find("VERT") + 12;
    int checked = 0;
    for (size_t i = 0; i < 3; ++i) {
        const char* v = bytes.data() + vertices + 44 * i;
        if (std::string(v, 12) != std::string(12, '\0')) continue;  // the vertex at the origin
        float w0;
        std::memcpy(&w0, v + 12, 4);
        EXPECT_NEAR(w0, 0.4f / 0.9f, 1e-6);
        EXPECT_EQ(std::string(v + 20, 4), std::string("\x01\x02\x03\x00", 4));
        ++checked;
    }
    EXPECT_EQ(checked, 1);
}

TEST(Skinning, FacesAreSplitIntoPalettesOf25Bones) {
    // Faces 0-19 use bones b0-b19, the rest b14-b29; each face's three
    // vertices hang on one bone, whose number is the vertices' x.
    std::string vertices, faces, weights;
    std::vector<int> face_bones;
    for (int b = 0; b < 20; ++b) face_bones.push_back(b);
    for (int b = 14; b < 30; ++b) face_bones.push_back(b);
    auto add = [](std::string& list, std::initializer_list<std::string> parts) {
        if (!list.empty()) list += ", ";
        for (const std::string& part : parts) list += part;
    };
    for (size_t f = 0; f < face_bones.size(); ++f) {
        const std::string x = std::to_string(face_bones[f]), y = std::to_string(f);
        add(vertices, {"[", x, ",", y, ",0], [", x, ".5,", y, ",0], [", x, ",", y, ".5,0]"});
        add(faces, {"[", std::to_string(3 * f), ",", std::to_string(3 * f + 1), ",", std::to_string(3 * f + 2), "]"});
        const std::string w = "[[" + x + ", 1]]";
        add(weights, {w, ", ", w, ", ", w});
    }
    geotest::MeshExport e(Skeleton(30, R"({"name": "skin", "object": {"type": "mesh", "vertices": [)" + vertices +
                                           R"(], "faces": [)" + faces + R"(]}, "skin": {"bones": [)" + BoneList(30) +
                                           R"(], "weights": [)" + weights + "]}}"));
    EXPECT_EQ(e.Run(), Strings{});
    DecodedMesh mesh = e.Mesh("units/m/.mesh");
    ASSERT_EQ(mesh.submeshes.size(), 2u);
    std::vector<uint8_t> first, second;
    for (uint8_t b = 1; b <= 25; ++b) first.push_back(b);
    for (uint8_t b = 26; b <= 30; ++b) second.push_back(b);
    EXPECT_EQ(mesh.submeshes[0].palette, first);
    EXPECT_EQ(mesh.submeshes[1].palette, second);
    // Partition 0 before partition 1: faces of b0-b24, then those of b25-b29.
    EXPECT_EQ(mesh.submeshes[0].triangleCount, 31);
    EXPECT_EQ(mesh.submeshes[1].triangleCount, 5);
    for (const geometry::DecodedSubmesh& s : mesh.submeshes) {
        for (uint32_t v = s.firstVertex; v < uint32_t(s.firstVertex) + s.vertexCount; ++v) {
            const DecodedVertex& vertex = mesh.vertices[v];
            const std::string bone = std::to_string(int(std::floor(vertex.position.x)));
            EXPECT_EQ(mesh.skinBones[s.palette[vertex.bones[0]] - 1u].substr(1), bone) << v;
        }
    }
}

TEST(Skinning, TheBindPoseIsExportedUnlessOldSkinAsksForTheDeformedMesh) {
    for (bool old_skin : {false, true}) {
        geotest::MeshExport e(Skeleton(1, std::string(R"({"name": "skin", "props": ")") + (old_skin ? "OldSkin" : "") +
                                              R"(", "object": {"type": "mesh",
            "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]},
            "skin": {"bones": ["b0"], "weights": [[[0, 1]], [[0, 1]], [[0, 0.5]]]}})",
                                  R"(, "keys": {"0": {"pos": [0,0,0]}, "10": {"pos": [0,0,10]}})"));
        EXPECT_EQ(e.RunAtFrame(5), Strings{});
        DecodedMesh mesh = e.Mesh("units/m/.mesh");
        const float lift = old_skin ? 5.0f : 0.0f;
        VertexAt(mesh, {0, 0, lift});
        VertexAt(mesh, {1, 0, lift});
        VertexAt(mesh, {0, 1, lift * 0.5f});  // half on the bone
    }
}

TEST(Skinning, MoreThan255BonesAreRefused) {
    geotest::MeshExport e(Skeleton(256, R"({"name": "skin", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]},
        "skin": {"bones": [)" + BoneList(256) + R"(], "weights": [[[255, 1]], [], []]}})"));
    EXPECT_EQ(e.Run(), (Strings{"E|Ошибка|Слишком много костей для скиннинга мэша 'skin'",
                                "E|Ошибка|'skin': Помечен как полигональный, но не содержит ни одного полигона.\n"
                                "Необходимо убрать из параметров 'Poly' и переэкпортировать."}));
    EXPECT_EQ(e.Files(), (Strings{"units/m/m.def", "units/m/m.mdl"}));
    // 255 bones are fine.
    geotest::MeshExport fits(Skeleton(255, R"({"name": "skin", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]},
        "skin": {"bones": [)" + BoneList(255) + R"(], "weights": [[[254, 1]], [], []]}})"));
    EXPECT_EQ(fits.Run(), Strings{});
    DecodedMesh mesh = fits.Mesh("units/m/.mesh");
    EXPECT_EQ(mesh.skinBones.size(), 255u);
    EXPECT_EQ(mesh.submeshes[0].palette, std::vector<uint8_t>{255});
}

TEST(Skinning, ASkinnedMeshInAGroupThatIsNotSkinnedIsRefused) {
    const char* triangle = R"({"type": "mesh", "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]})";
    geotest::MeshExport e(Skeleton(1, std::string(R"({"name": "g", "group": "head", "props": "Poly\r\n", "children": [
        {"name": "plain", "group": "member", "object": )") + triangle + R"(},
        {"name": "skinned", "group": "member", "object": )" + triangle + R"(,
         "transform": {"pos": [5, 0, 0]}, "skin": {"bones": ["b0"], "weights": [[[0, 1]], [[0, 1]], [[0, 1]]]}}]})"));
    EXPECT_EQ(e.Run(), Strings{"E|Ошибка|Скиновый мэш в нескиновой группе!"});
    DecodedMesh mesh = e.Mesh("units/m/.mesh");
    EXPECT_EQ(mesh.name, "g");
    EXPECT_FALSE(mesh.hasSkin);
    EXPECT_EQ(mesh.indices.size(), 3u);
    EXPECT_EQ(mesh.bounds.pmax.x, 1.0f);
}

}  // namespace
