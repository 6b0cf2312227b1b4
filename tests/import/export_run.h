#pragma once
// A whole export of an imported scene, as qelexport runs one without prompts.
#include <string>
#include <vector>

#include "sim/scene.h"

namespace importtest {

struct ExportOutcome {
    std::vector<std::string> boxes;  ///< the message boxes shown (qeltest::Boxes form)
    std::vector<std::string> files;  ///< the files written under out, relative and sorted
};

/// Exports scene into out (the game resource path d:/thegame/ served from out/thegame).
ExportOutcome ExportScene(sim::Scene& scene, const std::string& out);

}  // namespace importtest
