#pragma once
// The state of one model of an export, built fresh for each model: its
// directory, its three writers, and each subsystem's record of the model.
#include <cstdint>
#include <string>

#include "animation/model_animation.h"
#include "geometry/model_meshes.h"
#include "io/sdl_writer.h"
#include "model/bone_walk.h"
#include "scene/bone_tree.h"

namespace export_driver {

struct ModelState {
    ModelState(scene::ModelRoot& lists, bool structure, int32_t bone_count)
        : structure(structure), bones(lists, bone_count), meshes(bone_count) {
        bones.structure = structure;
    }

    host::Node& Root() const { return *bones.Root(); }

    const bool structure;     ///< the root carries Structure
    std::string resourceDir;  ///< the game path joined with the root's Model
    std::string modelBase;    ///< resourceDir joined with its own name part
    xIo::xSdl::eWriter modelWriter;     ///< the .mdl
    xIo::xSdl::eWriter entityWriter;    ///< the .def
    xIo::xSdl::eWriter animListWriter;  ///< anim.txt
    model::ModelBones bones;
    geometry::ModelMeshes meshes;
    animation::ModelAnimation animation;
};

}  // namespace export_driver
