#include "base/eventable.h"

#include <algorithm>

void eEventable::AddListener(int32_t event, eEventable* listener) { listeners_[event].push_back(listener); }

void eEventable::RemoveListener(int32_t event, eEventable* listener) {
    auto it = listeners_.find(event);
    if (it == listeners_.end()) return;
    for (eEventable*& l : it->second)
        if (l == listener) l = nullptr;
    if (dispatchDepth_ == 0) std::erase(it->second, nullptr);
}

void eEventable::AddChild(eEventable* child) { children_.push_back(child); }

void eEventable::RemoveChild(eEventable* child) { std::erase(children_, child); }

void eEventable::Fire(int32_t event) {
    ++dispatchDepth_;
    auto it = listeners_.find(event);
    if (it != listeners_.end()) {
        // Index loop: listeners may be added or removed while we dispatch.
        for (size_t i = 0; i < it->second.size(); ++i)
            if (eEventable* l = it->second[i]) l->OnEvent(event);
        if (dispatchDepth_ == 1) std::erase(it->second, nullptr);
    }
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->Fire(event);
    --dispatchDepth_;
}

size_t eEventable::ListenerCount(int32_t event) const {
    auto it = listeners_.find(event);
    return it == listeners_.end() ? 0 : it->second.size();
}
