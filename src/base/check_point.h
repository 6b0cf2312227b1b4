#pragma once
// Per-thread check points: informers that describe what the thread is doing,
// so that every error report says where it happened.
#include <string>
#include <vector>

namespace xDebug::xCheckPoint {

class eInformer {
public:
    virtual ~eInformer() = default;
    /// Appends this informer's description (one line, no line feed).
    virtual void Describe(std::string& out) const = 0;
};

/// A thread's stack of informers, innermost last.
class eStack {
public:
    void Push(const eInformer* informer) { informers_.push_back(informer); }
    /// Removes informer and everything pushed after it.
    void Pop(const eInformer* informer);
    bool Empty() const { return informers_.empty(); }
    /// Every informer's description followed by a line feed, innermost last.
    std::string Trace() const;

private:
    std::vector<const eInformer*> informers_;
};

/// The calling thread's stack, created on first use.
eStack& ThreadStack();

/// An informer with a fixed text, pushed for its lifetime.
class eScope : public eInformer {
public:
    explicit eScope(std::string text) : text_(std::move(text)) { ThreadStack().Push(this); }
    ~eScope() override { ThreadStack().Pop(this); }
    eScope(const eScope&) = delete;
    eScope& operator=(const eScope&) = delete;
    void Describe(std::string& out) const override { out += text_; }

private:
    std::string text_;
};

}  // namespace xDebug::xCheckPoint
