#include "volumes/volume_writer.h"

#include <memory>

#include "base/format.h"
#include "host/object.h"
#include "model/transform_writer.h"
#include "scene/messages.h"
#include "scene/node_name.h"
#include "scene/node_params.h"
#include "volumes/frames.h"
#include "volumes/messages.h"
#include "volumes/volume_shape.h"
#include "volumes/volume_tags.h"

namespace volumes {

using scene::Message;
using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;
using xIo::xSdl::newline;

void WriteVolume(const VolumeSettings& settings, host::Node& node, xIo::xSdl::eWriter& model_writer,
                 xIo::xSdl::eWriter& entity_writer) {
    const host::TimeValue t = settings.staticTime;
    const std::string name = scene::CleanNodeName(node, true);
    entity_writer << begin << name << newline;
    model_writer << begin << name << newline;

    host::Object* object = node.EvalWorldState(t);
    std::unique_ptr<host::TriMesh> mesh;
    if (object && object->CanConvertToTriMesh(t)) mesh = object->ConvertToTriMesh(t);
    // The object is the host's only until the node is evaluated again.
    const host::ClassId class_id = object ? object->ClassID() : host::ClassId();
    if (!mesh) {
        settings.report.Error(format(Message(msg::kCannotTriangulate)) % name);
        entity_writer << endl;
        model_writer << endl;
        return;
    }

    host::Node* bone_parent = BoneParent(node);
    const VolumeFrames frames = VolumeFramesOf(settings, node, bone_parent, *mesh);
    const host::Matrix3 placement =
        WriteVolumeShape(settings, node, name, class_id, *mesh, frames, model_writer);
    WriteVolumeTags(settings.report, node, true, entity_writer);
    model_writer << begin << Ident{"bone"} << (bone_parent ? scene::CleanNodeName(*bone_parent, true) : std::string())
                 << endl;

    if (!model::IsOrthonormal(placement, model::kOrthoTolerance))
        settings.report.ErrorUnowned(format(Message(msg::kNotOrthogonal)) % name);
    if (node.GetNodeTM(t).Parity()) settings.report.ErrorUnowned(format(Message(msg::kMirrored)) % name);
    model::WriteTransform(model_writer, placement, settings.masterScale);

    entity_writer << endl;
    model_writer << endl;
}

}  // namespace volumes
