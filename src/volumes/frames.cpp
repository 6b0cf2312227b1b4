#include "volumes/frames.h"

#include "model/transform_writer.h"
#include "scene/node_params.h"

namespace volumes {

host::Matrix3 WorldToModel(const VolumeSettings& settings, host::TimeValue t) {
    const host::Matrix3 root = settings.modelRoot ? host::NoScale(settings.modelRoot->GetNodeTM(t)) : host::Matrix3();
    return host::Inverse(root) * settings.axisFix;
}

host::Node* BoneParent(host::Node& node) { return scene::NearestNonGroupMember(&node, false); }

void WriteTripleBlock(xIo::xSdl::eWriter& writer, const char* name, const host::Point3& p) {
    writer << xIo::xSdl::begin << xIo::xSdl::Ident{name};
    model::WriteRoundedTriple(writer, p);
    writer << xIo::xSdl::endl;
}

}  // namespace volumes
