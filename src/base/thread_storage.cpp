#include "base/thread_storage.h"

#include "base/debug.h"
#include "base/format.h"
#include "base/platform.h"

namespace xThreadStorage {

unsigned CreateSlot() {
    unsigned slot = 0;
    int error = 0;
    if (!xPlatform::CreateTlsSlot(slot, error))
        xDebug::Error("base/thread_storage", 19, format("Thread Storage Overflow : %1%") % static_cast<int32_t>(error));
    return slot;
}

void FreeSlot(unsigned slot) { xPlatform::FreeTlsSlot(slot); }
void* GetSlot(unsigned slot) { return xPlatform::GetTlsSlot(slot); }
void SetSlot(unsigned slot, void* value) { xPlatform::SetTlsSlot(slot, value); }

}  // namespace xThreadStorage
