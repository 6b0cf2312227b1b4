// Which ".mesh" file a bone's mesh lands in: the model's own directory, a
// structure's shared "common" directory, and a structure's own directory.
#include <gtest/gtest.h>

#include "mesh_export.h"

namespace {

using Strings = std::vector<std::string>;

Strings Names(const geometry::MeshFileContent& content) {
    Strings names;
    for (const geometry::DecodedMesh& m : content.meshes) names.push_back(m.name);
    return names;
}

const char* kStructureHead = R"(
    "objects": {"crate": {"type": "box", "length": 10, "width": 10, "height": 10}},
    "nodes": [
      {"name": "Base", "props": "Model=maps/base\r\nStructure\r\n", "children": [
        {"name": "gate", "props": "Poly\r\n", "object": {"type": "box", "length": 1, "width": 4, "height": 3}},
        {"name": "wall", "props": "Poly\r\n", "object": "crate"},
        {"name": "wall2", "props": "Poly\r\n", "object": "crate"},
        {"name": "Barracks", "props": "Model=maps/base/barracks\r\n", "children": [
          {"name": "door", "props": "Poly\r\n", "object": {"type": "box", "length": 1, "width": 2, "height": 3}}]}]})";

std::string StructureScene(const std::string& after) { return kStructureHead + after + "]"; }

// A structure's bones that share nothing keep their meshes in the
// structure's own directory, which its model description refers to; they
// are neither lost nor written into a nested model's file.
TEST(MeshDirectories, AStructureKeepsItsOwnMeshesInItsOwnDirectory) {
    for (const std::string& after : {std::string(), std::string(R"(, {"name": "Tank", "props": "Model=units/tank\r\n"})")}) {
        geotest::MeshExport e(StructureScene(after));
        EXPECT_EQ(e.Run(), Strings{});
        EXPECT_EQ(Names(e.Meshes("maps/base/.mesh")), Strings{"gate"}) << after;
        EXPECT_EQ(Names(e.Meshes("maps/base/barracks/.mesh")), Strings{"door"});
        EXPECT_EQ(Names(e.Meshes("maps/base/common/.mesh")), Strings{"wall"});
        std::string mdl = e.Bytes("maps/base/base.mdl");
        EXPECT_NE(mdl.find("{view poly \"gate\"}"), std::string::npos);
        EXPECT_NE(mdl.find("{view poly \"common/wall\"}"), std::string::npos);
        // Material references are relative to the directory of the mesh file's models.
        EXPECT_EQ(e.Meshes("maps/base/.mesh").meshes[0].submeshes[0].material, "common/");
        EXPECT_EQ(e.Meshes("maps/base/barracks/.mesh").meshes[0].submeshes[0].material, "../common/");
    }
}

TEST(MeshDirectories, AStructureWithoutNestedModelsWritesItsOwnMeshes) {
    geotest::MeshExport e(R"("nodes": [
        {"name": "Fort", "props": "Model=maps/fort\r\nStructure\r\n", "children": [
          {"name": "gate", "props": "Poly\r\n", "object": {"type": "box", "length": 1, "width": 4, "height": 3}}]}])");
    EXPECT_EQ(e.Run(), Strings{});
    EXPECT_EQ(Names(e.Meshes("maps/fort/.mesh")), Strings{"gate"});
}

TEST(MeshDirectories, RecordsFollowEachOtherAndModelsWithoutPolygonsWriteNoFile) {
    geotest::MeshExport e(R"("nodes": [
        {"name": "Tank", "props": "Model=units/tank\r\n", "children": [
          {"name": "hull", "props": "Poly\r\n", "object": {"type": "box", "length": 4, "width": 2, "height": 1}},
          {"name": "turret", "props": "Poly\r\n", "object": {"type": "sphere", "radius": 1}}]},
        {"name": "Flag", "props": "Model=units/flag\r\n", "children": [{"name": "pole"}]}])");
    EXPECT_EQ(e.Run(), Strings{});
    EXPECT_EQ(e.Files(), (Strings{"units/flag/flag.def", "units/flag/flag.mdl", "units/tank/.material",
                                  "units/tank/.mesh", "units/tank/tank.def", "units/tank/tank.mdl"}));
    geometry::MeshFileContent tank = e.Meshes("units/tank/.mesh");
    ASSERT_EQ(Names(tank), (Strings{"hull", "turret"}));
    EXPECT_EQ(tank.meshes[0].offset, 0u);
    EXPECT_EQ(tank.meshes[1].offset, tank.meshes[0].size);
}

}  // namespace
