// FBX files into a scene of the simulated host, through the Assimp reader.
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string_view>

#include "base/cp1251.h"
#include "import/gltf_animation.h"
#include "import/readers.h"
#include "import/scene_builder.h"
#include "import/skin_pose.h"
#include "import/transforms.h"
#include "sim/load_error.h"
#include "sim/objects.h"

namespace import {

namespace {

constexpr int kMaxDepth = 100;
// The reader hands a node's user property text over in a string of at most
// this many bytes: a longer text arrives cut.
constexpr size_t kPropsCut = MAXLEN - 1;
constexpr double kPi = 3.14159265358979323846;
// The reader splits a node's pivots and offsets into helper nodes named
// "<node>_$AssimpFbx$_<part>", each the only parent of the next.
constexpr std::string_view kPivotMark = "_$AssimpFbx$_";

host::Matrix3 RowMatrix(const aiMatrix4x4& m) {
    return Limited(host::Matrix3({m.a1, m.b1, m.c1}, {m.a2, m.b2, m.c2}, {m.a3, m.b3, m.c3}, {m.a4, m.b4, m.c4}));
}

std::string_view Name(const aiString& name) { return {name.C_Str(), name.length}; }

bool IsPivotHelper(const aiNode* node) {
    return Name(node->mName).find(kPivotMark) != std::string_view::npos && node->mNumChildren == 1;
}

double MetaNumber(const aiMetadata* meta, const char* key, double fallback) {
    if (!meta) return fallback;
    for (unsigned i = 0; i < meta->mNumProperties; ++i) {
        if (Name(meta->mKeys[i]) != key || !meta->mValues[i].mData) continue;
        const aiMetadataEntry& entry = meta->mValues[i];
        switch (entry.mType) {
            case AI_BOOL: return *static_cast<const bool*>(entry.mData) ? 1 : 0;
            case AI_INT32: return *static_cast<const int32_t*>(entry.mData);
            case AI_UINT64: return double(*static_cast<const uint64_t*>(entry.mData));
            case AI_FLOAT: return *static_cast<const float*>(entry.mData);
            case AI_DOUBLE: return *static_cast<const double*>(entry.mData);
            default: return fallback;
        }
    }
    return fallback;
}

// The file's axes into the host's (x right, −y front, z up), from the axis
// settings the reader keeps on the root node; the identity when they are
// missing or do not name three different axes.
host::Matrix3 FileToHostAxes(const aiMetadata* meta) {
    const int up = int(MetaNumber(meta, "UpAxis", 2)), front = int(MetaNumber(meta, "FrontAxis", 1)), coord = int(MetaNumber(meta, "CoordAxis", 0));
    const float up_sign = MetaNumber(meta, "UpAxisSign", 1) < 0 ? -1.f : 1.f;
    const float front_sign = MetaNumber(meta, "FrontAxisSign", -1) < 0 ? -1.f : 1.f;
    const float coord_sign = MetaNumber(meta, "CoordAxisSign", 1) < 0 ? -1.f : 1.f;
    if (up < 0 || up > 2 || front < 0 || front > 2 || coord < 0 || coord > 2 || up == front || up == coord || front == coord)
        return host::Matrix3();
    host::Point3 rows[3];
    rows[up] = {0, 0, up_sign};
    rows[front] = {0, -front_sign, 0};
    rows[coord] = {coord_sign, 0, 0};
    const host::Matrix3 m(rows[0], rows[1], rows[2], {0, 0, 0});
    return m.Equals(host::Matrix3(), 0) ? host::Matrix3() : m;
}

// Keys of one node's channel sampled at a time in ticks of the animation.
struct Channel {
    const aiNodeAnim* anim = nullptr;

    template <class Key>
    static size_t Before(const Key* keys, unsigned count, double t) {
        size_t k = 0;
        while (k + 1 < count && keys[k + 1].mTime <= t) ++k;
        return k;
    }
    static double Fraction(double a, double b, double t) { return b > a ? std::clamp((t - a) / (b - a), 0.0, 1.0) : 0.0; }

