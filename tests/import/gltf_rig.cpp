#include "gltf_rig.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>

namespace importtest {

namespace {

using nlohmann::ordered_json;

// Appends values to bin (4-byte aligned) and returns a view and accessor.
struct BufferWriter {
    std::vector<unsigned char>& bin;
    ordered_json& views;
    ordered_json& accessors;

    int Add(const std::vector<float>& values, const char* type, int components) {
        return Add(values.data(), values.size() * 4, 5126, type, values.size() / size_t(components));
    }
    int AddShorts(const std::vector<uint16_t>& values, const char* type, int components) {
        return Add(values.data(), values.size() * 2, 5123, type, values.size() / size_t(components));
    }
    int Add(const void* data, size_t bytes, int component_type, const char* type, size_t count) {
        while (bin.size() % 4) bin.push_back(0);
        const size_t offset = bin.size();
        bin.resize(offset + bytes);
        std::memcpy(bin.data() + offset, data, bytes);
        views.push_back({{"buffer", 0}, {"byteOffset", offset}, {"byteLength", bytes}});
        accessors.push_back({{"bufferView", views.size() - 1}, {"componentType", component_type}, {"count", count}, {"type", type}});
        return int(accessors.size() - 1);
    }
};

std::string Base64(const std::vector<unsigned char>& bytes) {
    static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const uint32_t n = (uint32_t(bytes[i]) << 16) | (i + 1 < bytes.size() ? uint32_t(bytes[i + 1]) << 8 : 0) |
                           (i + 2 < bytes.size() ? uint32_t(bytes[i + 2]) : 0);
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
    }
    return out;
}

void Write(const std::string& path, const void* data, size_t size) {
    std::ofstream(path, std::ios::binary).write(static_cast<const char*>(data), std::streamsize(size));
}

}  // namespace

