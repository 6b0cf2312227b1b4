// glTF 2.0 files (.gltf with external or embedded buffers, .glb) into a
// scene of the simulated host.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "base/cp1251.h"
#include "import/gltf_accessors.h"
#include "import/gltf_animation.h"
#include "import/gltf_mesh.h"
#include "import/gltf_model.h"
#include "import/import_file.h"
#include "import/readers.h"
#include "import/scene_builder.h"
#include "import/skin_pose.h"
#include "import/transforms.h"
#include "sim/objects.h"

namespace import {

namespace {

constexpr size_t kMaxExternalFileSize = size_t(1) << 30;
constexpr int kMaxDepth = 100;
constexpr double kPi = 3.14159265358979323846;

// File access for the reader: external buffers only, read whole with a size
// limit, and none at all when the caller forbids files.
struct FileAccess {
    bool allowed = false;
};

bool FileExists(const std::string& path, void* user) {
    std::error_code error;
    return static_cast<FileAccess*>(user)->allowed && std::filesystem::is_regular_file(path, error);
}

std::string ExpandFilePath(const std::string& path, void*) { return path; }

bool ReadWholeFile(std::vector<unsigned char>* out, std::string* err, const std::string& path, void* user) {
    if (!static_cast<FileAccess*>(user)->allowed) {
        if (err) *err += "external file " + path + " is not read here\n";
        return false;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!file || error || size > kMaxExternalFileSize) {
        if (err) *err += "cannot read the external file " + path + "\n";
        return false;
    }
    out->resize(size_t(size));
    if (size > 0 && std::fread(out->data(), 1, out->size(), file.get()) != out->size()) {
        if (err) *err += "cannot read the external file " + path + "\n";
        return false;
    }
    return true;
}

bool WriteWholeFile(std::string* err, const std::string&, const std::vector<unsigned char>&, void*) {
    if (err) *err += "writing is not allowed\n";
    return false;
}

// Images are not decoded: the exporter reads texture files itself.
bool KeepImageUndecoded(tinygltf::Image*, const int, std::string*, std::string*, int, int, const unsigned char*, int, void*) {
    return true;
}

// The JSON text of a glTF file or of a glb container's first chunk.
std::string_view JsonText(const unsigned char* bytes, size_t size, bool binary) {
    if (!binary) return {reinterpret_cast<const char*>(bytes), size};
    if (size < 20) return {};
    uint32_t length;
    std::memcpy(&length, bytes + 12, 4);
    if (length > size - 20) return {};
    return {reinterpret_cast<const char*>(bytes + 20), length};
}

// The user property text of each node from its extras, in the order of the
// file (the reader's own copy of them is sorted by key): "props" as the text,
// every other string, number or boolean as a key=value line after it.
std::vector<std::string> NodeProperties(std::string_view json_text, size_t node_count) {
    std::vector<std::string> texts(node_count);
    const nlohmann::ordered_json document = nlohmann::ordered_json::parse(json_text.begin(), json_text.end(), nullptr, false);
    if (!document.is_object() || !document.contains("nodes") || !document["nodes"].is_array()) return texts;
    const auto& nodes = document["nodes"];
    for (size_t i = 0; i < nodes.size() && i < node_count; ++i) {
        if (!nodes[i].is_object() || !nodes[i].contains("extras") || !nodes[i]["extras"].is_object()) continue;
        const auto& extras = nodes[i]["extras"];
        std::string text;
        if (extras.contains("props") && extras["props"].is_string()) text = extras["props"].get<std::string>();
        for (const auto& [key, value] : extras.items()) {
            if (key == "props" && value.is_string()) continue;
            if (!value.is_string() && !value.is_number() && !value.is_boolean()) continue;
            if (!text.empty() && text.back() != '\n') text += "\n";
            text += key + "=" + (value.is_string() ? value.get<std::string>() : value.dump()) + "\n";
        }
        texts[i] = std::move(text);
    }
    return texts;
}

void CheckFinite(const std::vector<double>& values, const std::string& what) {
    for (double v : values)
        if (!std::isfinite(v) || std::fabs(v) > kLargestNumber) throw ImportError(what + ": a transform value is not a number in [-1e+30, 1e+30]");
}

class GltfScene {
public:
    /// props: each node's user property text (NodeProperties).
    GltfScene(tinygltf::Model& model, SceneBuilder& builder, std::vector<std::string> props)
        : model_(model), builder_(builder), props_(std::move(props)) {}

