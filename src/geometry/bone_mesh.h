#pragma once
// The extraction record of one bone: what the first stage copies out of the
// host meshes of the nodes that join the bone, what the mesh writer reads,
// and what it leaves for the animation file (vertex count, size, remap).
#include <cstdint>
#include <vector>

#include "geometry/mesh_vertex.h"
#include "host/math_point.h"
#include "host/node.h"

namespace geometry {

/// One face corner of one frame.
struct CornerData {
    uint32_t position = 0;      ///< index into the frame's positions
    host::Point3 normal;        ///< unit normal in the bone's space
    host::Point2 uv0;           ///< texture set 0 as stored: (u, 1 − v)
    uint32_t colour = 0xFFFFFFFFu;  ///< clamped colour bytes: alpha 24-31, red, green, blue
};

/// The geometry of one exported frame.
struct FrameGeometry {
    int32_t frame = 0;                      ///< frame number; entry 0 of a record is the static frame
    std::vector<host::Point3> positions;    ///< metres, in the bone's space
    std::vector<CornerData> corners;        ///< three per face, in winding order
    /// Texture set 1 per corner; empty while no face has a second set.
    std::vector<host::Point2> uv1;
};

/// The vertices of one frame of a record, in welded order.
struct FrameVertices {
    int32_t frame = 0;                 ///< the frame's number (FrameGeometry::frame)
    std::vector<MeshVertex> vertices;  ///< empty for a frame that does not match the static one (BuildFrameVertices)
};

struct ExtractedFace {
    uint32_t smoothing = 0;  ///< smoothing group bits
    uint32_t material = 0;   ///< the face material's number in the model (ModelMeshes::Material)
};

/// The influences of one vertex: bone bytes are positions in the record's
/// skin bone list + 1, 0 for an empty slot; weights sum to 1.
struct SkinInfluence {
    uint8_t bones[3] = {0, 0, 0};
    float weights[3] = {1.0f, 0.0f, 0.0f};
};

/// The bones of one skin partition: bone bytes in ascending order.
struct Palette {
    static constexpr uint32_t kCapacity = 25;
    uint8_t count = 0;
    uint8_t bones[kCapacity] = {};
};

struct BoneMesh {
    host::Node* node = nullptr;              ///< the bone node, whose space the positions are in
    std::vector<FrameGeometry> frames;       ///< entry 0 is the static frame
    std::vector<ExtractedFace> faces;        ///< in extraction order

    // Skin: only for a bone whose group is skinned.
    bool skinned = false;
    std::vector<host::Node*> skinBones;      ///< at most 255; a bone's number is its position + 1
    std::vector<SkinInfluence> influences;   ///< per position of frame 0
    uint32_t bonesPerVertex = 1;             ///< the most influences any vertex keeps (at least 2 once any does)
    std::vector<int32_t> facePartition;      ///< per face, after partitioning
    std::vector<Palette> palettes;           ///< per partition

    // Left by the mesh writer.
    uint32_t vertexCount = 0;                ///< vertices of the written record
    uint32_t vertexSize = 0;                 ///< bytes per packed vertex of the record
    bool allWhite = true;                    ///< every vertex colour was opaque white
    std::vector<uint16_t> remap;             ///< per written vertex: its index among the welded vertices
    /// Per welded vertex: the corner it was made from, so later frames can be
    /// built in the same order; kept only for a record with several frames.
    std::vector<uint32_t> vertexCorner;
    /// Set by whoever adds frames of vertex animation to the record: the mesh
    /// writer then builds frameVertices.
    bool vertexAnimated = false;
    /// For a vertex-animated record: per frame, its vertices in welded order,
    /// entry 0 the static frame's. The animation file takes them.
    std::vector<FrameVertices> frameVertices;

    bool HasFaces() const { return !faces.empty(); }
};

}  // namespace geometry
