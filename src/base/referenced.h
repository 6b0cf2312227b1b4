#pragma once
// Intrusive reference counting for objects shared by several owners (an open
// archive shared by its storage and the streams reading from it).
#include <atomic>
#include <cstdint>
#include <utility>

/// Base of a reference-counted object; it deletes itself with the last
/// reference. Created with no reference: hand it to an eRef at once.
class eReferencedDynamic {
public:
    eReferencedDynamic() = default;
    eReferencedDynamic(const eReferencedDynamic&) = delete;
    eReferencedDynamic& operator=(const eReferencedDynamic&) = delete;

    void AddRef() const { count_.fetch_add(1, std::memory_order_relaxed); }
    void Release() const {
        if (count_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }
    int32_t RefCount() const { return count_.load(std::memory_order_relaxed); }

protected:
    virtual ~eReferencedDynamic() = default;

private:
    mutable std::atomic<int32_t> count_{0};
};

/// A counted reference to T (an eReferencedDynamic); null is allowed.
template <class T>
class eRef {
public:
    eRef() = default;
    explicit eRef(T* object) : object_(object) {
        if (object_) object_->AddRef();
    }
    eRef(const eRef& other) : eRef(other.object_) {}
    eRef(eRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    eRef& operator=(eRef other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~eRef() {
        if (object_) object_->Release();
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};
