#pragma once
// Which nodes take part in an animation: the members of its named selection
// set, or, without one, the current selection rule. The sampler asks it for
// transforms, the mesh evaluation for vertex frames, the writer for records.
#include "animation/model_animation.h"
#include "host/application.h"
#include "host/node.h"

namespace animation {

/// True when node takes part in range. A group member stands for its
/// nearest ancestor outside groups. With a named selection set, the node
/// must be one of its items; without one, every node takes part unless
/// selected_only is set and the node is not selected.
bool NodeInAnimation(host::Application& app, bool selected_only, host::Node& node, const AnimationRange& range);

}  // namespace animation
