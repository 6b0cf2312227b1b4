#pragma once
// A scene node: name, hierarchy, flags, user properties, transforms over
// time, material, evaluated object, modifiers and the render data a caller
// attaches. Nodes are owned by the host; pointers to them stay valid for the
// life of the scene.
#include <memory>
#include <string>

#include "host/math_matrix.h"
#include "host/reference.h"

namespace host {

class Material;
class Object;
class Skin;

/// A record a caller attaches to a node; the node owns it.
class RenderData {
public:
    virtual ~RenderData() = default;
};

/// The node's own joint settings for inverse kinematics.
struct JointFlags {
    bool revolute = false;
    bool sliding = false;
    bool chainEnd = false;
};

class Node : public ReferenceTarget {
public:
    SuperClassId SuperClassID() const override { return kNodeClass; }

    /// The node name, code page 1251.
    virtual const std::string& GetName() const = 0;
    /// The parent; null for the scene root.
    virtual Node* GetParentNode() const = 0;
    virtual bool IsRootNode() const = 0;
    virtual int NumberOfChildren() const = 0;
    /// Child i in child order; null when i is out of range.
    virtual Node* GetChildNode(int i) const = 0;

    virtual bool IsNodeHidden() const = 0;
    virtual bool Renderable() const = 0;
    virtual bool Selected() const = 0;
    virtual bool IsGroupHead() const = 0;
    virtual bool IsGroupMember() const = 0;

    /// The raw user property text, lines ended by "\r\n".
    virtual const std::string& GetUserPropBuffer() const = 0;
    /// The value of key by the host's rules (see user_props.h); false when absent.
    virtual bool GetUserPropString(const std::string& key, std::string& value) const = 0;
    /// The integer value of key by the host's rules; false when absent.
    virtual bool GetUserPropInt(const std::string& key, int& value) const = 0;

    /// The node's world transform at t.
    virtual Matrix3 GetNodeTM(TimeValue t) const = 0;
    /// The object's world transform at t: the object offset, then the node transform.
    virtual Matrix3 GetObjectTM(TimeValue t) const = 0;
    /// The visibility at t (1 visible, 0 invisible, values between fade).
    virtual float GetVisibility(TimeValue t) const = 0;

    /// The node's material, or null.
    virtual Material* GetMtl() const = 0;
    /// The base object the node refers to (the same pointer for instances), or
    /// null for a node without object.
    virtual Object* GetObjectRef() const = 0;
    /// The object after the node's modifiers at t, owned by the host and valid
    /// until the next evaluation of this node; null for a node without object.
    virtual Object* EvalWorldState(TimeValue t) = 0;

    /// The number of modifiers on the node's object.
    virtual int NumModifiers() const = 0;
    /// The class of modifier i.
    virtual ClassId GetModifierClassId(int i) const = 0;
    /// The Skin modifier, or null when the node has none.
    virtual Skin* GetSkin() const = 0;

    virtual JointFlags GetJointFlags() const = 0;
    /// The look-at target of a camera or light node, or null.
    virtual Node* GetTarget() const = 0;

    /// Attaches data, replacing (and deleting) what was attached before.
    virtual void SetRenderData(std::unique_ptr<RenderData> data) = 0;
    /// The attached data, or null.
    virtual RenderData* GetRenderData() const = 0;
};

}  // namespace host
