#pragma once
// The Skin modifier of a node: bones and per-vertex weights.
namespace host {

class Node;

class Skin {
public:
    virtual ~Skin() = default;

    /// True when the modifier deforms the mesh.
    virtual bool IsEnabled() const = 0;
    /// Switches the modifier off or on; while a hold is open the change is
    /// undone by its cancel.
    virtual void SetEnabled(bool enabled) = 0;

    virtual int NumBones() const = 0;
    /// Bone i (0..NumBones−1); a scene node owned by the host.
    virtual Node* GetBone(int i) const = 0;

    /// The number of vertices the skin has weights for.
    virtual int NumVertices() const = 0;
    /// The number of bones assigned to vertex (0 for a vertex out of range).
    virtual int NumAssignedBones(int vertex) const = 0;
    /// The bone index (into GetBone) of the k-th assignment of vertex.
    virtual int GetAssignedBone(int vertex, int k) const = 0;
    /// The weight of the k-th assignment of vertex.
    virtual float GetBoneWeight(int vertex, int k) const = 0;
};

}  // namespace host
