#include "geometry/mesh_building.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <memory>
#include <optional>

#include "geometry/skin_partition.h"
#include "geometry/tangents.h"
#include "geometry/vertex_welder.h"

namespace geometry {

namespace {

// Texture scale of an edge: metres per unit of u (or v), ignored across
// less than this much of the texture and capped.
constexpr float kMinUvSpan = 0.01f;
constexpr float kMaxTextureScale = 256.0f;

uint32_t FaceFormat(const MaterialTraits& traits, const BoneMesh& record) {
    uint32_t format = kFormatPosition | kFormatNormal | kFormatColour | (std::min(traits.uvSets, 2u) << kFormatUvShift);
    if (traits.bump != 0.0f) format |= kFormatTangent;
    if (record.skinned) format |= (record.bonesPerVertex - 1) << kFormatWeightShift;
    return format;
}

void UpdateTextureScale(SubmeshGroup& group, const FrameGeometry& frame, const CornerData* corners) {
    float scale[2] = {0.0f, 0.0f};
    for (int e = 0; e < 3; ++e) {
        const CornerData& a = corners[e];
        const CornerData& b = corners[(e + 1) % 3];
        const float length = (frame.positions[a.position] - frame.positions[b.position]).Length();
        const float span[2] = {std::fabs(a.uv0.x - b.uv0.x), std::fabs(a.uv0.y - b.uv0.y)};
        for (int k = 0; k < 2; ++k)
            if (span[k] >= kMinUvSpan) scale[k] = std::max(scale[k], std::min(length / span[k], kMaxTextureScale));
    }
    for (int k = 0; k < 2; ++k)
        if (scale[k] >= 1.0f) group.textureScale[k] = (group.textureScale[k] + scale[k]) * 0.5f;
}

// The vertex the last corner at each mesh vertex welded to, by everything
// that made it: a corner agreeing in all of that makes the same vertex, so
// it welds to the same one without building and welding it again. Corners
// of a mesh vertex mostly agree (they differ only across seams and
// creases), so most corners are answered here.
class CornerCache {
public:
    struct Key {
        CornerData corner;
        host::Point2 uv1;
        uint32_t material = 0;
        int32_t partition = 0;
        uint32_t smoothing = 0;
        bool operator==(const Key& other) const { return std::memcmp(this, &other, sizeof(Key)) == 0; }
    };
    static_assert(std::is_trivially_copyable_v<Key> && sizeof(Key) == 48, "Key is compared as its bytes: no padding");

    explicit CornerCache(size_t position_count) : slots_(position_count) {}

    /// The vertex of a corner with key, or kNone.
    uint32_t Find(const Key& key) const {
        const Slot& slot = slots_[key.corner.position];
        return slot.vertex != kNone && slot.key == key ? slot.vertex : kNone;
    }
    void Remember(const Key& key, uint32_t vertex) { slots_[key.corner.position] = {key, vertex}; }