    void Build() {
        nodes_.assign(model_.nodes.size(), nullptr);
        for (int root : RootNodes()) AddNode(root, nullptr, 0);
        int last_frame = 0;
        if (!model_.animations.empty()) {
            last_frame = SampleGltfAnimation(model_, 0, nodes_, builder_);
            if (model_.animations.size() > 1)
                builder_.Warn("the file holds " + std::to_string(model_.animations.size()) +
                              " animations; only the first (\"" + model_.animations[0].name + "\") is imported");
        }
        builder_.SetFrames(0, last_frame);
        // Everything read from the buffers first, so that they can go before
        // the objects are made: a large file's buffers and its meshes would
        // otherwise all be held at once.
        for (size_t i = 0; i < nodes_.size(); ++i) {
            if (!nodes_[i]) continue;
            const tinygltf::Node& source = model_.nodes[i];
            if (source.mesh >= 0 && size_t(source.mesh) < model_.meshes.size()) Mesh(size_t(source.mesh)), ++mesh_uses_[size_t(source.mesh)];
            if (source.skin >= 0 && size_t(source.skin) < model_.skins.size()) InverseBinds(size_t(source.skin), i);
        }
        model_.buffers.clear();
        model_.buffers.shrink_to_fit();
        // Objects go on once every transform is known: a skin takes its pose at frame 0.
        for (size_t i = 0; i < nodes_.size(); ++i)
            if (nodes_[i]) AddObjects(i);
    }

private:
    std::vector<int> RootNodes() {
        if (!model_.scenes.empty()) {
            const size_t scene = model_.defaultScene >= 0 && size_t(model_.defaultScene) < model_.scenes.size() ? size_t(model_.defaultScene) : 0;
            if (model_.scenes.size() > 1)
                builder_.Warn("the file holds " + std::to_string(model_.scenes.size()) + " scenes; only scene " + std::to_string(scene) + " is imported");
            return model_.scenes[scene].nodes;
        }
        // Without scenes every node that is nobody's child is a root.
        std::vector<bool> child(model_.nodes.size(), false);
        for (const tinygltf::Node& node : model_.nodes)
            for (int c : node.children)
                if (c >= 0 && size_t(c) < child.size()) child[size_t(c)] = true;
        std::vector<int> roots;
        for (size_t i = 0; i < child.size(); ++i)
            if (!child[i]) roots.push_back(int(i));
        return roots;
    }

    void AddNode(int index, sim::SimNode* parent, int depth) {
        if (index < 0 || size_t(index) >= model_.nodes.size()) throw ImportError("node " + std::to_string(index) + " does not exist");
        if (nodes_[size_t(index)]) throw ImportError("node " + std::to_string(index) + " appears twice in the node tree");
        if (depth > kMaxDepth) throw ImportError("nodes nest deeper than " + std::to_string(kMaxDepth) + " levels");
        const tinygltf::Node& source = model_.nodes[size_t(index)];
        const std::string what = "node " + std::to_string(index);
        CheckFinite(source.matrix, what), CheckFinite(source.translation, what), CheckFinite(source.rotation, what), CheckFinite(source.scale, what);
        sim::SimNode* node = builder_.AddNode(source.name.empty() ? what : source.name, parent);
        nodes_[size_t(index)] = node;
        node->Transform() = sim::TransformTrack(Limited(GltfLocalTransform(source)));
        if (!props_[size_t(index)].empty()) builder_.SetProps(*node, props_[size_t(index)]);
        for (int child : source.children) AddNode(child, node, depth + 1);
    }

    void AddObjects(size_t index) {
        const tinygltf::Node& source = model_.nodes[index];
        sim::SimNode* node = nodes_[index];
        if (source.mesh >= 0) AddMesh(index, *node);
        if (source.camera >= 0) AddCamera(source, *node);
        if (const auto light = source.extensions.find("KHR_lights_punctual"); light != source.extensions.end()) AddLight(source, light->second, *node);
    }

