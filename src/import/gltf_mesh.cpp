#include "import/gltf_mesh.h"

#include <algorithm>
#include <map>

#include "import/gltf_accessors.h"
#include "import/import_file.h"
#include "import/transforms.h"

namespace import {

namespace {

std::string PercentDecoded(const std::string& uri) {
    std::string out;
    for (size_t i = 0; i < uri.size(); ++i) {
        auto hex = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1; };
        if (uri[i] == '%' && i + 2 < uri.size() && hex(uri[i + 1]) >= 0 && hex(uri[i + 2]) >= 0) {
            out += char(hex(uri[i + 1]) * 16 + hex(uri[i + 2]));
            i += 2;
        } else {
            out += uri[i];
        }
    }
    return out;
}

// The bitmap of texture index: a texture whose image is a file; an embedded
// image has no file the exporter could read, so it is left out with a warning.
host::Texture* TextureFile(const tinygltf::Model& model, int index, SceneBuilder& builder, const std::string& material_name) {
    if (index < 0) return nullptr;
    if (size_t(index) >= model.textures.size()) {
        builder.Warn("material \"" + material_name + "\": texture " + std::to_string(index) + " does not exist");
        return nullptr;
    }
    const int source = model.textures[size_t(index)].source;
    if (source < 0 || size_t(source) >= model.images.size()) {
        builder.Warn("material \"" + material_name + "\": texture " + std::to_string(index) + " has no image");
        return nullptr;
    }
    const tinygltf::Image& image = model.images[size_t(source)];
    if (image.uri.empty() || image.uri.rfind("data:", 0) == 0) {
        builder.Warn("material \"" + material_name + "\": image " + std::to_string(source) +
                     " is embedded in the file; the export needs it as a file beside the model (the map is left out)");
        return nullptr;
    }
    const std::string file = PercentDecoded(image.uri);
    return builder.Bitmap(file, image.name.empty() ? file : image.name);
}

// Triangles of a primitive's index list by its mode; false for points and lines.
bool Triangles(int mode, const std::vector<uint32_t>& indices, std::vector<std::array<uint32_t, 3>>& out) {
    const size_t n = indices.size();
    switch (mode) {
        case -1:
        case TINYGLTF_MODE_TRIANGLES:
            for (size_t i = 0; i + 2 < n; i += 3) out.push_back({indices[i], indices[i + 1], indices[i + 2]});
            return true;
        case TINYGLTF_MODE_TRIANGLE_STRIP:
            for (size_t i = 0; i + 2 < n; ++i)
                out.push_back(i % 2 ? std::array<uint32_t, 3>{indices[i + 1], indices[i], indices[i + 2]}
                                    : std::array<uint32_t, 3>{indices[i], indices[i + 1], indices[i + 2]});
            return true;
        case TINYGLTF_MODE_TRIANGLE_FAN:
            for (size_t i = 1; i + 1 < n; ++i) out.push_back({indices[0], indices[i], indices[i + 1]});
            return true;
        default:
            return false;
    }
}

int Attribute(const tinygltf::Primitive& primitive, const std::string& name) {
    const auto found = primitive.attributes.find(name);
    return found == primitive.attributes.end() ? -1 : found->second;
}

host::Point3 ZUp(float x, float y, float z) { return {x, -z, y}; }

}  // namespace

