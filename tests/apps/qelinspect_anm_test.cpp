// qelinspect anm: the text and JSON forms of an animation file, and the
// exit code and message of a malformed one.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "geometry/mesh_collector.h"
#include "geometry/mesh_record.h"
#include "qelinspect/anm_command.h"
#include "support/temp_dir.h"

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

std::string U8(uint8_t v) { return std::string(1, static_cast<char>(v)); }
std::string U16(uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); }
std::string U32(uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
std::string F32(float v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

// Two bones over three frames: the first frame records both, the last one
// hides the second; the second bone's mesh of 2 vertices of 16 bytes is
// animated, its second vertex changing at the last frame.
std::string SmallFile() {
    std::string vertex0 = F32(0) + F32(0) + F32(1) + U32(0xFFFFFFFF);
    std::string vertex1 = F32(1) + F32(0) + F32(1) + U32(0xFF0000FF);
    std::string moved1 = F32(1) + F32(0.5f) + F32(1) + U32(0xFF0000FF);
    std::string box = F32(0) + F32(0) + F32(1) + F32(1) + F32(0.5f) + F32(1);
    std::string whole = U32(0) + U16(2) + U16(1) + vertex0 + vertex1 + box + std::string(8, '\0');
    std::string changed = U32(1) + U16(1) + U16(1) + moved1 + box + std::string(8, '\0');
    return "EANM" + U32(0x00060001) + "FRMS" + U32(3) + "BMAP" + U32(2) + U8(4) + "root" + U8(4) + "flag" +
           "FRM2" + U16(0) + U8(2) +
           U8(0) + U16(0x0B) + F32(1) + F32(2) + F32(3) + F32(0) + F32(0.6f) + F32(0) +
           U8(1) + U16(0x2F) + F32(0) + F32(0) + F32(0) + F32(0) + F32(0) + F32(-1) + U32(uint32_t(whole.size())) + whole +
           "FRM2" + U16(2) + U8(1) + U8(1) + U16(0x30) + U32(uint32_t(changed.size())) + changed;
}

class InspectAnm : public ::testing::Test {
protected:
    Result Run(const std::string& name, const std::string& bytes, bool json) {
        qeltest::WriteFile(dir / name, bytes);
        return RunOn(dir / name, json);
    }
    Result RunOn(const std::string& file, bool json, const std::string& mesh = "", const std::string& name = "") {
        std::ostringstream out, err;
        int code = qelinspect::RunAnm({file, json, mesh, name}, out, err);
        return {code, out.str(), err.str()};
    }
    // A mesh file with a record "flag" of vertex_count vertices of position
    // and colour (16 bytes each).
    std::string MeshFile(uint32_t vertex_count) {
        geometry::MeshCollector collector;
        geometry::MeshRecord flag;
        geometry::SubmeshSection s;
        s.format = geometry::kFormatPosition | geometry::kFormatColour;
        s.triangleCount = 1;
        s.vertexCount = vertex_count;
        flag.submeshes = {s};
        for (uint32_t i = 0; i < vertex_count; ++i) {
            geometry::MeshVertex v;
            v.position = {float(i), 0, 1};
            v.format = s.format;
            flag.vertices.push_back(v);
        }
        flag.vertexSize = 16;
        flag.indices = {0, uint16_t(vertex_count - 1), 0};
        geometry::WriteMeshRecord(flag, collector.AddRecord("flag", geometry::MeshRecordSize(flag)));
        geometry::WriteMeshFile(dir.path(), collector);
        return dir / ".mesh";
    }
    qeltest::TempDir dir;
};

TEST_F(InspectAnm, TextShowsEveryChunkAndRecordWithWRebuilt) {
    Result r = Run("a.anm", SmallFile(), false);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "version 0x00060001\n"
              "frames 3\n"
              "bones 2\n"
              "  0 \"root\"\n"
              "  1 \"flag\"\n"
              "frame 0 at 34: 2 records\n"
              "  0 \"root\": flags 0x000b (position orientation visible) p (1 2 3) q (0 0.6 0 -0.8)\n"
              "  1 \"flag\": flags 0x002f (position orientation mirrored visible vertices) p (0 0 0) q (0 0 -1 -0)\n"
              "    vertex block of 72 bytes, 16 bytes per vertex\n"
              "      run 0+2 box (0 0 1) (1 0.5 1)\n"
              "        0: p (0 0 1) rest ffffffff\n"
              "        1: p (1 0 1) rest ff0000ff\n"
              "frame 2 at 171: 1 records\n"
              "  1 \"flag\": flags 0x0030 (hidden vertices)\n"
              "    vertex block of 56 bytes, 16 bytes per vertex\n"
              "      run 1+1 box (0 0 1) (1 0.5 1)\n"
              "        1: p (1 0.5 1) rest ff0000ff\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(InspectAnm, JsonHoldsTheSame) {
    Result r = Run("a.anm", SmallFile(), true);
    ASSERT_EQ(r.code, 0) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["version"], 0x00060001);
    EXPECT_EQ(j["frame_count"], 3);
    EXPECT_EQ(j["bones"], (nlohmann::json{"root", "flag"}));
    ASSERT_EQ(j["frames"].size(), 2u);
    const nlohmann::json& root = j["frames"][0]["records"][0];
    EXPECT_EQ(root["flags"], 0x0B);
    EXPECT_EQ(root["position"], (nlohmann::json{1.0f, 2.0f, 3.0f}));
    EXPECT_FLOAT_EQ(root["orientation"][3].get<float>(), -0.8f);
    const nlohmann::json& run = j["frames"][1]["records"][0]["vertices"]["runs"][0];
    EXPECT_EQ(run["first"], 1);
    EXPECT_EQ(run["vertices"][0]["position"], (nlohmann::json{1.0f, 0.5f, 1.0f}));
    EXPECT_EQ(j["frames"][1]["frame"], 2);
}

TEST_F(InspectAnm, MalformedFileExitsWith1AndTheReason) {
    std::string good = SmallFile();
    struct Case {
        std::string bytes;
        std::string message;
    } cases[] = {
        {good.substr(0, 30), "truncated: a bone name needs 4 bytes, 0 left at byte 30"},
        {good.substr(0, good.size() - 3), "a vertex block larger than the rest of the file at byte 181"},
        {good + "FRM2", "truncated: a frame number needs 2 bytes, 0 left at byte " + std::to_string(good.size() + 4)},
        {good.substr(0, good.size() - 56) + U32(5) + good.substr(good.size() - 52),
         "a run past the mesh's 2 vertices at byte 185"},
    };
    for (const Case& c : cases) {
        for (bool json : {false, true}) {
            Result r = Run("bad.anm", c.bytes, json);
            EXPECT_EQ(r.code, 1);
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, "qelinspect anm: " + dir / "bad.anm" + ": " + c.message + "\n");
        }
    }
    Result missing = RunOn(dir / "missing.anm", false);
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err, "qelinspect anm: " + dir / "missing.anm" + ": cannot open the file\n");
}

