#pragma once
// What the simulated host gives plug-in objects: parameter blocks, the
// dialog model, and chunk streams in memory.
#include <cstdint>
#include <memory>
#include <vector>

#include "host/chunk_stream.h"
#include "host/plugin.h"

namespace sim {

std::unique_ptr<host::ParamBlock> MakeParamBlock(const host::ParamBlockDesc& desc, host::ReferenceTarget* owner);
std::unique_ptr<host::ParamMap> MakeParamMap(host::ParamBlock& block);

/// Chunks as [id u16][size u32 including the 6-byte header][data], nested.
class MemoryChunkSaver : public host::ChunkSaver {
public:
    void BeginChunk(uint16_t id) override;
    void EndChunk() override;
    void Write(const void* data, size_t size) override;
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    std::vector<size_t> open_;  // offsets of open chunk headers
};

/// Reads what MemoryChunkSaver wrote; a header that runs past its parent is malformed.
class MemoryChunkLoader : public host::ChunkLoader {
public:
    explicit MemoryChunkLoader(std::vector<uint8_t> bytes);
    bool OpenChunk() override;
    uint16_t CurChunkId() const override { return levels_.empty() ? 0 : levels_.back().id; }
    size_t CurChunkDataSize() const override { return levels_.empty() ? 0 : levels_.back().end - levels_.back().data; }
    void CloseChunk() override;
    size_t Read(void* data, size_t size) override;

private:
    struct Level {
        uint16_t id;
        size_t data, end;
    };
    std::vector<uint8_t> bytes_;
    size_t pos_ = 0;
    std::vector<Level> levels_;
};

}  // namespace sim
