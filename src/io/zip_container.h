#pragma once
// An opened .pak archive (a zip file): the reader's handle and the table of
// its entries, shared by the storage that mounts it and the streams that read
// from it.
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "base/referenced.h"

namespace xIo::xRepository {

class eZipContainer : public eReferencedDynamic {
public:
    /// Opens the archive at path (a path on disk) and reads its directory.
    /// Raises "%1%: can't open .pak" (io/stream_zip) when the file is missing
    /// or is no readable archive.
    explicit eZipContainer(const std::string& path);

    const std::string& Path() const { return path_; }
    /// True when the archive holds a file entry of that name (lower case,
    /// forward slashes, no leading slash).
    bool Has(const std::string& entry_name) const { return entries_.count(entry_name) != 0; }
    size_t EntryCount() const { return entries_.size(); }
    /// The names of the file entries, sorted.
    std::vector<std::string> EntryNames() const;

    /// The whole uncompressed content of an entry. Raises an error naming the
    /// archive and the entry when the entry is missing, uses an unknown
    /// method or encryption, declares sizes that cannot be true, is cut short
    /// or fails its CRC. Memory grows with the bytes actually inflated, never
    /// with the declared size alone.
    std::vector<uint8_t> ReadEntry(const std::string& entry_name);

private:
    ~eZipContainer() override;

    struct Entry {
        uint64_t directoryOffset;  ///< where the entry's header is in the central directory
        uint64_t fileNumber;
    };
    [[noreturn]] void BadEntry(int line, const std::string& entry_name, const char* reason) const;

    std::string path_;
    void* handle_ = nullptr;  // unzFile
    uint64_t archiveSize_ = 0;
    std::map<std::string, Entry> entries_;
    std::mutex mutex_;  // the reader's handle has one current entry
};

}  // namespace xIo::xRepository
