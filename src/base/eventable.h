#pragma once
// Event sources: listeners per event number and child sources that receive
// every event their parent dispatches.
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

class eEventable {
public:
    virtual ~eEventable() = default;
    /// Called for every event this object listens to; nothing by default.
    virtual void OnEvent(int32_t event) { (void)event; }
    /// Owner or parent; null by default.
    virtual eEventable* Owner() const { return nullptr; }

    void AddListener(int32_t event, eEventable* listener);
    /// Safe during dispatch: the entry is nulled and compacted by the
    /// outermost dispatch.
    void RemoveListener(int32_t event, eEventable* listener);
    void AddChild(eEventable* child);
    void RemoveChild(eEventable* child);

    /// Calls every listener of the event in order, then dispatches the event
    /// to every child source.
    void Fire(int32_t event);

    /// Number of listeners of an event (nulls awaiting compaction included).
    size_t ListenerCount(int32_t event) const;

private:
    std::map<int32_t, std::vector<eEventable*>> listeners_;
    std::vector<eEventable*> children_;
    int32_t dispatchDepth_ = 0;
};