    static aiVector3D Vector(const aiVectorKey* keys, unsigned count, double t, aiVector3D fallback) {
        if (count == 0) return fallback;
        const size_t k = Before(keys, count, t);
        if (k + 1 >= count || t <= keys[0].mTime) return keys[t <= keys[0].mTime ? 0 : k].mValue;
        const double s = Fraction(keys[k].mTime, keys[k + 1].mTime, t);
        return keys[k].mValue + (keys[k + 1].mValue - keys[k].mValue) * float(s);
    }
    static Rotation Quaternion(const aiQuatKey* keys, unsigned count, double t, Rotation fallback) {
        if (count == 0) return fallback;
        auto at = [&](size_t k) { return Rotation{keys[k].mValue.x, keys[k].mValue.y, keys[k].mValue.z, keys[k].mValue.w}; };
        const size_t k = Before(keys, count, t);
        if (k + 1 >= count || t <= keys[0].mTime) return at(t <= keys[0].mTime ? 0 : k);
        return Slerp(at(k), at(k + 1), Fraction(keys[k].mTime, keys[k + 1].mTime, t));
    }
};

class FbxScene {
public:
    FbxScene(const aiScene& scene, SceneBuilder& builder) : ai_(scene), builder_(builder) {}

    void Build() {
        // The file's settings: on the scene, or on the root node in older readers.
        const aiMetadata* meta = ai_.mMetaData ? ai_.mMetaData : ai_.mRootNode ? ai_.mRootNode->mMetaData : nullptr;
        axes_ = FileToHostAxes(meta);
        from_axes_ = host::Inverse(axes_);
        const double unit_cm = MetaNumber(meta, "UnitScaleFactor", 1.0);
        builder_.Scene().SetUnits(std::isfinite(unit_cm) && unit_cm > 1e-7 && unit_cm < 1e9 ? unit_cm / 100.0 : 0.01);
        ReadAnimation();
        if (ai_.mRootNode)
            for (unsigned i = 0; i < ai_.mRootNode->mNumChildren; ++i) AddNode(ai_.mRootNode->mChildren[i], nullptr, {}, 0);
        // Objects once every node and transform exists: skins take their pose at frame 0.
        for (const auto& [node, source] : placed_) AddMeshes(*node, *source);
        for (unsigned i = 0; i < ai_.mNumCameras; ++i) AddCamera(*ai_.mCameras[i]);
        for (unsigned i = 0; i < ai_.mNumLights; ++i) AddLight(*ai_.mLights[i]);
    }

private:
    host::Matrix3 ToHost(const host::Matrix3& m) const { return from_axes_ * m * axes_; }
    host::Point3 PointToHost(const aiVector3D& p) const { return Limited(host::Point3(p.x, p.y, p.z) * axes_); }

