#include "scene/bone_tree.h"

#include <algorithm>
#include <unordered_map>

#include "base/format.h"
#include "host/class_id.h"
#include "host/object.h"
#include "scene/messages.h"
#include "scene/node_params.h"
#include "scene/properties.h"

namespace scene {

int32_t AttachedBoneIndex(const host::Node& node) {
    const auto* data = dynamic_cast<const BoneIndexData*>(node.GetRenderData());
    return data ? data->index : -1;
}

bool IsBoneCandidate(host::Node& node, host::TimeValue t) {
    if (node.IsGroupHead()) return true;
    if (node.IsGroupMember()) return false;
    const host::Object* object = node.EvalWorldState(t);
    if (object == nullptr) return false;
    host::SuperClassId super = object->SuperClassID();
    return super == host::kHelperClass || super == host::kShapeClass ||
           (super == host::kGeomObjectClass && object->ClassID() != host::kTargetClassId);
}

bool IsBone(host::Node& node, host::TimeValue t) {
    return IsBoneCandidate(node, t) && !node.IsNodeHidden() && NodeKindOf(node) == NodeKind::Bone && LodIndex(node) == 0;
}

void AddModelRoot(BoneTree& tree, host::Node& node) {
    if (HasProperty(node, "Model") || HasProperty(node, "XModel")) {
        tree.models.push_back(ModelRoot{&node, {}, {}, {}, {}});
        return;
    }
    tree.report.Error(format(Message(msg::kNoModel)) % node.GetName());
}

bool CollectModelRoots(BoneTree& tree) {
    tree.models.clear();
    host::Node* root = tree.app.GetRootNode();
    for (int i = 0; i < root->NumberOfChildren(); ++i) {
        host::Node* child = root->GetChildNode(i);
        if (child == nullptr || child->IsNodeHidden()) continue;
        tree.structureFlag = HasProperty(*child, "Structure");
        if (LodIndex(*child) == 0) {
            int32_t scratch = 0;
            if (!tree.structureFlag || !BuildBoneTree(tree, *child, scratch, true).IsFailed()) AddModelRoot(tree, *child);
        }
        tree.structureFlag = false;
    }
    if (tree.models.empty()) tree.report.Error(Message(msg::kNothingToExport));
    std::reverse(tree.models.begin(), tree.models.end());
    return !tree.models.empty();
}

std::vector<host::Node*> CollectLodBones(BoneTree& tree, host::Node& node) { return tree.lodSiblings.Of(node); }

namespace {

// A light met during the walk gets a render-time descriptor for the shading
// queries of mesh extraction and texture conversion.
void NoteLight(BoneTree& tree, host::Node& node) {
    if (!tree.exportLightsCameras || node.IsGroupMember()) return;
    host::Object* object = node.EvalWorldState(tree.staticTime);
    if (object == nullptr || object->SuperClassID() != host::kLightClass) return;
    host::LightState state;
    if (!object->EvalLightState(tree.staticTime, state) || !state.on) return;
    if (std::unique_ptr<host::LightDesc> desc = object->CreateLightDesc(&node)) tree.lights.push_back(std::move(desc));
}

// Numbers the LOD bones of a base bone and checks their levels and children.
bool NumberLodBones(BoneTree& tree, host::Node& base, int32_t& counter) {
    bool error = false;
    std::vector<host::Node*> lods = CollectLodBones(tree, base);
    for (size_t k = 1; k <= lods.size(); ++k) {
        host::Node& lod = *lods[k - 1];
        lod.SetRenderData(std::make_unique<BoneIndexData>(counter++));
        tree.boneNames.push_back(CleanNodeName(lod, true));
        if (LodIndex(lod) != static_cast<int>(k)) {
            tree.report.Error(format(Message(msg::kMissingLod)) % CleanNodeName(base, true) % static_cast<int32_t>(k));
            error = true;
        }
        for (int c = lod.NumberOfChildren() - 1; c >= 0; --c) {
            host::Node* child = lod.GetChildNode(c);
            if (child == nullptr || child->IsGroupMember()) continue;
            tree.report.Error(format(Message(msg::kLodHasChildren)) % lod.GetName());
            error = true;
            break;
        }
    }
    return error;
}

// Every pair of equal names (ignoring case) is one message, naming the
// earlier of the two, in the order of the pairs.
bool ReportDuplicateNames(BoneTree& tree) {
    std::unordered_map<std::string, int> later;  // lowered name -> records still to come
    std::vector<std::string> keys;
    keys.reserve(tree.nameRegistry.size());
    for (const auto& record : tree.nameRegistry) {
        std::string key = record.name;
        for (char& c : key)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        ++later[key];
        keys.push_back(std::move(key));
    }
    bool error = false;
    for (size_t i = 0; i < keys.size(); ++i) {
        int pairs = --later[keys[i]];
        for (int k = 0; k < pairs; ++k) {
            tree.report.Error(format(Message(msg::kDuplicateBone)) % tree.nameRegistry[i].name);
            error = true;
        }
    }
    return error;
}

// The walk of BuildBoneTree; true when an error was reported in the subtree.
bool WalkBones(BoneTree& tree, host::Node& node, int32_t& counter, bool collect_roots) {
    if (tree.depth == 0) tree.nameRegistry.clear();
    bool error = false;
    NoteLight(tree, node);

    if (IsBone(node, tree.staticTime)) {
        node.SetRenderData(std::make_unique<BoneIndexData>(counter++));
        std::string name = CleanNodeName(node, true);
        tree.boneNames.push_back(name);
        tree.nameRegistry.push_back({name, &node});
        error = NumberLodBones(tree, node, counter) || error;
    }

    if (!node.IsNodeHidden() && NodeKindOf(node) == NodeKind::Bone) {
        ++tree.depth;
        for (int i = 0; i < node.NumberOfChildren(); ++i) {
            host::Node* child = node.GetChildNode(i);
            if (child == nullptr || child->IsNodeHidden() || child->IsGroupMember()) continue;
            if (tree.structureFlag && HasProperty(*child, "Model")) {
                if (collect_roots) AddModelRoot(tree, *child);
                continue;
            }
            error = WalkBones(tree, *child, counter, collect_roots) || error;
        }
        --tree.depth;
    }

    if (tree.depth == 0) {
        error = ReportDuplicateNames(tree) || error;
        for (const auto& light : tree.lights) light->Update(tree.staticTime);
    }
    return error;
}

}  // namespace

StepResult BuildBoneTree(BoneTree& tree, host::Node& node, int32_t& counter, bool collect_roots) {
    if (WalkBones(tree, node, counter, collect_roots)) return StepResult::Failed("its bone tree has errors");
    return StepResult::Done();
}

}  // namespace scene
