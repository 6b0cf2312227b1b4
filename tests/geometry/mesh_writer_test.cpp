// The mesh writer through whole exports: limits, submesh order, winding,
// material references, warnings, the animated-texture entry; and, called
// directly, what a failing triangle optimiser leaves.
#include <gtest/gtest.h>

#include <functional>

#include "geometry/mesh_extraction.h"
#include "geometry/mesh_writer.h"
#include "mesh_export.h"
#include "scene/report.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace {

using geometry::DecodedMesh;
using Strings = std::vector<std::string>;

std::string OneModel(const std::string& children, const std::string& before = "") {
    std::string text = before;
    text += R"("nodes": [{"name": "M", "props": "Model=units/m\r\n", "children": [)";
    text += children;
    text += "]}]";
    return text;
}

// A flat grid of columns × rows vertices in the z = 0 plane, every vertex
// apart from the others, two faces per cell; material_of gives each face's
// material id.
std::string Grid(const std::string& name, int columns, int rows, const std::function<int(int)>& material_of,
                 const std::string& extra = "") {
    std::string text = R"({"name": ")" + name + R"(", "props": "Poly\r\n")" + extra;
    text += R"(, "object": {"type": "mesh", "vertices": [)";
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            if (r || c) text += ",";
            text += "[";
            text += std::to_string(c);
            text += ",";
            text += std::to_string(r);
            text += ",0]";
        }
    std::string faces, ids;
    int face = 0;
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < columns; ++c) {
            const int a = r * columns + c, b = a + 1, d = a + columns, e = d + 1;
            const int corners[2][3] = {{a, b, e}, {a, e, d}};
            for (const auto& t : corners) {
                if (face) faces += ",", ids += ",";
                faces += "[";
                faces += std::to_string(t[0]);
                faces += ",";
                faces += std::to_string(t[1]);
                faces += ",";
                faces += std::to_string(t[2]);
                faces += "]";
                ids += std::to_string(material_of(face));
                ++face;
            }
        }
    text += R"(], "faces": [)";
    text += faces;
    text += R"(], "materialIds": [)";
    text += ids;
    text += "]}}";
    return text;
}

const char* kThreeMaterials = R"("materials": {"multi": {"type": "multi", "materials": ["a", "b", "c"]},
    "a": {"type": "standard", "name": "a"}, "b": {"type": "standard", "name": "b"}, "c": {"type": "standard", "name": "c"}},)";

TEST(MeshWriter, A65535thVertexRefusesTheMesh) {
    // 2 × 32767: 65534 vertices and 65532 triangles; 3 × 21845: 65535 vertices.
    geotest::MeshExport fits(OneModel(Grid("wide", 32767, 2, [](int) { return 0; })));
    EXPECT_EQ(fits.Run(), Strings{});
    DecodedMesh mesh = fits.Mesh("units/m/.mesh");
    EXPECT_EQ(mesh.vertices.size(), 65534u);
    EXPECT_EQ(mesh.indices.size(), 3u * 65532);

    geotest::MeshExport over(OneModel(Grid("wide", 21845, 3, [](int) { return 0; })));
    EXPECT_EQ(over.Run(), Strings{"E|Ошибка|Более 65535 вершин в 'wide'!"});
    // The refused mesh's material is still listed: its faces keep their material.
    EXPECT_EQ(over.Files(), (Strings{"units/m/.material", "units/m/m.def", "units/m/m.mdl"}));
}

// Submesh sections hold triangle numbers in 16 bits: a submesh starting past
// triangle 65535, or holding more than 65535, is refused rather than written
// with wrapped numbers.
TEST(MeshWriter, ASubmeshPastThe16BitTriangleFieldsRefusesTheMesh) {
    const std::string message =
        "E|Ошибка|Подмэш в 'field' начинается после 65535-го треугольника или содержит более 65535 треугольников!";
    // 190 × 190 vertices: 71442 triangles.
    struct Case {
        const char* what;
        std::function<int(int)> material_of;
        bool refused;
    } cases[] = {
        {"one submesh of 71442 triangles", [](int) { return 0; }, true},
        {"c starts at triangle 70000", [](int f) { return f < 40000 ? 0 : f < 70000 ? 1 : 2; }, true},
        {"c starts at triangle 65535, b holds 25535", [](int f) { return f < 40000 ? 0 : f < 65535 ? 1 : 2; }, false},
    };
    for (const Case& c : cases) {
        geotest::MeshExport e(OneModel(Grid("field", 190, 190, c.material_of, R"(, "material": "multi")"), kThreeMaterials));
        EXPECT_EQ(e.Run(), c.refused ? Strings{message} : Strings{}) << c.what;
        if (c.refused) {
            EXPECT_EQ(e.Files(), (Strings{"units/m/.material", "units/m/m.def", "units/m/m.mdl"})) << c.what;
            continue;
        }
        DecodedMesh mesh = e.Mesh("units/m/.mesh");
        ASSERT_EQ(mesh.submeshes.size(), 3u);
        EXPECT_EQ(mesh.submeshes[2].firstTriangle, 65535);
        EXPECT_EQ(mesh.submeshes[2].triangleCount, 71442 - 65535);
    }
}

