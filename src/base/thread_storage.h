#pragma once
// Per-thread objects and locked resources.
//
// eThreadStorage<T> owns one operating-system thread-local slot and the list
// of every T it created; the first access on a thread creates that thread's T.
// All Ts are deleted together when the storage is destroyed (library unload).
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

/// A critical section with an owner field; lock and unlock are virtual so a
/// guarded resource can add its own bookkeeping.
class eCriticalSectionBase {
public:
    virtual ~eCriticalSectionBase() = default;
    virtual void Lock() {
        mutex_.lock();
        owner_ = std::this_thread::get_id();
    }
    virtual void Unlock() {
        owner_ = std::thread::id();
        mutex_.unlock();
    }
    /// True while the calling thread holds the lock.
    bool HeldByMe() const { return owner_ == std::this_thread::get_id(); }

private:
    std::mutex mutex_;
    std::thread::id owner_;
};

/// A value guarded by a critical section.
template <class T>
class eCriticalResource : public eCriticalSectionBase {
public:
    /// The guarded value; only touch it between Lock and Unlock.
    T& Value() { return value_; }

private:
    T value_{};
};

namespace xThreadStorage {
/// Creates a thread-local slot; raises "Thread Storage Overflow : %1%" with the
/// system's error number when the system has none left.
unsigned CreateSlot();
void FreeSlot(unsigned slot);
void* GetSlot(unsigned slot);
void SetSlot(unsigned slot, void* value);
}  // namespace xThreadStorage

template <class T>
class eThreadStorage {
public:
    eThreadStorage() : slot_(xThreadStorage::CreateSlot()) {}
    ~eThreadStorage() {
        objects_.Lock();
        objects_.Value().clear();
        objects_.Unlock();
        xThreadStorage::FreeSlot(slot_);
    }
    eThreadStorage(const eThreadStorage&) = delete;
    eThreadStorage& operator=(const eThreadStorage&) = delete;

    /// The calling thread's T, created on first use.
    T& Get() {
        if (void* p = xThreadStorage::GetSlot(slot_)) return *static_cast<T*>(p);
        auto object = std::make_unique<T>();
        T* raw = object.get();
        objects_.Lock();
        objects_.Value().push_back(std::move(object));
        objects_.Unlock();
        xThreadStorage::SetSlot(slot_, raw);
        return *raw;
    }

    /// Number of Ts created so far, one per thread that used the storage.
    size_t Count() {
        objects_.Lock();
        size_t n = objects_.Value().size();
        objects_.Unlock();
        return n;
    }

private:
    unsigned slot_;
    eCriticalResource<std::vector<std::unique_ptr<T>>> objects_;
};
