#pragma once
// A directory on disk as a storage.
#include "io/storage.h"

namespace xIo::xRepository {

class eFileStorage : public eStorage {
public:
    /// directory: a path on disk, without a trailing slash.
    explicit eFileStorage(std::string directory) : directory_(std::move(directory)) {}

    const std::string& Name() const override { return directory_; }
    bool Exists(const std::string& relative_path) const override;
    /// Opens an eFileStream with a 32768-byte window; a writing mode first
    /// creates the missing directories of the path.
    std::unique_ptr<eStream> Open(const std::string& relative_path, uint32_t mode) override;

    /// The disk path of relative_path. Resource names are lower case while
    /// the disk may spell them otherwise: a component missing in lower case
    /// is looked up without regard to case.
    std::string DiskPath(const std::string& relative_path) const;

private:
    std::string directory_;
};

}  // namespace xIo::xRepository
