#pragma once
// The bulk of a scene file, read straight into the mesh's own containers:
// vertex lists, index triples and per-face lists. Each element takes a fast
// path when it is well formed; any other element is read whole and checked
// through Value, so that every error names its place and reason as it always
// has. Checks that need another key (an index against a vertex count, one
// entry per face) wait until the whole object has been read.
#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/json_cursor.h"
#include "sim/load_context.h"
#include "sim/mesh_data.h"

namespace sim {

/// The largest index a face may hold.
constexpr uint32_t kMaxIndex = 0x7FFFFFFF;

/// The array of [x, y, z] points that comes next; expected is how many there
/// are likely to be.
std::vector<host::Point3> ReadPoints(JsonCursor& cursor, size_t expected);
/// The three indices at value, each whole and within [0 (or −1 when
/// allow_none), kMaxIndex] and below count.
std::array<int64_t, 3> Triple(const Value& value, size_t count, bool allow_none = false);

/// The members of a mesh object that hold its bulk, as read.
struct MeshSource {
    struct Channel {
        int number = 0;
        std::string pointer;
        std::optional<std::vector<host::Point3>> verts;
        std::optional<std::vector<host::MapFace>> faces;
    };
    struct Normals {
        std::string pointer;
        std::optional<std::vector<host::Point3>> normals;
        std::optional<std::vector<std::array<int, 3>>> faces;
        std::optional<std::vector<bool>> isExplicit;
    };
    struct Frame {
        double frame = 0;
        std::string pointer;
        std::vector<host::Point3> positions;
    };

    std::optional<std::vector<host::Point3>> verts;
    std::optional<std::vector<host::Face>> faces;
    std::optional<std::vector<uint32_t>> smoothing;
    std::optional<std::vector<uint16_t>> materialIds;
    std::optional<std::vector<uint32_t>> hiddenFaces;
    std::map<std::string, Channel> channels;  // by key, in the order of the keys' text
    std::optional<Normals> normals;
    std::map<std::string, Frame> frames;  // by key, in the order of the keys' text
};

/// Reads the value of key into source when key is one of a mesh's bulk
/// members; false (nothing read) for any other key.
bool ReadMeshMember(JsonCursor& cursor, const std::string& key, MeshSource& source);

/// Checks what source's members say about each other (pointer: the object's)
/// and builds the mesh; its frames become ticks in a deferred step.
std::unique_ptr<MeshObject> BuildMesh(LoadContext& context, MeshSource& source, const std::string& pointer);

}  // namespace sim