    void ReadAnimation() {
        if (ai_.mNumAnimations == 0) return;
        if (ai_.mNumAnimations > 1)
            builder_.Warn("the file holds " + std::to_string(ai_.mNumAnimations) + " animations; only the first (\"" +
                          std::string(Name(ai_.mAnimations[0]->mName)) + "\") is imported");
        const aiAnimation& animation = *ai_.mAnimations[0];
        ticks_per_second_ = animation.mTicksPerSecond > 0 && std::isfinite(animation.mTicksPerSecond) ? animation.mTicksPerSecond : kFramesPerSecond;
        double first = INFINITY, last = -INFINITY;
        for (unsigned c = 0; c < animation.mNumChannels; ++c) {
            const aiNodeAnim* channel = animation.mChannels[c];
            channels_[std::string(Name(channel->mNodeName))].anim = channel;
            auto span = [&](double t) {
                if (std::isfinite(t)) first = std::min(first, t), last = std::max(last, t);
            };
            for (unsigned k = 0; k < channel->mNumPositionKeys; ++k) span(channel->mPositionKeys[k].mTime);
            for (unsigned k = 0; k < channel->mNumRotationKeys; ++k) span(channel->mRotationKeys[k].mTime);
            for (unsigned k = 0; k < channel->mNumScalingKeys; ++k) span(channel->mScalingKeys[k].mTime);
        }
        if (!(first <= last)) return;
        double start = std::floor(first / ticks_per_second_ * kFramesPerSecond + 1e-6);
        double end = std::ceil(last / ticks_per_second_ * kFramesPerSecond - 1e-6);
        start = std::clamp(start, double(-kMaxFrames), double(kMaxFrames));
        end = std::clamp(end, start, start + kMaxFrames);
        if (end - start >= kMaxFrames) builder_.Warn("the animation is cut after " + std::to_string(kMaxFrames) + " frames");
        start_frame_ = int(start), end_frame_ = int(end);
        animated_ = true;
        builder_.SetFrames(start_frame_, end_frame_);
    }

    // The local transform of one reader node at frame (file axes, row form).
    host::Matrix3 LocalAt(const aiNode* node, int frame) const {
        const auto found = channels_.find(std::string(Name(node->mName)));
        if (found == channels_.end()) return RowMatrix(node->mTransformation);
        aiVector3D scale, position;
        aiQuaternion rotation;
        node->mTransformation.Decompose(scale, rotation, position);
        const aiNodeAnim& anim = *found->second.anim;
        const double t = double(frame) / kFramesPerSecond * ticks_per_second_;
        position = Channel::Vector(anim.mPositionKeys, anim.mNumPositionKeys, t, position);
        scale = Channel::Vector(anim.mScalingKeys, anim.mNumScalingKeys, t, scale);
        const Rotation r = Channel::Quaternion(anim.mRotationKeys, anim.mNumRotationKeys, t, {rotation.x, rotation.y, rotation.z, rotation.w});
        return Compose({position.x, position.y, position.z}, r, {scale.x, scale.y, scale.z});
    }

    // The local transform of a node with the pivot helpers above it folded in.
    host::Matrix3 FoldedAt(const std::vector<const aiNode*>& chain, int frame) const {
        host::Matrix3 local;
        for (auto node = chain.rbegin(); node != chain.rend(); ++node) local = local * LocalAt(*node, frame);
        return Limited(ToHost(local));
    }

    bool Animated(const std::vector<const aiNode*>& chain) const {
        return animated_ && std::any_of(chain.begin(), chain.end(), [this](const aiNode* n) { return channels_.count(std::string(Name(n->mName))) > 0; });
    }

    void AddNode(const aiNode* node, sim::SimNode* parent, std::vector<const aiNode*> chain, int depth) {
        if (depth > kMaxDepth) throw ImportError("nodes nest deeper than " + std::to_string(kMaxDepth) + " levels");
        chain.push_back(node);
        if (IsPivotHelper(node)) return AddNode(node->mChildren[0], parent, std::move(chain), depth + 1);
        sim::SimNode* sim_node = builder_.AddNode(Name(node->mName), parent);
        for (const aiNode* part : chain) by_name_.emplace(std::string(Name(part->mName)), sim_node);
        if (Animated(chain)) {
            sim::TransformTrack track;
            for (int frame = start_frame_; frame <= end_frame_; ++frame) track.SetKey(frame * 160, FoldedAt(chain, frame));
            sim_node->Transform() = track;
        } else {
            sim_node->Transform() = sim::TransformTrack(FoldedAt(chain, 0));
        }
        aiString props;
        if (node->mMetaData && node->mMetaData->Get("UserProperties", props)) {
            builder_.SetProps(*sim_node, Name(props));
            if (props.length >= kPropsCut)
                builder_.Warn("node \"" + std::string(Name(node->mName)) + "\": its user property text reaches " +
                              std::to_string(kPropsCut) + " bytes, where the FBX reader cuts it; the rest is lost");
        }
        placed_.emplace_back(sim_node, node);
        for (unsigned i = 0; i < node->mNumChildren; ++i) AddNode(node->mChildren[i], sim_node, {}, depth + 1);
    }

