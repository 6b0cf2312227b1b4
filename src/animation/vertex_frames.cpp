#include "animation/vertex_frames.h"

#include <set>

#include "animation/animation_ranges.h"
#include "animation/animation_sampler.h"
#include "animation/node_in_animation.h"
#include "geometry/mesh_extraction.h"

namespace animation {

namespace {

// The frame of the record holding the mesh at frame: the static frame's
// stands for frame 0 as well as for itself.
int32_t FrameSlot(const std::vector<geometry::FrameVertices>& frames, int32_t frame) {
    if (frames.empty()) return -1;
    if (frame == 0) return 0;
    for (size_t k = 0; k < frames.size(); ++k)
        if (frames[k].frame == frame) return static_cast<int32_t>(k);
    return -1;
}

}  // namespace

void ExtractVertexFrames(const AnimationSettings& settings, const ModelAnimation& animation,
                         const geometry::MeshSettings& mesh_settings, geometry::ModelMeshes& meshes, host::Node& node,
                         host::Node& bone, int32_t bone_index) {
    geometry::BoneMesh* record = meshes.Bone(bone_index);
    if (record == nullptr || record->frames.empty()) return;
    const int32_t static_frame = record->frames.front().frame;
    const int32_t tpf = TicksPerFrame(settings.app);
    std::set<int32_t> extracted;
    for (const AnimationRange& a : animation.animations) {
        if (!a.present || !NodeInAnimation(settings.app, settings.selectedOnly, node, a)) continue;
        record->vertexAnimated = true;
        for (int32_t f = a.start; f <= a.end; ++f) {
            const int32_t source = SourceFrame(a, f, settings.reverseAnimation);
            if (source == 0 || source == static_frame || !extracted.insert(source).second) continue;
            geometry::ExtractNodeFrameAt(mesh_settings, meshes, node, bone, bone_index, source, FrameTime(source, tpf));
        }
    }
}

void TakeVertexFrames(const AnimationSettings& settings, ModelAnimation& animation, int32_t bone_index,
                      geometry::BoneMesh& mesh) {
    if (mesh.frameVertices.empty() || mesh.node == nullptr) return;
    BoneVertices& taken = animation.boneVertices[bone_index];
    taken.remap = mesh.remap;
    taken.vertexSize = static_cast<int32_t>(mesh.vertexSize);
    taken.allWhite = mesh.allWhite;
    taken.frames = std::move(mesh.frameVertices);
    mesh.frameVertices.clear();

    for (size_t i = 0; i < animation.animations.size(); ++i) {
        const AnimationRange& a = animation.animations[i];
        AnimationFrames frames = animation.frames.Frames(i);
        if (!a.present || !frames.Holds(a.start, bone_index) ||
            !NodeInAnimation(settings.app, settings.selectedOnly, *mesh.node, a))
            continue;
        for (int32_t f = a.start; f <= a.end; ++f) {
            const int32_t slot = FrameSlot(taken.frames, SourceFrame(a, f, settings.reverseAnimation));
            if (slot < 0 || taken.frames[static_cast<size_t>(slot)].vertices.empty()) continue;
            AnimationSample& sample = frames.At(f, bone_index);
            sample.vertices = slot;
            sample.vertexSize = taken.vertexSize;
            sample.flags |= kSampleVertices;
        }
    }
}

}  // namespace animation
