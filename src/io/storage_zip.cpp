#include "io/storage_zip.h"

#include "io/stream_memory.h"
#include "io/stream_zip.h"

namespace xIo::xRepository {

eZipStorage::eZipStorage(const std::string& archive_path) : container_(new eZipContainer(archive_path)) {}

std::unique_ptr<eStream> eZipStorage::Open(const std::string& relative_path, uint32_t mode) {
    // Archives are read-only.
    if (mode & (kModeWrite | kModeTruncate)) return nullptr;
    if (!container_->Has(relative_path)) return nullptr;
    auto cached = cache_.find(relative_path);
    if (cached != cache_.end()) return std::make_unique<eBufferStream>(cached->second);
    return std::make_unique<eZipStream>(*container_, relative_path);
}

void eZipStorage::Cache(const std::string& relative_path) {
    if (IsCached(relative_path)) return;
    std::vector<uint8_t> content = container_->ReadEntry(relative_path);
    cache_.emplace(relative_path, std::string(content.begin(), content.end()));
}

}  // namespace xIo::xRepository