    GltfMesh& Mesh(size_t mesh_index) {
        auto found = meshes_.find(mesh_index);
        if (found == meshes_.end()) found = meshes_.emplace(mesh_index, BuildGltfMesh(model_, mesh_index, builder_, materials_)).first;
        return found->second;
    }

    void AddMesh(size_t index, sim::SimNode& node) {
        const tinygltf::Node& source = model_.nodes[index];
        if (size_t(source.mesh) >= model_.meshes.size()) throw ImportError("node " + std::to_string(index) + ": mesh " + std::to_string(source.mesh) + " does not exist");
        const size_t mesh_index = size_t(source.mesh);
        GltfMesh& mesh = Mesh(mesh_index);
        // The last node to use a mesh takes its data rather than a copy.
        const bool last_use = --mesh_uses_[mesh_index] == 0;
        if (mesh.data.faces.empty()) return;
        if (mesh.material) node.SetMaterial(mesh.material);
        sim::Scene& scene = builder_.Scene();
        if (source.skin >= 0 && mesh.hasJoints) {
            sim::MeshData data = last_use ? std::move(mesh.data) : mesh.data;
            SkinBinding skin = Skin(size_t(source.skin), mesh, index, last_use);
            PoseAtFrameZero(data, skin, node);
            auto* object = scene.Own(std::make_unique<sim::MeshObject>(host::kEditableMeshClassId, std::move(data)));
            object->SetRecorder(&scene.Record(), node.GetName());
            node.SetObject(object);
            node.SetSkin(std::make_unique<sim::SimSkin>(std::move(skin.bones), std::move(skin.weights), true, scene.HoldImpl()));
            return;
        }
        if (source.skin >= 0) builder_.Warn("node " + std::to_string(index) + ": skin without JOINTS_0/WEIGHTS_0 on its mesh; imported unskinned");
        sim::MeshObject*& shared = shared_meshes_[mesh_index];
        if (!shared) {
            shared = scene.Own(std::make_unique<sim::MeshObject>(host::kEditableMeshClassId, last_use ? std::move(mesh.data) : mesh.data));
            shared->SetRecorder(&scene.Record(), node.GetName());
        } else {
            scene.FileTables().objects["mesh" + std::to_string(mesh_index)] = shared;
        }
        node.SetObject(shared);
    }

    // The inverse bind matrix of each joint of skin skin_index (read once).
    const std::vector<host::Matrix3>& InverseBinds(size_t skin_index, size_t node_index) {
        auto found = inverse_binds_.find(skin_index);
        if (found != inverse_binds_.end()) return found->second;
        const std::string what = "skin " + std::to_string(skin_index) + " of node " + std::to_string(node_index);
        const tinygltf::Skin& skin = model_.skins[skin_index];
        std::vector<host::Matrix3> binds(skin.joints.size());
        if (skin.inverseBindMatrices >= 0) {
            const std::vector<float> m = ReadFloats(model_, skin.inverseBindMatrices, 16, what + " inverse bind matrices");
            if (m.size() < 16 * binds.size()) throw ImportError(what + ": fewer inverse bind matrices than joints");
            for (size_t b = 0; b < binds.size(); ++b) {
                double column_major[16];
                for (size_t k = 0; k < 16; ++k) column_major[k] = m[16 * b + k];
                binds[b] = ToZUp(FromColumnMajor(column_major));
            }
        }
        return inverse_binds_.emplace(skin_index, std::move(binds)).first->second;
    }

