#include "skinned_scene.h"

#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>

#include "sim/materials.h"
#include "sim/textures.h"

namespace benchscene {

namespace {

// One grid: positions, texture coordinates, weights per vertex and faces
// (three indices and a material id each).
struct Grid {
    std::vector<host::Point3> positions, uvs;
    std::vector<std::vector<std::pair<int, float>>> weights;
    std::vector<std::array<uint32_t, 4>> faces;
};

Grid MakeGrid(int m) {
    Grid grid;
    const float height = kBones * 10.0f;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            const float y = height * r / (kRows - 1);
            const float angle = 6.2831853f * c / (kColumns - 1);
            grid.positions.push_back({m * 40.0f + 15 * std::cos(angle), y, 15 * std::sin(angle)});
            grid.uvs.push_back({float(c) / (kColumns - 1), float(r) / (kRows - 1), 0});
            const float t = y / 10.0f;
            const int b = std::min(int(t), kBones - 1);
            const float f = t - float(b);
            std::vector<std::pair<int, float>> w{{b, 0.9f - 0.8f * f}};
            if (b + 1 < kBones) w.push_back({b + 1, 0.1f + 0.8f * f});
            if (b + 2 < kBones) w.push_back({b + 2, 0.05f});
            grid.weights.push_back(w);
        }
    for (int r = 0; r + 1 < kRows; ++r)
        for (int c = 0; c + 1 < kColumns; ++c) {
            const uint32_t a = uint32_t(r * kColumns + c), b = a + 1, d = a + kColumns, e = d + 1;
            const uint32_t material = uint32_t((r / 10) % 2);
            grid.faces.push_back({a, b, e, material});
            grid.faces.push_back({a, e, d, material});
        }
    return grid;
}

}  // namespace

std::unique_ptr<sim::Scene> SkinnedScene(int mesh_count) {
    auto scene = std::make_unique<sim::Scene>();
    sim::SimNode* root = scene->AddNode("Army", nullptr);
    root->SetUserProps("Model=units/army\r\n");
    sim::SimObject* helper = scene->Own(std::make_unique<sim::SimObject>(host::kHelperClass, host::kDummyClassId));
    std::vector<sim::SimNode*> bones;
    for (int b = 0; b < kBones; ++b) {
        sim::SimNode* bone = scene->AddNode("bone" + std::to_string(b), root);
        bone->Transform() = sim::TransformTrack(host::Matrix3::Translation({0, b * 10.0f, 0}));
        bone->SetObject(helper);
        bones.push_back(bone);
    }
    sim::UvGenData uv;
    std::vector<host::Material*> subs;
    for (const char* name : {"Armour", "Cloth"}) {
        auto* texture = scene->Own(std::make_unique<sim::BitmapTexture>(std::string(name) + "Map", "", false, false, uv));
        auto* material = scene->Own(std::make_unique<sim::StandardMaterial>(name, sim::StandardMaterial::Values()));
        material->SetMap(host::kMapDiffuse, {texture, 100.0f, true});
        subs.push_back(material);
    }
    host::Material* multi =
        scene->Own(std::make_unique<sim::CompositeMaterial>(host::kMultiMaterialClassId, "Uniform", subs));

    for (int m = 0; m < mesh_count; ++m) {
        Grid grid = MakeGrid(m);
        sim::MeshData mesh;
        mesh.verts = std::move(grid.positions);
        sim::MapChannelData& channel = mesh.channels[1];
        channel.verts = std::move(grid.uvs);
        for (const auto& f : grid.faces) {
            host::Face face;
            face.v[0] = f[0], face.v[1] = f[1], face.v[2] = f[2];
            face.smGroup = 1;
            face.SetMaterialId(uint16_t(f[3]));
            mesh.faces.push_back(face);
            channel.faces.push_back(host::MapFace{{f[0], f[1], f[2]}});
        }
        sim::SimNode* node = scene->AddNode("mesh" + std::to_string(m), root);
        node->SetObject(scene->Own(std::make_unique<sim::MeshObject>(host::kEditableMeshClassId, std::move(mesh))));
        node->SetMaterial(multi);
        node->SetSkin(std::make_unique<sim::SimSkin>(bones, std::move(grid.weights), true, scene->HoldImpl()));
    }
    return scene;
}

