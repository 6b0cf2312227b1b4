#include "base/check_point.h"

#include <algorithm>

#include "base/thread_storage.h"

namespace xDebug::xCheckPoint {

void eStack::Pop(const eInformer* informer) {
    auto it = std::find(informers_.begin(), informers_.end(), informer);
    if (it != informers_.end()) informers_.erase(it, informers_.end());
}

std::string eStack::Trace() const {
    std::string trace;
    for (const eInformer* informer : informers_) {
        informer->Describe(trace);
        trace += '\n';
    }
    return trace;
}

eStack& ThreadStack() {
    static eThreadStorage<eStack> stacks;
    return stacks.Get();
}

}  // namespace xDebug::xCheckPoint