    sim::SimNode* NodeNamed(std::string_view name) const {
        const auto found = by_name_.find(std::string(name));
        return found == by_name_.end() ? nullptr : found->second;
    }

    host::Texture* Texture(const aiMaterial& material, aiTextureType type, const std::string& material_name) {
        aiString path;
        if (material.GetTextureCount(type) == 0 || material.GetTexture(type, 0, &path) != AI_SUCCESS || path.length == 0) return nullptr;
        const std::string file(Name(path));
        if (file[0] == '*' || ai_.GetEmbeddedTexture(path.C_Str())) {
            builder_.Warn("material \"" + material_name + "\": texture " + file +
                          " is embedded in the file; the export needs it as a file beside the model (the map is left out)");
            return nullptr;
        }
        return builder_.Bitmap(file, std::filesystem::path(file).filename().string());
    }

    host::Material* Material(unsigned index) {
        if (index >= ai_.mNumMaterials) return builder_.DefaultMaterial();
        host::Material*& made = materials_[index];
        if (made) return made;
        const aiMaterial& material = *ai_.mMaterials[index];
        aiString ai_name;
        material.Get(AI_MATKEY_NAME, ai_name);
        const std::string name(Name(ai_name));
        sim::StandardMaterial::Values values;
        aiColor3D colour;
        if (material.Get(AI_MATKEY_COLOR_DIFFUSE, colour) == AI_SUCCESS) values.diffuse = {Limited(colour.r), Limited(colour.g), Limited(colour.b)};
        if (material.Get(AI_MATKEY_COLOR_SPECULAR, colour) == AI_SUCCESS) values.specular = {Limited(colour.r), Limited(colour.g), Limited(colour.b)};
        float number = 0;
        if (material.Get(AI_MATKEY_SHININESS_STRENGTH, number) == AI_SUCCESS && std::isfinite(number))
            values.specularLevel = values.shininessStrength = std::clamp(number, -1e6f, 1e6f);
        if (material.Get(AI_MATKEY_OPACITY, number) == AI_SUCCESS && std::isfinite(number)) values.transparency = std::clamp(1.0f - number, 0.0f, 1.0f);
        int two_sided = 0;
        if (material.Get(AI_MATKEY_TWOSIDED, two_sided) == AI_SUCCESS) values.twoSided = two_sided != 0;
        host::Texture* diffuse = Texture(material, aiTextureType_DIFFUSE, name);
        host::Texture* specular = Texture(material, aiTextureType_SPECULAR, name);
        host::Texture* bump = Texture(material, aiTextureType_HEIGHT, name);
        if (!bump)
            if (host::Texture* normal = Texture(material, aiTextureType_NORMALS, name)) bump = builder_.NormalBump(normal, name + " normal");
        host::Texture* opacity = Texture(material, aiTextureType_OPACITY, name);
        return made = builder_.Standard(name, values, diffuse, specular, bump, 100.0f, opacity);
    }

