// Mesh extraction as a whole export runs it: positions in metres in the
// bone's space, normals, faces, materials, colours, texture coordinates and
// vertex formats, read back from the mesh file.
#include <gtest/gtest.h>

#include <cmath>

#include "base/cp1251.h"
#include "geometry/mesh_record.h"
#include "geometry/mesh_vertex.h"
#include "mesh_export.h"
#include "sim/recorder.h"

namespace {

using geometry::DecodedMesh;
using geometry::DecodedVertex;
using Strings = std::vector<std::string>;

const char* kOneBone = R"(
    "nodes": [{"name": "M", "props": "Model=units/m\r\n", "children": [%s]}])";

// A scene of one model "M" (units/m) whose children are given.
std::string Model(const std::string& children, const std::string& before = "") {
    std::string head = kOneBone;
    const size_t at = head.find("%s");
    return before + head.substr(0, at) + children + head.substr(at + 2);
}

void ExpectNear(const host::Point3& actual, const host::Point3& expected, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-5) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-5) << what;
}

// The vertex at position p whose normal is nearest to n (several vertices
// may share a position).
const DecodedVertex* At(const DecodedMesh& mesh, const host::Point3& p, const host::Point3& n = {}) {
    const DecodedVertex* best = nullptr;
    float best_distance = 1e30f;
    for (const DecodedVertex& v : mesh.vertices) {
        if (!v.position.Equals(p, 1e-5f)) continue;
        float distance = (v.normal - n).Length();
        if (distance < best_distance) best = &v, best_distance = distance;
    }
    return best;
}

TEST(Extraction, PositionsAreMetresInTheBoneSpaceWithTheBoneScaleKept) {
    geotest::MeshExport e(Model(R"({"name": "part", "props": "Poly\r\n",
        "transform": {"pos": [50, 0, 0], "rot": [0, 0, 90], "scale": [2, 2, 2]},
        "objectOffset": {"pos": [0, 0, 5]},
        "object": {"type": "mesh", "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]}})",
                                R"("units": {"masterScale": 0.01},)"));
    EXPECT_EQ(e.Run(), Strings{});
    DecodedMesh mesh = e.Mesh("units/m/.mesh");
    ASSERT_EQ(mesh.vertices.size(), 3u);
    // Offset, then the bone's scale; its rotation and position are the bone's own.
    EXPECT_NE(At(mesh, {0, 0, 0.1f}), nullptr);
    EXPECT_NE(At(mesh, {0.02f, 0, 0.1f}), nullptr);
    EXPECT_NE(At(mesh, {0, 0.02f, 0.1f}), nullptr);
    ExpectNear(mesh.bounds.pmin, {0, 0, 0.1f}, "min");
    ExpectNear(mesh.bounds.pmax, {0.02f, 0.02f, 0.1f}, "max");
}

// Two faces folded along the edge v0-v1: A faces +z, B faces +x.
std::string Fold(uint32_t group_a, uint32_t group_b, const std::string& normals = "") {
    return Model(R"({"name": "fold", "props": "Poly\r\n", "object": {"type": "mesh",
        "vertices": [[0,0,0], [0,1,0], [-1,0,0], [0,0,-1]], "faces": [[0,1,2], [0,3,1]],
        "smoothing": [)" + std::to_string(group_a) + ", " + std::to_string(group_b) + "]" + normals + "}}");
}