std::vector<unsigned char> SkinnedGlb(int mesh_count) {
    using nlohmann::json;
    std::vector<unsigned char> bin;
    json views = json::array(), accessors = json::array();
    auto add = [&](const void* data, size_t bytes, int component, const char* type, size_t count) {
        while (bin.size() % 4) bin.push_back(0);
        const size_t offset = bin.size();
        bin.resize(offset + bytes);
        std::memcpy(bin.data() + offset, data, bytes);
        views.push_back({{"buffer", 0}, {"byteOffset", offset}, {"byteLength", bytes}});
        accessors.push_back({{"bufferView", views.size() - 1}, {"componentType", component}, {"count", count}, {"type", type}});
        return accessors.size() - 1;
    };
    // Host z up to the file's y up: (x, y, z) → (x, z, −y).
    json nodes = json::array();
    json root = {{"name", "Army"}, {"extras", {{"props", "Model=units/army\n"}}}, {"children", json::array()}};
    json joints = json::array();
    std::vector<float> inverse_binds;
    for (int b = 0; b < kBones; ++b) {
        nodes.push_back({{"name", "bone" + std::to_string(b)}, {"translation", {0, 0, -b * 10.0}}});
        joints.push_back(b + 1);
        const float ib[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, b * 10.0f, 1};
        inverse_binds.insert(inverse_binds.end(), ib, ib + 16);
    }
    const size_t binds = add(inverse_binds.data(), inverse_binds.size() * 4, 5126, "MAT4", kBones);
    json meshes = json::array();
    for (int m = 0; m < mesh_count; ++m) {
        const Grid grid = MakeGrid(m);
        std::vector<float> positions, uvs, weights;
        std::vector<uint16_t> joint_ids;
        for (size_t v = 0; v < grid.positions.size(); ++v) {
            const host::Point3& p = grid.positions[v];
            positions.insert(positions.end(), {p.x, p.z, -p.y});
            uvs.insert(uvs.end(), {grid.uvs[v].x, 1 - grid.uvs[v].y});
            for (size_t k = 0; k < 4; ++k) {
                joint_ids.push_back(k < grid.weights[v].size() ? uint16_t(grid.weights[v][k].first) : 0);
                weights.push_back(k < grid.weights[v].size() ? grid.weights[v][k].second : 0.0f);
            }
        }
        const size_t count = grid.positions.size();
        json attributes = {{"POSITION", add(positions.data(), positions.size() * 4, 5126, "VEC3", count)},
                           {"TEXCOORD_0", add(uvs.data(), uvs.size() * 4, 5126, "VEC2", count)},
                           {"JOINTS_0", add(joint_ids.data(), joint_ids.size() * 2, 5123, "VEC4", count)},
                           {"WEIGHTS_0", add(weights.data(), weights.size() * 4, 5126, "VEC4", count)}};
        json primitives = json::array();
        for (uint32_t material = 0; material < 2; ++material) {
            std::vector<uint32_t> indices;
            for (const auto& f : grid.faces)
                if (f[3] == material) indices.insert(indices.end(), {f[0], f[1], f[2]});
            primitives.push_back({{"attributes", attributes},
                                  {"indices", add(indices.data(), indices.size() * 4, 5125, "SCALAR", indices.size())},
                                  {"material", material}});
        }
        meshes.push_back({{"primitives", primitives}});
        root["children"].push_back(nodes.size() + 1);
        nodes.push_back({{"name", "mesh" + std::to_string(m)}, {"mesh", m}, {"skin", 0}});
    }
    for (int b = 0; b < kBones; ++b) root["children"].push_back(b + 1);
    nodes.insert(nodes.begin(), root);
    json doc = {{"asset", {{"version", "2.0"}}},
                {"scene", 0},
                {"scenes", {{{"nodes", {0}}}}},
                {"nodes", nodes},
                {"meshes", meshes},
                {"skins", {{{"joints", joints}, {"inverseBindMatrices", binds}}}},
                {"materials", {{{"name", "Armour"}}, {{"name", "Cloth"}}}},
                {"bufferViews", views},
                {"accessors", accessors},
                {"buffers", {{{"byteLength", bin.size()}}}}};
    std::string text = doc.dump();
    while (text.size() % 4) text += ' ';
    while (bin.size() % 4) bin.push_back(0);
    std::vector<unsigned char> out;
    auto u32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
    };
    u32(0x46546C67), u32(2), u32(uint32_t(28 + text.size() + bin.size()));
    u32(uint32_t(text.size())), u32(0x4E4F534A);
    out.insert(out.end(), text.begin(), text.end());
    u32(uint32_t(bin.size())), u32(0x004E4942);
    out.insert(out.end(), bin.begin(), bin.end());
    return out;
}

}  // namespace benchscene
