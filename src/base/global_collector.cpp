#include "base/global_collector.h"

#include "base/debug.h"

namespace xApp {
eEventable& Events() {
    static eEventable events;
    return events;
}
}  // namespace xApp

eGlobalModule::~eGlobalModule() noexcept(false) {
    if (!eGlobalCollector::Instance().InTeardown())
        xDebug::Error("base/global_collector", 241, "GlobalCollector: trying to destroy global module by illeal way");
}

eGlobalCollector& eGlobalCollector::Instance() {
    // Deliberately never destroyed: modules may be torn down by other static
    // destructors that run after this translation unit's.
    static eGlobalCollector* collector = new eGlobalCollector();
    return *collector;
}

eGlobalCollector::eGlobalCollector() { xApp::Events().AddListener(xApp::kEventTerminate, this); }

eGlobalCollector::~eGlobalCollector() { xApp::Events().RemoveListener(xApp::kEventTerminate, this); }

void eGlobalCollector::Register(const std::string& name, Callback start, Callback stop) {
    entries_.push_back({name, std::move(start), std::move(stop)});
    ++registrations_;
}

void eGlobalCollector::Start(const std::string& name) {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].name == name && entries_[i].start) entries_[i].start();
}

void eGlobalCollector::Teardown() {
    ++teardown_;
    std::vector<Entry> entries = std::move(entries_);
    entries_.clear();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->stop) it->stop();
    --teardown_;
}

void eGlobalCollector::OnEvent(int32_t event) {
    if (event == xApp::kEventTerminate) entries_.clear();
}
