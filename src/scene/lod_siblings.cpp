#include "scene/lod_siblings.h"

#include <algorithm>

#include "scene/node_params.h"

namespace scene {

const LodSiblings::Index& LodSiblings::IndexOf(host::Node& parent) {
    auto found = parents_.find(&parent);
    if (found != parents_.end()) return found->second;
    Index& index = parents_[&parent];
    for (int i = parent.NumberOfChildren() - 1; i >= 0; --i) {
        host::Node* sibling = parent.GetChildNode(i);
        if (sibling == nullptr) continue;
        if (sibling->IsGroupMember() && !sibling->IsGroupHead()) continue;
        std::string name = CleanNodeName(*sibling, true);
        size_t at = name.find("_lod");
        if (at == std::string::npos) continue;
        if (sibling->IsNodeHidden() || NodeKindOf(*sibling) != NodeKind::Bone) continue;
        for (; at != std::string::npos; at = name.find("_lod", at + 1)) index[name.substr(0, at)].push_back(sibling);
    }
    return index;
}

std::vector<host::Node*> LodSiblings::Of(host::Node& bone) {
    std::vector<host::Node*> lods;
    host::Node* parent = bone.GetParentNode();
    if (parent == nullptr) return lods;
    const Index& index = IndexOf(*parent);
    auto it = index.find(CleanNodeName(bone, true));
    if (it == index.end()) return lods;
    for (host::Node* sibling : it->second)
        if (sibling != &bone) lods.push_back(sibling);
    std::stable_sort(lods.begin(), lods.end(), [](host::Node* a, host::Node* b) { return LodIndex(*a) < LodIndex(*b); });
    return lods;
}

}  // namespace scene
