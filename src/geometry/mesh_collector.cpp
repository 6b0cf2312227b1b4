#include "geometry/mesh_collector.h"

#include <limits>
#include <memory>

#include "base/debug.h"
#include "io/stream_file.h"
#include "scene/paths.h"

namespace geometry {

uint8_t* MeshCollector::AddRecord(const std::string& name, size_t record_size) {
    // Table offsets are 32-bit.
    if (recordsSize_ + record_size > std::numeric_limits<uint32_t>::max())
        xDebug::Error("geometry/mesh_collector", __LINE__, "The mesh records of a directory pass 4 GiB");
    records_.push_back({std::make_unique_for_overwrite<uint8_t[]>(record_size), record_size});
    entries_.push_back({name, static_cast<uint32_t>(recordsSize_)});
    recordsSize_ += record_size;
    return records_.back().bytes.get();
}

void MeshCollector::Clear() {
    entries_.clear();
    records_.clear();
    recordsSize_ = 0;
}

void WriteMeshFile(const std::string& dir, const MeshCollector& collector) {
    if (collector.Empty()) return;
    xIo::eFileStream file;
    file.Open(scene::JoinPath(dir, ".mesh"), xIo::kModeWrite | xIo::kModeTruncate | xIo::kModeInteractive,
              xIo::eFileStream::kOutputBufferSize);
    file.Write("PMSH", 4).Write("MTBL", 4);
    file.Put(static_cast<uint32_t>(collector.Entries().size()));
    for (const MeshTableEntry& entry : collector.Entries()) {
        file.WriteString(entry.name);
        file.Put(entry.offset);
    }
    for (size_t i = 0; i < collector.Entries().size(); ++i) {
        const std::string_view record = collector.Record(i);
        file.Write(record.data(), static_cast<int32_t>(record.size()));
    }
    file.Close();
}

}  // namespace geometry
