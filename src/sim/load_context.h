#pragma once
// What the parts of the loader share while one scene file loads.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sim/json_reader.h"
#include "sim/scene.h"
#include "sim/scene_loader.h"

namespace sim {

struct LoadContext {
    LoadContext(Scene& scene_, const LoadOptions& options_, const Json& document_)
        : scene(scene_), options(options_), document(document_) {}

    Scene& scene;
    const LoadOptions& options;
    const Json& document;
    int ticksPerFrame = 160;

    std::map<std::string, SimObject*> sharedObjects;
    std::map<std::string, host::Material*> materials;
    std::map<std::string, host::Texture*> textures;
    std::set<std::string> materialsLoading, texturesLoading;

    /// A look-at target named by an object, resolved when every node exists.
    struct PendingTarget {
        SimNode* node;
        std::string targetName;
        float rollDeg;
        std::string pointer;
    };
    std::vector<PendingTarget> targets;

    /// Ticks of a frame number read at pointer; out of the tick range is an error.
    host::TimeValue Ticks(double frame, const std::string& pointer) const;
};

/// The object at value (an object description); target_name and roll are
/// filled for cameras and lights that name a target.
SimObject* LoadObject(LoadContext& context, const Value& value, const std::string& label, std::string& target_name,
                      float& roll_deg);
/// The material with the id held by reference (a string value).
host::Material* MaterialById(LoadContext& context, const Value& reference);
/// The texture with the id held by reference (a string value).
host::Texture* TextureById(LoadContext& context, const Value& reference);

}  // namespace sim
