#include "volumes/volume_writer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "io/stream_memory.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace {

// The volumes of one model written into memory, the model description and
// the entity file apart.
struct Volumes {
    std::unique_ptr<sim::Scene> scene;
    scene::Reporter report;
    xIo::eMemoryStream mdl{256};
    xIo::eMemoryStream def{256};

    explicit Volumes(const std::string& members) : scene(sim::SceneFromJson(members)), report(*scene) {}
    void Write(const char* name) {
        host::Node* root = scene->GetRootNode()->GetChildNode(0);
        volumes::VolumeSettings settings{*scene, report, 0, 0.01f, host::Matrix3(), root};
        xIo::xSdl::eWriter model, entity;
        model.Open(&mdl);
        entity.Open(&def);
        volumes::WriteVolume(settings, *qeltest::NodeNamed(*scene, name), model, entity);
        model.Close();
        entity.Close();
    }
    std::string Mdl() const { return std::string(mdl.Data()); }
    std::string Def() const { return std::string(def.Data()); }
};

// A strip of count vertices in two rows, as a mesh object; flat, but for the
// last vertex, which stands far in front of the first face, so that the
// convexity check stops there.
std::string Strip(int count) {
    std::ostringstream json;
    json << R"({"type": "mesh", "vertices": [)";
    for (int i = 0; i < count; ++i)
        json << (i ? "," : "") << "[" << i / 2 << "," << i % 2 << "," << (i + 1 == count ? -1000000 : 0) << "]";
    json << R"(], "faces": [)";
    for (int i = 0; i + 2 < count; i += 2) json << (i ? "," : "") << "[" << i << "," << i + 1 << "," << i + 2 << "]";
    json << "]}";
    return json.str();
}

TEST(WriteVolume, APolyhedronBeyondSixteenBitIndicesIsRefusedAndWrittenWithoutShape) {
    Volumes v(R"("nodes": [{"name": "M", "children": [{"name": "Big_vol", "props": "Volume\r\nClear\r\n",
        "transform": {"pos": [0, 0, 100]}, "object": )" + Strip(65538) + "}]}]");
    v.Write("Big_vol");
    EXPECT_EQ(qeltest::Boxes(*v.scene),
              std::vector<std::string>{
                  "E|Ошибка|Полигональный объем 'big' содержит более 65536 вершин! Объем записан без формы."});
    EXPECT_EQ(v.Mdl(), "{\"big\"\r\n\t{bone \"m\"}\r\n\t{Position 0 \t 0 \t 1\r\n\t}\r\n}\r\n");
    EXPECT_EQ(v.Def(), "{\"big\"\r\n\t{able clear}\r\n}\r\n");
}

TEST(WriteVolume, ExactlySixteenBitIndicesAreStillAPolyhedronAndChecked) {
    Volumes v(R"("nodes": [{"name": "M", "children": [{"name": "Edge", "props": "Volume\r\n", "object": )" +
              Strip(65536) + "}]}]");
    v.Write("Edge");
    EXPECT_EQ(qeltest::Boxes(*v.scene), std::vector<std::string>{"E|Ошибка|Полигональный объем 'Edge' невыпуклый!"});
    EXPECT_NE(v.Mdl().find("{polyhedron \"45564c4d5645525400000100"), std::string::npos);
}

TEST(WriteVolume, BareWordValuesThatWouldBreakTheFileAreReportedAndLeftOut) {
    Volumes v(R"("nodes": [{"name": "M", "children": [{"name": "Crate", "object": {"type": "box", "length": 10,
        "width": 10, "height": 10}, "props": "Volume\r\nbullet=1}\r\nThickness=2,(3)\r\ntouch=4 5\r\n"}]}])");
    v.Write("Crate");
    EXPECT_EQ(qeltest::Boxes(*v.scene),
              (std::vector<std::string>{
                  "E|Ошибка|Значение '2 (3)' параметра 'Thickness' в объеме 'Crate' содержит недопустимые символы ({, "
                  "}, \", ( или )) и не записано.",
                  "E|Ошибка|Значение '1}' параметра 'bullet' в объеме 'Crate' содержит недопустимые символы ({, }, \", "
                  "( или )) и не записано."}));
    EXPECT_EQ(v.Def(), "{\"crate\"\r\n\t{able {touch 4 5}}\r\n}\r\n");
}

}  // namespace