TEST(MeshWriter, TrianglesAreStoredWithTheirWindingReversed) {
    geotest::MeshExport e(OneModel(R"({"name": "tri", "props": "Poly\r\n", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]}})"));
    e.Run();
    DecodedMesh mesh = e.Mesh("units/m/.mesh");
    ASSERT_EQ(mesh.indices.size(), 3u);
    // The host's (a, b, c) is stored as (c, b, a).
    EXPECT_EQ(mesh.vertices[mesh.indices[2]].position, host::Point3(0, 0, 0));
    EXPECT_EQ(mesh.vertices[mesh.indices[1]].position, host::Point3(1, 0, 0));
    EXPECT_EQ(mesh.vertices[mesh.indices[0]].position, host::Point3(0, 1, 0));
}

TEST(MeshWriter, SubmeshesComeInTheOrderOfTheirMaterialReferences) {
    geotest::MeshExport e(OneModel(R"({"name": "hut", "props": "Poly\r\n", "material": "multi", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0], [1,1,0]], "faces": [[0,1,2], [1,3,2], [0,3,1]], "materialIds": [0, 1, 2]}})",
                                   R"("materials": {"multi": {"type": "multi", "materials": ["w", "d", "w2"]},
                                      "w": {"type": "standard", "name": "Wall"}, "d": {"type": "standard", "name": "door"},
                                      "w2": {"type": "standard", "name": "wall10"}},)"));
    e.Run();
    DecodedMesh mesh = e.Mesh("units/m/.mesh");
    Strings order;
    for (const geometry::DecodedSubmesh& s : mesh.submeshes) order.push_back(s.material);
    EXPECT_EQ(order, (Strings{"door", "wall", "wall10"}));
    EXPECT_EQ(mesh.submeshes[1].firstTriangle, 1);
    EXPECT_EQ(mesh.submeshes[2].firstTriangle, 2);
}

TEST(MeshWriter, ALongMaterialReferenceTakesTheFourByteLength) {
    const std::string name(255, 'x');
    geotest::MeshExport e(OneModel(R"({"name": "tri", "props": "Poly\r\n", "material": "long", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]}})",
                                   R"("materials": {"long": {"type": "standard", "name": ")" + name + R"("}},)"));
    e.Run();
    EXPECT_EQ(e.Mesh("units/m/.mesh").submeshes[0].material, name);
    EXPECT_NE(e.Bytes("units/m/.mesh").find(std::string("\xFF\xFF\x00\x00", 4) + name), std::string::npos);
}

