#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "qelinspect/evlm_command.h"
#include "sim/mesh_data.h"
#include "support/temp_dir.h"
#include "volumes/evlm_image.h"

namespace {

using qelinspect::EvlmOptions;
using qelinspect::RunEvlm;

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Inspect(const std::string& input, bool json = false) {
    std::ostringstream out, err;
    int code = RunEvlm(EvlmOptions{input, json}, out, err);
    return {code, out.str(), err.str()};
}

// The image text of a triangle (0,0,0) (1,0,0) (0,2,0), material index 4,
// and a lone vertex.
std::string TriangleHex() {
    sim::MeshData data;
    data.verts = {{0, 0, 0}, {1, 0, 0}, {0, 2, 0}, {0.5f, -1, 3}};
    host::Face face;
    face.v[0] = 0;
    face.v[1] = 1;
    face.v[2] = 2;
    face.SetMaterialId(4);
    data.faces = {face};
    return volumes::HexText(volumes::BuildEvlmImage(*sim::MakeTriMesh(std::make_shared<const sim::MeshData>(data)), host::Matrix3(), 1.0f));
}

TEST(InspectEvlm, HexTextPrintsVerticesAndFacesWithTheirSides) {
    Result r = Inspect(TriangleHex());
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "EVLM 4 vertices, 1 faces\n"
              "  vertex 0: 0 0 0\n"
              "  vertex 1: 1 0 0\n"
              "  vertex 2: 0 2 0\n"
              "  vertex 3: 0.5 -1 3\n"
              "  face 0: 2 1 0 side 5\n");
    EXPECT_EQ(r.err, "");

    r = Inspect(TriangleHex(), true);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out), nlohmann::json::parse(R"({
        "vertices": [[0, 0, 0], [1, 0, 0], [0, 2, 0], [0.5, -1, 3]],
        "faces": [{"indices": [2, 1, 0], "side": 5}]})"));
}

TEST(InspectEvlm, EveryTruncatedTextExitsWith1AndTheReason) {
    const std::string hex = TriangleHex();
    for (size_t length = 0; length < hex.size(); ++length) {
        Result r = Inspect(hex.substr(0, length));
        EXPECT_EQ(r.code, 1) << length;
        EXPECT_EQ(r.out, "") << length;
        EXPECT_EQ(r.err.rfind("qelinspect evlm: ", 0), 0u) << r.err;
    }
    EXPECT_EQ(Inspect(hex.substr(0, 20)).err, "qelinspect evlm: byte 8: vertex count expected\n");
    EXPECT_EQ(Inspect(hex.substr(0, 21)).err, "qelinspect evlm: odd number of hexadecimal digits (21)\n");
    EXPECT_EQ(Inspect(hex + "00").err, "qelinspect evlm: byte 83: 1 bytes after the image\n");
}

class InspectEvlmModel : public ::testing::Test {
protected:
    std::string File(const std::string& name, const std::string& text) {
        qeltest::WriteFile(dir / name, text);
        return dir / name;
    }
    qeltest::TempDir dir;
};

TEST_F(InspectEvlmModel, EveryPolyhedronUnderTheNameOfItsVolume) {
    const std::string mdl = File("shed.mdl",
                                 ";Exported by:\t x\r\n{skeleton\r\n\t{bone \"shed\"}\r\n}\r\n{\"volumes\"\r\n"
                                 "\t{\"box\"\r\n\t\t{box 1 2 3}\r\n\t}\r\n"
                                 "\t{\"w\\\"edge\"\r\n\t\t{polyhedron \"" + TriangleHex() + "\"}\r\n\t\t{bone \"shed\"}\r\n\t}\r\n"
                                 "\t{\"\xF2\xE0\xED\xEA\"\r\n\t\t{polyhedron \"" + TriangleHex() + "\"}\r\n\t}\r\n}\r\n");
    Result r = Inspect(mdl);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n', r.out.find('\n') + 1) + 1), "volume \"w\\\"edge\"\n  EVLM 4 vertices, 1 faces\n");
    EXPECT_NE(r.out.find("volume \"танк\"\n  EVLM 4 vertices, 1 faces\n"), std::string::npos) << r.out;

    r = Inspect(mdl, true);
    ASSERT_EQ(r.code, 0) << r.err;
    nlohmann::json polyhedra = nlohmann::json::parse(r.out)["polyhedra"];
    ASSERT_EQ(polyhedra.size(), 2u);
    EXPECT_EQ(polyhedra[0]["volume"], "w\"edge");
    EXPECT_EQ(polyhedra[1]["volume"], "танк");
    EXPECT_EQ(polyhedra[1]["faces"][0]["side"], 5);
}

TEST_F(InspectEvlmModel, ADescriptionWithoutPolyhedraPrintsNothing) {
    const std::string mdl = File("plain.mdl", "{skeleton\r\n\t{bone \"a\"}\r\n}\r\n");
    Result r = Inspect(mdl);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(nlohmann::json::parse(Inspect(mdl, true).out), nlohmann::json::parse(R"({"polyhedra": []})"));
}

TEST_F(InspectEvlmModel, FaultsNameTheVolumeAndExitWith1) {
    const std::string hex = TriangleHex();
    struct Case {
        std::string text;
        std::string err;
    };
    const Case cases[] = {
        {"{\"v\"{\"a\"{polyhedron \"" + hex.substr(0, 40) + "\"}}}",
         "qelinspect evlm: volume \"a\": byte 12: 4 vertices need 48 bytes, 8 left\n"},
        {"{\"v\"{\"b\"{polyhedron 12}}}", "qelinspect evlm: volume \"b\": the polyhedron block holds no image string\n"},
        {"{\"v\"{\"c\"{polyhedron \"" + hex + "0\"}}}",
         "qelinspect evlm: volume \"c\": odd number of hexadecimal digits (" + std::to_string(hex.size() + 1) + ")\n"},
    };
    for (const Case& c : cases) {
        Result r = Inspect(File("bad.mdl", c.text));
        EXPECT_EQ(r.code, 1) << c.text;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    Result r = Inspect(File("broken.mdl", "{\"v\" {polyhedron \"00\""));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.substr(0, r.err.find(" (")), "SDL: block terminator expected");
    r = Inspect(dir / "missing.mdl");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "qelinspect evlm: cannot read " + dir / "missing.mdl" + "\n");
}

}  // namespace
