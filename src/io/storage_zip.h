#pragma once
// A .pak archive as a storage, with the entries of the file cache held in
// memory.
#include <map>
#include <string>

#include "base/referenced.h"
#include "io/storage.h"
#include "io/zip_container.h"

namespace xIo::xRepository {

class eZipStorage : public eStorage {
public:
    /// Opens the archive; raises "%1%: can't open .pak" when it cannot be read.
    explicit eZipStorage(const std::string& archive_path);

    const std::string& Name() const override { return container_->Path(); }
    bool Exists(const std::string& relative_path) const override { return container_->Has(relative_path); }
    /// An eZipStream over the entry, or a memory stream over the cached copy
    /// when the entry is cached; null for a missing entry or a writing mode.
    std::unique_ptr<eStream> Open(const std::string& relative_path, uint32_t mode) override;

    /// Reads the entry once and keeps its content for later opens.
    void Cache(const std::string& relative_path);
    void ClearCache() { cache_.clear(); }
    bool IsCached(const std::string& relative_path) const { return cache_.count(relative_path) != 0; }

private:
    eRef<eZipContainer> container_;
    std::map<std::string, std::string> cache_;
};

}  // namespace xIo::xRepository
