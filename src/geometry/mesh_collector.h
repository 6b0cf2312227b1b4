#pragma once
// The mesh half of a directory's collector: the table of named mesh records
// and the records themselves in memory, written as the directory's ".mesh"
// file when the directory is finished.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>


namespace geometry {

struct MeshTableEntry {
    std::string name;  ///< the mesh name the model description refers to
    uint32_t offset;   ///< where the record starts, counted from the first record
};

/// The records are kept one buffer each: they are written back to back only
/// into the file, so appending one never moves the ones before it.
class MeshCollector {
public:
    bool Empty() const { return entries_.empty(); }
    const std::vector<MeshTableEntry>& Entries() const { return entries_; }
    /// Record i's bytes (i below the number of entries).
    std::string_view Record(size_t i) const {
        return {reinterpret_cast<const char*>(records_[i].bytes.get()), records_[i].size};
    }

    /// Appends a table entry named name for a record of record_size bytes
    /// and returns where the caller writes them. Raises an error through the
    /// error channel when the records would pass 4 GiB.
    uint8_t* AddRecord(const std::string& name, size_t record_size);

    /// Drops the entries and the records.
    void Clear();

private:
    struct Bytes {
        std::unique_ptr<uint8_t[]> bytes;
        size_t size;
    };
    std::vector<MeshTableEntry> entries_;
    std::vector<Bytes> records_;
    uint64_t recordsSize_ = 0;
};

/// Writes the ".mesh" file into dir (replacing one that exists) when the
/// collector's table has entries: "PMSH", "MTBL", the count, the entries,
/// then the records. A collector without entries writes nothing. File
/// errors are raised by the stream layer.
void WriteMeshFile(const std::string& dir, const MeshCollector& collector);

}  // namespace geometry