TEST(Extraction, NormalsComeFromTheSpecificationThenSmoothingGroupsThenTheFace) {
    const host::Point3 up(0, 0, 1), side(1, 0, 0);
    const float h = std::sqrt(0.5f);
    struct Case {
        uint32_t a, b;
        host::Point3 a_normal_at_v0, b_normal_at_v0;
        size_t vertices;
    } cases[] = {
        {1, 1, {h, 0, h}, {h, 0, h}, 4},  // one smoothing group: the shared edge is smooth
        {1, 2, up, side, 6},               // different groups: a crease
        {3, 2, {h, 0, h}, {h, 0, h}, 6},  // groups sharing a bit are smoothed, but the corners stay apart
        {0, 0, up, side, 6},               // no group: face normals
    };
    for (const Case& c : cases) {
        geotest::MeshExport e(Fold(c.a, c.b));
        e.Run();
        DecodedMesh mesh = e.Mesh("units/m/.mesh");
        std::string what = std::to_string(c.a) + "/" + std::to_string(c.b);
        EXPECT_EQ(mesh.vertices.size(), c.vertices) << what;
        ASSERT_NE(At(mesh, {-1, 0, 0}), nullptr);
        ExpectNear(At(mesh, {-1, 0, 0})->normal, up, what);    // only A meets v2
        ExpectNear(At(mesh, {0, 0, -1})->normal, side, what);  // only B meets v3
        ExpectNear(At(mesh, {0, 0, 0}, c.a_normal_at_v0)->normal, c.a_normal_at_v0, what);
        ExpectNear(At(mesh, {0, 0, 0}, c.b_normal_at_v0)->normal, c.b_normal_at_v0, what);
    }
    // An explicit normal wins over the smoothing group for its corner only.
    geotest::MeshExport e(Fold(1, 1, R"(, "normals": {"normals": [[0,3,0]], "faces": [[0,-1,-1], [-1,-1,-1]],
                                        "explicit": [true]})"));
    e.Run();
    DecodedMesh mesh = e.Mesh("units/m/.mesh");
    EXPECT_EQ(mesh.vertices.size(), 5u);
    ExpectNear(At(mesh, {0, 0, 0}, {0, 1, 0})->normal, {0, 1, 0}, "explicit, normalised");
    ExpectNear(At(mesh, {0, 0, 0}, {h, 0, h})->normal, {h, 0, h}, "B's corner stays smooth");
}

TEST(Extraction, HiddenFacesAreLeftOutAndMirroredNodesKeepTheirWindingOutward) {
    const char* object = R"({"type": "mesh", "vertices": [[0,0,0], [1,0,0], [0,1,0], [1,1,0], [5,5,5]],
        "faces": [[0,1,2], [1,3,2], [0,4,1]], "smoothing": [1, 1, 2], "hiddenFaces": [2]})";
    geotest::MeshExport e(Model(std::string(R"({"name": "right", "props": "Poly\r\n", "object": )") + object +
                                R"(}, {"name": "left", "props": "Poly\r\n", "transform": {"scale": [-1, 1, 1]}, "object": )" +
                                object + "}"));
    EXPECT_EQ(e.Run(), Strings{});
    geometry::MeshFileContent file = e.Meshes("units/m/.mesh");
    ASSERT_EQ(file.meshes.size(), 2u);
    const DecodedMesh& right = file.meshes[0];
    const DecodedMesh& left = file.meshes[1];
    ASSERT_EQ(right.indices.size(), 6u);  // the hidden face is gone
    EXPECT_EQ(right.bounds.pmax.z, 0.0f);
    // In the bone's space the mirrored node's mesh lies as its twin's does,
    // with every triangle wound the other way: the bone's placement mirrors
    // it back, which turns the winding outward again.
    // Each triangle as its corners' (x, y), starting at the smallest corner.
    auto positions = [](const DecodedMesh& m, bool reverse) {
        std::vector<std::vector<std::pair<float, float>>> triangles;
        for (const std::vector<int>& t : geotest::HostTriangles(m)) {
            std::vector<int> order = reverse ? std::vector<int>{t[0], t[2], t[1]} : t;
            std::vector<std::pair<float, float>> corners;
            for (int i : order) corners.push_back({m.vertices[size_t(i)].position.x, m.vertices[size_t(i)].position.y});
            std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end()), corners.end());
            triangles.push_back(corners);
        }
        std::sort(triangles.begin(), triangles.end());
        return triangles;
    };
    EXPECT_EQ(positions(left, true), positions(right, false));
    EXPECT_NE(positions(left, false), positions(right, false));
    for (const DecodedVertex& v : left.vertices) ExpectNear(v.normal, {0, 0, 1}, "normals stay as the twin's");
}

