#include "import/scene_builder.h"

#include <filesystem>

#include "base/cp1251.h"
#include "sim/textures.h"

namespace import {

host::Matrix3 YUpToZUp() { return host::Matrix3({1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {0, 0, 0}); }

host::Matrix3 ToZUp(const host::Matrix3& m) {
    static const host::Matrix3 to = YUpToZUp(), from = host::Inverse(YUpToZUp());
    return from * m * to;
}

void SetVertexChannel(sim::MeshData& data, int number, std::vector<host::Point3> verts) {
    sim::MapChannelData& map = data.channels[number];
    map.verts = std::move(verts);
    map.verts.resize(data.verts.size(), {0, 0, 0});
    map.faces.resize(data.faces.size());
    for (size_t f = 0; f < data.faces.size(); ++f)
        for (int c = 0; c < 3; ++c) map.faces[f].t[c] = data.faces[f].v[c];
}

void SetVertexNormals(sim::MeshData& data, std::vector<host::Point3> normals) {
    sim::NormalSpecData spec;
    spec.normals = std::move(normals);
    spec.faces.resize(data.faces.size());
    for (size_t f = 0; f < data.faces.size(); ++f)
        for (int c = 0; c < 3; ++c) spec.faces[f][size_t(c)] = int(data.faces[f].v[c]);
    spec.isExplicit.assign(spec.normals.size(), true);
    data.normals = std::move(spec);
}

std::string HostLineEnds(std::string_view text) {
    static constexpr std::string_view kEscaped = "&cr;&lf;";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, kEscaped.size(), kEscaped) == 0) {
            out += "\r\n";
            i += kEscaped.size() - 1;
        } else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\r\n";
            ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

SceneBuilder::SceneBuilder(const std::string& file, std::vector<std::string>& warnings)
    : scene_(std::make_unique<sim::Scene>()), warnings_(warnings) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(file, error);
    if (error) absolute = file;
    std::string folder = absolute.has_parent_path() ? absolute.parent_path().string() : std::string(".");
    scene_->Paths().Add(kImportPrefix, folder);
    scene_->FileTables().paths.emplace_back(kImportPrefix, folder);
    scene_->SetFile(HostText(std::string(kImportPrefix) + absolute.filename().string(), "file name"), "");
    scene_->SetTime(160, {0, 0});
    scene_->SetUnits(1.0);
}

std::string SceneBuilder::HostText(std::string_view utf8, const std::string& what) {
    std::string out;
    if (Utf8ToCp1251(utf8, out)) return out;
    out = Cp1251FromUtf8(utf8);
    Warn(what + " \"" + std::string(utf8) + "\" holds characters code page 1251 cannot hold; they became '?'");
    return out;
}

sim::SimNode* SceneBuilder::AddNode(std::string_view utf8_name, sim::SimNode* parent) {
    sim::SimNode* node = scene_->AddNode(HostText(utf8_name, "node name"), parent);
    node->SetObject(scene_->Own(std::make_unique<sim::SimObject>(host::kHelperClass, host::kDummyClassId)));
    return node;
}

void SceneBuilder::SetProps(sim::SimNode& node, std::string_view utf8_text) {
    node.SetUserProps(HostText(HostLineEnds(utf8_text), "the user properties of node \"" + Cp1251ToUtf8(node.GetName()) + "\""));
}

std::string SceneBuilder::TexturePath(std::string_view file) {
    std::string path(file);
    for (char& c : path)
        if (c == '\\') c = '/';
    const bool drive = path.size() >= 2 && path[1] == ':';
    const bool absolute = drive || (!path.empty() && path[0] == '/');
    if (absolute) return path;
    while (path.rfind("./", 0) == 0) path.erase(0, 2);
    std::string host_path(kImportPrefix);
    host_path.append(path);
    return host_path;
}

std::string SceneBuilder::NewId(const char* prefix, size_t count) const {
    char id[32];
    std::snprintf(id, sizeof id, "%s%04zu", prefix, count);
    return id;
}

host::Texture* SceneBuilder::Bitmap(std::string_view file, std::string_view name) {
    const std::string path = HostText(TexturePath(file), "texture path");
    if (auto found = bitmaps_.find(path); found != bitmaps_.end()) return found->second;
    std::string host_name = HostText(name.empty() ? std::string_view(path) : name, "texture name");
    auto* texture = scene_->Own(std::make_unique<sim::BitmapTexture>(std::move(host_name), path, false, false, sim::UvGenData()));
    bitmaps_[path] = texture;
    auto& table = scene_->FileTables().textures;
    table[NewId("t", table.size())] = texture;
    return texture;
}

host::Texture* SceneBuilder::NormalBump(host::Texture* normal, std::string_view name) {
    auto* texture = scene_->Own(std::make_unique<sim::ProceduralTexture>(
        host::kNormalBumpClassId, HostText(name, "texture name"), std::vector<host::Texture*>{normal}, false, sim::UvGenData()));
    auto& table = scene_->FileTables().textures;
    table[NewId("t", table.size())] = texture;
    return texture;
}

host::Material* SceneBuilder::Standard(std::string_view name, const sim::StandardMaterial::Values& values,
                                       host::Texture* diffuse, host::Texture* specular_level, host::Texture* bump,
                                       float bump_amount_percent, host::Texture* opacity) {
    auto material = std::make_unique<sim::StandardMaterial>(HostText(name, "material name"), values);
    if (diffuse) material->SetMap(host::kMapDiffuse, {diffuse, 100.0f, true});
    if (specular_level) material->SetMap(host::kMapSpecularLevel, {specular_level, 100.0f, true});
    if (bump) material->SetMap(host::kMapBump, {bump, bump_amount_percent, true});
    if (opacity) material->SetMap(host::kMapOpacity, {opacity, 100.0f, true});
    host::Material* owned = scene_->Own(std::move(material));
    auto& table = scene_->FileTables().materials;
    table[NewId("m", table.size())] = owned;
    return owned;
}

host::Material* SceneBuilder::Multi(std::string_view name, std::vector<host::Material*> subs) {
    host::Material* owned = scene_->Own(std::make_unique<sim::CompositeMaterial>(
        host::kMultiMaterialClassId, HostText(name, "material name"), std::move(subs)));
    auto& table = scene_->FileTables().materials;
    table[NewId("m", table.size())] = owned;
    return owned;
}

host::Material* SceneBuilder::DefaultMaterial() {
    if (!default_material_) default_material_ = Standard("default", sim::StandardMaterial::Values(), nullptr, nullptr, nullptr);
    return default_material_;
}

void SceneBuilder::SetFrames(int start_frame, int end_frame) {
    scene_->SetTime(160, {host::TimeValue(start_frame) * 160, host::TimeValue(end_frame) * 160});
}

}  // namespace import
