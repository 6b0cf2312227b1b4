#pragma once
// Named global modules with start and stop callbacks, kept by one collector.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/eventable.h"

namespace xApp {
/// Event number of application termination, sent by the error path before a
/// forced exit.
constexpr int32_t kEventTerminate = 22;
/// The application's event source.
eEventable& Events();
}  // namespace xApp

/// Base of a module object; destroying one outside the collector's teardown
/// raises "GlobalCollector: trying to destroy global module by illeal way".
class eGlobalModule {
public:
    eGlobalModule() = default;
    virtual ~eGlobalModule() noexcept(false);
    eGlobalModule(const eGlobalModule&) = delete;
    eGlobalModule& operator=(const eGlobalModule&) = delete;
};

class eGlobalCollector : public eEventable {
public:
    using Callback = std::function<void()>;

    /// The single collector, created on first use.
    static eGlobalCollector& Instance();

    /// Adds a module entry.
    void Register(const std::string& name, Callback start, Callback stop);
    /// Runs the start callbacks of every entry of that name, in registration order.
    void Start(const std::string& name);
    /// Runs every stop callback in reverse order of registration and forgets
    /// the entries; modules may be destroyed only from inside this.
    void Teardown();

    size_t EntryCount() const { return entries_.size(); }
    int32_t RegistrationCount() const { return registrations_; }
    bool InTeardown() const { return teardown_ > 0; }

    /// Termination: forget every entry so that no module is stopped during a
    /// forced exit.
    void OnEvent(int32_t event) override;

private:
    eGlobalCollector();
    ~eGlobalCollector() override;

    struct Entry {
        std::string name;
        Callback start;
        Callback stop;
    };
    std::vector<Entry> entries_;
    int32_t registrations_ = 0;
    int32_t teardown_ = 0;
};