TEST(MeshWriter, WarningsForAMirroredSharedMeshAndForDegenerateTriangles) {
    for (bool mirrored : {false, true}) {
        geotest::MeshExport e(OneModel(std::string(R"({"name": "hull", "props": "Poly\r\n", "object": {"type": "mesh",
            "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]}},
            {"name": "copy", "props": "Mesh=hull\r\n", "transform": {"scale": [)") + (mirrored ? "-1" : "1") + R"(, 1, 1]}})"));
        EXPECT_EQ(e.Run(), mirrored ? Strings{"W|Предупреждение|Инверсный общий полигональный мэш в 'hull' не поддерживается!"}
                                    : Strings{});
        EXPECT_EQ(e.Mesh("units/m/.mesh").indices.size(), 3u);  // still written
    }
    // The second face's corners 1 and 2 weld into one vertex.
    geotest::MeshExport e(OneModel(R"({"name": "sliver", "props": "Poly\r\n", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0], [3,0,0], [3,1,0], [3,1.0004,0]], "faces": [[0,1,2], [3,4,5]],
        "smoothing": [0, 0]}})"));
    EXPECT_EQ(e.Run(), Strings{"W|Предупреждение|Есть вырожденные треугольники в мэше 'sliver'. Используйте WELD."});
    DecodedMesh mesh = e.Mesh("units/m/.mesh");
    EXPECT_EQ(mesh.indices.size(), 3u);
    EXPECT_EQ(mesh.vertices.size(), 3u);  // the sliver's vertices are used by no triangle
}

TEST(MeshWriter, AniTexOpensItsBlocksInTheModelDescription) {
    geotest::MeshExport e(OneModel(R"({"name": "water", "props": "Poly\r\nAniTex=waves,12,x\r\n", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]}, "children": [{"name": "foam"}]},
        {"name": "still", "props": "Poly\r\nAniTex=pond\r\n", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]}})"));
    EXPECT_EQ(e.Run(), Strings{});
    const std::string mdl = e.Bytes("units/m/m.mdl");
    EXPECT_NE(mdl.find("\t\t\t{bone \"foam\"\r\n\t\t\t}\r\n"
                       "\t\t\t{animation {texture {name \"waves\"}\r\n\t\t\t\t\t{texture}\r\n\t\t\t\t}\r\n\t\t\t}\r\n\t\t}\r\n"),
              std::string::npos)
        << mdl;
    EXPECT_NE(mdl.find("{animation {texture {name \"pond\"}\r\n"), std::string::npos) << mdl;
}

// A failing optimiser drops its group: no section, no triangles, and the
// next section starts where the failed one would have.
TEST(MeshWriter, AGroupTheOptimiserFailsOnIsDroppedAndTheRecordStillWritten) {
    std::unique_ptr<sim::Scene> scene = sim::SceneFromJson(OneModel(R"({"name": "hut", "props": "Poly\r\n", "material": "multi",
        "object": {"type": "mesh", "vertices": [[0,0,0], [1,0,0], [0,1,0], [1,1,0], [2,0,0]],
                   "faces": [[0,1,2], [1,3,2], [1,4,3]], "materialIds": [0, 1, 2]}})",
                                                                    kThreeMaterials));
    scene::Reporter report(*scene);
    geometry::MeshSettings settings{*scene, report, 0, 1.0f};
    geometry::ModelMeshes meshes(1);
    host::Node& hut = *qeltest::NodeNamed(*scene, "hut");
    geometry::ExtractNodeFrames(settings, meshes, hut, hut, 0);

    geometry::MeshCollector collector;
    xIo::eMemoryStream discarded(256);
    xIo::xSdl::eWriter model_writer;
    model_writer.Open(&discarded);
    const std::string name = "hut", prefix = "";
    // Each group's corners are vertices of their own: b's triangle is (3, 4, 5).
    auto fails_on_b = [](const std::vector<uint16_t>& triangles, std::vector<uint16_t>& out) {
        if (triangles.size() == 3 && triangles[0] == 3) return false;
        out = triangles;
        return true;
    };
    scene::StepResult r = geometry::WriteBoneMesh(settings, meshes, 0, {hut, name, prefix, collector, model_writer}, fails_on_b);
    EXPECT_TRUE(r.IsDone());
    EXPECT_EQ(qeltest::Boxes(*scene), Strings{"E|Error|GenerateStrips failed!"});

    std::string file = "PMSH" "MTBL" + std::string("\x01\x00\x00\x00\x03hut\x00\x00\x00\x00", 12);
    file += collector.Record(0);
    geometry::MeshFileContent content;
    geometry::MeshReadError error;
    ASSERT_TRUE(geometry::ReadMeshFile(file, content, error)) << error.offset << ": " << error.reason;
    const DecodedMesh& mesh = content.meshes[0];
    ASSERT_EQ(mesh.submeshes.size(), 2u);
    EXPECT_EQ(mesh.submeshes[0].material, "a");
    EXPECT_EQ(mesh.submeshes[1].material, "c");
    EXPECT_EQ(mesh.submeshes[1].firstTriangle, 1);
    EXPECT_EQ(mesh.indices.size(), 6u);
    EXPECT_EQ(mesh.vertices.size(), 6u);  // b's three vertices are used by no triangle
}

}  // namespace