    SkinBinding Skin(size_t skin_index, GltfMesh& mesh, size_t node_index, bool last_use) {
        const std::string what = "skin " + std::to_string(skin_index) + " of node " + std::to_string(node_index);
        if (skin_index >= model_.skins.size()) throw ImportError(what + " does not exist");
        const tinygltf::Skin& skin = model_.skins[skin_index];
        SkinBinding binding;
        for (int joint : skin.joints) {
            if (joint < 0 || size_t(joint) >= nodes_.size() || !nodes_[size_t(joint)])
                throw ImportError(what + ": joint " + std::to_string(joint) + " is not a node of the scene");
            binding.bones.push_back(nodes_[size_t(joint)]);
        }
        binding.inverseBind = InverseBinds(skin_index, node_index);
        binding.weights = last_use ? std::move(mesh.joints) : mesh.joints;
        for (const auto& pairs : binding.weights)
            for (const auto& [joint, weight] : pairs)
                if (size_t(joint) >= binding.bones.size())
                    throw ImportError(what + ": a vertex names joint " + std::to_string(joint) + " of " + std::to_string(binding.bones.size()));
        return binding;
    }

    // Cameras and lights look down their own −z with y up, in the file's
    // y-up frame; the node that holds one turns to match in the z-up scene
    // (its own children keep their placement through an added node).
    sim::SimNode& ViewNode(const tinygltf::Node& source, sim::SimNode& node, const char* kind) {
        sim::SimNode* holder = &node;
        const bool has_children = node.NumberOfChildren() > 0 || node.GetObjectRef()->SuperClassID() != host::kHelperClass;
        if (has_children) {
            holder = builder_.AddNode((source.name.empty() ? std::string("node") : source.name) + " " + kind, &node);
            holder->Transform() = sim::TransformTrack(YUpToZUp());
            return *holder;
        }
        const sim::TransformTrack old = node.Transform();
        if (old.IsConstant()) {
            node.Transform() = sim::TransformTrack(YUpToZUp() * old.Eval(0));
        } else {
            sim::TransformTrack turned;
            for (const auto& [t, m] : old.Keys()) turned.SetKey(t, YUpToZUp() * m);
            node.Transform() = turned;
        }
        return node;
    }

    void AddCamera(const tinygltf::Node& source, sim::SimNode& node) {
        if (size_t(source.camera) >= model_.cameras.size()) {
            builder_.Warn("node \"" + source.name + "\": camera " + std::to_string(source.camera) + " does not exist");
            return;
        }
        const tinygltf::Camera& camera = model_.cameras[size_t(source.camera)];
        double fov = 45.0;
        if (camera.type == "perspective") {
            const double yfov = camera.perspective.yfov, aspect = camera.perspective.aspectRatio;
            if (std::isfinite(yfov) && yfov > 0) {
                const double hfov = aspect > 0 && std::isfinite(aspect) ? 2 * std::atan(std::tan(yfov / 2) * aspect) : yfov;
                fov = hfov * 180 / kPi;
            }
        } else {
            builder_.Warn("camera \"" + camera.name + "\" is orthographic; imported as a perspective camera of 45 degrees");
        }
        fov = std::clamp(fov, 0.001, 179.999);
        sim::SimNode& holder = ViewNode(source, node, "camera");
        host::CameraState state;
        state.fov = float(fov * kPi / 180);
        sim::Scene& scene = builder_.Scene();
        auto* object = scene.Own(std::make_unique<sim::CameraObject>(host::kFreeCameraClassId, state));
        sim::ObjectSource description;
        description.type = "camera";
        description.fovDeg = fov;
        object->SetSource(description);
        object->SetRecorder(&scene.Record(), holder.GetName());
        holder.SetObject(object);
    }

