#pragma once
// A simulated host with the materials and textures the material tests hand
// to a CorvaneMtl, and new CorvaneMtl materials made through the class
// descriptor as the host makes them.
#include <memory>

#include "host/material.h"
#include "host/texture.h"
#include "material_plugin/corvane_mtl.h"
#include "sim/scene.h"

namespace corvane_test {

struct Fixture {
    Fixture();

    /// A new material as the host creates one (not for loading: reset).
    std::unique_ptr<corvane::CorvaneMtl> NewMaterial(bool loading = false);

    std::unique_ptr<sim::Scene> scene;
    host::Material* inner = nullptr;  ///< standard "Inner", with a diffuse and a bump map
    host::Material* other = nullptr;  ///< standard "Other"
    host::Material* multi = nullptr;  ///< multi/sub-object "Multi"
    host::Texture* mask = nullptr;    ///< checker "Mask"
    host::Texture* envMap = nullptr;  ///< checker "Env"
};

}  // namespace corvane_test