    void AddMeshes(sim::SimNode& node, const aiNode& source) {
        if (source.mNumMeshes == 0) return;
        sim::MeshData data;
        std::vector<host::Material*> distinct;
        SkinBinding skin;
        std::map<std::string, int> bone_positions;
        std::map<int, std::vector<host::Point3>> channels;
        std::vector<host::Point3> normals, colours, alphas;
        bool has_normals = false, has_colours = false;
        for (unsigned m = 0; m < source.mNumMeshes; ++m) {
            if (source.mMeshes[m] >= ai_.mNumMeshes) continue;
            const aiMesh& mesh = *ai_.mMeshes[source.mMeshes[m]];
            if (!(mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE) || !mesh.mVertices) continue;
            const size_t first = data.verts.size();
            const size_t count = mesh.mNumVertices;
            host::Material* material = Material(mesh.mMaterialIndex);
            const size_t material_id = std::find(distinct.begin(), distinct.end(), material) - distinct.begin();
            if (material_id == distinct.size()) distinct.push_back(material);
            for (size_t v = 0; v < count; ++v) data.verts.push_back(PointToHost(mesh.mVertices[v]));
            for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
                const aiFace& face = mesh.mFaces[f];
                if (face.mNumIndices != 3) continue;
                host::Face out;
                bool valid = true;
                for (int c = 0; c < 3; ++c) {
                    valid = valid && face.mIndices[c] < count;
                    out.v[c] = uint32_t(first + face.mIndices[c]);
                }
                if (!valid) throw ImportError("mesh \"" + std::string(Name(mesh.mName)) + "\": a face index is out of range");
                out.smGroup = 1;
                out.SetMaterialId(uint16_t(std::min<size_t>(material_id, 0xFFFF)));
                data.faces.push_back(out);
            }
            normals.resize(first + count, {0, 0, 1});
            if (mesh.mNormals) {
                for (size_t v = 0; v < count; ++v) {
                    host::Point3 n = axes_.VectorTransform({mesh.mNormals[v].x, mesh.mNormals[v].y, mesh.mNormals[v].z});
                    normals[first + v] = n.Length() > 0 && std::isfinite(n.Length()) ? n / n.Length() : host::Point3(0, 0, 1);
                }
                has_normals = true;
            }
            for (unsigned set = 0; set < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++set) {
                if (!mesh.mTextureCoords[set]) continue;
                std::vector<host::Point3>& channel = channels[int(set) + 1];
                channel.resize(first + count, {0, 0, 0});
                for (size_t v = 0; v < count; ++v)
                    channel[first + v] = Limited(host::Point3(mesh.mTextureCoords[set][v].x, mesh.mTextureCoords[set][v].y, mesh.mTextureCoords[set][v].z));
            }
            colours.resize(first + count, {1, 1, 1});
            alphas.resize(first + count, {1, 0, 0});
            if (mesh.mColors[0]) {
                for (size_t v = 0; v < count; ++v) {
                    const aiColor4D& c = mesh.mColors[0][v];
                    colours[first + v] = Limited(host::Point3(c.r, c.g, c.b));
                    alphas[first + v] = {Limited(c.a), 0, 0};
                }
                has_colours = true;
            }
            skin.weights.resize(first + count);
            for (unsigned b = 0; b < mesh.mNumBones; ++b) {
                const aiBone& bone = *mesh.mBones[b];
                sim::SimNode* bone_node = NodeNamed(Name(bone.mName));
                if (!bone_node) {
                    builder_.Warn("bone \"" + std::string(Name(bone.mName)) + "\" is not a node of the scene; its weights are left out");
                    continue;
                }
                auto [position, added] = bone_positions.emplace(std::string(Name(bone.mName)), int(skin.bones.size()));
                if (added) {
                    skin.bones.push_back(bone_node);
                    skin.inverseBind.push_back(ToHost(RowMatrix(bone.mOffsetMatrix)));
                }
                for (unsigned w = 0; w < bone.mNumWeights; ++w) {
                    const aiVertexWeight& weight = bone.mWeights[w];
                    if (weight.mVertexId < count && weight.mWeight > 0 && std::isfinite(weight.mWeight))
                        skin.weights[first + weight.mVertexId].push_back({position->second, weight.mWeight});
                }
            }
        }
        if (data.faces.empty()) return;
        for (auto& [number, verts] : channels) SetVertexChannel(data, number, std::move(verts));
        if (has_colours) {
            SetVertexChannel(data, host::kMapColor, std::move(colours));
            SetVertexChannel(data, host::kMapAlpha, std::move(alphas));
        }
        if (has_normals) SetVertexNormals(data, std::move(normals));
        node.SetMaterial(distinct.size() == 1 ? distinct[0] : builder_.Multi(std::string(Name(source.mName)) + " materials", distinct));
        sim::Scene& scene = builder_.Scene();
        const bool skinned = !skin.bones.empty();
        if (skinned) PoseAtFrameZero(data, skin, node);
        auto* object = scene.Own(std::make_unique<sim::MeshObject>(host::kEditableMeshClassId, std::move(data)));
        object->SetRecorder(&scene.Record(), node.GetName());
        node.SetObject(object);
        if (skinned) node.SetSkin(std::make_unique<sim::SimSkin>(std::move(skin.bones), std::move(skin.weights), true, scene.HoldImpl()));
    }