TEST(Extraction, FaceMaterialsResolveMultiMaterialsByIdModuloAndFacesWithoutOneUseTheDefault) {
    geotest::MeshExport e(Model(R"({"name": "crate", "props": "Poly\r\n", "material": "multi", "object": {"type": "mesh",
            "vertices": [[0,0,0], [1,0,0], [0,1,0], [1,1,0]], "faces": [[0,1,2], [1,3,2], [0,1,3]],
            "materialIds": [4, 0, 5]}},
        {"name": "bare", "props": "Poly\r\n", "object": {"type": "mesh", "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]}})",
                                R"("materials": {"multi": {"type": "multi", "materials": ["a", "b", null]},
                                   "a": {"type": "standard", "name": "Alpha"}, "b": {"type": "standard", "name": "Beta", "twoSided": true}},)"));
    EXPECT_EQ(e.Run(), Strings{});
    geometry::MeshFileContent file = e.Meshes("units/m/.mesh");
    ASSERT_EQ(file.meshes.size(), 2u);
    // 4 % 3 = 1: Beta; 0: Alpha; 5 % 3 = 2: an empty slot, the default material.
    const DecodedMesh& crate = file.meshes[0];
    ASSERT_EQ(crate.submeshes.size(), 3u);
    EXPECT_EQ(crate.submeshes[0].material, "");
    EXPECT_EQ(crate.submeshes[1].material, "alpha");
    EXPECT_EQ(crate.submeshes[2].material, "beta");
    EXPECT_EQ(crate.submeshes[2].flags, geometry::kSubmeshTwoSided);
    EXPECT_EQ(crate.submeshes[1].flags, 0);
    for (const geometry::DecodedSubmesh& s : crate.submeshes) EXPECT_EQ(s.triangleCount, 1);
    EXPECT_EQ(file.meshes[1].submeshes[0].material, "");
}

TEST(Extraction, WorldMappedTexturesAreWarnedAboutOncePerMaterial) {
    const char* mesh = R"({"type": "mesh", "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]]})";
    geotest::MeshExport e(Model(std::string(R"({"name": "a", "props": "Poly\r\n", "material": "m", "object": )") + mesh +
                                    R"(}, {"name": "b", "props": "Poly\r\n", "material": "m", "object": )" + mesh + "}",
                                R"("materials": {"m": {"type": "standard", "name": "Ground",
                                     "maps": {"diffuse": {"texture": "mix"}}}},
                                   "textures": {"mix": {"type": "mix", "name": "Blend", "maps": ["grass", "sand"]},
                                     "grass": {"type": "bitmap", "name": "Grass", "uv": {"source": "worldXYZ"}},
                                     "sand": {"type": "bitmap", "name": "Sand", "uv": {"source": "worldXYZ"}}},)"));
    EXPECT_EQ(e.Run(), (Strings{
                           "W|Предупреждение|Неподдерживаемый канал текстурирования в материале 'Grass'. Будет использоваться 'Object XYZ'.",
                           "W|Предупреждение|Неподдерживаемый канал текстурирования в материале 'Sand'. Будет использоваться 'Object XYZ'.",
                       }));
}

TEST(Extraction, ABrokenVertexAlphaChannelDropsTheNode) {
    geotest::MeshExport e(Model(R"({"name": "Glass", "props": "Poly\r\n", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]],
        "channels": {"-2": {"vertices": [[0.5,0,0]], "faces": [[0,0,1]]}}}})"));
    EXPECT_EQ(e.Run(), (Strings{"E|Ошибка|Испорченный канал вертескной альфы в 'Glass'",
                                "E|Ошибка|'Glass': Помечен как полигональный, но не содержит ни одного полигона.\n"
                                "Необходимо убрать из параметров 'Poly' и переэкпортировать."}));
    EXPECT_EQ(e.Files(), (Strings{"units/m/m.def", "units/m/m.mdl"}));
}

