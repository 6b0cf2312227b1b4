#include "model/bone_writer.h"

#include <cmath>
#include <optional>

#include "base/format.h"
#include "host/class_id.h"
#include "host/object.h"
#include "model/ik_joint.h"
#include "model/messages.h"
#include "model/transform_writer.h"
#include "scene/messages.h"
#include "scene/node_name.h"
#include "scene/node_params.h"
#include "scene/paths.h"
#include "scene/properties.h"

namespace model {

using scene::Message;
using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;
using xIo::xSdl::newline;

namespace {

constexpr float kOrthoTolerance = 0.00001f;

bool IsOrthonormal(const host::Matrix3& m) {
    for (int i = 0; i < 3; ++i)
        if (std::fabs(m.GetRow(i).Length() - 1.0f) > kOrthoTolerance) return false;
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            if (std::fabs(host::DotProd(m.GetRow(i), m.GetRow(j))) > kOrthoTolerance) return false;
    return true;
}

// Pre-order walk in child order that skips group members and their subtrees.
template <class F>
void WalkOutsideGroups(host::Node& node, F&& visit) {
    if (node.IsGroupMember()) return;
    visit(node);
    for (int i = 0; i < node.NumberOfChildren(); ++i)
        if (host::Node* child = node.GetChildNode(i)) WalkOutsideGroups(*child, visit);
}

// The node whose mesh this node shows: a named Mesh node, or the first of
// the nodes sharing this node's object (which may be the node itself).
// Returns false after reporting a named node that does not exist.
bool FindMeshSource(scene::ExportContext& ctx, host::Node& node, host::Node*& source) {
    source = nullptr;
    std::optional<std::string> named = scene::Property(node, "Mesh");
    if (named && !named->empty()) {
        source = ctx.app.GetNodeByName(*named);
        if (source == nullptr) {
            ctx.report.Error(format(Message(msg::kMeshBoneNotFound)) % *named);
            return false;
        }
        return true;
    }
    host::Object* own = node.EvalWorldState(0);
    if (own == nullptr) return true;
    host::Node* search_root = ctx.structureRoot ? ctx.structureRoot : ctx.currentRoot;
    host::Node* first = nullptr;
    int sharing = 0;
    WalkOutsideGroups(*search_root, [&](host::Node& n) {
        if (n.EvalWorldState(0) != own) return;
        if (first == nullptr) first = &n;
        ++sharing;
    });
    node.EvalWorldState(ctx.staticTime);
    if (sharing >= 2) source = first;
    return true;
}

// Writes "{key value}" for a property written as bare identifiers, after
// refusing values that would break the file.
bool SafeBareValue(scene::ExportContext& ctx, host::Node& node, const char* key, const std::string& value) {
    if (scene::IsSafeBareValue(value)) return true;
    ctx.report.Error(format(Message(msg::kUnsafeValue)) % value % key % node.GetName());
    return false;
}

void WriteHeader(scene::ExportContext& ctx, host::Node& node, IkType& ik_type) {
    xIo::xSdl::eWriter& w = ctx.modelWriter;
    w << begin << Ident{"bone"};
    ik_type = WriteIkTypeWord(w, node, ctx.options.exportIK != 0, ctx.report);
    w << scene::CleanNodeName(node, true) << newline;
    std::string params = scene::PropertyString(node, true);
    if (!params.empty()) {
        for (char& c : params)
            if (c == ',') c = '.';
        w << begin << Ident{"parameters"} << params << endl;
    }
    if (std::optional<std::string> color = scene::Property(node, "Color")) {
        if (color->empty()) w << begin << Ident{"color"} << endl;
        else if (SafeBareValue(ctx, node, "Color", *color)) w << begin << Ident{"color"} << Ident{color->c_str()} << endl;
    }
}

void NoteNodeKind(scene::ExportContext& ctx, host::Node& node, scene::NodeKind kind) {
    scene::ModelRoot& model = ctx.CurrentModel();
    switch (kind) {
        case scene::NodeKind::Volume:
            model.volumes.push_back(&node);
            if (scene::HasProperty(node, "Obstacle")) model.areas.push_back(&node);
            break;
        case scene::NodeKind::SupportPoint: {
            host::Node* anchor = scene::NearestNonGroupMember(&node, false);
            if (anchor == nullptr) break;
            host::Point3 p = node.GetNodeTM(ctx.staticTime).GetTrans() *
                             host::Inverse(host::NoScale(anchor->GetNodeTM(ctx.staticTime)));
            auto it = ctx.supportPoints.begin();
            while (it != ctx.supportPoints.end() && it->first != anchor) ++it;
            if (it == ctx.supportPoints.end()) it = ctx.supportPoints.insert(it, {anchor, {}});
            it->second.push_back(p);
            break;
        }
        case scene::NodeKind::Area: model.areas.push_back(&node); break;
        case scene::NodeKind::Body: model.bodies.push_back(&node); break;
        case scene::NodeKind::Preview: model.previews.push_back(&node); break;
        default: break;
    }
}

void WriteViewPoly(scene::ExportContext& ctx, host::Node& node, const scene::BoneRecord& record, bool has_source,
                   bool has_lods, bool last_off, uint32_t flags) {
    xIo::xSdl::eWriter& w = ctx.modelWriter;
    std::string path = has_source ? scene::JoinPath(ctx.texturePrefix, record.meshName) : record.meshName;
    w << begin << Ident{"view"} << Ident{"poly"} << path;
    if (has_lods || last_off || (flags & kWriteLod)) {
        w << begin << Ident{"lod"} << static_cast<int32_t>(scene::LodIndex(node));
        if (flags & kLastLod) w << begin << Ident{"last"} << xIo::xSdl::end;
        w << xIo::xSdl::end;
    }
    struct Flag {
        const char* key;
        const char* word;
        bool zero;
    };
    static const Flag kFlags[] = {
        {"Ground", "ground", false},          {"DecalTarget", "decal_target", false},
        {"NoGroupMesh", "no_group_mesh", false}, {"NoCastShadows", "shadow_caster", true},
        {"NoGetShadows", "shadow_receiver", true},
    };
    for (const Flag& f : kFlags) {
        if (!scene::HasProperty(node, f.key)) continue;
        w << begin << Ident{f.word};
        if (f.zero) w << int32_t{0};
        w << xIo::xSdl::end;
    }
    if (std::optional<std::string> layer = scene::Property(node, "Layer")) {
        if (SafeBareValue(ctx, node, "Layer", *layer)) {
            w << newline << begin << Ident{"layer"};
            if (!layer->empty()) w << Ident{layer->c_str()};
            w << xIo::xSdl::end;
        }
    }
    if (!record.polyMesh) {
        w << newline << begin << Ident{"pivot"};
        const host::Point3& p = record.bounds.pmin;
        w << RoundTo4Decimals(p.x) << Ident{"\t"} << RoundTo4Decimals(p.y) << Ident{"\t"} << RoundTo4Decimals(p.z);
        w << xIo::xSdl::end;
    }
    w << endl;
}

void WriteHoldEntries(scene::ExportContext& ctx, host::Node& root) {
    xIo::xSdl::eWriter& w = ctx.entityWriter;
    bool opened = false;
    for (const scene::PropertyEntry& e : scene::ParseProperties(root.GetUserPropBuffer())) {
        if (!scene::EqualsNoCase(e.key, "hold") || e.value.empty()) continue;
        if (!opened) w << begin << Ident{"structure_bone"} << newline;
        opened = true;
        w << begin << Ident{"hold"};
        size_t start = 0;
        while (start < e.value.size()) {
            size_t end = e.value.find(' ', start);
            if (end == std::string::npos) end = e.value.size();
            if (end > start) w << e.value.substr(start, end - start);
            start = end + 1;
        }
        w << endl;
    }
    if (opened) w << endl;
}

}  // namespace

int WriteBone(scene::ExportContext& ctx, host::Node& node, host::Node* common_mesh_owner, uint32_t flags) {
    if (ctx.app.GetProgress().GetCancel()) return 0;
    const host::TimeValue t = ctx.staticTime;

    // Bone index: a group member uses the one of its nearest ancestor outside groups.
    host::Node* indexed = scene::NearestNonGroupMember(&node, true);
    int32_t bone_index = indexed ? scene::AttachedBoneIndex(*indexed) : -1;
    scene::NodeKind kind = scene::NodeKindOf(node);
    bool is_bone = scene::IsBoneCandidate(node, t) && kind == scene::NodeKind::Bone;
    int lod_index = scene::LodIndex(node);

    host::Node* owner = node.IsGroupMember() ? common_mesh_owner : nullptr;
    host::Node* source = nullptr;
    scene::BoneRecord* record = nullptr;
    bool owns_mesh = false;
    bool poly_mesh = false;
    bool wrote_header = false;
    IkType ik_type = IkType::None;
    host::Matrix3 placement;

    if (is_bone) {
        if (node.IsNodeHidden()) return 1;
        if (lod_index != 0 && !(flags & kWriteLod)) return 1;

        if (!FindMeshSource(ctx, node, source)) return 0;

        record = ctx.Bone(bone_index);
        bool has_common_mesh = scene::HasProperty(node, "CommonMesh");
        if (has_common_mesh) {
            owner = &node;
            std::string target_name = scene::Property(node, "CommonMesh").value_or("");
            if (!target_name.empty()) {
                host::Node* target = ctx.app.GetNodeByName(target_name);
                if (target == nullptr) {
                    ctx.report.Error(format(Message(msg::kMeshBoneNotFound)) % target_name);
                    return 0;
                }
                int32_t target_index = scene::AttachedBoneIndex(*target);
                if (target_index < 0) {
                    ctx.report.Error(format(Message(msg::kMeshBoneOutsideHierarchy)) % target_name);
                    return 0;
                }
                record = ctx.Bone(target_index);
            } else if (record) {
                record->animationSlots = ctx.frameCount > 0 ? ctx.frameCount : 1;
            }
        } else if (record) {
            record->animationSlots = 1;
        }

        // Local transform without scale, against the nearest ancestor outside groups.
        host::Node* parent = scene::NearestNonGroupMember(&node, false);
        host::Matrix3 parent_tm = parent ? host::NoScale(parent->GetNodeTM(t)) : host::Matrix3();
        host::Matrix3 local = host::NoScale(node.GetNodeTM(t)) * host::Inverse(parent_tm);
        if (!IsOrthonormal(local))
            ctx.report.ErrorUnowned(format(Message(msg::kNotOrthogonal)) % scene::CleanNodeName(node, true));
        placement = local;
        if (flags & kModelRoot) {
            host::Matrix3 scale;
            scale.SetScale(host::Point3(local.GetRow(0).Length(), local.GetRow(1).Length(), local.GetRow(2).Length()));
            placement = scale * ctx.axisFix;
        }

        host::Node& mesh_node = source ? *source : node;
        host::Object* object = node.EvalWorldState(t);
        bool is_shape = object && object->SuperClassID() == host::kShapeClass;
        bool skinned = false;
        for (int i = 0; i < node.NumModifiers(); ++i)
            if (node.GetModifierClassId(i) == host::kSkinClassId) skinned = true;
        poly_mesh = has_common_mesh || (skinned && !scene::HasProperty(node, "NoSkin")) ||
                    scene::HasProperty(mesh_node, "Poly");
        if (record) {
            record->node = &node;
            record->hasCommonMesh = has_common_mesh;
            record->polyMesh = poly_mesh;
            record->meshName = scene::CleanNodeName(mesh_node, true);
            record->meshDir = source ? ctx.commonDir : ctx.resourceDir;
        }
        int voxels = 0;
        node.GetUserPropInt("Voxels", voxels);
        owns_mesh = node.Renderable() && (voxels != 0 || poly_mesh) && (!ctx.exportSelected || node.Selected()) &&
                    !is_shape;

        if (lod_index == 0) {
            WriteHeader(ctx, node, ik_type);
            wrote_header = true;
        }
    }

    if (ctx.boneCount > 0 && bone_index >= 0) ctx.app.GetProgress().Update(bone_index * 100 / ctx.boneCount);

    node.EvalWorldState(0);
    if (scene::HasProperty(node, "Land")) ctx.landPatch = true;
    NoteNodeKind(ctx, node, kind);
    // Mesh frames and animation samples of the node are taken here once the
    // mesh extraction and animation sampling exist.

    std::vector<host::Node*> lods = scene::CollectLodBones(node);
    bool last_off = lod_index == 0 && scene::HasProperty(node, "LODLastOff");

    if (is_bone && !node.IsGroupMember()) {
        xIo::xSdl::eWriter& w = ctx.modelWriter;
        if (lod_index == 0) {
            if (ctx.options.exportIK) WriteIkLimits(w, node, ik_type);
            WriteTransform(w, placement, ctx.masterScale);
            if (node.GetVisibility(t) < 0.5f) w << begin << Ident{"visibility"} << int32_t{0} << endl;
        }
        if (record) {
            record->bounds = host::Box3(host::Point3(0, 0, 0), host::Point3(0, 0, 0));
            if (source) {
                if (host::Object* source_object = source->EvalWorldState(t))
                    record->bounds.pmin = source_object->GetBoundingBox(t).pmin * ctx.masterScale;
            }
            if (owns_mesh) WriteViewPoly(ctx, node, *record, source != nullptr, !lods.empty(), last_off, flags);
        }
    }

    for (size_t k = 0; k < lods.size(); ++k) {
        bool last = k + 1 == lods.size() && !last_off;
        WriteBone(ctx, *lods[k], nullptr, last ? (kWriteLod | kLastLod) : kWriteLod);
    }

    bool skip_children = node.IsGroupMember() && source != nullptr && source != &node;
    for (int i = 0; !skip_children && i < node.NumberOfChildren(); ++i) {
        host::Node* child = node.GetChildNode(i);
        if (child == nullptr) continue;
        if (ctx.boneTree.structureFlag && !child->IsGroupMember() && scene::HasProperty(*child, "Model")) {
            std::string model = scene::CleanName(scene::Property(*child, "Model").value_or(""), false);
            ctx.entityWriter << begin << Ident{"place"} << scene::CleanNodeName(node, false) << scene::NamePart(model)
                             << endl;
            continue;
        }
        bool stop = false;
        if (node.IsGroupMember() && !child->IsGroupMember()) {
            ctx.report.Error(format(Message(msg::kOutsideGroup)) % child->GetName());
            stop = true;
        } else {
            stop = WriteBone(ctx, *child, owner, 0) == 0;
        }
        if (stop) {
            // The walk ends here, but the blocks already open are closed, so
            // the file the engine reads stays well formed.
            if (wrote_header) ctx.modelWriter << endl;
            return 0;
        }
    }

    if (owns_mesh && (source == nullptr || source == &node)) {
        // Polygon meshes are extracted and written here once the mesh writer
        // exists; it also reports a polygon bone without polygons.
        if (!poly_mesh) ctx.report.Error(format(Message(msg::kVoxelsUnsupported)) % node.GetName());
    }

    if (wrote_header) ctx.modelWriter << endl;
    if (flags & kModelRoot) WriteHoldEntries(ctx, node);
    return 1;
}

}  // namespace model
