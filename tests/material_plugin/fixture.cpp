#include "fixture.h"

#include "material_plugin/class_desc.h"
#include "sim/test_scene.h"

namespace corvane_test {

Fixture::Fixture() {
    scene = sim::SceneFromJson(R"(
        "textures": {"mask": {"type": "checker", "name": "Mask"}, "env": {"type": "checker", "name": "Env"}},
        "materials": {
            "inner": {"type": "standard", "name": "Inner", "diffuse": [0.2, 0.4, 0.6], "specular": [0.1, 0.2, 0.3],
                      "shininessStrength": 0.7, "transparency": 0.25, "twoSided": true,
                      "maps": {"diffuse": {"texture": "mask"}, "bump": {"texture": "env"}}},
            "other": {"type": "standard", "name": "Other"},
            "multi": {"type": "multi", "name": "Multi", "materials": ["other"]}},
        "nodes": [{"name": "a", "material": "inner"}, {"name": "b", "material": "other"}, {"name": "c", "material": "multi"}])");
    host::Node* root = scene->GetRootNode();
    inner = root->GetChildNode(0)->GetMtl();
    other = root->GetChildNode(1)->GetMtl();
    multi = root->GetChildNode(2)->GetMtl();
    mask = inner->GetSubTexmap(host::kMapDiffuse);
    envMap = inner->GetSubTexmap(host::kMapBump);
}

std::unique_ptr<corvane::CorvaneMtl> Fixture::NewMaterial(bool loading) {
    std::unique_ptr<host::ReferenceTarget> created = corvane::TheClassDesc().Create(*scene, loading);
    return std::unique_ptr<corvane::CorvaneMtl>(static_cast<corvane::CorvaneMtl*>(created.release()));
}

}  // namespace corvane_test
