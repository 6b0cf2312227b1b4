#pragma once
// The mesh half of a directory's collector: the table of named mesh records
// and the records themselves in memory, written as the directory's ".mesh"
// file when the directory is finished.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "io/stream_memory.h"

namespace geometry {

struct MeshTableEntry {
    std::string name;  ///< the mesh name the model description refers to
    uint32_t offset;   ///< where the record starts, counted from the first record
};

class MeshCollector {
public:
    bool Empty() const { return entries_.empty(); }
    const std::vector<MeshTableEntry>& Entries() const { return entries_; }
    /// The records back to back; empty before the first.
    std::string_view Records() const { return records_ ? records_->Data() : std::string_view(); }

    /// Appends a table entry named name for a record of record_size bytes
    /// and returns where the caller writes them. The record stream is made
    /// on first use with 256 bytes and grows by 256-byte steps.
    uint8_t* AddRecord(const std::string& name, size_t record_size);

    /// Drops the entries and the records.
    void Clear();

private:
    std::vector<MeshTableEntry> entries_;
    std::unique_ptr<xIo::eMemoryStream> records_;
};

/// Writes the ".mesh" file into dir (replacing one that exists) when the
/// collector's table has entries: "PMSH", "MTBL", the count, the entries,
/// then the records. A collector without entries writes nothing. File
/// errors are raised by the stream layer.
void WriteMeshFile(const std::string& dir, const MeshCollector& collector);

}  // namespace geometry
