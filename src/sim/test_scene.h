#pragma once
// Scenes for tests, from the members of a scene file's top level written
// inline: SceneFromJson(R"("nodes": [{"name": "Box"}])").
#include <memory>
#include <string_view>

#include "sim/scene_loader.h"

namespace sim {

/// Loads {"format": "qel-scene", "version": 1, <members>}; throws LoadError.
std::unique_ptr<Scene> SceneFromJson(std::string_view members, const LoadOptions& options = {});

}  // namespace sim