TEST(Extraction, ColoursAreClampedRoundedAndCombinedWithAlphaAndTransparency) {
    geotest::MeshExport e(Model(R"({"name": "paint", "props": "Poly\r\n", "material": "glass", "object": {"type": "mesh",
        "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]],
        "channels": {"0": {"vertices": [[1.2, -0.1, 0.5], [1,1,1], [0,0,0]], "faces": [[0,1,2]]},
                     "-2": {"vertices": [[1,0,0], [0.5,0,0]], "faces": [[0,0,1]]}}}})",
                                R"("materials": {"glass": {"type": "standard", "transparency": 0.5}},)"));
    e.Run();
    DecodedMesh mesh = e.Mesh("units/m/.mesh");
    ASSERT_TRUE(mesh.submeshes[0].format & geometry::kFormatColour);
    // Alpha: 1 × (1 − 0.5) = 0.5 → 128; then 0.5 × 0.5 = 0.25 → 64.
    EXPECT_EQ(At(mesh, {0, 0, 0})->colour, 0x80FF0080u);
    EXPECT_EQ(At(mesh, {1, 0, 0})->colour, 0x80FFFFFFu);
    EXPECT_EQ(At(mesh, {0, 1, 0})->colour, 0x40000000u);
}

TEST(Extraction, AllWhiteColoursLeaveTheColourFieldOut) {
    auto export_with = [](const char* colour) {
        geotest::MeshExport e(Model(std::string(R"({"name": "paint", "props": "Poly\r\n", "object": {"type": "mesh",
            "vertices": [[0,0,0], [1,0,0], [0,1,0]], "faces": [[0,1,2]],
            "channels": {"0": {"vertices": [[1,1,1], )") + colour + R"(], "faces": [[0,0,1]]}}}})"));
        e.Run();
        return e.Mesh("units/m/.mesh");
    };
    DecodedMesh white = export_with("[1,1,1]");
    DecodedMesh grey = export_with("[1,1,0.99]");
    EXPECT_EQ(white.vertexSize + 4, grey.vertexSize);
    EXPECT_EQ(white.submeshes[0].format & geometry::kFormatColour, 0);
    EXPECT_EQ(grey.submeshes[0].format & geometry::kFormatColour, geometry::kFormatColour);
    EXPECT_EQ(At(grey, {0, 1, 0})->colour, 0xFFFFFFFCu);
}

// A quad with texture coordinates in map channels 1 and 2 and vertex colours.
std::string TexturedQuad(const std::string& material, const std::string& textures) {
    return Model(R"({"name": "quad", "props": "Poly\r\n", "material": "m", "object": {"type": "mesh",
        "vertices": [[0,0,0], [2,0,0], [0,4,0], [2,4,0]], "faces": [[0,1,2], [1,3,2]],
        "channels": {"1": {"vertices": [[0,0,0], [1,0,0], [0,1,0], [1,1,0]], "faces": [[0,1,2], [1,3,2]]},
                     "2": {"vertices": [[0.25,0.5,0], [0.75,0.5,0], [0.25,1,0], [0.75,1,0]], "faces": [[0,1,2], [1,3,2]]},
                     "0": {"vertices": [[0.5,0.25,0], [1,0.25,0], [0.5,0.75,0], [1,0.75,0]], "faces": [[0,1,2], [1,3,2]]}}}})",
                 R"("materials": {"m": )" + material + R"(}, "textures": {)" + textures + "},");
}

host::Point2 Uv(const DecodedMesh& mesh, const host::Point3& p, uint32_t set = 0) { return At(mesh, p)->uv[set]; }

TEST(Extraction, TextureCoordinatesFollowEachTexturesSourceAndTransform) {
    struct Case {
        const char* uv;
        host::Point2 at_far_corner;  // the stored (u, 1 − v) of vertex (2, 4, 0)
    } cases[] = {
        {R"({"channel": 1})", {1, 0}},
        {R"({"channel": 2})", {0.75f, 0}},
        {R"({"channel": 2, "tiling": [2, 3], "offset": [0.5, 0]})", {2.0f, -2}},
        {R"({"source": "vertexColor"})", {1, 0.25f}},
        {R"({"source": "objectXYZ"})", {1, 0}},   // from the mesh box: (2, 4) of a 2 × 4 box
        {R"({"channel": 9})", {1, 0}},            // a channel the mesh lacks: generated too
    };
    for (const Case& c : cases) {
        geotest::MeshExport e(TexturedQuad(R"({"type": "standard", "maps": {"diffuse": {"texture": "t"}}})",
                                           std::string(R"("t": {"type": "bitmap", "uv": )") + c.uv + "}"));
        e.Run();
        DecodedMesh mesh = e.Mesh("units/m/.mesh");
        host::Point2 uv = Uv(mesh, {2, 4, 0});
        EXPECT_NEAR(uv.x, c.at_far_corner.x, 1e-6) << c.uv;
        EXPECT_NEAR(uv.y, c.at_far_corner.y, 1e-6) << c.uv;
    }
}