    void AddLight(const tinygltf::Node& source, const tinygltf::Value& extension, sim::SimNode& node) {
        if (!extension.IsObject() || !extension.Has("light") || !extension.Get("light").IsNumber()) return;
        const int index = extension.Get("light").GetNumberAsInt();
        if (index < 0 || size_t(index) >= model_.lights.size()) {
            builder_.Warn("light " + std::to_string(index) + " does not exist");
            return;
        }
        const tinygltf::Light& light = model_.lights[size_t(index)];
        host::LightState state;
        host::ClassId class_id = host::kOmniLightClassId;
        state.hotsize = 43, state.fallsize = 45;
        if (light.type == "directional") state.type = host::LightType::kDirectional, class_id = host::kDirectionalLightClassId;
        else if (light.type == "spot") {
            state.type = host::LightType::kSpot, class_id = host::kSpotLightClassId;
            state.hotsize = float(std::clamp(2 * light.spot.innerConeAngle * 180 / kPi, 0.0, 180.0));
            state.fallsize = float(std::clamp(2 * light.spot.outerConeAngle * 180 / kPi, 0.0, 180.0));
        }
        if (light.color.size() == 3) state.color = {Limited(light.color[0]), Limited(light.color[1]), Limited(light.color[2])};
        state.intensity = std::isfinite(light.intensity) ? float(light.intensity) : 1.0f;
        if (light.range > 0 && std::isfinite(light.range)) state.useFarAtten = true, state.farAttenEnd = float(std::min(light.range, 1e9));
        sim::SimNode& holder = ViewNode(source, node, "light");
        sim::Scene& scene = builder_.Scene();
        auto* object = scene.Own(std::make_unique<sim::LightObject>(class_id, state, &scene.Record()));
        object->SetRecorder(&scene.Record(), holder.GetName());
        holder.SetObject(object);
    }

    tinygltf::Model& model_;
    SceneBuilder& builder_;
    std::vector<std::string> props_;
    std::map<size_t, int> mesh_uses_;  // by mesh: how many nodes still to make use it
    std::map<size_t, std::vector<host::Matrix3>> inverse_binds_;
    std::vector<sim::SimNode*> nodes_;
    std::map<size_t, GltfMesh> meshes_;
    std::map<size_t, sim::MeshObject*> shared_meshes_;
    std::vector<host::Material*> materials_;
};

}  // namespace

ImportResult ImportGltf(const unsigned char* bytes, size_t size, bool binary, const std::string& file, bool allow_files,
                        std::vector<unsigned char>* owner) {
    if (size > 0xFFFFFFFFu) throw ImportError("the file is larger than 4 GB");
    tinygltf::Model model;
    tinygltf::TinyGLTF reader;
    FileAccess access{allow_files};
    reader.SetFsCallbacks({&FileExists, &ExpandFilePath, &ReadWholeFile, &WriteWholeFile, &access});
    reader.SetImageLoader(&KeepImageUndecoded, nullptr);
    std::string error, warning;
    std::string base_dir = std::filesystem::path(file).parent_path().string();
    if (base_dir.empty()) base_dir = ".";
    bool read = false;
    try {
        read = binary ? reader.LoadBinaryFromMemory(&model, &error, &warning, bytes, unsigned(size), base_dir)
                      : reader.LoadASCIIFromString(&model, &error, &warning, reinterpret_cast<const char*>(bytes), unsigned(size), base_dir);
    } catch (const std::exception& e) {
        throw ImportError(std::string("not a readable glTF file: ") + e.what());
    }
    if (!read) {
        while (!error.empty() && (error.back() == '\n' || error.back() == '\r')) error.pop_back();
        throw ImportError("not a readable glTF file: " + (error.empty() ? std::string("unknown reason") : error));
    }
    if (model.asset.version.empty() || model.asset.version[0] != '2' || (model.asset.version.size() > 1 && model.asset.version[1] != '.'))
        throw ImportError("glTF version \"" + model.asset.version + "\": only glTF 2.0 files are imported");
    ImportResult result;
    SceneBuilder builder(file, result.warnings);
    for (const std::string& extension : model.extensionsRequired)
        if (extension != "KHR_lights_punctual" && extension != "KHR_materials_emissive_strength")
            throw ImportError("the file requires the extension " + extension + ", which this import does not know");
    std::vector<std::string> props = NodeProperties(JsonText(bytes, size, binary), model.nodes.size());
    if (owner) {
        // The reader holds its own copy of everything from here on.
        owner->clear();
        owner->shrink_to_fit();
    }
    GltfScene(model, builder, std::move(props)).Build();
    result.scene = builder.Release();
    return result;
}

ImportResult ImportGltfBytes(const unsigned char* bytes, size_t size, bool binary, const std::string& base_dir, bool allow_files) {
    return ImportGltf(bytes, size, binary, base_dir + (binary ? "/memory.glb" : "/memory.gltf"), allow_files);
}

}  // namespace import
