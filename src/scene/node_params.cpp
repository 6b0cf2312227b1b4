#include "scene/node_params.h"

#include "host/class_id.h"
#include "host/object.h"
#include "scene/node_name.h"
#include "scene/properties.h"

namespace scene {

bool HasProperty(const host::Node& node, const char* key) { return HasPropertyKey(node.GetUserPropBuffer(), key); }

std::optional<std::string> Property(const host::Node& node, const char* key) {
    return PropertyValue(node.GetUserPropBuffer(), key);
}

std::string PropertyString(const host::Node& node, bool reserved) {
    return RebuildPropertyLine(node.GetUserPropBuffer(), reserved);
}

NodeKind NodeKindOf(host::Node& node) {
    uint32_t keys = PropertyKeyMask(node.GetUserPropBuffer(),
                                    {"Volume", "Component", "SupportPoint", "Obstacle", "Area", "Body", "Preview"});
    if (keys & 0x3) return NodeKind::Volume;
    if (keys & 0x4) return NodeKind::SupportPoint;
    if (keys & 0x18) return NodeKind::Area;
    if (keys & 0x20) return NodeKind::Body;
    if (keys & 0x40) return NodeKind::Preview;
    if (host::Object* object = node.EvalWorldState(0)) {
        if (object->SuperClassID() == host::kLightClass) return NodeKind::Light;
        if (object->SuperClassID() == host::kCameraClass) return NodeKind::Camera;
        if (object->ClassID() == host::kTargetClassId) return NodeKind::Target;
    }
    return NodeKind::Bone;
}

std::string CleanNodeName(const host::Node& node, bool strip_suffix) { return CleanName(node.GetName(), strip_suffix); }

int LodIndex(const host::Node& node) { return LodIndexOfName(node.GetName()); }

bool IsSafeBareValue(const std::string& value) { return value.find_first_of("{}\"()") == std::string::npos; }

host::Node* NearestNonGroupMember(host::Node* node, bool include_self) {
    host::Node* n = include_self ? node : (node ? node->GetParentNode() : nullptr);
    while (n != nullptr && n->IsGroupMember()) n = n->GetParentNode();
    return n;
}

}  // namespace scene
