#include "animation/animation_ranges.h"

namespace animation {

int32_t CollectAnimations(const AnimationSettings& /*settings*/, host::Node& /*root*/, ModelAnimation& /*animation*/) {
    // Declarations are read from the root's properties here once animation
    // ranges exist; until then a model has no animation.
    return 0;
}

void WriteAnimationBlock(const ModelAnimation& /*animation*/, xIo::xSdl::eWriter& /*entity_writer*/) {
    // Without animation ranges there is no block to write.
}

}  // namespace animation
