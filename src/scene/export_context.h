#pragma once
// The state of one export, owned by the export driver and handed to every
// subsystem explicitly. The per-model part is reset at the start of each
// model.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/application.h"
#include "host/math_box.h"
#include "host/math_matrix.h"
#include "io/sdl_writer.h"
#include "scene/bone_tree.h"
#include "scene/export_options.h"
#include "scene/report.h"

namespace scene {

/// What the exporter keeps per bone index of the current model.
struct BoneRecord {
    host::Node* node = nullptr;
    bool hasCommonMesh = false;  ///< a common-mesh owner is in force for the bone
    bool polyMesh = false;       ///< the mesh is exported as polygons
    std::string meshName;        ///< cleaned name of the mesh source node or the bone
    std::string meshDir;         ///< directory of the mesh's material and mesh files
    host::Box3 bounds;           ///< bounding box; its minimum corner is the pivot
    int32_t animationSlots = 0;
};

/// Points of support-point nodes, grouped under their nearest ancestor
/// outside groups, in the order the ancestors were met.
using SupportPoints = std::vector<std::pair<host::Node*, std::vector<host::Point3>>>;

struct ExportContext {
    ExportContext(host::Application& app) : app(app), report(app), boneTree(app, report) {}

    host::Application& app;
    Reporter report;
    ExportOptions options;
    bool exportSelected = false;  ///< the host's export-selected bit
    host::TimeValue staticTime = 0;
    float masterScale = 1.0f;     ///< metres per system unit
    host::Matrix3 axisFix;
    BoneTree boneTree;            ///< model roots, bone names, light list
    float ambient[3] = {0, 0, 0};
    float ambientScaled[3] = {0, 0, 0};

    // Shared structure paths.
    bool hadStructure = false;
    host::Node* structureRoot = nullptr;  ///< root of the structure being exported
    std::string commonDir;
    std::string texturePrefix;

    // The current model.
    size_t currentModel = 0;
    host::Node* currentRoot = nullptr;
    int32_t boneCount = 0;
    std::string resourceDir;
    std::string modelBase;
    bool landPatch = false;
    int32_t frameCount = 0;  ///< entries of the frame table; 0 without animation
    xIo::xSdl::eWriter modelWriter;
    xIo::xSdl::eWriter entityWriter;
    xIo::xSdl::eWriter animListWriter;
    std::vector<BoneRecord> bones;
    SupportPoints supportPoints;

    ModelRoot& CurrentModel() { return boneTree.models[currentModel]; }
    /// The record of a bone index, or null for an index outside the model.
    BoneRecord* Bone(int32_t index) {
        return index >= 0 && static_cast<size_t>(index) < bones.size() ? &bones[static_cast<size_t>(index)] : nullptr;
    }
};

/// True when a property value may be written as bare identifiers: it holds
/// none of the characters that would end or open a token of its own.
bool IsSafeBareValue(const std::string& value);

}  // namespace scene
