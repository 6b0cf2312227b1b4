// What geometry reads of a material: the CorvaneMtl wrapper asked through
// its sub-material, the default material, and the texture scale a group
// gathers from its faces.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/default_material.h"
#include "geometry/material_traits.h"
#include "geometry/mesh_building.h"
#include "geometry/mesh_extraction.h"
#include "host/class_id.h"
#include "scene/report.h"
#include "sim/materials.h"
#include "sim/textures.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace {

// A CorvaneMtl as the host shows it: its own name and requirements, its
// sub-material in slot 0.
class FakeCorvane : public sim::SimMaterial {
public:
    FakeCorvane(host::Material* sub, bool two_sided)
        : SimMaterial({0x71CA8543, 0x0C80AD68}, "Chrome"), sub_(sub), twoSided_(two_sided) {}
    int NumSubMtls() const override { return 1; }
    host::Material* GetSubMtl(int i) const override { return i == 0 ? sub_ : nullptr; }
    uint32_t Requirements(int) const override { return twoSided_ ? host::kMtlReqTwoSided : 0u; }

private:
    host::Material* sub_;
    bool twoSided_;
};

TEST(MaterialTraits, ACorvaneMaterialIsAskedThroughItsSubMaterial) {
    sim::StandardMaterial inner("Inner", {});
    sim::BitmapTexture diffuse("d", "", false, false, {});
    sim::BitmapTexture bump("b", "", false, false, {});
    inner.SetMap(host::kMapDiffuse, {&diffuse, 100, true});
    inner.SetMap(host::kMapBump, {&bump, 30, true});
    FakeCorvane corvane(&inner, true);
    geometry::MaterialTraits traits = geometry::ReadMaterialTraits(corvane);
    EXPECT_NEAR(traits.bump, 0.3f, 1e-6);
    EXPECT_EQ(traits.uvSets, 1u);
    EXPECT_EQ(traits.sets[0].texture, &diffuse);
    EXPECT_EQ(traits.sets[1].texture, &bump);
    EXPECT_TRUE(traits.twoSided);
    EXPECT_EQ(traits.reference, "chrome");
    // Without a sub-material it has no maps at all.
    FakeCorvane empty(nullptr, false);
    traits = geometry::ReadMaterialTraits(empty);
    EXPECT_EQ(traits.bump, 0.0f);
    EXPECT_EQ(traits.sets[0].texture, nullptr);
}

TEST(MaterialTraits, TheDefaultMaterialIsGreyWithAnEmptyName) {
    host::Material& m = geometry::DefaultMaterial();
    EXPECT_EQ(&m, &geometry::DefaultMaterial());
    EXPECT_EQ(m.GetName(), "");
    EXPECT_EQ(m.GetDiffuse(0), host::Color(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(m.GetAmbient(0), host::Color(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(m.GetSpecular(0), host::Color(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(geometry::ReadMaterialTraits(m).reference, "");
}

// Each face's largest metres per texture unit over its edges, averaged into
// the group: (scale + face's) / 2 a face at a time.
TEST(MaterialTraits, GroupsGatherTheirTextureScaleFromTheirFaces) {
    std::unique_ptr<sim::Scene> scene = sim::SceneFromJson(R"(
        "materials": {"m": {"type": "standard", "maps": {"diffuse": {"texture": "t"}}}},
        "textures": {"t": {"type": "bitmap"}},
        "nodes": [{"name": "quad", "material": "m", "object": {"type": "mesh",
          "vertices": [[0,0,0], [2,0,0], [0,4,0], [2,4,0], [0,4.005,0]], "faces": [[0,1,3], [0,3,2], [0,2,4]],
          "channels": {"1": {"vertices": [[0,0,0], [1,0,0], [0,1,0], [1,1,0], [0,1.005,0]],
                             "faces": [[0,1,3], [0,3,2], [0,2,4]]}}}}])");
    scene::Reporter report(*scene);
    geometry::MeshSettings settings{*scene, report, 0, 1.0f};
    geometry::ModelMeshes meshes(1);
    host::Node& quad = *qeltest::NodeNamed(*scene, "quad");
    geometry::ExtractNodeFrames(settings, meshes, quad, quad, 0);
    geometry::BuildMesh(settings, meshes, *meshes.Bone(0));
    ASSERT_EQ(meshes.Groups().size(), 1u);
    const geometry::SubmeshGroup& group = meshes.Groups().begin()->second;
    // Both faces: u along the 2 m edge and the diagonal (√20 m per unit), v
    // along the 4 m edge and the diagonal. The sliver spans under 0.01 in u
    // and v but its long edges give 4 m per unit in v; its u is ignored.
    const float diagonal = std::sqrt(20.0f);
    float u = (0 + diagonal) / 2;
    u = (u + diagonal) / 2;
    float v = (0 + diagonal) / 2;
    v = (v + diagonal) / 2;
    v = (v + 4.0f) / 2;
    EXPECT_NEAR(group.textureScale[0], u, 1e-4);
    EXPECT_NEAR(group.textureScale[1], v, 1e-4);
}

}  // namespace