TEST_F(InspectAnm, AMeshRecordDecodesItsBonesVertices) {
    qeltest::WriteFile(dir / "a.anm", SmallFile());
    std::string mesh = MeshFile(2);
    Result r = RunOn(dir / "a.anm", false, mesh, "flag");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("      run 0+2 box (0 0 1) (1 0.5 1)\n"
                         "        0: p (0 0 1) c #ffffffff\n"
                         "        1: p (1 0 1) c #ff0000ff\n"),
              std::string::npos)
        << r.out;
    Result j = RunOn(dir / "a.anm", true, mesh, "flag");
    ASSERT_EQ(j.code, 0) << j.err;
    nlohmann::json vertex = nlohmann::json::parse(j.out)["frames"][1]["records"][0]["vertices"]["runs"][0]["vertices"][0];
    EXPECT_EQ(vertex["colour"], 0xFF0000FFu);
    EXPECT_EQ(vertex["position"], (nlohmann::json{1.0f, 0.5f, 1.0f}));

    // The record's vertex count is checked against every run; a record or a
    // bone that is not there cannot be used.
    Result fewer = RunOn(dir / "a.anm", false, MeshFile(1), "flag");
    EXPECT_EQ(fewer.code, 1);
    EXPECT_EQ(fewer.err, "qelinspect anm: " + dir / "a.anm" + ": a run past the mesh's 1 vertices at byte 99\n");
    Result no_record = RunOn(dir / "a.anm", false, mesh, "cloth");
    EXPECT_EQ(no_record.code, 2);
    EXPECT_EQ(no_record.err, "qelinspect anm: " + mesh + ": no mesh named cloth\n");
}

}  // namespace
