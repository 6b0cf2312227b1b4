#include "geometry/mesh_collector.h"

#include <limits>

#include "base/debug.h"
#include "io/stream_file.h"
#include "scene/paths.h"

namespace geometry {

namespace {

constexpr int32_t kRecordStreamStep = 256;

}  // namespace

uint8_t* MeshCollector::AddRecord(const std::string& name, size_t record_size) {
    if (!records_) records_ = std::make_unique<xIo::eMemoryStream>(kRecordStreamStep, kRecordStreamStep);
    if (record_size > size_t(std::numeric_limits<int32_t>::max()))
        xDebug::Error("geometry/mesh_collector", __LINE__, "A mesh record larger than 2 GiB");
    const auto offset = static_cast<uint32_t>(records_->Position());
    // Reserve grows the stream in one step and raises past 2 GiB.
    uint8_t* at = records_->Reserve(static_cast<int32_t>(record_size));
    entries_.push_back({name, offset});
    return at;
}

void MeshCollector::Clear() {
    entries_.clear();
    records_.reset();
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
    const std::string_view records = collector.Records();
    file.Write(records.data(), static_cast<int32_t>(records.size()));
    file.Close();
}

}  // namespace geometry
