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
    const std::string& text = node.GetUserPropBuffer();
    if (HasPropertyKey(text, "Volume") || HasPropertyKey(text, "Component")) return NodeKind::Volume;
    if (HasPropertyKey(text, "SupportPoint")) return NodeKind::SupportPoint;
    if (HasPropertyKey(text, "Obstacle") || HasPropertyKey(text, "Area")) return NodeKind::Area;
    if (HasPropertyKey(text, "Body")) return NodeKind::Body;
    if (HasPropertyKey(text, "Preview")) return NodeKind::Preview;
    if (host::Object* object = node.EvalWorldState(0)) {
        if (object->SuperClassID() == host::kLightClass) return NodeKind::Light;
        if (object->SuperClassID() == host::kCameraClass) return NodeKind::Camera;
        if (object->ClassID() == host::kTargetClassId) return NodeKind::Target;
    }
    return NodeKind::Bone;
}

std::string CleanNodeName(const host::Node& node, bool strip_suffix) { return CleanName(node.GetName(), strip_suffix); }

int LodIndex(const host::Node& node) { return LodIndexOfName(node.GetName()); }

host::Node* NearestNonGroupMember(host::Node* node, bool include_self) {
    host::Node* n = include_self ? node : (node ? node->GetParentNode() : nullptr);
    while (n != nullptr && n->IsGroupMember()) n = n->GetParentNode();
    return n;
}

}  // namespace scene
