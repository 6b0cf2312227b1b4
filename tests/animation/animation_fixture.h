#pragma once
// One simulated scene with the animation settings of an export, the model's
// animation record and an anim.txt writer in memory.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "animation/model_animation.h"
#include "io/sdl_writer.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace animtest {

struct Fixture {
    explicit Fixture(std::string_view members)
        : scene(sim::SceneFromJson(members)), report(*scene), settings{*scene, report, 1.0f, host::Matrix3(), false, false, false} {
        list.Open(&listed);
    }

    host::Node& Node(const std::string& name) { return *qeltest::NodeNamed(*scene, name); }
    std::vector<std::string> Boxes() { return qeltest::Boxes(*scene); }
    /// anim.txt as written so far.
    std::string List() {
        list.Close();
        return std::string(listed.Data());
    }

    std::unique_ptr<sim::Scene> scene;
    scene::Reporter report;
    animation::AnimationSettings settings;
    animation::ModelAnimation animation;
    xIo::eMemoryStream listed{256};
    xIo::xSdl::eWriter list;
};

}  // namespace animtest
