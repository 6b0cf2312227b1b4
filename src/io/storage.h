#pragma once
// A place that resource files live in: a directory on disk or a .pak archive,
// mounted in the repository at a mount point.
#include <cstdint>
#include <memory>
#include <string>

#include "io/stream.h"

namespace xIo::xRepository {

class eStorage {
public:
    virtual ~eStorage() = default;
    eStorage(const eStorage&) = delete;
    eStorage& operator=(const eStorage&) = delete;

    /// The disk path of the directory or archive, for messages.
    virtual const std::string& Name() const = 0;
    /// True when the storage holds a file at relative_path (lower case,
    /// forward slashes, no leading slash, no "." or ".." components).
    virtual bool Exists(const std::string& relative_path) const = 0;
    /// A new stream over the file, owned by the caller; null when the file
    /// cannot be opened with that mode.
    virtual std::unique_ptr<eStream> Open(const std::string& relative_path, uint32_t mode) = 0;

protected:
    eStorage() = default;
};

}  // namespace xIo::xRepository