TEST(Extraction, TheMaterialDecidesTheTextureSetsAndTheVertexFormat) {
    const std::string textures = R"("one": {"type": "bitmap", "uv": {"channel": 1}},
                                    "two": {"type": "bitmap", "uv": {"channel": 2}},
                                    "mix": {"type": "mix", "maps": ["one", "two"]},
                                    "multiply": {"type": "rgbMultiply", "maps": ["two", "one"]})";
    struct Case {
        const char* material;
        uint32_t format;
        host::Point2 set1;  // set 1 at vertex (2, 4, 0)
    } cases[] = {
        {R"({"type": "standard", "maps": {"diffuse": {"texture": "one"}}})", 0x17, {0, 0}},
        {R"({"type": "standard", "maps": {"diffuse": {"texture": "mix"}}})", 0x27, {0.75f, 0}},
        {R"({"type": "standard", "maps": {"diffuse": {"texture": "multiply"}}})", 0x27, {1, 0}},
        // A bump map: one set and a tangent, even over a Mix map.
        {R"({"type": "standard", "maps": {"diffuse": {"texture": "mix"}, "bump": {"texture": "two", "amount": 30}}})",
         0x117, {0, 0}},
        // A bump map switched off, or of amount 0, does not count.
        {R"({"type": "standard", "maps": {"diffuse": {"texture": "mix"}, "bump": {"texture": "two", "enabled": false}}})",
         0x27, {0.75f, 0}},
        {R"({"type": "standard", "maps": {"diffuse": {"texture": "one"}, "specularLevel": {"texture": "two", "amount": 50}}})",
         0x17, {0, 0}},
    };
    for (const Case& c : cases) {
        geotest::MeshExport e(TexturedQuad(c.material, textures));
        e.Run();
        DecodedMesh mesh = e.Mesh("units/m/.mesh");
        EXPECT_EQ(mesh.submeshes[0].format, c.format) << c.material;
        EXPECT_EQ(mesh.vertexSize, geometry::VertexSize(c.format)) << c.material;
        if (geometry::UvSetCount(c.format) == 2) {
            host::Point2 set1 = Uv(mesh, {2, 4, 0}, 1);
            EXPECT_NEAR(set1.x, c.set1.x, 1e-6) << c.material;
            EXPECT_NEAR(set1.y, c.set1.y, 1e-6) << c.material;
        }
    }
    // A two-layer material takes its sets from its two sub-materials' diffuse maps.
    geotest::MeshExport e(TexturedQuad(R"({"type": "twoLayer", "materials": ["s2", "s1"]},
        "s1": {"type": "standard", "maps": {"diffuse": {"texture": "one"}}},
        "s2": {"type": "standard", "maps": {"diffuse": {"texture": "two"}}})", textures));
    e.Run();
    DecodedMesh mesh = e.Mesh("units/m/.mesh");
    EXPECT_EQ(mesh.submeshes[0].format, 0x27);
    EXPECT_NEAR(Uv(mesh, {2, 4, 0}, 0).x, 0.75f, 1e-6);
    EXPECT_NEAR(Uv(mesh, {2, 4, 0}, 1).x, 1.0f, 1e-6);
}

