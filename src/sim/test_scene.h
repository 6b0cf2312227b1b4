#pragma once
// Scenes for tests, from the members of a scene file's top level written
// inline: SceneFromJson(R"("nodes": [{"name": "Box"}])").
#include <memory>
#include <string_view>

#include "sim/scene_loader.h"

namespace sim {

/// When this environment variable is set, every scene SceneFromJson builds is
/// written by the scene writer and the writing loaded instead, so that a whole
/// test program checks that what it sees survives a write and a load (the
/// writing must also write the same bytes again).
constexpr const char* kRoundTripVariable = "QEL_SCENE_ROUND_TRIP";

/// Loads {"format": "qel-scene", "version": 1, <members>}; throws LoadError.
std::unique_ptr<Scene> SceneFromJson(std::string_view members, const LoadOptions& options = {});

}  // namespace sim