    static constexpr uint32_t kNone = 0xFFFFFFFFu;

private:
    struct Slot {
        Key key;
        uint32_t vertex = kNone;
    };
    std::vector<Slot> slots_;
};

// The host progress bar over the faces of one mesh: a whole percent at a
// time, asking for cancel with each.
class FaceProgress {
public:
    FaceProgress(host::Progress& progress, size_t face_count)
        : progress_(progress), step_(face_count ? 100.0 / double(face_count) : 0.0) {}
    /// Counts one face; false when the artist cancelled.
    bool Advance() {
        done_ += step_;
        const int percent = static_cast<int>(done_);
        if (percent <= shown_) return true;
        shown_ = percent;
        progress_.Update(std::min(percent, 100));
        return !progress_.GetCancel();
    }

private:
    host::Progress& progress_;
    double step_;
    double done_ = 0.0;
    int shown_ = 0;
};

// The fields of a vertex that come from its corner in one frame: position,
// normal, colour, texture sets and tangent. The others (group, smoothing,
// format, skin) come from the corner's face and are the same in every frame.
void TakeCornerFields(MeshVertex& v, const FrameGeometry& frame, size_t face, int k, const MaterialTraits& traits,
                      const CornerTangents* tangents) {
    const size_t corner_index = 3 * face + size_t(k);
    const CornerData& corner = frame.corners[corner_index];
    v.position = frame.positions[corner.position];
    v.normal = corner.normal;
    v.colour = corner.colour;
    v.uv[0] = corner.uv0;
    if (traits.uvSets == 2 && corner_index < frame.uv1.size()) v.uv[1] = frame.uv1[corner_index];
    if (traits.bump != 0.0f) v.tangent = tangents->At(face, k, corner.normal);
}

std::optional<CornerTangents> TangentsIfBumped(const ModelMeshes& meshes, const BoneMesh& record,
                                               const FrameGeometry& frame) {
    std::optional<CornerTangents> tangents;
    for (const ExtractedFace& face : record.faces)
        if (meshes.Material(face.material).bump != 0.0f) {
            tangents.emplace(record, frame);
            break;
        }
    return tangents;
}

}  // namespace

BuiltMesh BuildMesh(const MeshSettings& settings, ModelMeshes& meshes, BoneMesh& record) {
    BuiltMesh built;
    if (record.frames.empty()) return built;
    const FrameGeometry& frame = record.frames.front();
    const size_t face_count = record.faces.size();

    std::vector<std::array<uint8_t, 256>> palette_positions;
    if (record.skinned) {
        PartitionSkin(record);
        palette_positions = PalettePositions(record);
    }
    std::optional<CornerTangents> tangents = TangentsIfBumped(meshes, record, frame);

    // Where each of the model's groups sits in built.groups.
    std::vector<int32_t> slot_of_group;
    // A closed mesh has about half as many vertices as faces; the tables grow past it.
    VertexWelder welder(std::min<size_t>(face_count, kVertexLimit));
    CornerCache cache(frame.positions.size());
    FaceProgress progress(settings.app.GetProgress(), face_count);
    uint32_t largest_size = 0;
    for (size_t f = 0; f < face_count; ++f) {
        const ExtractedFace& face = record.faces[f];
        const MaterialTraits& traits = meshes.Material(face.material);
        const uint32_t format = FaceFormat(traits, record);
        if (VertexSize(format) > largest_size) {
            largest_size = VertexSize(format);
            built.format = format;
        }
        const int32_t partition = record.skinned ? record.facePartition[f] : 0;
        SubmeshGroup& group = meshes.Group(face.material, partition);
        if (size_t(group.index) >= slot_of_group.size()) slot_of_group.resize(size_t(group.index) + 1, -1);
        int32_t& slot = slot_of_group[size_t(group.index)];
        if (slot < 0) {
            slot = static_cast<int32_t>(built.groups.size());
            built.groups.push_back({group.index, {}});
        }
        std::vector<uint32_t>& triangles = built.groups[size_t(slot)].indices;
        const CornerData* corners = &frame.corners[3 * f];
        UpdateTextureScale(group, frame, corners);

        // A bump-mapped face without smoothing group has tangents of its own.
        const bool cached = traits.bump == 0.0f || face.smoothing != 0;
        for (int k = 0; k < 3; ++k) {
            const size_t corner_index = 3 * f + size_t(k);
            const CornerData& corner = corners[k];
            CornerCache::Key key;
            if (cached) {
                key.corner = corner;
                if (traits.uvSets == 2 && corner_index < frame.uv1.size()) key.uv1 = frame.uv1[corner_index];
                key.material = face.material;
                key.partition = partition;
                key.smoothing = face.smoothing;
                if (const uint32_t vertex = cache.Find(key); vertex != CornerCache::kNone) {
                    triangles.push_back(vertex);
                    continue;
                }
            }
            MeshVertex v;
            TakeCornerFields(v, frame, f, k, traits, tangents ? &*tangents : nullptr);
            v.group = group.index;
            v.smoothing = face.smoothing;
            v.format = format;
            if (record.skinned) {
                const SkinInfluence& influence = record.influences[corner.position];
                const std::array<uint8_t, 256>& positions = palette_positions[size_t(partition)];
                for (int i = 0; i < 3; ++i) v.boneIndices[i] = positions[influence.bones[i]];
                v.weights[0] = influence.weights[0];
                v.weights[1] = influence.weights[1];
            }
            if (v.colour != kOpaqueWhite) built.allWhite = false;
            const size_t before = welder.Count();
            const uint32_t vertex = welder.Add(v);
            triangles.push_back(vertex);
            if (welder.Count() != before) built.vertexCorner.push_back(static_cast<uint32_t>(corner_index));
            if (cached) cache.Remember(key, vertex);
        }
        if (welder.Count() >= kVertexLimit) {
            built.overVertexLimit = true;
            break;
        }
        if (!progress.Advance()) {
            built.cancelled = true;
            break;
        }
    }
    built.vertices = welder.TakeVertices();
    return built;
}

std::vector<MeshVertex> BuildFrameVertices(const ModelMeshes& meshes, const BoneMesh& record, const FrameGeometry& frame,
                                           const std::vector<MeshVertex>& static_vertices,
                                           const std::vector<uint32_t>& vertex_corner) {
    const FrameGeometry& first = record.frames.front();
    if (frame.corners.size() != first.corners.size() || frame.positions.size() != first.positions.size() ||
        frame.uv1.size() != first.uv1.size() || vertex_corner.size() != static_vertices.size())
        return {};
    for (const CornerData& corner : frame.corners)
        if (corner.position >= frame.positions.size()) return {};
    std::optional<CornerTangents> tangents = TangentsIfBumped(meshes, record, frame);
    std::vector<MeshVertex> vertices = static_vertices;
    for (size_t i = 0; i < vertices.size(); ++i) {
        const size_t face = vertex_corner[i] / 3;
        const MaterialTraits& traits = meshes.Material(record.faces[face].material);
        TakeCornerFields(vertices[i], frame, face, int(vertex_corner[i] % 3), traits, tangents ? &*tangents : nullptr);
    }
    return vertices;
}

}  // namespace geometry
