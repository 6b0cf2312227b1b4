#pragma once
// Helpers for tests that run exporter code against the simulated host.
#include <string>
#include <vector>

#include "sim/scene.h"

namespace qeltest {

/// One recorded message box in readable form: "E|caption|text" (UTF-8),
/// E for an error icon, W for a warning, I for information, - for none;
/// a trailing "|unowned" when the box had no owner window.
std::vector<std::string> Boxes(sim::Scene& scene);

/// The scene child with this name (exact bytes), searched depth-first.
host::Node* NodeNamed(sim::Scene& scene, const std::string& name);

}  // namespace qeltest
