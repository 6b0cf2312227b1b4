#pragma once
// The bone tree of a model: finding the model roots of a scene, numbering
// the bones of one model depth-first with level-of-detail bones right after
// their base bone, and checking the tree in the artist's words.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/application.h"
#include "host/light.h"
#include "host/node.h"
#include "scene/lod_siblings.h"
#include "scene/report.h"
#include "scene/step_result.h"

namespace scene {

/// A model root and the node lists the model description fills.
struct ModelRoot {
    host::Node* root = nullptr;
    std::vector<host::Node*> bodies;
    std::vector<host::Node*> volumes;
    std::vector<host::Node*> areas;
    std::vector<host::Node*> previews;
};

/// The bone index attached to every bone node.
class BoneIndexData : public host::RenderData {
public:
    explicit BoneIndexData(int32_t index) : index(index) {}
    int32_t index;
};

/// The bone index attached to node, or -1 when it has none.
int32_t AttachedBoneIndex(const host::Node& node);

/// The state of the bone tree of one export.
struct BoneTree {
    /// static_time: the static frame in ticks, where bones are judged;
    /// lights_cameras: lights met during the walk get render descriptors.
    BoneTree(host::Application& app, Reporter& report, host::TimeValue static_time = 0, bool lights_cameras = true)
        : app(app), report(report), staticTime(static_time), exportLightsCameras(lights_cameras) {}

    host::Application& app;
    Reporter& report;
    const host::TimeValue staticTime;
    const bool exportLightsCameras;
    bool structureFlag = false;       ///< the root being walked carries Structure

    std::vector<ModelRoot> models;    ///< in processing order
    std::vector<std::string> boneNames;  ///< cleaned names in bone index order

    struct NameRecord {
        std::string name;
        host::Node* node;
    };
    std::vector<NameRecord> nameRegistry;  ///< base bones of the current walk
    int depth = 0;
    std::vector<std::unique_ptr<host::LightDesc>> lights;
    LodSiblings lodSiblings;          ///< the LOD bones of every bone, indexed per parent
};

/// A group head, or a node outside groups whose object at t is a helper, a
/// shape or a geometry object other than a target.
bool IsBoneCandidate(host::Node& node, host::TimeValue t);
/// A candidate that is not hidden, of kind bone and of LOD index 0.
bool IsBone(host::Node& node, host::TimeValue t);

/// Fills tree.models from the scene root's children (reversed at the end);
/// says "nothing to export" when none is found. True when a root was found.
bool CollectModelRoots(BoneTree& tree);

/// Numbers and checks the subtree of node; counter is the next free index
/// and is advanced. Failed when an error was reported in the subtree (every
/// error of the subtree is reported before it returns).
StepResult BuildBoneTree(BoneTree& tree, host::Node& node, int32_t& counter, bool collect_roots);

/// Appends a model root when node carries Model or XModel; reports otherwise.
void AddModelRoot(BoneTree& tree, host::Node& node);

/// The LOD siblings of a bone ("<name>_lod..."), in ascending LOD order.
std::vector<host::Node*> CollectLodBones(BoneTree& tree, host::Node& node);

}  // namespace scene
