#pragma once
// The chunked streams that plug-in objects save into and load from. A chunk
// is a 16-bit id and its data; chunks may nest.
#include <cstddef>
#include <cstdint>

namespace host {

class ChunkSaver {
public:
    virtual ~ChunkSaver() = default;
    /// Opens a chunk with id inside the current one.
    virtual void BeginChunk(uint16_t id) = 0;
    /// Closes the innermost open chunk.
    virtual void EndChunk() = 0;
    /// Appends size bytes to the innermost open chunk.
    virtual void Write(const void* data, size_t size) = 0;
};

class ChunkLoader {
public:
    virtual ~ChunkLoader() = default;
    /// Enters the next chunk at this level; false when there is none left or
    /// its header is malformed.
    virtual bool OpenChunk() = 0;
    /// The id of the chunk last opened.
    virtual uint16_t CurChunkId() const = 0;
    /// The data bytes of the chunk last opened (header excluded).
    virtual size_t CurChunkDataSize() const = 0;
    /// Leaves the chunk last opened, skipping what was not read.
    virtual void CloseChunk() = 0;
    /// Copies up to size bytes of the open chunk's data; returns the count
    /// copied, less than size at the chunk's end.
    virtual size_t Read(void* data, size_t size) = 0;
};

}  // namespace host