host::Material* GltfMaterial(const tinygltf::Model& model, int index, SceneBuilder& builder, std::vector<host::Material*>& materials) {
    if (index < 0 || size_t(index) >= model.materials.size()) return builder.DefaultMaterial();
    if (materials.size() < model.materials.size()) materials.resize(model.materials.size(), nullptr);
    if (materials[size_t(index)]) return materials[size_t(index)];
    const tinygltf::Material& source = model.materials[size_t(index)];
    const std::string name = source.name.empty() ? "material " + std::to_string(index) : source.name;
    sim::StandardMaterial::Values values;
    const std::vector<double>& base = source.pbrMetallicRoughness.baseColorFactor;
    if (base.size() == 4) {
        values.diffuse = {Limited(base[0]), Limited(base[1]), Limited(base[2])};
        if (source.alphaMode != "OPAQUE") values.transparency = std::clamp(1.0f - float(base[3]), 0.0f, 1.0f);
    }
    values.twoSided = source.doubleSided;
    host::Texture* diffuse = TextureFile(model, source.pbrMetallicRoughness.baseColorTexture.index, builder, name);
    host::Texture* bump = nullptr;
    if (host::Texture* normal = TextureFile(model, source.normalTexture.index, builder, name))
        bump = builder.NormalBump(normal, name + " normal");
    const float bump_amount = float(std::clamp(source.normalTexture.scale, -10.0, 10.0) * 100.0);
    return materials[size_t(index)] = builder.Standard(name, values, diffuse, nullptr, bump, bump_amount);
}

