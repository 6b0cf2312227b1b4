#pragma once
// What both interchange readers do to build a scene of the simulated host:
// names and texts into code page 1251, user property line ends, texture paths
// under the import's host prefix, materials, textures and objects owned by
// the scene and named in its tables, and warnings for what is lost.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/light.h"
#include "sim/materials.h"
#include "sim/mesh_data.h"
#include "sim/scene.h"

namespace import {

/// The host prefix the imported file's own folder is served as.
inline constexpr const char* kImportPrefix = "d:/import/";
/// Frames per second of an imported scene (160 ticks per frame).
inline constexpr int kFramesPerSecond = 30;

/// (x, y, z) → (x, −z, y) as a row-vector matrix: a y-up space into the
/// host's z-up space.
host::Matrix3 YUpToZUp();
/// m seen from the host's z-up space: YUpToZUp⁻¹ × m × YUpToZUp.
host::Matrix3 ToZUp(const host::Matrix3& m);

/// The user property text with every line end as the host stores it: CR LF,
/// a lone LF and the literal "&cr;&lf;" all become CR LF.
std::string HostLineEnds(std::string_view text);

/// Sets map channel number of data to verts, one per mesh vertex (missing
/// ones zero), with the channel's faces the mesh's own: both readers deliver
/// texture coordinates and colours per vertex.
void SetVertexChannel(sim::MeshData& data, int number, std::vector<host::Point3> verts);

/// Sets explicit normals of data, one per mesh vertex, each corner taking its
/// vertex's normal.
void SetVertexNormals(sim::MeshData& data, std::vector<host::Point3> normals);

class SceneBuilder {
public:
    /// file: the local path of the imported file; its folder is served as
    /// kImportPrefix. Warnings go to warnings.
    SceneBuilder(const std::string& file, std::vector<std::string>& warnings);

    sim::Scene& Scene() { return *scene_; }
    std::unique_ptr<sim::Scene> Release() { return std::move(scene_); }
    void Warn(std::string message) { warnings_.push_back(std::move(message)); }

    /// Code page 1251 bytes of UTF-8 text; a character the code page lacks
    /// becomes '?' with a warning naming what (e.g. "node name \"...\"").
    std::string HostText(std::string_view utf8, const std::string& what);
    /// A new node named utf8_name under parent (nullptr: the scene root),
    /// with a helper object until another object is set.
    sim::SimNode* AddNode(std::string_view utf8_name, sim::SimNode* parent);
    /// Sets node's user property text (UTF-8, any line ends).
    void SetProps(sim::SimNode& node, std::string_view utf8_text);

    /// The host path of a texture file named in the file: a relative path
    /// under kImportPrefix, an absolute one as given.
    std::string TexturePath(std::string_view file);
    /// A bitmap texture of file (as TexturePath gives it), one per path.
    host::Texture* Bitmap(std::string_view file, std::string_view name);
    /// A normal bump texture over normal.
    host::Texture* NormalBump(host::Texture* normal, std::string_view name);
    /// A standard material with the given maps (null: no map).
    host::Material* Standard(std::string_view name, const sim::StandardMaterial::Values& values, host::Texture* diffuse,
                             host::Texture* specular_level, host::Texture* bump, float bump_amount_percent = 100.0f,
                             host::Texture* opacity = nullptr);
    /// A multi/sub-object material over subs, in sub-material order.
    host::Material* Multi(std::string_view name, std::vector<host::Material*> subs);
    /// A neutral grey standard material for faces that name none.
    host::Material* DefaultMaterial();

    /// The scene's animation range in frames (start ≤ end).
    void SetFrames(int start_frame, int end_frame);

private:
    std::string NewId(const char* prefix, size_t count) const;
    std::unique_ptr<sim::Scene> scene_;
    std::vector<std::string>& warnings_;
    std::map<std::string, host::Texture*> bitmaps_;  // by host path
    host::Material* default_material_ = nullptr;
};

}  // namespace import
