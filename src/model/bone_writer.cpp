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
using scene::StepResult;
using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;
using xIo::xSdl::newline;

namespace {

// What the walk decides about a bone before it writes anything of it.
struct BonePlan {
    host::Node* source = nullptr;  // the node whose mesh the bone shows, or null
    host::Node* owner = nullptr;   // the common-mesh owner handed to the children
    int32_t recordIndex = -1;      // the record the bone's mesh data joins
    BoneRecord* record = nullptr;
    bool ownsMesh = false;
    bool polyMesh = false;
    host::Matrix3 placement;       // the transform written for the bone
};

// Pre-order walk in child order that skips group members and their subtrees.
template <class F>
void WalkOutsideGroups(host::Node& node, F&& visit) {
    if (node.IsGroupMember()) return;
    visit(node);
    for (int i = 0; i < node.NumberOfChildren(); ++i)
        if (host::Node* child = node.GetChildNode(i)) WalkOutsideGroups(*child, visit);
}

const ModelBones::SharedObjects& SharedObjectsUnder(ModelBones& model, host::Node& search_root) {
    auto found = model.sharedObjects.find(&search_root);
    if (found != model.sharedObjects.end()) return found->second;
    ModelBones::SharedObjects& objects = model.sharedObjects[&search_root];
    WalkOutsideGroups(search_root, [&](host::Node& n) {
        host::Object* object = n.EvalWorldState(0);
        auto [it, added] = objects.try_emplace(object, &n, 0);
        ++it->second.second;
    });
    return objects;
}

// The node whose mesh this node shows: a named Mesh node, or the first of
// the nodes sharing this node's object (which may be the node itself).
// Fails after reporting a named node that does not exist.
StepResult FindMeshSource(BoneWalk& walk, host::Node& node, host::Node*& source) {
    const WalkSettings& s = walk.settings;
    source = nullptr;
    std::optional<std::string> named = scene::Property(node, "Mesh");
    if (named && !named->empty()) {
        source = s.app.GetNodeByName(*named);
        if (source == nullptr) {
            s.report.Error(format(Message(msg::kMeshBoneNotFound)) % *named);
            return StepResult::Failed("a Mesh bone does not exist");
        }
        return StepResult::Done();
    }
    host::Object* own = node.EvalWorldState(0);
    if (own == nullptr) return StepResult::Done();
    host::Node* search_root = walk.model.structureRoot ? walk.model.structureRoot : walk.model.Root();
    const ModelBones::SharedObjects& objects = SharedObjectsUnder(walk.model, *search_root);
    node.EvalWorldState(s.staticTime);
    auto it = objects.find(own);
    if (it != objects.end() && it->second.second >= 2) source = it->second.first;
    return StepResult::Done();
}

// The common-mesh owner and the record the bone's mesh data joins.
StepResult DecideCommonMesh(BoneWalk& walk, host::Node& node, int32_t bone_index, BonePlan& plan) {
    const WalkSettings& s = walk.settings;
    plan.recordIndex = bone_index;
    std::optional<std::string> common = scene::Property(node, "CommonMesh");
    if (!common) {
        plan.owner = nullptr;
        if (BoneRecord* record = walk.model.Bone(bone_index)) record->animationSlots = 1;
        return StepResult::Done();
    }
    plan.owner = &node;
    if (common->empty()) {
        if (BoneRecord* record = walk.model.Bone(bone_index))
            record->animationSlots = walk.model.frameCount > 0 ? walk.model.frameCount : 1;
        return StepResult::Done();
    }
    host::Node* target = s.app.GetNodeByName(*common);
    if (target == nullptr) {
        s.report.Error(format(Message(msg::kMeshBoneNotFound)) % *common);
        return StepResult::Failed("a CommonMesh bone does not exist");
    }
    plan.recordIndex = scene::AttachedBoneIndex(*target);
    if (plan.recordIndex < 0) {
        s.report.Error(format(Message(msg::kMeshBoneOutsideHierarchy)) % *common);
        return StepResult::Failed("a CommonMesh bone is outside the model");
    }
    return StepResult::Done();
}

// The bone's transform against its nearest ancestor outside groups, checked
// for orthonormality; the root's is its scale with the axis fix.
host::Matrix3 Placement(BoneWalk& walk, host::Node& node, uint32_t flags) {
    const WalkSettings& s = walk.settings;
    host::Node* parent = scene::NearestNonGroupMember(&node, false);
    host::Matrix3 parent_tm = parent ? host::NoScale(parent->GetNodeTM(s.staticTime)) : host::Matrix3();
    host::Matrix3 local = host::NoScale(node.GetNodeTM(s.staticTime)) * host::Inverse(parent_tm);
    if (!IsOrthonormal(local, kOrthoTolerance))
        s.report.ErrorUnowned(format(Message(msg::kNotOrthogonal)) % scene::CleanNodeName(node, true));
    if (!(flags & kModelRoot)) return local;
    host::Matrix3 scale;
    scale.SetScale(host::Point3(local.GetRow(0).Length(), local.GetRow(1).Length(), local.GetRow(2).Length()));
    return scale * s.axisFix;
}

bool HasSkin(host::Node& node) {
    for (int i = 0; i < node.NumModifiers(); ++i)
        if (node.GetModifierClassId(i) == host::kSkinClassId) return true;
    return false;
}

// Mesh source, common mesh, placement, the bone record and whether the bone
// owns a mesh to write.
StepResult PlanBone(BoneWalk& walk, host::Node& node, int32_t bone_index, uint32_t flags, BonePlan& plan) {
    const WalkSettings& s = walk.settings;
    if (StepResult r = FindMeshSource(walk, node, plan.source); r.Stops()) return r;
    if (StepResult r = DecideCommonMesh(walk, node, bone_index, plan); r.Stops()) return r;
    plan.record = walk.model.Bone(plan.recordIndex);
    plan.placement = Placement(walk, node, flags);

    host::Node& mesh_node = plan.source ? *plan.source : node;
    host::Object* object = node.EvalWorldState(s.staticTime);
    bool is_shape = object && object->SuperClassID() == host::kShapeClass;
    bool has_common_mesh = plan.owner == &node;
    plan.polyMesh = has_common_mesh || (HasSkin(node) && !scene::HasProperty(node, "NoSkin")) ||
                    scene::HasProperty(mesh_node, "Poly");
    if (plan.record) {
        plan.record->node = &node;
        plan.record->hasCommonMesh = has_common_mesh;
        plan.record->polyMesh = plan.polyMesh;
        plan.record->sharedMesh = plan.source != nullptr;
        plan.record->meshName = scene::CleanNodeName(mesh_node, true);
        plan.record->meshDir = plan.source ? walk.model.commonDir : walk.model.resourceDir;
    }
    int voxels = 0;
    node.GetUserPropInt("Voxels", voxels);
    plan.ownsMesh = node.Renderable() && (voxels != 0 || plan.polyMesh) && (!s.exportSelected || node.Selected()) &&
                    !is_shape;
    if (plan.record) plan.record->ownsMesh = plan.ownsMesh;
    return StepResult::Done();
}

// Writes "{key value}" for a property written as bare identifiers, after
// refusing values that would break the file.
bool SafeBareValue(BoneWalk& walk, host::Node& node, const char* key, const std::string& value) {
    if (scene::IsSafeBareValue(value)) return true;
    walk.settings.report.Error(format(Message(msg::kUnsafeValue)) % value % key % node.GetName());
    return false;
}

void WriteHeader(BoneWalk& walk, host::Node& node, IkType& ik_type) {
    xIo::xSdl::eWriter& w = walk.modelWriter;
    w << begin << Ident{"bone"};
    ik_type = WriteIkTypeWord(w, node, walk.settings.exportIK, walk.settings.report);
    w << scene::CleanNodeName(node, true) << newline;
    std::string params = scene::PropertyString(node, true);
    if (!params.empty()) {
        for (char& c : params)
            if (c == ',') c = '.';
        w << begin << Ident{"parameters"} << params << endl;
    }
    if (std::optional<std::string> color = scene::Property(node, "Color")) {
        if (color->empty()) w << begin << Ident{"color"} << endl;
        else if (SafeBareValue(walk, node, "Color", *color)) w << begin << Ident{"color"} << Ident{color->c_str()} << endl;
    }
}

void NoteNodeKind(BoneWalk& walk, host::Node& node, scene::NodeKind kind) {
    scene::ModelRoot& lists = walk.model.lists;
    const host::TimeValue t = walk.settings.staticTime;
    switch (kind) {
        case scene::NodeKind::Volume:
            lists.volumes.push_back(&node);
            if (scene::HasProperty(node, "Obstacle")) lists.areas.push_back(&node);
            break;
        case scene::NodeKind::SupportPoint: {
            host::Node* anchor = scene::NearestNonGroupMember(&node, false);
            if (anchor == nullptr) break;
            host::Point3 p = node.GetNodeTM(t).GetTrans() * host::Inverse(host::NoScale(anchor->GetNodeTM(t)));
            SupportPoints& points = walk.model.supportPoints;
            auto it = points.begin();
            while (it != points.end() && it->first != anchor) ++it;
            if (it == points.end()) it = points.insert(it, {anchor, {}});
            it->second.push_back(p);
            break;
        }
        case scene::NodeKind::Area: lists.areas.push_back(&node); break;
        case scene::NodeKind::Body: lists.bodies.push_back(&node); break;
        case scene::NodeKind::Preview: lists.previews.push_back(&node); break;
        default: break;
    }
}

// Hands a bone-kind node whose object is a geometry or helper object to the
// mesh and animation steps, when geometry is exported at all.
void SampleNode(BoneWalk& walk, host::Node& node, host::Object* object, scene::NodeKind kind, int32_t record_index,
                host::Node* source, host::Node* owner) {
    const WalkSettings& s = walk.settings;
    if (!s.exportGeometry || kind != scene::NodeKind::Bone || object == nullptr) return;
    host::SuperClassId super = object->SuperClassID();
    if (super != host::kGeomObjectClass && super != host::kHelperClass) return;
    if (s.exportSelected && !node.Selected()) return;
    walk.steps.SampleNode(NodeStep{node, record_index, source, owner});
}

void WriteViewPoly(BoneWalk& walk, host::Node& node, const BoneRecord& record, bool has_source, bool has_lods,
                   bool last_off, uint32_t flags) {
    xIo::xSdl::eWriter& w = walk.modelWriter;
    std::string path = has_source ? scene::JoinPath(walk.model.texturePrefix, record.meshName) : record.meshName;
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
        if (SafeBareValue(walk, node, "Layer", *layer)) {
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

// The bone's box: that of its first extracted mesh; else from (0, 0, 0), with
// the minimum corner of the source object's box when the mesh comes from a
// source node.
host::Box3 BoneBounds(BoneWalk& walk, int32_t record_index, host::Node* source) {
    host::Box3 box;
    if (walk.steps.MeshBounds(record_index, box)) return box;
    box = host::Box3(host::Point3(0, 0, 0), host::Point3(0, 0, 0));
    if (source) {
        const WalkSettings& s = walk.settings;
        if (host::Object* source_object = source->EvalWorldState(s.staticTime))
            box.pmin = source_object->GetBoundingBox(s.staticTime).pmin * s.masterScale;
    }
    return box;
}

// IK limits, placement, visibility, bounds and the mesh view of a bone
// outside groups.
void WriteBoneBody(BoneWalk& walk, host::Node& node, const BonePlan& plan, IkType ik_type, bool has_lods,
                   bool last_off, uint32_t flags) {
    const WalkSettings& s = walk.settings;
    xIo::xSdl::eWriter& w = walk.modelWriter;
    if (scene::LodIndex(node) == 0) {
        if (s.exportIK) WriteIkLimits(w, node, ik_type);
        WriteTransform(w, plan.placement, s.masterScale);
        if (node.GetVisibility(s.staticTime) < 0.5f) w << begin << Ident{"visibility"} << int32_t{0} << endl;
    }
    if (plan.record == nullptr) return;
    plan.record->bounds = BoneBounds(walk, plan.recordIndex, plan.source);
    if (plan.ownsMesh) WriteViewPoly(walk, node, *plan.record, plan.source != nullptr, has_lods, last_off, flags);
}

// A structure's nested model becomes a "place" entry instead of bones.
bool IsNestedModel(BoneWalk& walk, host::Node& child) {
    return walk.model.structure && !child.IsGroupMember() && scene::HasProperty(child, "Model");
}

StepResult WriteChildren(BoneWalk& walk, host::Node& node, host::Node* owner) {
    for (int i = 0; i < node.NumberOfChildren(); ++i) {
        host::Node* child = node.GetChildNode(i);
        if (child == nullptr) continue;
        if (IsNestedModel(walk, *child)) {
            std::string model = scene::CleanName(scene::Property(*child, "Model").value_or(""), false);
            walk.entityWriter << begin << Ident{"place"} << scene::CleanNodeName(node, false) << scene::NamePart(model)
                              << endl;
            continue;
        }
        if (node.IsGroupMember() && !child->IsGroupMember()) {
            walk.settings.report.Error(format(Message(msg::kOutsideGroup)) % child->GetName());
            return StepResult::Failed("a bone outside a group is linked into the group");
        }
        if (StepResult r = WriteBone(walk, *child, owner, 0); r.Stops()) return r;
    }
    return StepResult::Done();
}

// The mesh of a bone that owns one and is its own source; only a cancel
// stops the walk.
StepResult WriteOwnMesh(BoneWalk& walk, host::Node& node, const BonePlan& plan) {
    if (!plan.polyMesh) {
        walk.settings.report.Error(format(Message(msg::kVoxelsUnsupported)) % node.GetName());
        return StepResult::Done();
    }
    // Without a record there is nothing to keep the mesh under.
    if (plan.record == nullptr) return StepResult::Done();
    StepResult r = walk.steps.WriteMesh(plan.recordIndex, *plan.record);
    if (r.IsSkipped()) walk.settings.report.Error(format(Message(msg::kPolyWithoutPolygons)) % node.GetName());
    return r.IsCancelled() ? r : StepResult::Done();
}

void WriteHoldEntries(BoneWalk& walk, host::Node& root) {
    xIo::xSdl::eWriter& w = walk.entityWriter;
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

StepResult WriteBone(BoneWalk& walk, host::Node& node, host::Node* common_mesh_owner, uint32_t flags) {
    const WalkSettings& s = walk.settings;
    if (s.app.GetProgress().GetCancel()) return StepResult::Cancelled();

    // Bone index: a group member uses the one of its nearest ancestor outside groups.
    host::Node* indexed = scene::NearestNonGroupMember(&node, true);
    int32_t bone_index = indexed ? scene::AttachedBoneIndex(*indexed) : -1;
    scene::NodeKind kind = scene::NodeKindOf(node);
    bool is_bone = scene::IsBoneCandidate(node, s.staticTime) && kind == scene::NodeKind::Bone;
    int lod_index = scene::LodIndex(node);

    BonePlan plan;
    plan.owner = node.IsGroupMember() ? common_mesh_owner : nullptr;
    plan.recordIndex = bone_index;
    bool wrote_header = false;
    IkType ik_type = IkType::None;

    if (is_bone) {
        if (node.IsNodeHidden()) return StepResult::Done();
        if (lod_index != 0 && !(flags & kWriteLod)) return StepResult::Done();
        if (StepResult r = PlanBone(walk, node, bone_index, flags, plan); r.Stops()) return r;
        if (lod_index == 0) {
            WriteHeader(walk, node, ik_type);
            wrote_header = true;
        }
    }

    int32_t bone_count = walk.model.BoneCount();
    if (bone_count > 0 && bone_index >= 0) s.app.GetProgress().Update(bone_index * 100 / bone_count);

    host::Object* object = node.EvalWorldState(0);
    if (scene::HasProperty(node, "Land")) walk.model.landPatch = true;
    NoteNodeKind(walk, node, kind);
    SampleNode(walk, node, object, kind, plan.recordIndex, plan.source, plan.owner);

    std::vector<host::Node*> lods = walk.lodSiblings.Of(node);
    bool last_off = lod_index == 0 && scene::HasProperty(node, "LODLastOff");

    if (is_bone && !node.IsGroupMember()) WriteBoneBody(walk, node, plan, ik_type, !lods.empty(), last_off, flags);

    for (size_t k = 0; k < lods.size(); ++k) {
        bool last = k + 1 == lods.size() && !last_off;
        WriteBone(walk, *lods[k], nullptr, last ? (kWriteLod | kLastLod) : kWriteLod);
    }

    bool skip_children = node.IsGroupMember() && plan.source != nullptr && plan.source != &node;
    if (!skip_children) {
        StepResult children = WriteChildren(walk, node, plan.owner);
        if (children.Stops()) {
            // The walk ends here, but the blocks already open are closed, so
            // the file the engine reads stays well formed.
            if (wrote_header) walk.modelWriter << endl;
            return children;
        }
    }

    StepResult mesh = StepResult::Done();
    if (plan.ownsMesh && (plan.source == nullptr || plan.source == &node)) mesh = WriteOwnMesh(walk, node, plan);

    if (wrote_header) walk.modelWriter << endl;
    if (mesh.IsCancelled()) return mesh;
    if (flags & kModelRoot) WriteHoldEntries(walk, node);
    return StepResult::Done();
}

}  // namespace model
