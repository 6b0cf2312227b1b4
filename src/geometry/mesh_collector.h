#pragma once
// The mesh half of a directory's collector: the table of named mesh records
// and the records themselves in memory, written as the directory's ".mesh"
// file when the directory is finished.
#include <string>

namespace geometry {

struct MeshCollector {
    // The table and the record stream arrive with the mesh writer.
    bool Empty() const { return true; }
    void Clear() {}
};

/// Writes the ".mesh" file into dir when the collector's table has entries;
/// a collector without entries writes nothing.
void WriteMeshFile(const std::string& dir, const MeshCollector& collector);

}  // namespace geometry