GltfMesh BuildGltfMesh(const tinygltf::Model& model, size_t mesh_index, SceneBuilder& builder,
                       std::vector<host::Material*>& materials) {
    const tinygltf::Mesh& mesh = model.meshes[mesh_index];
    const std::string mesh_name = "mesh " + std::to_string(mesh_index) + (mesh.name.empty() ? "" : " \"" + mesh.name + "\"");
    GltfMesh out;
    sim::MeshData& data = out.data;
    std::vector<host::Material*> distinct;  // the node's sub-materials, in order of first use
    std::map<int, std::vector<host::Point3>> uv_sets;  // channel → one map vertex per mesh vertex
    std::vector<host::Point3> colours, alphas, normals;
    bool has_colour = false, has_alpha = false, has_normals = false;
    for (size_t p = 0; p < mesh.primitives.size(); ++p) {
        const tinygltf::Primitive& primitive = mesh.primitives[p];
        const std::string what = mesh_name + " primitive " + std::to_string(p);
        const int position = Attribute(primitive, "POSITION");
        if (position < 0) {
            builder.Warn(what + " has no POSITION attribute and is left out");
            continue;
        }
        const std::vector<float> positions = ReadFloats(model, position, 3, "POSITION of " + what);
        const size_t count = positions.size() / 3;
        std::vector<uint32_t> indices;
        if (primitive.indices >= 0) {
            indices = ReadUnsigned(model, primitive.indices, 1, "indices of " + what);
        } else {
            indices.resize(count);
            for (size_t i = 0; i < count; ++i) indices[i] = uint32_t(i);
        }
        std::vector<std::array<uint32_t, 3>> triangles;
        if (!Triangles(primitive.mode, indices, triangles)) {
            builder.Warn(what + " holds points or lines, which a mesh cannot hold; it is left out");
            continue;
        }
        for (const auto& triangle : triangles)
            for (uint32_t index : triangle)
                if (index >= count) throw ImportError("indices of " + what + ": index " + std::to_string(index) + " out of range (" + std::to_string(count) + " vertices)");
        const size_t first = data.verts.size();
        if (first + count > 0x7FFFFFFF) throw ImportError(mesh_name + ": too many vertices");

        // The primitive's material becomes a face material id.
        host::Material* material = GltfMaterial(model, primitive.material, builder, materials);
        size_t material_id = std::find(distinct.begin(), distinct.end(), material) - distinct.begin();
        if (material_id == distinct.size()) distinct.push_back(material);
        if (material_id > 0xFFFF) throw ImportError(mesh_name + ": too many materials");

        for (size_t v = 0; v < count; ++v) data.verts.push_back(ZUp(positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]));
        for (const auto& triangle : triangles) {
            host::Face face;
            for (int c = 0; c < 3; ++c) face.v[c] = uint32_t(first + triangle[size_t(c)]);
            face.smGroup = 1;
            face.SetMaterialId(uint16_t(material_id));
            data.faces.push_back(face);
        }

        normals.resize(first + count, {0, 0, 1});
        if (const int index = Attribute(primitive, "NORMAL"); index >= 0) {
            const std::vector<float> n = ReadFloats(model, index, 3, "NORMAL of " + what);
            if (n.size() != positions.size()) throw ImportError("NORMAL of " + what + ": not one per vertex");
            for (size_t v = 0; v < count; ++v) normals[first + v] = ZUp(n[3 * v], n[3 * v + 1], n[3 * v + 2]);
            has_normals = true;
        }
        for (int set = 0; set < host::kMapMaxChannel; ++set) {
            const int index = Attribute(primitive, "TEXCOORD_" + std::to_string(set));
            if (index < 0) continue;
            const std::vector<float> uv = ReadFloats(model, index, 2, "TEXCOORD_" + std::to_string(set) + " of " + what);
            if (uv.size() != 2 * count) throw ImportError("TEXCOORD_" + std::to_string(set) + " of " + what + ": not one per vertex");
            std::vector<host::Point3>& channel = uv_sets[set + 1];
            channel.resize(first + count, {0, 0, 0});
            for (size_t v = 0; v < count; ++v) channel[first + v] = {uv[2 * v], 1.0f - uv[2 * v + 1], 0};
        }
        colours.resize(first + count, {1, 1, 1});
        alphas.resize(first + count, {1, 0, 0});
        if (const int index = Attribute(primitive, "COLOR_0"); index >= 0) {
            const bool rgba = size_t(index) < model.accessors.size() &&
                              tinygltf::GetNumComponentsInType(uint32_t(model.accessors[size_t(index)].type)) == 4;
            const size_t n = rgba ? 4 : 3;
            const std::vector<float> c = ReadFloats(model, index, int(n), "COLOR_0 of " + what);
            if (c.size() != n * count) throw ImportError("COLOR_0 of " + what + ": not one per vertex");
            for (size_t v = 0; v < count; ++v) {
                colours[first + v] = {c[n * v], c[n * v + 1], c[n * v + 2]};
                if (n == 4) alphas[first + v] = {c[n * v + 3], 0, 0}, has_alpha = true;
            }
            has_colour = true;
        }
        out.joints.resize(first + count);
        for (int set = 0; set < 4; ++set) {
            const int joints = Attribute(primitive, "JOINTS_" + std::to_string(set));
            const int weights = Attribute(primitive, "WEIGHTS_" + std::to_string(set));
            if (joints < 0 || weights < 0) break;
            const std::vector<uint32_t> j = ReadUnsigned(model, joints, 4, "JOINTS_" + std::to_string(set) + " of " + what);
            const std::vector<float> w = ReadFloats(model, weights, 4, "WEIGHTS_" + std::to_string(set) + " of " + what);
            if (j.size() != 4 * count || w.size() != 4 * count) throw ImportError("JOINTS/WEIGHTS of " + what + ": not one per vertex");
            for (size_t v = 0; v < count; ++v)
                for (size_t k = 0; k < 4; ++k)
                    if (w[4 * v + k] > 0) out.joints[first + v].push_back({int(std::min<uint32_t>(j[4 * v + k], 0x7FFFFFFF)), w[4 * v + k]});
            out.hasJoints = true;
        }
    }

    // Every channel covers every vertex; primitives without it take zeros.
    for (auto& [number, verts] : uv_sets) SetVertexChannel(data, number, std::move(verts));
    if (has_colour) SetVertexChannel(data, host::kMapColor, std::move(colours));
    if (has_alpha) SetVertexChannel(data, host::kMapAlpha, std::move(alphas));
    if (has_normals) SetVertexNormals(data, std::move(normals));
    if (distinct.size() == 1) out.material = distinct[0];
    else if (distinct.size() > 1) out.material = builder.Multi(mesh.name.empty() ? mesh_name : mesh.name, distinct);
    if (!out.hasJoints) out.joints.clear();
    return out;
}

}  // namespace import
