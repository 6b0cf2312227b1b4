#include "animation/node_in_animation.h"

#include "scene/node_params.h"

namespace animation {

bool NodeInAnimation(host::Application& app, bool selected_only, host::Node& node, const AnimationRange& range) {
    host::Node* member = scene::NearestNonGroupMember(&node, true);
    if (member == nullptr) return false;
    if (range.selection >= 0) {
        for (int j = app.GetNamedSelSetItemCount(range.selection) - 1; j >= 0; --j)
            if (app.GetNamedSelSetItem(range.selection, j) == member) return true;
        return false;
    }
    return !selected_only || member->Selected();
}

}  // namespace animation
