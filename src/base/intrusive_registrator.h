#pragma once
// Static registration lists: intrusive singly linked lists whose nodes are
// static objects that link themselves in while the library loads.
#include <string>
#include <vector>

namespace xRegistrator {
/// Records a list type; raises "Multiply static registration list of %1%"
/// when a list of that type was registered before.
void RegisterList(const char* type_name);
/// The type names of every registered list, in registration order.
const std::vector<std::string>& RegisteredLists();
}  // namespace xRegistrator

/// A registration list of Node objects; Node has a public `Node* next`.
/// Nodes keep the order in which they linked in.
template <class Node>
class eStaticList {
public:
    explicit eStaticList(const char* type_name) { xRegistrator::RegisterList(type_name); }
    void Add(Node* node) {
        node->next = nullptr;
        if (tail_ == nullptr) head_ = node;
        else tail_->next = node;
        tail_ = node;
    }
    Node* First() const { return head_; }

private:
    Node* head_ = nullptr;
    Node* tail_ = nullptr;
};
