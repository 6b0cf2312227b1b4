#pragma once
// Reading an animation file back: every chunk and record decoded, and the
// file's structure checked. Input is untrusted: a malformed file gives the
// byte offset and reason of its first problem, never a read outside the
// bytes or an allocation the bytes do not justify.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/math_box.h"
#include "host/math_quat.h"

namespace animation {

/// One run of changed vertices.
struct AnmVertexRun {
    size_t offset = 0;           ///< of the run's first field
    uint32_t first = 0;
    uint16_t count = 0;
    uint16_t hasBox = 0;
    std::string_view vertices;   ///< count packed vertices, inside the read bytes
    std::optional<host::Box3> box;
};

/// The vertex block of one record.
struct AnmVertexBlock {
    size_t offset = 0;        ///< of the block size field
    uint32_t blockSize = 0;   ///< bytes after the size field
    uint32_t vertexSize = 0;  ///< bytes per packed vertex; 0 when unknown (the runs are not decoded)
    std::vector<AnmVertexRun> runs;
};

struct AnmRecord {
    size_t offset = 0;
    uint8_t bone = 0;    ///< animated-bone number, an index into the bone map
    uint16_t flags = 0;
    std::optional<host::Point3> position;
    std::optional<host::Quat> orientation;  ///< x, y, z as stored; w rebuilt (≤ 0)
    std::optional<AnmVertexBlock> vertices;
};

struct AnmFrame {
    size_t offset = 0;   ///< of the "FRM2" tag
    uint16_t frame = 0;  ///< counted from the animation's first frame
    std::vector<AnmRecord> records;
};

struct AnmFile {
    uint32_t version = 0;
    uint32_t frameCount = 0;
    std::vector<std::string> bones;  ///< the bone map, by animated-bone number
    std::vector<AnmFrame> frames;    ///< the frame chunks, in file order
};

/// The packed vertex layout of a vertex-animated bone.
struct AnmVertexLayout {
    uint32_t vertexSize = 0;   ///< bytes per packed vertex
    uint32_t vertexCount = 0;  ///< vertices of the bone's mesh
};

struct AnmReadOptions {
    /// Layouts by bone name. A bone without one takes the layout its first
    /// vertex block shows when that block is one run of the whole mesh with
    /// a box (the form of an animation's first frame); otherwise its blocks
    /// are checked for their size and terminator only.
    std::map<std::string, AnmVertexLayout> layouts;
};

struct AnmReadError {
    size_t offset = 0;
    std::string reason;
};

/// Decodes and checks bytes as an animation file. True on success;
/// otherwise false, with error holding where and why, and file partly
/// filled.
bool ReadAnmFile(std::string_view bytes, const AnmReadOptions& options, AnmFile& file, AnmReadError& error);

}  // namespace animation
