// The file cache: archive entries named in "/set/file_cache.set" are read
// once when the application starts and served from memory afterwards.
#include "base/debug.h"
#include "base/format.h"
#include "base/global_collector.h"
#include "io/repository.h"
#include "io/sdl_reader.h"
#include "io/storage_zip.h"

namespace xIo::xRepository {

namespace {
const char* const kCacheList = "/set/file_cache.set";

struct Registration {
    Registration() { eGlobalCollector::Instance().Register("app", [] { LoadFileCache(); }, [] { ClearFileCache(); }); }
} registration;
}  // namespace

void LoadFileCache() {
    if (!Exists(kCacheList)) return;
    xSdl::eReader reader;
    reader.Open(kCacheList);
    while (!reader.AtEnd()) {
        std::string name = reader.ReadString();
        eLocation location;
        if (!Locate(ResolveName(name), kModeRead, location)) {
            xDebug::Warning("io/repository", __LINE__, format("Can't find file for caching: %1%") % name);
            continue;
        }
        // Files on disk are read where they are; only archive entries are kept.
        if (auto* archive = dynamic_cast<eZipStorage*>(location.storage)) archive->Cache(location.relative);
    }
}

}  // namespace xIo::xRepository
