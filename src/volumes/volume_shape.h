#pragma once
// The shape of a collision volume: box, sphere, cylinder or polyhedron, and
// the placement that goes with it.
#include <string>

#include "host/node.h"
#include "host/trimesh.h"
#include "io/sdl_writer.h"
#include "volumes/volume_settings.h"

namespace volumes {

/// The frames of one volume at the static time.
struct VolumeFrames {
    host::Matrix3 local;   ///< L: the node against its bone parent, both without scale
    host::Matrix3 offset;  ///< O: the object against the node without scale (the node's scale and object offset)
    host::Matrix3 raise;   ///< K: up by the z centre of the mesh's box, system units
    host::Point3 size;     ///< the size of the mesh's object-space box, metres
};

/// The frames of node, whose object became mesh, against bone_parent (null:
/// the world).
VolumeFrames VolumeFramesOf(const VolumeSettings& settings, host::Node& node, host::Node* bone_parent,
                            const host::TriMesh& mesh);

/// Writes the shape block of a volume whose object has class_id and became
/// mesh, and returns its placement. A polyhedron is followed by its
/// convexity check; one of more than kEvlmMaxVertices vertices is refused
/// with a message naming the volume (name) and gets no shape block.
host::Matrix3 WriteVolumeShape(const VolumeSettings& settings, host::Node& node, const std::string& name,
                               host::ClassId class_id, const host::TriMesh& mesh, const VolumeFrames& frames,
                               xIo::xSdl::eWriter& model_writer);

}  // namespace volumes
