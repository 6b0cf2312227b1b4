#include "geometry/mesh_extraction.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "base/format.h"
#include "geometry/corner_normals.h"
#include "geometry/default_material.h"
#include "geometry/messages.h"
#include "geometry/skin_reading.h"
#include "geometry/texture_coords.h"
#include "host/material.h"
#include "host/object.h"
#include "scene/messages.h"
#include "scene/node_params.h"

namespace geometry {

using scene::Message;

namespace {

// How mesh space maps into the bone's space. The bone is placed without
// its scale, so the mesh keeps the scale of the bone's transform.
struct NodeSpace {
    host::Matrix3 points;   // mesh space to bone space
    host::Matrix3 normals;  // the inverse of that, transposed
    float metres = 1.0f;    // system units to metres
    bool mirrored = false;  // the object transform is left-handed
};

NodeSpace SpaceOf(const MeshSettings& s, host::Node& node, host::Node& bone, host::TimeValue t) {
    NodeSpace space;
    const host::Matrix3 object_tm = node.GetObjectTM(t);
    space.points = object_tm * host::Inverse(host::NoScale(bone.GetNodeTM(t)));
    space.normals = host::Transpose(host::Inverse(space.points));
    space.metres = s.masterScale;
    space.mirrored = object_tm.Parity();
    return space;
}

bool AlphaChannelBroken(const host::TriMesh& mesh) {
    if (!mesh.MapSupport(host::kMapAlpha)) return false;
    const int count = mesh.NumMapVerts(host::kMapAlpha);
    if (count <= 0) return false;
    for (int f = 0; f < mesh.NumFaces(); ++f) {
        const host::MapFace face = mesh.GetMapFace(host::kMapAlpha, f);
        for (uint32_t t : face.t)
            if (t >= static_cast<uint32_t>(count)) return true;
    }
    return false;
}

uint32_t ColourByte(float value) {
    return static_cast<uint32_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

// The face materials of one node: a multi-material resolved by face
// material id, each material numbered in the model (and checked for world
// mapping the first time the model meets it), with its texture sets
// resolved against this node's mesh.
class NodeMaterials {
public:
    NodeMaterials(const MeshSettings& settings, ModelMeshes& meshes, host::Node& node, const host::TriMesh& mesh)
        : settings_(settings), meshes_(meshes), mesh_(mesh), box_(mesh.VertexBox()), material_(node.GetMtl()) {
        if (material_ != nullptr && material_->IsMultiMtl()) slots_.assign(static_cast<size_t>(std::max(material_->NumSubMtls(), 0)), kUnset);
    }

    uint32_t ForFace(const host::Face& face) {
        if (material_ == nullptr || !material_->IsMultiMtl()) {
            if (single_ == kUnset) single_ = Number(material_);
            return single_;
        }
        if (slots_.empty()) {
            if (single_ == kUnset) single_ = Number(nullptr);
            return single_;
        }
        const size_t slot = face.MaterialId() % slots_.size();
        if (slots_[slot] == kUnset) slots_[slot] = Number(material_->GetSubMtl(static_cast<int>(slot)));
        return slots_[slot];
    }

    const CornerUvSource& Uv(uint32_t material, int set) {
        if (material >= uv_.size()) uv_.resize(material + 1);
        Resolved& r = uv_[material];
        if (!r.ready) {
            const MaterialTraits& traits = meshes_.Material(material);
            for (int k = 0; k < 2; ++k) r.sets[k] = CornerUvSource(traits.sets[k], mesh_, box_);
            r.ready = true;
        }
        return r.sets[set];
    }

private:
    static constexpr uint32_t kUnset = 0xFFFFFFFFu;
    struct Resolved {
        bool ready = false;
        CornerUvSource sets[2];
    };

    uint32_t Number(host::Material* material) {
        host::Material& m = material ? *material : DefaultMaterial();
        bool added = false;
        uint32_t number = meshes_.MaterialNumber(m, added);
        if (added)
            for (const host::Texture* texture : WorldMappedTextures(m))
                settings_.report.Warning(format(Message(msg::kWorldMapping)) % texture->GetName());
        return number;
    }

    const MeshSettings& settings_;
    ModelMeshes& meshes_;
    const host::TriMesh& mesh_;
    host::Box3 box_;
    host::Material* material_;
    uint32_t single_ = kUnset;
    std::vector<uint32_t> slots_;
    std::vector<Resolved> uv_;
};

// Appends the node's vertex influences to a skinned record; a node without
// a skin of its own binds every vertex to no bone.
void AppendInfluences(BoneMesh& record, const host::Skin* skin, int32_t bone_base, int vertex_count) {
    record.influences.reserve(record.influences.size() + static_cast<size_t>(vertex_count));
    for (int v = 0; v < vertex_count; ++v)
        record.influences.push_back(skin ? ReadInfluence(*skin, v, bone_base, record.bonesPerVertex) : SkinInfluence());
}

// Appends the node's corners to frame, and its faces to the record when
// add_faces is set (the static frame; later frames share its faces).
void AppendFaces(const MeshSettings& settings, ModelMeshes& meshes, BoneMesh& record, FrameGeometry& frame,
                 host::Node& node, host::TriMesh& mesh, const NodeSpace& space, uint32_t offset, bool add_faces) {
    NodeMaterials materials(settings, meshes, node, mesh);
    const host::NormalSpec* spec = mesh.GetNormalSpec();
    const int vertex_count = mesh.NumVerts();
    const bool has_colour = mesh.MapSupport(host::kMapColor);
    const bool has_alpha = mesh.MapSupport(host::kMapAlpha) && mesh.NumMapVerts(host::kMapAlpha) > 0;
    // Mirrored nodes take their corners backwards, so the winding stays outward.
    const int order[2][3] = {{0, 1, 2}, {2, 1, 0}};
    const int* corners = order[space.mirrored ? 1 : 0];

    const int face_count = mesh.NumFaces();
    if (add_faces) record.faces.reserve(record.faces.size() + static_cast<size_t>(face_count));
    frame.corners.reserve(frame.corners.size() + 3 * static_cast<size_t>(face_count));
    for (int f = 0; f < face_count; ++f) {
        const host::Face& face = mesh.GetFace(f);
        if (face.Hidden()) continue;
        if (face.v[0] >= uint32_t(vertex_count) || face.v[1] >= uint32_t(vertex_count) || face.v[2] >= uint32_t(vertex_count))
            continue;
        const uint32_t material = materials.ForFace(face);
        const MaterialTraits& traits = meshes.Material(material);
        const host::MapFace colour_face = has_colour ? mesh.GetMapFace(host::kMapColor, f) : host::MapFace();
        const host::MapFace alpha_face = has_alpha ? mesh.GetMapFace(host::kMapAlpha, f) : host::MapFace();
        host::Point2 uv0[3], uv1[3];
        materials.Uv(material, 0).Face(mesh, f, face, uv0);
        const bool second_set = traits.uvSets == 2;
        if (second_set) materials.Uv(material, 1).Face(mesh, f, face, uv1);

        if (add_faces) record.faces.push_back({face.smGroup, material});
        for (int k = 0; k < 3; ++k) {
            const int c = corners[k];
            const uint32_t vertex = face.v[c];
            CornerData corner;
            corner.position = offset + vertex;
            corner.normal = host::Normalize(CornerNormal(mesh, spec, f, c) * space.normals);
            corner.uv0 = uv0[c];
            host::Point3 rgb = has_colour ? mesh.MapVert(host::kMapColor, int(colour_face.t[c])) : host::Point3(1, 1, 1);
            float alpha = has_alpha ? mesh.MapVert(host::kMapAlpha, int(alpha_face.t[c])).x : 1.0f;
            alpha *= 1.0f - traits.transparency;
            corner.colour = ColourByte(alpha) << 24 | ColourByte(rgb.x) << 16 | ColourByte(rgb.y) << 8 | ColourByte(rgb.z);
            frame.corners.push_back(corner);
            if (second_set) {
                frame.uv1.resize(frame.corners.size());
                frame.uv1.back() = uv1[c];
            }
        }
    }
}


// The node's mesh at t, with its normals built; null when it has none.
std::unique_ptr<host::TriMesh> MeshAt(host::Node& node, host::TimeValue t) {
    host::Object* object = node.EvalWorldState(t);
    if (object == nullptr || !object->CanConvertToTriMesh(t)) return nullptr;
    std::unique_ptr<host::TriMesh> mesh = object->ConvertToTriMesh(t);
    if (mesh != nullptr) mesh->BuildNormals();
    return mesh;
}

// Appends the mesh's positions, in metres in the bone's space, to frame;
// returns the index of the first.
uint32_t AppendPositions(FrameGeometry& frame, const host::TriMesh& mesh, const NodeSpace& space) {
    const auto offset = static_cast<uint32_t>(frame.positions.size());
    const int vertex_count = mesh.NumVerts();
    frame.positions.reserve(frame.positions.size() + static_cast<size_t>(vertex_count));
    for (int v = 0; v < vertex_count; ++v) frame.positions.push_back((mesh.GetVert(v) * space.points) * space.metres);
    return offset;
}

}  // namespace

bool ExtractNodeFrames(const MeshSettings& settings, ModelMeshes& meshes, host::Node& node, host::Node& bone,
                       int32_t bone_index) {
    BoneMesh* record = meshes.Bone(bone_index);
    if (record == nullptr) return false;
    if (record->node == nullptr) {
        record->node = &bone;
        record->skinned = CountedSkin(bone) != nullptr;
    }

    host::Skin* skin = CountedSkin(node);
    if (skin != nullptr && !record->skinned) {
        settings.report.Error(Message(msg::kSkinInUnskinnedGroup));
        return false;
    }
    // The bind pose: the skin is switched off while the mesh is read (the
    // export's hold switches it back), unless the artist asks for the pose
    // the skin gives at the static frame.
    if (skin != nullptr && !scene::HasProperty(node, "OldSkin")) skin->SetEnabled(false);

    std::unique_ptr<host::TriMesh> mesh = MeshAt(node, settings.staticTime);
    if (mesh == nullptr) return false;

    if (AlphaChannelBroken(*mesh)) {
        settings.report.Error(format(Message(msg::kBrokenVertexAlpha)) % node.GetName());
        return false;
    }

    int32_t bone_base = 0;
    if (skin != nullptr) {
        bone_base = AppendSkinBones(*record, *skin);
        if (bone_base < 0) {
            settings.report.Error(format(Message(msg::kTooManySkinBones)) % node.GetName());
            skin->SetEnabled(true);
            return false;
        }
    }

    if (record->frames.empty()) {
        record->frames.emplace_back();
        record->frames.front().frame = settings.staticTime / std::max(settings.app.GetTicksPerFrame(), 1);
    }
    FrameGeometry& frame = record->frames.front();
    const NodeSpace space = SpaceOf(settings, node, bone, settings.staticTime);
    const uint32_t offset = AppendPositions(frame, *mesh, space);
    if (record->skinned) AppendInfluences(*record, skin, bone_base, mesh->NumVerts());

    AppendFaces(settings, meshes, *record, frame, node, *mesh, space, offset, true);
    return true;
}

void ExtractNodeFrameAt(const MeshSettings& settings, ModelMeshes& meshes, host::Node& node, host::Node& bone,
                        int32_t bone_index, int32_t frame_number, host::TimeValue t) {
    BoneMesh* record = meshes.Bone(bone_index);
    if (record == nullptr || record->frames.empty()) return;
    std::unique_ptr<host::TriMesh> mesh = MeshAt(node, t);
    if (mesh == nullptr || AlphaChannelBroken(*mesh)) return;

    auto found = std::find_if(record->frames.begin() + 1, record->frames.end(),
                              [frame_number](const FrameGeometry& f) { return f.frame == frame_number; });
    if (found == record->frames.end()) {
        record->frames.emplace_back();
        record->frames.back().frame = frame_number;
        found = record->frames.end() - 1;
    }
    FrameGeometry& frame = *found;
    const NodeSpace space = SpaceOf(settings, node, bone, t);
    const uint32_t offset = AppendPositions(frame, *mesh, space);
    AppendFaces(settings, meshes, *record, frame, node, *mesh, space, offset, false);
}

bool MeshBounds(const ModelMeshes& meshes, int32_t bone_index, host::Box3& box) {
    const BoneMesh* record = meshes.Bone(bone_index);
    if (record == nullptr || record->frames.empty() || record->frames.front().positions.empty()) return false;
    const std::vector<host::Point3>& positions = record->frames.front().positions;
    box.Init();
    box.IncludePoints(positions.data(), positions.size());
    return true;
}

}  // namespace geometry
