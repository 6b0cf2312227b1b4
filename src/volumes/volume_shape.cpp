#include "volumes/volume_shape.h"

#include "base/format.h"
#include "host/class_id.h"
#include "scene/messages.h"
#include "volumes/convexity.h"
#include "volumes/evlm_image.h"
#include "volumes/messages.h"

namespace volumes {

using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;

VolumeFrames VolumeFramesOf(const VolumeSettings& settings, host::Node& node, host::Node* bone_parent,
                            const host::TriMesh& mesh) {
    const host::TimeValue t = settings.staticTime;
    const host::Matrix3 node_tm = host::NoScale(node.GetNodeTM(t));
    const host::Matrix3 parent_tm = bone_parent ? host::NoScale(bone_parent->GetNodeTM(t)) : host::Matrix3();
    VolumeFrames frames;
    frames.local = node_tm * host::Inverse(parent_tm);
    frames.offset = node.GetObjectTM(t) * host::Inverse(node_tm);
    const host::Box3 box = mesh.VertexBox();
    const host::Point3 box_min = box.pmin * settings.masterScale;
    frames.size = box.pmax * settings.masterScale - box_min;
    const float z_centre = (box_min.z + frames.size.z * 0.5f) / settings.masterScale;
    frames.raise = host::Matrix3::Translation(host::Point3(0, 0, z_centre));
    return frames;
}

namespace {

// The polyhedron block, then the convexity check; refused over the index range.
void WritePolyhedron(const VolumeSettings& settings, host::Node& node, const std::string& name,
                     const host::TriMesh& mesh, const VolumeFrames& frames, xIo::xSdl::eWriter& w) {
    if (static_cast<uint32_t>(mesh.NumVerts()) > kEvlmMaxVertices) {
        settings.report.Error(format(scene::Message(msg::kTooManyVertices)) % name);
        return;
    }
    const std::string hex = HexText(BuildEvlmImage(mesh, frames.offset, settings.masterScale));
    w << begin << Ident{"polyhedron"} << hex << endl;
    if (!IsConvex(mesh)) settings.report.Error(format(scene::Message(msg::kNotConvex)) % node.GetName());
}

}  // namespace

host::Matrix3 WriteVolumeShape(const VolumeSettings& settings, host::Node& node, const std::string& name,
                               host::ClassId class_id, const host::TriMesh& mesh, const VolumeFrames& frames,
                               xIo::xSdl::eWriter& w) {
    const host::Point3& size = frames.size;
    // The primitives' pivots sit at the centre of the base (box, cylinder)
    // or the centre (sphere); the raise moves a base pivot to the middle.
    if (class_id == host::kBoxClassId) {
        w << begin << Ident{"box"} << size.x << size.y << size.z << endl;
        return frames.raise * frames.offset * frames.local;
    }
    if (class_id == host::kSphereClassId) {
        w << begin << Ident{"sphere"} << size.x * 0.5f << endl;
        return frames.offset * frames.local;
    }
    if (class_id == host::kCylinderClassId) {
        w << begin << Ident{"cylinder"} << size.x * 0.5f << size.z << endl;
        return frames.raise * frames.offset * frames.local;
    }
    WritePolyhedron(settings, node, name, mesh, frames, w);
    return frames.local;
}

}  // namespace volumes
