#include "sim/test_scene.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "sim/scene_writer.h"

namespace sim {

std::unique_ptr<Scene> SceneFromJson(std::string_view members, const LoadOptions& options) {
    std::string text = R"({"format": "qel-scene", "version": 1)";
    if (!members.empty()) text += ", ";
    text += members;
    text += "}";
    std::unique_ptr<Scene> scene = LoadSceneText(text, options);
    if (std::getenv(kRoundTripVariable)) {
        const std::string written = SceneText(*scene);
        scene = LoadSceneText(written, options);
        if (SceneText(*scene) != written) throw std::logic_error("a written scene writes differently once loaded:\n" + written);
    }
    return scene;
}

}  // namespace sim