GltfRig MakeGltfRig() {
    GltfRig rig;
    ordered_json views = ordered_json::array(), accessors = ordered_json::array();
    BufferWriter writer{rig.bin, views, accessors};
    const int positions = writer.Add({-0.5f, 0, 0, 0.5f, 0, 0, 0.5f, 2, 0, -0.5f, 2, 0}, "VEC3", 3);
    const int normals = writer.Add({0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}, "VEC3", 3);
    const int uvs = writer.Add({0, 1, 1, 1, 1, 0, 0, 0}, "VEC2", 2);
    const int joints = writer.AddShorts({0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, "VEC4", 4);
    const int weights = writer.Add({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, "VEC4", 4);
    const int indices = writer.AddShorts({0, 1, 2, 0, 2, 3}, "SCALAR", 1);
    const float s = float(std::sin(M_PI / 4)), c = float(std::cos(M_PI / 4));
    const int times = writer.Add({0, 1.0f / 3}, "SCALAR", 1);
    const int rotations = writer.Add({0, 0, 0, 1, s, 0, 0, c}, "VEC4", 4);
    const int inverse_binds = writer.Add({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1,
                                          1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, "MAT4", 16);
    accessors[size_t(times)]["min"] = {0};
    accessors[size_t(times)]["max"] = {1.0 / 3};

    ordered_json doc;
    doc["asset"] = {{"version", "2.0"}, {"generator", "import tests"}};
    doc["extensionsUsed"] = {"KHR_lights_punctual"};
    doc["scene"] = 0;
    doc["scenes"] = {{{"nodes", {0}}}};
    ordered_json extras;
    extras["weight"] = 2;
    extras["props"] = "Model=units/rig\nanimation=walk, everyone, 0-10\n";
    extras["lod"] = true;
    extras["nested"] = {{"ignored", 1}};
    extras["note"] = "x";
    doc["nodes"] = {
        {{"name", "Rig"}, {"children", {1, 3, 4, 5}}, {"extras", extras}},
        {{"name", "hip"}, {"translation", {0, 1, 0}}, {"children", {2}}},
        {{"name", "knee"}, {"translation", {0, 1, 0}}},
        {{"name", "body"}, {"mesh", 0}, {"skin", 0}},
        {{"name", "cam"}, {"camera", 0}, {"translation", {0, 1, 5}}},
        {{"name", "lamp"}, {"extensions", {{"KHR_lights_punctual", {{"light", 0}}}}}},
    };
    doc["meshes"] = {{{"name", "quad"},
                      {"primitives", {{{"attributes", {{"POSITION", positions}, {"NORMAL", normals}, {"TEXCOORD_0", uvs},
                                                       {"JOINTS_0", joints}, {"WEIGHTS_0", weights}}},
                                       {"indices", indices}, {"material", 0}}}}}};
    doc["skins"] = {{{"joints", {1, 2}}, {"inverseBindMatrices", inverse_binds}}};
    doc["animations"] = {{{"name", "walk"},
                          {"samplers", {{{"input", times}, {"output", rotations}, {"interpolation", "LINEAR"}}}},
                          {"channels", {{{"sampler", 0}, {"target", {{"node", 2}, {"path", "rotation"}}}}}}}};
    doc["materials"] = {{{"name", "skin"},
                         {"pbrMetallicRoughness", {{"baseColorFactor", {0.8, 0.4, 0.2, 1.0}}, {"baseColorTexture", {{"index", 0}}}}},
                         {"normalTexture", {{"index", 1}}},
                         {"doubleSided", true}}};
    doc["textures"] = {{{"source", 0}}, {{"source", 1}}};
    doc["images"] = {{{"uri", "tex/skin.png"}}, {{"uri", "tex/skin%20n.png"}}};
    doc["cameras"] = {{{"type", "perspective"}, {"perspective", {{"yfov", 0.5}, {"aspectRatio", 2.0}, {"znear", 0.1}}}}};
    doc["extensions"] = {{"KHR_lights_punctual",
                          {{"lights", {{{"type", "spot"}, {"color", {1, 0.5, 0.25}}, {"range", 7},
                                        {"spot", {{"innerConeAngle", 0.2}, {"outerConeAngle", 0.4}}}}}}}}};
    doc["bufferViews"] = views;
    doc["accessors"] = accessors;
    doc["buffers"] = {{{"uri", "rig.bin"}, {"byteLength", rig.bin.size()}}};
    rig.json = doc.dump(1);
    return rig;
}

std::string WriteGltfExternal(const GltfRig& rig, const std::string& dir) {
    Write(dir + "/rig.bin", rig.bin.data(), rig.bin.size());
    Write(dir + "/rig.gltf", rig.json.data(), rig.json.size());
    return dir + "/rig.gltf";
}

std::string WriteGltfEmbedded(const GltfRig& rig, const std::string& dir) {
    ordered_json doc = ordered_json::parse(rig.json);
    doc["buffers"][0]["uri"] = "data:application/octet-stream;base64," + Base64(rig.bin);
    const std::string text = doc.dump(1);
    Write(dir + "/rig_embedded.gltf", text.data(), text.size());
    return dir + "/rig_embedded.gltf";
}

std::vector<unsigned char> GlbBytes(const GltfRig& rig) {
    ordered_json doc = ordered_json::parse(rig.json);
    doc["buffers"][0].erase("uri");
    std::string json = doc.dump();
    while (json.size() % 4) json += ' ';
    std::vector<unsigned char> bin = rig.bin;
    while (bin.size() % 4) bin.push_back(0);
    std::vector<unsigned char> out;
    auto u32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
    };
    u32(0x46546C67), u32(2), u32(uint32_t(12 + 8 + json.size() + 8 + bin.size()));
    u32(uint32_t(json.size())), u32(0x4E4F534A);
    out.insert(out.end(), json.begin(), json.end());
    u32(uint32_t(bin.size())), u32(0x004E4942);
    out.insert(out.end(), bin.begin(), bin.end());
    return out;
}

std::string WriteGlb(const GltfRig& rig, const std::string& dir) {
    const std::vector<unsigned char> bytes = GlbBytes(rig);
    Write(dir + "/rig.glb", bytes.data(), bytes.size());
    return dir + "/rig.glb";
}

}  // namespace importtest
