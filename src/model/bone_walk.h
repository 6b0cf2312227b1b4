#pragma once
// What the bone walk of one model reads and fills: the export's settings it
// needs, the model's own record (bone records, node lists, support points),
// the two writers it writes to, and the steps of other subsystems it starts.
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/application.h"
#include "host/math_matrix.h"
#include "host/object.h"
#include "io/sdl_writer.h"
#include "model/bone_record.h"
#include "model/bone_steps.h"
#include "scene/bone_tree.h"
#include "scene/lod_siblings.h"
#include "scene/report.h"

namespace model {

/// The export's settings the walk reads; fixed for one export.
struct WalkSettings {
    host::Application& app;
    scene::Reporter& report;
    host::TimeValue staticTime = 0;  ///< the static frame in ticks
    float masterScale = 1.0f;        ///< metres per system unit
    host::Matrix3 axisFix;
    bool exportSelected = false;     ///< the host's export-selected bit
    bool exportIK = true;
    bool exportGeometry = true;
};

/// The model description's record of one model, built fresh for each model.
struct ModelBones {
    ModelBones(scene::ModelRoot& lists, int32_t bone_count) : lists(lists), bones(static_cast<size_t>(bone_count)) {}

    scene::ModelRoot& lists;             ///< root and the node lists the walk fills
    host::Node* structureRoot = nullptr; ///< root of the open structure, or null
    bool structure = false;              ///< the root carries Structure: nested models become place entries
    std::string resourceDir;
    std::string commonDir;
    std::string texturePrefix;
    int32_t frameCount = 0;              ///< entries of the frame table; 0 without animation

    std::vector<BoneRecord> bones;       ///< one per bone index
    SupportPoints supportPoints;
    bool landPatch = false;

    /// The nodes outside groups under one search root that evaluate (at time
    /// 0) to each object: the first of them in pre-order and their number.
    using SharedObjects = std::unordered_map<const host::Object*, std::pair<host::Node*, int>>;
    /// Per search root, built when a bone first asks, since every bone
    /// searches the same tree for the nodes sharing its object.
    std::map<host::Node*, SharedObjects> sharedObjects;

    host::Node* Root() const { return lists.root; }
    int32_t BoneCount() const { return static_cast<int32_t>(bones.size()); }
    /// The record of a bone index, or null for an index outside the model.
    BoneRecord* Bone(int32_t index) {
        return index >= 0 && static_cast<size_t>(index) < bones.size() ? &bones[static_cast<size_t>(index)] : nullptr;
    }
};

/// Everything one walk uses; the references outlive the walk.
struct BoneWalk {
    const WalkSettings& settings;
    ModelBones& model;
    xIo::xSdl::eWriter& modelWriter;
    xIo::xSdl::eWriter& entityWriter;
    BoneSteps& steps;
    scene::LodSiblings& lodSiblings;
};

}  // namespace model
