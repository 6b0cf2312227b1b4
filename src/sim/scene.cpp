#include "sim/scene.h"

#include "sim/plugin_support.h"

namespace sim {

Scene::Scene() {
    nodes_.push_back(std::make_unique<SimNode>("Scene Root", nullptr));
    root_ = nodes_.back().get();
}

Scene::~Scene() {
    // Node render data may refer to anything; plug-in objects may refer to
    // each other; drop nodes (and their skins) first.
    nodes_.clear();
}

SimNode* Scene::AddNode(const std::string& name, SimNode* parent) {
    nodes_.push_back(std::make_unique<SimNode>(name, parent ? parent : root_));
    SimNode* node = nodes_.back().get();
    (parent ? parent : root_)->AddChild(node);
    order_.push_back(node);
    return node;
}

host::Node* Scene::GetNodeByName(const std::string& name) const {
    // The loader appends in depth-first pre-order, so the first match is the host's.
    for (SimNode* node : order_)
        if (node->GetName() == name) return node;
    return nullptr;
}

bool Scene::GetUniversalName(const std::string& path, std::string& universal) const {
    const auto found = universal_names_.find(path);
    if (found == universal_names_.end()) return false;
    universal = found->second;
    return true;
}

std::string Scene::GetNamedSelSetName(int i) const {
    return i >= 0 && size_t(i) < selection_sets_.size() ? selection_sets_[size_t(i)].name : std::string();
}

int Scene::GetNamedSelSetItemCount(int i) const {
    return i >= 0 && size_t(i) < selection_sets_.size() ? static_cast<int>(selection_sets_[size_t(i)].nodes.size()) : 0;
}

host::Node* Scene::GetNamedSelSetItem(int i, int j) const {
    if (j < 0 || j >= GetNamedSelSetItemCount(i)) return nullptr;
    return selection_sets_[size_t(i)].nodes[size_t(j)];
}

host::MessageBoxResult Scene::ShowMessageBox(const host::MessageBoxRequest& request) {
    MessageBoxRecord record;
    record.caption = request.caption;
    record.text = request.text;
    record.icon = request.icon;
    record.buttons = request.buttons;
    record.hadOwner = request.owner != nullptr;
    record.ownedByHostWindow = request.owner == GetMainWindow();
    recorder_.boxes.push_back(record);
    if (box_observer_) box_observer_(record);
    if (!box_answers_.empty()) {
        const host::MessageBoxResult answer = box_answers_.front();
        box_answers_.pop_front();
        return answer;
    }
    switch (request.buttons) {
        case host::MessageBoxButtons::kOk:
        case host::MessageBoxButtons::kOkCancel: return host::MessageBoxResult::kOk;
        case host::MessageBoxButtons::kYesNo:
        case host::MessageBoxButtons::kYesNoCancel: return host::MessageBoxResult::kYes;
        case host::MessageBoxButtons::kRetryCancel: return host::MessageBoxResult::kRetry;
    }
    return host::MessageBoxResult::kOk;
}

void Scene::SetCommandPanelTaskMode(int mode) {
    panel_mode_ = mode;
    recorder_.panelModes.push_back(mode);
}

std::unique_ptr<host::ParamBlock> Scene::CreateParamBlock(const host::ParamBlockDesc& desc, host::ReferenceTarget* owner) {
    return MakeParamBlock(desc, owner);
}

std::unique_ptr<host::ParamMap> Scene::CreateParamMap(host::ParamBlock& block) { return MakeParamMap(block); }

}  // namespace sim
