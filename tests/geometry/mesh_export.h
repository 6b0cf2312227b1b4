#pragma once
// A whole export of a scene written inline, as the host runs it, with the
// mesh files it wrote read back through the mesh reader.
#include <string>
#include <string_view>
#include <vector>

#include "geometry/mesh_reader.h"
#include "sim/scene.h"
#include "support/temp_dir.h"

namespace geotest {

class MeshExport {
public:
    /// members: the top-level members of a scene file after "format" and
    /// "version" (see sim::SceneFromJson). The game path "d:/thegame/" is
    /// served from a temporary folder.
    explicit MeshExport(std::string_view members);
    ~MeshExport();

    /// Runs an export without prompts; returns the message boxes shown
    /// ("E|caption|text", see qeltest::Boxes).
    std::vector<std::string> Run();
    /// Runs an export through the options dialog with the static frame set.
    std::vector<std::string> RunAtFrame(int static_frame);

    sim::Scene& scene() { return *scene_; }
    /// Every file under the game path, relative, sorted.
    std::vector<std::string> Files() const;
    /// The raw bytes of a file under the game path.
    std::string Bytes(const std::string& relative) const;
    /// The mesh file at relative (e.g. "units/tank/.mesh") decoded; a test
    /// failure when it is missing or malformed.
    geometry::MeshFileContent Meshes(const std::string& relative) const;
    /// The one mesh of the mesh file at relative.
    geometry::DecodedMesh Mesh(const std::string& relative) const;

private:
    qeltest::TempDir dir_;
    std::unique_ptr<sim::Scene> scene_;
};

/// The triangles of a decoded mesh as the host winds them (the file stores
/// them reversed), each rotated to start at its smallest index, sorted.
std::vector<std::vector<int>> HostTriangles(const geometry::DecodedMesh& mesh);

}  // namespace geotest