    // A camera or light looks along look_at with up in its node's space; the
    // host's look down their own −z with y up. The node turns to match (an
    // added child holds the object when the node has children or an object).
    sim::SimNode* ViewHolder(sim::SimNode& node, const aiVector3D& look_at, const aiVector3D& up, const aiVector3D& position, const char* kind) {
        host::Point3 z = -host::Point3(look_at.x, look_at.y, look_at.z);
        host::Point3 y(up.x, up.y, up.z);
        if (z.Length() == 0) z = {0, 0, 1};
        z = z / z.Length();
        host::Point3 x = host::CrossProd(y, z);
        if (x.Length() < 1e-6f) x = host::CrossProd(std::fabs(z.x) < 0.9f ? host::Point3(1, 0, 0) : host::Point3(0, 1, 0), z);
        x = x / x.Length();
        y = host::CrossProd(z, x);
        // In host terms the turn comes before the node's own transform.
        const host::Matrix3 in_host = host::Matrix3(x, y, z, {position.x, position.y, position.z}) * axes_;
        if (node.NumberOfChildren() > 0 || node.GetObjectRef()->SuperClassID() != host::kHelperClass) {
            sim::SimNode* holder = builder_.AddNode(Cp1251ToUtf8(node.GetName()) + " " + kind, &node);
            holder->Transform() = sim::TransformTrack(in_host);
            return holder;
        }
        const sim::TransformTrack old = node.Transform();
        if (old.IsConstant()) {
            node.Transform() = sim::TransformTrack(in_host * old.Eval(0));
        } else {
            sim::TransformTrack turned;
            for (const auto& [t, m] : old.Keys()) turned.SetKey(t, in_host * m);
            node.Transform() = turned;
        }
        return &node;
    }

    // A camera or light aimed at a target names it "<name>.Target".
    sim::SimNode* TargetOf(const sim::SimNode& node) const {
        return NodeNamed(Cp1251ToUtf8(node.GetName()) + ".Target");
    }

    void Aim(sim::SimNode& holder, sim::SimNode* target, sim::ObjectSource& source) {
        if (!target) return;
        try {
            holder.SetLookAt(target, 0);
            source.target = target->GetName();
        } catch (const sim::LoadError& e) {
            builder_.Warn(std::string("look-at target left out: ") + e.what());
        }
    }

    void AddCamera(const aiCamera& camera) {
        sim::SimNode* node = NodeNamed(Name(camera.mName));
        if (!node) return;
        sim::SimNode* target = TargetOf(*node);
        sim::SimNode* holder = ViewHolder(*node, camera.mLookAt, camera.mUp, camera.mPosition, "camera");
        double fov = camera.mHorizontalFOV > 0 && std::isfinite(camera.mHorizontalFOV) ? camera.mHorizontalFOV * 180 / kPi : 45.0;
        fov = std::clamp(fov, 0.001, 179.999);
        host::CameraState state;
        state.fov = float(fov * kPi / 180);
        sim::Scene& scene = builder_.Scene();
        auto* object = scene.Own(std::make_unique<sim::CameraObject>(target ? host::kTargetCameraClassId : host::kFreeCameraClassId, state));
        sim::ObjectSource source;
        source.type = "camera";
        source.fovDeg = fov;
        Aim(*holder, target, source);
        object->SetSource(source);
        object->SetRecorder(&scene.Record(), holder->GetName());
        holder->SetObject(object);
    }

