#pragma once
// A triangle mesh as the host hands it out: vertices, faces with smoothing
// groups, flags and material ids, map channels, an optional normal
// specification and the render normals built from smoothing groups.
#include <cstdint>
#include <vector>

#include "host/math_box.h"

namespace host {

// Face flag bits.
enum : uint32_t {
    kFaceHidden = 0x8,      ///< the face is hidden
    kFaceMatIdShift = 16,   ///< the material id sits in the high 16 bits
};

struct Face {
    uint32_t v[3] = {0, 0, 0};  ///< vertex indices
    uint32_t smGroup = 0;       ///< smoothing group bits
    uint32_t flags = 0;         ///< kFaceHidden and the material id

    uint16_t MaterialId() const { return static_cast<uint16_t>(flags >> kFaceMatIdShift); }
    void SetMaterialId(uint16_t id) { flags = (flags & 0xFFFFu) | (uint32_t(id) << kFaceMatIdShift); }
    bool Hidden() const { return (flags & kFaceHidden) != 0; }
};

/// A face of a map channel: three map vertex indices.
struct MapFace {
    uint32_t t[3] = {0, 0, 0};
};

// Map channel numbers.
constexpr int kMapAlpha = -2;     ///< vertex alpha, in the first component
constexpr int kMapColor = 0;      ///< vertex colour r, g, b
constexpr int kMapMaxChannel = 99;  ///< texture coordinate channels are 1..99

/// A render normal with the smoothing group it belongs to.
struct RenderNormal {
    Point3 normal;
    uint32_t smGroup = 0;
};

/// The render normals of one vertex: one per smoothing group that meets
/// there, or the one normal specified for the vertex.
struct RenderVertex {
    bool specified = false;            ///< normals[0] is a normal specified for the vertex
    std::vector<RenderNormal> normals;
};

/// The explicit normals of a mesh.
class NormalSpec {
public:
    virtual ~NormalSpec() = default;
    virtual int NumNormals() const = 0;
    /// Normal i (0..NumNormals−1).
    virtual Point3 Normal(int i) const = 0;
    /// True when normal i was set explicitly rather than computed.
    virtual bool IsExplicit(int i) const = 0;
    /// The normal index of corner (0..2) of face, or −1 for none.
    virtual int FaceNormalIndex(int face, int corner) const = 0;
    /// The normal of corner of face; the zero vector when it has none.
    virtual Point3 GetNormal(int face, int corner) const = 0;
};

class TriMesh {
public:
    virtual ~TriMesh() = default;

    virtual int NumVerts() const = 0;
    /// Vertex i (0..NumVerts−1).
    virtual Point3 GetVert(int i) const = 0;
    virtual int NumFaces() const = 0;
    /// Face i (0..NumFaces−1).
    virtual const Face& GetFace(int i) const = 0;
    /// The material index of face i, as the face's material id.
    virtual int GetFaceMtlIndex(int i) const { return GetFace(i).MaterialId(); }

    /// True when the mesh carries map channel (−2, 0 or 1..99).
    virtual bool MapSupport(int channel) const = 0;
    /// The number of map vertices of channel; 0 when unsupported.
    virtual int NumMapVerts(int channel) const = 0;
    /// Map vertex i of channel (u, v, w; colour r, g, b; alpha in x).
    virtual Point3 MapVert(int channel, int i) const = 0;
    /// The map face of face in channel; its indices are as stored and may be
    /// out of range for a broken channel.
    virtual MapFace GetMapFace(int channel, int face) const = 0;

    /// The normal specification, or null when the mesh has none.
    virtual const NormalSpec* GetNormalSpec() const = 0;
    /// Builds the face and render normals; queries below build them on demand too.
    virtual void BuildNormals() = 0;
    /// The unit normal of face i (zero for a degenerate face).
    virtual Point3 FaceNormal(int i) = 0;
    /// The render normals of vertex i.
    virtual const RenderVertex& GetRenderVertex(int i) = 0;

    /// The box of all vertices.
    virtual Box3 VertexBox() const = 0;
};

}  // namespace host
