#pragma once
// Two scenes compared through what the host answers about them: nodes,
// transforms and visibility over time, evaluated objects (meshes, shapes,
// lights, cameras), materials, textures, skins, selection sets and the scene's
// settings. Instances must be instances in both: objects, materials and
// textures are matched one to one as they are met.
#include <string>
#include <vector>

#include "sim/scene.h"

namespace simtest {

/// The differences between a and b, each a line naming the node or item; empty when they answer alike.
std::vector<std::string> SceneDifferences(const sim::Scene& a, const sim::Scene& b);

}  // namespace simtest
