#pragma once
// What the bone walk keeps per bone index of the current model, and the
// support points it gathers.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/math_box.h"
#include "host/node.h"

namespace model {

/// The model description's record of one bone index.
struct BoneRecord {
    host::Node* node = nullptr;
    bool hasCommonMesh = false;  ///< a common-mesh owner is in force for the bone
    bool polyMesh = false;       ///< the mesh is exported as polygons
    bool ownsMesh = false;       ///< the bone has a mesh of its own to write
    bool sharedMesh = false;     ///< the mesh comes from a source node: it goes to the shared collector
    std::string meshName;        ///< cleaned name of the mesh source node or the bone
    std::string meshDir;         ///< directory of the mesh's material and mesh files
    host::Box3 bounds;           ///< bounding box; its minimum corner is the pivot
    int32_t animationSlots = 0;
};

/// Points of support-point nodes, grouped under their nearest ancestor
/// outside groups, in the order the ancestors were met.
using SupportPoints = std::vector<std::pair<host::Node*, std::vector<host::Point3>>>;

}  // namespace model