TEST(Extraction, TangentsFollowTextureUAcrossTheSurfaceWithTheirHandedness) {
    const std::string bump = R"({"type": "standard", "maps": {"diffuse": {"texture": "t"}, "bump": {"texture": "t", "amount": 30}}})";
    for (bool mirrored_u : {false, true}) {
        geotest::MeshExport e(TexturedQuad(bump, std::string(R"("t": {"type": "bitmap", "uv": {"channel": 1, "tiling": [)") +
                                                     (mirrored_u ? "-1" : "1") + R"(, 1]}})"));
        e.Run();
        DecodedMesh mesh = e.Mesh("units/m/.mesh");
        ASSERT_EQ(mesh.vertices.size(), 4u);
        for (const DecodedVertex& v : mesh.vertices) {
            // u grows along +x (or −x); stored v = 1 − v grows along −y.
            EXPECT_NEAR(v.tangent.x, mirrored_u ? -1 : 1, 1e-6);
            EXPECT_NEAR(v.tangent.y, 0, 1e-6);
            EXPECT_NEAR(v.tangent.z, 0, 1e-6);
            EXPECT_EQ(v.tangent.w, mirrored_u ? 1.0f : -1.0f);
        }
    }
    // On a smoothed fold the tangent is made perpendicular to the corner normal.
    geotest::MeshExport e(Model(R"({"name": "fold", "props": "Poly\r\n", "material": "m", "object": {"type": "mesh",
        "vertices": [[0,0,0], [0,1,0], [-1,0,0], [0,0,-1]], "faces": [[0,1,2], [0,3,1]],
        "channels": {"1": {"vertices": [[0,0,0], [0,1,0], [1,0,0], [1,0.5,0]], "faces": [[0,1,2], [0,3,1]]}}}})",
                                R"("materials": {"m": )" + bump + R"(}, "textures": {"t": {"type": "bitmap"}},)"));
    e.Run();
    for (const DecodedVertex& v : e.Mesh("units/m/.mesh").vertices) {
        host::Point3 t(v.tangent.x, v.tangent.y, v.tangent.z);
        EXPECT_NEAR(t.Length(), 1.0f, 1e-5);
        EXPECT_NEAR(host::DotProd(t, v.normal), 0.0f, 1e-5);
        EXPECT_EQ(std::fabs(v.tangent.w), 1.0f);
    }
}

TEST(Extraction, TheFaceLoopDrivesTheProgressBarAndStopsAtACancel) {
    // A strip of 200 faces: a percent every two faces.
    std::string vertices, faces;
    for (int i = 0; i <= 100; ++i) vertices += (i ? ", " : "") + std::string("[") + std::to_string(i) + ",0,0], [" + std::to_string(i) + ",1,0]";
    for (int i = 0; i < 100; ++i) {
        int a = 2 * i;
        faces += (i ? ", " : "") + std::string("[") + std::to_string(a) + "," + std::to_string(a + 2) + "," + std::to_string(a + 1) +
                 "], [" + std::to_string(a + 1) + "," + std::to_string(a + 2) + "," + std::to_string(a + 3) + "]";
    }
    const std::string scene = Model(R"({"name": "strip", "props": "Poly\r\n", "object": {"type": "mesh", "vertices": [)" +
                                    vertices + R"(], "faces": [)" + faces + "]}}");
    auto face_loop = [](sim::Scene& s, std::string& title) {
        std::vector<int> percents;
        bool in_loop = false;
        for (const sim::ProgressRecord& r : s.Record().progress) {
            // The material pass that follows the meshes has a title of its own.
            if (r.kind == sim::ProgressRecord::kTitle) {
                const std::string text = Cp1251ToUtf8(r.title);
                in_loop = text != "Запись текстур...";
                if (in_loop) title = text;
            }
            else if (in_loop && r.kind == sim::ProgressRecord::kUpdate) percents.push_back(r.percent);
            else if (r.kind == sim::ProgressRecord::kEnd) in_loop = false;
        }
        return percents;
    };
    {
        geotest::MeshExport e(scene);
        e.Run();
        std::string title;
        std::vector<int> percents = face_loop(e.scene(), title);
        EXPECT_EQ(title, "Подготовка мэша к триангуляции...");
        ASSERT_EQ(percents.size(), 100u);
        for (int p = 1; p <= 100; ++p) EXPECT_EQ(percents[size_t(p - 1)], p);
        EXPECT_EQ(e.Mesh("units/m/.mesh").indices.size(), 600u);
    }
    geotest::MeshExport e(scene);
    e.scene().ProgressScript().CancelAfterPolls(20);
    e.Run();
    std::string title;
    std::vector<int> percents = face_loop(e.scene(), title);
    ASSERT_FALSE(percents.empty());
    ASSERT_LT(percents.back(), 100);
    // The faces before the cancel are written.
    EXPECT_EQ(e.Mesh("units/m/.mesh").indices.size(), 3u * 2 * size_t(percents.back()));
}

}  // namespace