    void AddLight(const aiLight& light) {
        sim::SimNode* node = NodeNamed(Name(light.mName));
        if (!node) return;
        host::LightState state;
        host::ClassId class_id = host::kOmniLightClassId;
        state.hotsize = 43, state.fallsize = 45;
        switch (light.mType) {
            case aiLightSource_DIRECTIONAL: state.type = host::LightType::kDirectional, class_id = host::kDirectionalLightClassId; break;
            case aiLightSource_SPOT:
                state.type = host::LightType::kSpot, class_id = host::kSpotLightClassId;
                if (std::isfinite(light.mAngleInnerCone)) state.hotsize = float(std::clamp(light.mAngleInnerCone * 180 / kPi, 0.0, 180.0));
                if (std::isfinite(light.mAngleOuterCone)) state.fallsize = float(std::clamp(light.mAngleOuterCone * 180 / kPi, 0.0, 180.0));
                break;
            case aiLightSource_AMBIENT: state.type = host::LightType::kAmbient, class_id = host::kAmbientLightClassId; break;
            default: break;
        }
        state.color = {Limited(light.mColorDiffuse.r), Limited(light.mColorDiffuse.g), Limited(light.mColorDiffuse.b)};
        sim::SimNode* target = TargetOf(*node);
        const aiVector3D direction = light.mDirection.SquareLength() > 0 ? light.mDirection : aiVector3D(0, 0, -1);
        sim::SimNode* holder = ViewHolder(*node, direction, light.mUp.SquareLength() > 0 ? light.mUp : aiVector3D(0, 1, 0), light.mPosition, "light");
        sim::Scene& scene = builder_.Scene();
        auto* object = scene.Own(std::make_unique<sim::LightObject>(class_id, state, &scene.Record()));
        sim::ObjectSource source;
        source.type = "light";
        Aim(*holder, target, source);
        object->SetSource(source);
        object->SetRecorder(&scene.Record(), holder->GetName());
        holder->SetObject(object);
    }

    const aiScene& ai_;
    SceneBuilder& builder_;
    host::Matrix3 axes_, from_axes_;
    std::map<std::string, Channel> channels_;
    double ticks_per_second_ = kFramesPerSecond;
    bool animated_ = false;
    int start_frame_ = 0, end_frame_ = 0;
    std::multimap<std::string, sim::SimNode*> by_name_;
    std::vector<std::pair<sim::SimNode*, const aiNode*>> placed_;  // each node with the reader node that holds its meshes
    std::map<unsigned, host::Material*> materials_;
};

}  // namespace

ImportResult ImportFbx(const unsigned char* bytes, size_t size, const std::string& file) {
    Assimp::Importer reader;
    // Pivots stay in helper nodes, each with its own animation channel, and
    // are folded back into their node frame by frame: collapsed by the
    // reader, an animated pivot would lose its animation.
    reader.SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, true);
    reader.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    const aiScene* scene = nullptr;
    try {
        scene = reader.ReadFileFromMemory(bytes, size, aiProcess_Triangulate | aiProcess_SortByPType | aiProcess_ValidateDataStructure, "fbx");
    } catch (const std::exception& e) {
        throw ImportError(std::string("not a readable FBX file: ") + e.what());
    }
    if (!scene) {
        std::string reason = reader.GetErrorString();
        if (reason.empty()) reason = "unknown reason";
        throw ImportError("not a readable FBX file: " + reason);
    }
    if (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) throw ImportError("the FBX file is incomplete");
    ImportResult result;
    SceneBuilder builder(file, result.warnings);
    FbxScene(*scene, builder).Build();
    result.scene = builder.Release();
    return result;
}

}  // namespace import
