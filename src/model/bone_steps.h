#pragma once
// The per-bone work of other subsystems that the bone walk starts: mesh
// frames and animation samples of each node, the bounding box of a bone's
// extracted mesh, and the mesh record of a bone that owns a mesh. The walk
// decides when each step runs; the export layer implements the steps and
// calls the subsystems, so this layer never sees them.
#include <cstdint>

#include "host/math_box.h"
#include "host/node.h"
#include "model/bone_record.h"
#include "scene/step_result.h"

namespace model {

/// A node as the walk hands it to the per-node step.
struct NodeStep {
    host::Node& node;
    int32_t boneIndex;             ///< the record whose mesh the node's data joins; −1 for none
    host::Node* meshSource;        ///< the node whose mesh this node shows, or null
    host::Node* commonMeshOwner;   ///< the common-mesh owner in force for the node, or null
};

class BoneSteps {
public:
    virtual ~BoneSteps() = default;

    /// Takes the mesh frames and animation samples of a bone-kind node whose
    /// object is a geometry or helper object and that passes the
    /// export-selected rule; only called while geometry is exported.
    virtual void SampleNode(const NodeStep& step) = 0;

    /// The box of the vertices of the first mesh extracted for bone_index;
    /// false when the bone has no mesh with vertices.
    virtual bool MeshBounds(int32_t bone_index, host::Box3& box) const = 0;

    /// Extracts the polygon mesh of a bone that owns one and writes its mesh
    /// record into the collector of the bone's directory. Done when written;
    /// Skipped when the mesh has no polygon (the caller tells the artist);
    /// Failed when the mesh was refused (the artist was told); Cancelled when
    /// the artist cancelled during the extraction (the model is given up).
    virtual scene::StepResult WriteMesh(int32_t bone_index, const BoneRecord& bone) = 0;
};

}  // namespace model
