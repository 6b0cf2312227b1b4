#include "geometry/mesh_writer.h"

#include <algorithm>
#include <cassert>
#include <tuple>

#include "base/format.h"
#include "geometry/mesh_building.h"
#include "geometry/mesh_record.h"
#include "geometry/messages.h"
#include "geometry/triangle_strips.h"
#include "host/object.h"
#include "scene/messages.h"
#include "scene/node_name.h"
#include "scene/node_params.h"

namespace geometry {

using scene::Message;
using scene::StepResult;

namespace {

constexpr uint32_t kOptimiserCacheSize = 24;
// Submesh sections store triangle numbers in 16 bits.
constexpr uint32_t kMaxSectionNumber = 0xFFFF;

// A group of the bone on its way to a submesh section.
struct Submesh {
    const GroupTriangles* triangles;
    const SubmeshGroup* group;
    const MaterialTraits* material;
    std::vector<uint16_t> optimised;
    uint32_t format = 0;
};

// The first node under the scene root (depth first, in child order) whose
// Mesh property names node exactly.
host::Node* FindMeshUser(host::Node& root, const std::string& name) {
    std::vector<host::Node*> stack{&root};
    while (!stack.empty()) {
        host::Node* n = stack.back();
        stack.pop_back();
        if (std::optional<std::string> mesh = scene::Property(*n, "Mesh"); mesh && *mesh == name) return n;
        for (int i = n->NumberOfChildren() - 1; i >= 0; --i)
            if (host::Node* child = n->GetChildNode(i)) stack.push_back(child);
    }
    return nullptr;
}

void WarnMirroredSharedMesh(const MeshSettings& s, host::Node& node) {
    host::Node* user = FindMeshUser(*s.app.GetRootNode(), node.GetName());
    if (user == nullptr) return;
    const host::Matrix3 relative = user->GetNodeTM(s.staticTime) * host::Inverse(node.GetNodeTM(s.staticTime));
    if (relative.Parity()) s.report.Warning(format(Message(msg::kMirroredSharedMesh)) % node.GetName());
}

// The bone's groups in the order of their material references (byte order),
// groups of one reference in map order: by material, then partition.
std::vector<Submesh> OrderedSubmeshes(ModelMeshes& meshes, const BuiltMesh& built) {
    std::vector<Submesh> submeshes;
    for (const GroupTriangles& triangles : built.groups) {
        const SubmeshGroup& group = meshes.GroupAt(triangles.group);
        submeshes.push_back({&triangles, &group, &meshes.Material(group.material), {}, 0});
    }
    std::sort(submeshes.begin(), submeshes.end(), [](const Submesh& a, const Submesh& b) {
        return std::tie(a.material->reference, a.group->material, a.group->partition) <
               std::tie(b.material->reference, b.group->material, b.group->partition);
    });
    return submeshes;
}

void WriteAnimatedTexture(host::Node& node, xIo::xSdl::eWriter& w) {
    std::optional<std::string> value = scene::Property(node, "AniTex");
    if (!value) return;
    using xIo::xSdl::begin;
    using xIo::xSdl::endl;
    using xIo::xSdl::Ident;
    const std::string name = value->substr(0, value->find(','));
    w << begin << Ident{"animation"} << begin << Ident{"texture"} << begin << Ident{"name"} << name << endl;
    w << begin << Ident{"texture"};
    w << endl << endl << endl;
}

// Renumbers the optimised lists' vertices in order of first use: the remap
// table (new index to welded index), which orders the record's vertices,
// and each section's triangle and vertex ranges.
void Renumber(std::vector<Submesh>& submeshes, uint32_t welded_count, MeshRecord& record, std::vector<uint16_t>& remap) {
    std::vector<PrimitiveGroup> groups;
    for (Submesh& s : submeshes) groups.push_back({PrimitiveType::List, std::move(s.optimised)});
    std::vector<PrimitiveGroup> renumbered;
    // Every index names a welded vertex, so renumbering cannot fail.
    [[maybe_unused]] const bool renumbered_all =
        RenumberVertices(groups, welded_count, renumbered, &remap);
    assert(renumbered_all);
    uint32_t triangle = 0;
    for (size_t g = 0; g < renumbered.size(); ++g) {
        SubmeshSection& section = record.submeshes[g];
        const std::vector<uint16_t>& indices = renumbered[g].indices;
        uint32_t lowest = 0xFFFF, highest = 0;
        for (uint16_t index : indices) {
            lowest = std::min<uint32_t>(lowest, index);
            highest = std::max<uint32_t>(highest, index);
        }
        section.firstTriangle = triangle;
        section.triangleCount = static_cast<uint32_t>(indices.size() / 3);
        section.firstVertex = indices.empty() ? 0 : lowest;
        section.vertexCount = indices.empty() ? 0 : highest - lowest + 1;
        triangle += section.triangleCount;
        record.indices.insert(record.indices.end(), indices.begin(), indices.end());
    }
    record.order = remap;
}

}  // namespace

bool OptimiseTriangles(const std::vector<uint16_t>& triangles, std::vector<uint16_t>& optimised) {
    // Options of our own rather than the module's, which the writer leaves alone.
    StripOptions options;
    options.lists_only = true;
    options.cache_size = kOptimiserCacheSize;
    std::vector<PrimitiveGroup> groups;
    if (!GenerateStrips(triangles, options, groups, true)) return false;
    // Lists only: one list group, or none when no triangle is left.
    optimised.clear();
    for (const PrimitiveGroup& group : groups) optimised.insert(optimised.end(), group.indices.begin(), group.indices.end());
    return true;
}

StepResult WriteBoneMesh(const MeshSettings& settings, ModelMeshes& meshes, int32_t bone_index,
                         const MeshTarget& target, TriangleOptimiser optimise) {
    BoneMesh* bone = meshes.Bone(bone_index);
    if (bone == nullptr || !bone->HasFaces()) return StepResult::Skipped("the mesh has no polygon");
    host::Node& node = target.node;

    settings.app.GetProgress().SetTitle(Message(msg::kPreparingMesh));
    BuiltMesh built = BuildMesh(settings, meshes, *bone);
    if (built.overVertexLimit) {
        settings.report.Error(format(Message(msg::kTooManyVertices)) % node.GetName());
        return StepResult::Failed("the mesh has 65535 vertices or more");
    }

    MeshRecord record;
    uint32_t mesh_format = built.format;
    if (built.allWhite) {
        // Opaque white everywhere: the engine's default, so no colour field.
        mesh_format &= ~kFormatColour;
        for (MeshVertex& v : built.vertices) v.format &= ~kFormatColour;
    }
    record.vertexSize = VertexSize(mesh_format);
    if (bone->vertexAnimated) {
        bone->frameVertices.assign(1, {bone->frames.front().frame, built.vertices});
        for (size_t k = 1; k < bone->frames.size(); ++k)
            bone->frameVertices.push_back({bone->frames[k].frame, BuildFrameVertices(meshes, *bone, bone->frames[k],
                                                                                     built.vertices, built.vertexCorner)});
    }
    for (const MeshVertex& v : built.vertices) record.bounds += v.position;

    WarnMirroredSharedMesh(settings, node);

    record.skinned = bone->skinned;
    if (bone->skinned)
        for (host::Node* skin_bone : bone->skinBones)
            record.skinBones.push_back(skin_bone ? scene::CleanNodeName(*skin_bone, true) : std::string());

    std::vector<Submesh> submeshes = OrderedSubmeshes(meshes, built);
    bool degenerate = false;
    std::vector<Submesh> written;
    for (Submesh& s : submeshes) {
        const std::vector<uint32_t>& indices = s.triangles->indices;
        std::vector<uint16_t> triangles(indices.begin(), indices.end());
        if (!optimise(triangles, s.optimised)) {
            settings.report.Error(Message(msg::kOptimiserFailed), Message(msg::kOptimiserFailedCaption));
            continue;
        }
        if (s.optimised.size() < triangles.size()) degenerate = true;
        s.format = indices.empty() ? mesh_format : built.vertices[indices.front()].format;

        SubmeshSection section;
        section.format = s.format & 0xFFFF;
        if (s.material->twoSided) section.flags |= kSubmeshTwoSided;
        if (bone->skinned) {
            section.flags |= kSubmeshSkinned;
            section.palette = bone->palettes[size_t(s.group->partition)];
        }
        section.material = target.texturePrefix.empty() ? s.material->reference : target.texturePrefix + s.material->reference;
        record.submeshes.push_back(std::move(section));
        written.push_back(std::move(s));
    }
    if (degenerate) settings.report.Warning(format(Message(msg::kDegenerateTriangles)) % node.GetName());

    std::vector<uint16_t> remap;
    Renumber(written, static_cast<uint32_t>(built.vertices.size()), record, remap);
    record.vertices = std::move(built.vertices);
    for (const SubmeshSection& section : record.submeshes) {
        if (section.firstTriangle > kMaxSectionNumber || section.triangleCount > kMaxSectionNumber) {
            settings.report.Error(format(Message(msg::kTooManyTriangles)) % node.GetName());
            return StepResult::Failed("a submesh lies past triangle 65535 or holds more than 65535 triangles");
        }
    }

    const size_t record_size = MeshRecordSize(record);
    WriteAnimatedTexture(node, target.modelWriter);
    WriteMeshRecord(record, target.collector.AddRecord(target.name, record_size));

    bone->vertexCount = static_cast<uint32_t>(record.VertexCount());
    bone->vertexSize = record.vertexSize;
    bone->allWhite = built.allWhite;
    bone->remap = std::move(remap);
    if (bone->frames.size() > 1) bone->vertexCorner = std::move(built.vertexCorner);
    if (target.writtenOnce) {
        // Nothing reads the faces again (the frames of vertex animation are
        // built already): a model's meshes need not all be held at once.
        bone->frames = {};
        bone->faces = {};
        bone->influences = {};
        bone->facePartition = {};
    }
    return StepResult::Done();
}

}  // namespace geometry
