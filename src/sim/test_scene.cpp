#include "sim/test_scene.h"

#include <string>

namespace sim {

std::unique_ptr<Scene> SceneFromJson(std::string_view members, const LoadOptions& options) {
    std::string text = R"({"format": "qel-scene", "version": 1)";
    if (!members.empty()) text += ", ";
    text += members;
    text += "}";
    return LoadSceneText(text, options);
}

}  // namespace sim
