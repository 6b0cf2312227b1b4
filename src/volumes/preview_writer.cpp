#include "volumes/preview_writer.h"

#include <string>

#include "base/format.h"
#include "host/object.h"
#include "scene/messages.h"
#include "volumes/camera_writer.h"
#include "volumes/light_writer.h"
#include "volumes/messages.h"

namespace volumes {

using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;
using xIo::xSdl::newline;

namespace {

// The object at time 0 of a group member of that super class, or null.
host::Object* MemberObject(host::Node& child, host::SuperClassId super_class) {
    if (!child.IsGroupMember()) return nullptr;
    host::Object* object = child.EvalWorldState(0);
    return object && object->SuperClassID() == super_class ? object : nullptr;
}

void WriteGroupCamera(const VolumeSettings& settings, host::Node& group, xIo::xSdl::eWriter& w) {
    bool written = false;
    for (int i = 0; i < group.NumberOfChildren(); ++i) {
        host::Node* child = group.GetChildNode(i);
        host::Object* camera = child ? MemberObject(*child, host::kCameraClass) : nullptr;
        if (camera == nullptr) continue;
        if (written) {
            settings.report.Error(format(scene::Message(msg::kOneCamera)) % group.GetName());
            continue;
        }
        w << begin << Ident{"camera"} << newline;
        WriteCamera(settings, *child, *camera, w);
        w << endl;
        written = true;
    }
}

void WriteGroupLights(const VolumeSettings& settings, host::Node& group, const host::Color& ambient,
                      xIo::xSdl::eWriter& w) {
    int32_t number = 0;
    bool first_directional = true;
    for (int i = 0; i < group.NumberOfChildren(); ++i) {
        host::Node* child = group.GetChildNode(i);
        host::Object* light = child ? MemberObject(*child, host::kLightClass) : nullptr;
        if (light == nullptr) continue;
        if (number == 0) w << begin << Ident{"lights"} << newline;
        w << begin << std::to_string(number++) << newline;
        WriteLight(settings, *child, *light, first_directional, ambient, w);
        w << endl;
    }
    if (number > 0) w << endl;
}

}  // namespace

void WritePreview(const VolumeSettings& settings, const std::vector<host::Node*>& previews, const host::Color& ambient,
                  xIo::xSdl::eWriter& w) {
    w << begin << "preview" << newline;
    for (host::Node* group : previews) {
        if (!group->IsGroupHead()) {
            settings.report.Error(format(scene::Message(msg::kPreviewNotGroup)) % group->GetName());
            continue;
        }
        w << begin << group->GetName() << newline;
        WriteGroupCamera(settings, *group, w);
        WriteGroupLights(settings, *group, ambient, w);
        w << endl;
    }
    w << endl;
}

}  // namespace volumes
