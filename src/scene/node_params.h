#pragma once
// Questions every part of the exporter asks about a node: its properties,
// its kind, its output name and its level of detail.
#include <optional>
#include <string>

#include "host/node.h"

namespace scene {

/// The kind of a node, decided by its properties and its object.
enum class NodeKind : int {
    Bone = 0,
    Volume = 1,
    SupportPoint = 2,
    Area = 3,
    Body = 4,
    Preview = 5,
    Camera = 6,
    Light = 7,
    Target = 8,
};

/// True when the node carries key (an entry with exactly this key, any case).
bool HasProperty(const host::Node& node, const char* key);
/// The value of the node's first entry with key, or nullopt.
std::optional<std::string> Property(const host::Node& node, const char* key);
/// The node's normalised property line; with reserved, reserved keys are left out.
std::string PropertyString(const host::Node& node, bool reserved);

/// The first matching rule: Volume/Component, SupportPoint, Obstacle/Area,
/// Body, Preview, then the object evaluated at time 0: light, camera, target.
NodeKind NodeKindOf(host::Node& node);

/// The node's name as it is written out (see CleanName).
std::string CleanNodeName(const host::Node& node, bool strip_suffix);
/// The number after "_lod" in the cleaned name; 0 without one.
int LodIndex(const host::Node& node);

/// True when a property value may be written as bare identifiers: it holds
/// none of the characters that would end or open a token of its own.
bool IsSafeBareValue(const std::string& value);

/// The nearest ancestor of node (or node itself when include_self) that is
/// not a group member; null when there is none.
host::Node* NearestNonGroupMember(host::Node* node, bool include_self);

}  // namespace scene
