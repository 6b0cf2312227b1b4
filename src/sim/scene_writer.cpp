// The scene file's parts in the order of scene-format.md: top level, tables
// of textures, materials and shared objects, then the node tree.
#include "sim/scene_writer.h"

#include <map>
#include <set>

#include "base/cp1251.h"
#include "io/stream_file.h"
#include "sim/json_reader.h"
#include "sim/materials.h"
#include "sim/textures.h"

namespace sim {

namespace {

constexpr double kRadToDeg = 180.0 / 3.14159265358979323846;

std::string Utf8(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

// The ids of materials or textures: the scene file's own, and new ones for
// those it did not name, given in the order they are met.
template <class T>
class Ids {
public:
    Ids(const std::map<std::string, T*>& named, std::string stem) : by_id_(named), stem_(std::move(stem)) {
        for (const auto& [id, item] : named) id_of_.emplace(item, id);
    }
    /// Gives item an id when it has none.
    void Add(T* item) {
        if (id_of_.count(item)) return;
        std::string id;
        do id = stem_ + std::to_string(++count_);
        while (by_id_.count(id));
        id_of_.emplace(item, id);
        by_id_.emplace(id, item);
    }
    const std::string& Of(const T* item) const { return id_of_.at(item); }
    const std::map<std::string, T*>& All() const { return by_id_; }

private:
    std::map<std::string, T*> by_id_;
    std::map<const T*, std::string> id_of_;
    std::string stem_;
    int count_ = 0;
};

const char* UvSourceName(host::UvSource source) {
    switch (source) {
        case host::UvSource::kExplicit: return "explicit";
        case host::UvSource::kVertexColor: return "vertexColor";
        case host::UvSource::kObjectXyz: return "objectXYZ";
        case host::UvSource::kWorldXyz: return "worldXYZ";
    }
    return "explicit";
}

const char* LightKind(host::LightType type) {
    switch (type) {
        case host::LightType::kOmni: return "omni";
        case host::LightType::kSpot: return "spot";
        case host::LightType::kDirectional: return "directional";
        case host::LightType::kAmbient: return "ambient";
    }
    return "omni";
}

host::ClassId LightClass(host::LightType type) {
    switch (type) {
        case host::LightType::kOmni: return host::kOmniLightClassId;
        case host::LightType::kSpot: return host::kSpotLightClassId;
        case host::LightType::kDirectional: return host::kDirectionalLightClassId;
        case host::LightType::kAmbient: return host::kAmbientLightClassId;
    }
    return host::kOmniLightClassId;
}

// The object type of the scene file that an object is written as, and the
// class a load of that type gives it.
struct ObjectForm {
    std::string type;
    host::SuperClassId super_class;
    host::ClassId class_id;
};

ObjectForm FormOf(const SimObject& object) {
    std::string type = object.Source().type;
    if (type.empty()) {  // an object built without a scene file
        if (dynamic_cast<const MeshObject*>(&object)) type = "mesh";
        else if (dynamic_cast<const ShapeObject*>(&object)) type = "line";
        else if (dynamic_cast<const LightObject*>(&object)) type = "light";
        else if (dynamic_cast<const CameraObject*>(&object)) type = "camera";
        else type = "helper";
    }
    static const std::map<std::string, std::pair<host::SuperClassId, host::ClassId>> kClasses = {
        {"mesh", {host::kGeomObjectClass, host::kEditableMeshClassId}}, {"box", {host::kGeomObjectClass, host::kBoxClassId}},
        {"sphere", {host::kGeomObjectClass, host::kSphereClassId}}, {"cylinder", {host::kGeomObjectClass, host::kCylinderClassId}},
        {"helper", {host::kHelperClass, host::kDummyClassId}}, {"target", {host::kGeomObjectClass, host::kTargetClassId}},
        {"rectangle", {host::kShapeClass, host::kRectangleClassId}}, {"circle", {host::kShapeClass, host::kCircleClassId}},
        {"line", {host::kShapeClass, host::kLineClassId}}, {"light", {host::kLightClass, {}}}, {"camera", {host::kCameraClass, {}}}};
    const auto found = kClasses.find(type);
    if (found == kClasses.end()) throw WriteError("the object type \"" + type + "\" has no scene file form");
    ObjectForm form{type, found->second.first, found->second.second};
    if (type == "light") {
        host::LightState state;
        object.EvalLightState(0, state);
        form.class_id = LightClass(state.type);
    } else if (type == "camera") {
        form.class_id = object.Source().target ? host::kTargetCameraClassId : host::kFreeCameraClassId;
    }
    return form;
}

class SceneWriter {
public:
    SceneWriter(const Scene& scene, TextSink& sink)
        : scene_(scene),
          json_(sink),
          ticks_per_frame_(scene.GetTicksPerFrame()),
          materials_(scene.FileTables().materials, "material"),
          textures_(scene.FileTables().textures, "texture") {
        for (const auto& [id, object] : scene.FileTables().objects) shared_.emplace(object, id);
    }

    void Write() {
        for (const SimNode* node : scene_.Nodes()) Collect(node->GetMtl());
        for (const auto& [id, material] : scene_.FileTables().materials) Collect(material);
        for (const auto& [id, texture] : scene_.FileTables().textures) Collect(texture);

        json_.BeginObject();
        json_.Key("format");
        json_.String("qel-scene");
        json_.Key("version");
        json_.Integer(1);
        if (!scene_.GetCurFilePath().empty()) Text("file", scene_.GetCurFilePath());
        if (!scene_.GetUserName().empty()) Text("user", scene_.GetUserName());
        json_.Key("units");
        json_.BeginObject();
        json_.Key("masterScale");
        json_.Number(scene_.GetMasterScaleMeters());
        json_.EndObject();
        json_.Key("time");
        json_.BeginObject();
        json_.Key("ticksPerFrame");
        json_.Integer(ticks_per_frame_);
        json_.Key("start");
        json_.Number(Frame(scene_.GetAnimRange().Start()));
        json_.Key("end");
        json_.Number(Frame(scene_.GetAnimRange().End()));
        json_.EndObject();
        json_.Key("ambient");
        Colour(scene_.GetAmbient(0));
        WritePaths();
        WriteSelectionSets();
        WriteObjects();
        WriteMaterials();
        WriteTextures();
        json_.Key("nodes");
        WriteChildren(*static_cast<const SimNode*>(scene_.GetRootNode()));
        json_.EndObject();
        json_.Finish();
    }

private:
    // What the tables hold: every material and texture reachable from the
    // nodes and from the tables, each with an id.
    void Collect(host::Material* material) {
        if (!material || !visited_.insert(material).second) return;
        materials_.Add(material);
        for (int i = 0; i < material->NumSubMtls(); ++i) Collect(material->GetSubMtl(i));
        for (int i = 0; i < material->NumSubTexmaps(); ++i) Collect(material->GetSubTexmap(i));
        if (host::ParamBlock* block = material->GetParamBlockById(0)) {
            for (const host::ParamDef& def : block->GetDesc().params) {
                host::Material* sub = nullptr;
                host::Texture* map = nullptr;
                if (def.type == host::ParamType::kMaterial && block->GetValue(def.id, 0, sub)) Collect(sub);
                if (def.type == host::ParamType::kTexture && block->GetValue(def.id, 0, map)) Collect(map);
            }
        }
    }
    void Collect(host::Texture* texture) {
        if (!texture || !visited_.insert(texture).second) return;
        textures_.Add(texture);
        for (int i = 0; i < texture->NumSubTexmaps(); ++i) Collect(texture->GetSubTexmap(i));
    }

    double Frame(host::TimeValue t) const { return double(t) / ticks_per_frame_; }

    void Text(const char* key, const std::string& cp1251) {
        json_.Key(key);
        json_.String(Utf8(cp1251));
    }

    void Point(const host::Point3& p) {
        json_.BeginArray(true);
        json_.Number(p.x);
        json_.Number(p.y);
        json_.Number(p.z);
        json_.EndArray();
    }

    void Colour(const host::Color& c) { Point({c.r, c.g, c.b}); }

    void Points(const char* key, const std::vector<host::Point3>& points) {
        json_.Key(key);
        json_.BeginArray();
        for (const host::Point3& p : points) Point(p);
        json_.EndArray();
    }

    template <class Indices>
    void Triple(const Indices& indices) {
        json_.BeginArray(true);
        for (const auto index : indices) json_.Integer(int64_t(index));
        json_.EndArray();
    }

    // A translation alone is written as a position; any other matrix as its
    // twelve numbers.
    void Transform(const host::Matrix3& m) {
        json_.BeginObject();
        const host::Point3 trans = m.GetTrans();
        const host::Matrix3 moved = TrsMatrix(trans, {0, 0, 0}, {1, 1, 1});
        if (m == moved && m.GetIdentFlags() == moved.GetIdentFlags()) {
            if (!(trans == host::Point3(0, 0, 0))) {
                json_.Key("pos");
                Point(trans);
            }
        } else {
            json_.Key("matrix");
            json_.BeginArray(true);
            for (int row = 0; row < 4; ++row)
                for (size_t c = 0; c < 3; ++c) json_.Number(m.GetRow(row)[c]);
            json_.EndArray();
        }
        json_.EndObject();
    }

    static bool IsIdentity(const host::Matrix3& m) { return m == host::Matrix3() && m.GetIdentFlags() == host::kMatIdent; }

    void WritePaths() {
        const auto& paths = scene_.FileTables().paths;
        if (paths.empty()) return;
        json_.Key("paths");
        json_.BeginObject();
        for (const auto& [prefix, folder] : paths) {
            json_.Key(prefix);
            json_.String(folder);
        }
        json_.EndObject();
    }

    void WriteSelectionSets() {
        if (scene_.GetNumNamedSelSets() == 0) return;
        json_.Key("selectionSets");
        json_.BeginArray();
        for (int i = 0; i < scene_.GetNumNamedSelSets(); ++i) {
            json_.BeginObject();
            Text("name", scene_.GetNamedSelSetName(i));
            json_.Key("nodes");
            json_.BeginArray(true);
            for (int j = 0; j < scene_.GetNamedSelSetItemCount(i); ++j) json_.String(Utf8(scene_.GetNamedSelSetItem(i, j)->GetName()));
            json_.EndArray();
            json_.EndObject();
        }
        json_.EndArray();
    }

    void WriteObjects() {
        const auto& objects = scene_.FileTables().objects;
        if (objects.empty()) return;
        json_.Key("objects");
        json_.BeginObject();
        for (const auto& [id, object] : objects) {
            json_.Key(id);
            WriteObject(*object);
        }
        json_.EndObject();
    }

    void WriteObject(const SimObject& object) {
        const ObjectForm form = FormOf(object);
        const ObjectSource& source = object.Source();
        json_.BeginObject();
        json_.Key("type");
        json_.String(form.type);
        if (!(object.ClassID() == form.class_id)) {
            json_.Key("classId");
            json_.BeginArray(true);
            json_.Integer(object.ClassID().a);
            json_.Integer(object.ClassID().b);
            json_.EndArray();
        }
        if (object.SuperClassID() != form.super_class) {
            json_.Key("superClass");
            json_.Integer(object.SuperClassID());
        }
        auto number = [this](const char* key, auto value) {
            json_.Key(key);
            json_.Number(value);
        };
        if (form.type == "mesh") {
            WriteMesh(dynamic_cast<const MeshObject&>(object));
        } else if (form.type == "box") {
            number("length", source.length);
            number("width", source.width);
            number("height", source.height);
            json_.Key("segments");
            json_.BeginArray(true);
            for (const int count : source.segments) json_.Integer(count);
            json_.EndArray();
        } else if (form.type == "sphere") {
            number("radius", source.radius);
            json_.Key("segments");
            json_.Integer(source.segments[0]);
        } else if (form.type == "cylinder") {
            number("radius", source.radius);
            number("height", source.height);
            json_.Key("sides");
            json_.Integer(source.sides);
        } else if (form.type == "rectangle") {
            number("length", source.length);
            number("width", source.width);
        } else if (form.type == "circle") {
            number("radius", source.radius);
            json_.Key("points");
            json_.Integer(source.points);
        } else if (form.type == "line") {
            json_.Key("splines");
            json_.BeginArray();
            for (const host::Polyline& line : dynamic_cast<const ShapeObject&>(object).Shape().lines) {
                json_.BeginObject();
                Points("points", line.points);
                json_.Key("closed");
                json_.Bool(line.closed);
                json_.EndObject();
            }
            json_.EndArray();
        } else if (form.type == "light") {
            host::LightState state;
            object.EvalLightState(0, state);
            json_.Key("kind");
            json_.String(LightKind(state.type));
            json_.Key("color");
            Colour(state.color);
            json_.Key("enabled");
            json_.Bool(state.on);
            number("hotspot", state.hotsize);
            number("falloff", state.fallsize);
            json_.Key("farAttenuation");
            json_.BeginObject();
            json_.Key("use");
            json_.Bool(state.useFarAtten);
            number("end", state.farAttenEnd);
            json_.EndObject();
        } else if (form.type == "camera") {
            host::CameraState state;
            object.EvalCameraState(0, state);
            number("fov", source.type.empty() ? double(state.fov) * kRadToDeg : source.fovDeg);
        }
        if (source.target) Text("target", *source.target);
        if (form.type == "light" || form.type == "camera") number("roll", source.rollDeg);
        json_.EndObject();
    }

    void WriteMesh(const MeshObject& object) {
        const MeshData& mesh = object.Mesh();
        Points("vertices", mesh.verts);
        json_.Key("faces");
        json_.BeginArray();
        for (const host::Face& face : mesh.faces) Triple(face.v);
        json_.EndArray();
        bool smoothing = false, material_ids = false, hidden = false;
        for (const host::Face& face : mesh.faces) {
            smoothing = smoothing || face.smGroup != 1;
            material_ids = material_ids || face.MaterialId() != 0;
            hidden = hidden || face.Hidden();
        }
        auto per_face = [&](const char* key, auto value_of) {
            json_.Key(key);
            json_.BeginArray(true);
            for (const host::Face& face : mesh.faces) json_.Integer(value_of(face));
            json_.EndArray();
        };
        if (smoothing) per_face("smoothing", [](const host::Face& face) { return int64_t(face.smGroup); });
        if (material_ids) per_face("materialIds", [](const host::Face& face) { return int64_t(face.MaterialId()); });
        if (hidden) {
            json_.Key("hiddenFaces");
            json_.BeginArray(true);
            for (size_t f = 0; f < mesh.faces.size(); ++f)
                if (mesh.faces[f].Hidden()) json_.Integer(int64_t(f));
            json_.EndArray();
        }
        if (!mesh.channels.empty()) {
            json_.Key("channels");
            json_.BeginObject();
            for (const auto& [number, channel] : mesh.channels) {
                json_.Key(std::to_string(number));
                json_.BeginObject();
                Points("vertices", channel.verts);
                json_.Key("faces");
                json_.BeginArray();
                for (const host::MapFace& face : channel.faces) Triple(face.t);
                json_.EndArray();
                json_.EndObject();
            }
            json_.EndObject();
        }
        if (mesh.normals) {
            const NormalSpecData& normals = *mesh.normals;
            json_.Key("normals");
            json_.BeginObject();
            Points("normals", normals.normals);
            json_.Key("faces");
            json_.BeginArray();
            for (const std::array<int, 3>& face : normals.faces) Triple(face);
            json_.EndArray();
            json_.Key("explicit");
            json_.BeginArray(true);
            for (const bool flag : normals.isExplicit) json_.Bool(flag);
            json_.EndArray();
            json_.EndObject();
        }
        if (!object.Frames().empty()) {
            json_.Key("frames");
            json_.BeginObject();
            for (const auto& [t, positions] : object.Frames()) Points(JsonWriter::NumberText(Frame(t)).c_str(), positions);
            json_.EndObject();
        }
    }

    void WriteMaterials() {
        if (materials_.All().empty()) return;
        json_.Key("materials");
        json_.BeginObject();
        for (const auto& [id, material] : materials_.All()) {
            json_.Key(id);
            WriteMaterial(*material);
        }
        json_.EndObject();
    }

    void MaterialId(const host::Material* material) {
        if (material) json_.String(materials_.Of(material));
        else json_.Null();
    }
    void TextureId(const host::Texture* texture) {
        if (texture) json_.String(textures_.Of(texture));
        else json_.Null();
    }

    void WriteMaterial(const host::Material& material) {
        json_.BeginObject();
        const host::ClassId class_id = material.ClassID();
        json_.Key("type");
        if (const auto* standard = dynamic_cast<const StandardMaterial*>(&material)) {
            json_.String("standard");
            Text("name", material.GetName());
            const StandardMaterial::Values& values = standard->GetValues();
            json_.Key("diffuse");
            Colour(values.diffuse);
            json_.Key("specular");
            Colour(values.specular);
            json_.Key("specularLevel");
            json_.Number(values.specularLevel);
            json_.Key("shininessStrength");
            json_.Number(values.shininessStrength);
            json_.Key("transparency");
            json_.Number(values.transparency);
            json_.Key("twoSided");
            json_.Bool(values.twoSided);
            WriteMapSlots(*standard);
        } else if (class_id == host::kMultiMaterialClassId || class_id == host::kTwoLayerMaterialClassId) {
            json_.String(class_id == host::kMultiMaterialClassId ? "multi" : "twoLayer");
            Text("name", material.GetName());
            json_.Key("materials");
            json_.BeginArray(true);
            for (int i = 0; i < material.NumSubMtls(); ++i) MaterialId(material.GetSubMtl(i));
            json_.EndArray();
        } else if (class_id == kCorvaneMtlClassId) {
            json_.String("CorvaneMtl");
            Text("name", material.GetName());
            WritePluginValues(material);
        } else {
            throw WriteError("the material \"" + Utf8(material.GetName()) + "\" is of a class without a scene file form");
        }
        json_.EndObject();
    }

    void WriteMapSlots(const StandardMaterial& material) {
        static const std::pair<const char*, int> kSlots[] = {
            {"diffuse", host::kMapDiffuse}, {"specularLevel", host::kMapSpecularLevel}, {"opacity", host::kMapOpacity},
            {"bump", host::kMapBump}};
        bool any = false;
        for (const auto& [key, slot] : kSlots) any = any || material.Slot(slot)->texture;
        if (!any) return;
        json_.Key("maps");
        json_.BeginObject();
        for (const auto& [key, slot_id] : kSlots) {
            const MapSlot& slot = *material.Slot(slot_id);
            if (!slot.texture) continue;
            json_.Key(key);
            json_.BeginObject();
            json_.Key("texture");
            TextureId(slot.texture);
            json_.Key("amount");
            json_.Number(slot.amountPercent);
            json_.Key("enabled");
            json_.Bool(slot.enabled);
            json_.EndObject();
        }
        json_.EndObject();
    }

    // The plug-in material's values as its parameter block holds them; a
    // value at the block's default is left out, so that a load sets only
    // what differs, as the file it came from did.
    void WritePluginValues(const host::Material& material) {
        const host::ParamBlock* block = material.GetParamBlockById(0);
        if (!block) return;
        auto value = [&](const char* key, int id, host::ParamType type) {
            const host::ParamDef* def = block->GetDesc().Find(id);
            if (!def || def->type != type) return;
            if (type == host::ParamType::kMaterial) {
                host::Material* sub = nullptr;
                if (!block->GetValue(id, 0, sub) || !sub) return;
                json_.Key(key);
                MaterialId(sub);
            } else if (type == host::ParamType::kTexture) {
                host::Texture* map = nullptr;
                if (!block->GetValue(id, 0, map) || !map) return;
                json_.Key(key);
                TextureId(map);
            } else if (type == host::ParamType::kFloat) {
                float number = 0;
                if (!block->GetValue(id, 0, number) || number == def->defaultFloat) return;
                json_.Key(key);
                json_.Number(number);
            } else {
                int number = 0;
                if (!block->GetValue(id, 0, number) || number == def->defaultInt) return;
                json_.Key(key);
                if (type == host::ParamType::kBool) json_.Bool(number != 0);
                else json_.Integer(number);
            }
        };
        value("material", kParamSubMaterial, host::ParamType::kMaterial);
        value("blend", kParamBlend, host::ParamType::kInt);
        value("modulate2x", kParamModulate2x, host::ParamType::kBool);
        value("envmap", kParamEnvmap, host::ParamType::kBool);
        value("amount", kParamAmount, host::ParamType::kFloat);
        value("mask", kParamMask, host::ParamType::kTexture);
        value("map", kParamMap, host::ParamType::kTexture);
    }

    void WriteTextures() {
        if (textures_.All().empty()) return;
        json_.Key("textures");
        json_.BeginObject();
        for (const auto& [id, texture] : textures_.All()) {
            json_.Key(id);
            WriteTexture(*texture);
        }
        json_.EndObject();
    }

    void WriteUv(const host::Texture& texture) {
        const auto* uv = dynamic_cast<const UvGenData*>(texture.GetUvGen());
        const UvGenData plain;
        if (!uv || (uv->channel == plain.channel && uv->source == plain.source && uv->tilingU == plain.tilingU &&
                    uv->tilingV == plain.tilingV && uv->offsetU == plain.offsetU && uv->offsetV == plain.offsetV &&
                    uv->angleDeg == plain.angleDeg))
            return;
        auto pair = [this](const char* key, float u, float v) {
            json_.Key(key);
            json_.BeginArray(true);
            json_.Number(u);
            json_.Number(v);
            json_.EndArray();
        };
        json_.Key("uv");
        json_.BeginObject();
        json_.Key("channel");
        json_.Integer(uv->channel);
        json_.Key("source");
        json_.String(UvSourceName(uv->source));
        pair("tiling", uv->tilingU, uv->tilingV);
        pair("offset", uv->offsetU, uv->offsetV);
        json_.Key("angle");
        json_.Number(uv->angleDeg);
        json_.EndObject();
    }

    void WriteTexture(const host::Texture& texture) {
        const host::ClassId class_id = texture.ClassID();
        json_.BeginObject();
        json_.Key("type");
        auto maps = [&](int count) {
            json_.Key("maps");
            json_.BeginArray(true);
            for (int i = 0; i < count; ++i) TextureId(texture.GetSubTexmap(i));
            json_.EndArray();
        };
        if (const auto* bitmap = dynamic_cast<const BitmapTexture*>(&texture)) {
            json_.String("bitmap");
            Text("name", texture.GetName());
            if (!bitmap->File().empty()) Text("file", bitmap->File());
            if (bitmap->HasAlphaKey()) {
                json_.Key("alpha");
                json_.Bool(bitmap->Alpha());
            }
            WriteUv(texture);
        } else if (class_id == host::kNormalBumpClassId) {
            json_.String("normalBump");
            Text("name", texture.GetName());
            if (texture.GetSubTexmap(0)) {
                json_.Key("normal");
                TextureId(texture.GetSubTexmap(0));
            }
        } else if (class_id == host::kMixTextureClassId) {
            json_.String("mix");
            Text("name", texture.GetName());
            maps(3);
        } else if (class_id == host::kRgbMultiplyClassId) {
            json_.String("rgbMultiply");
            Text("name", texture.GetName());
            maps(2);
        } else if (class_id == host::kCheckerClassId && dynamic_cast<const ProceduralTexture*>(&texture)) {
            const auto& checker = dynamic_cast<const ProceduralTexture&>(texture);
            json_.String("checker");
            Text("name", texture.GetName());
            json_.Key("colors");
            json_.BeginArray(true);
            Colour(checker.Color1());
            Colour(checker.Color2());
            json_.EndArray();
            WriteUv(texture);
        } else if (class_id == host::kVertexColorClassId) {
            json_.String("vertexColor");
            Text("name", texture.GetName());
        } else {
            throw WriteError("the texture \"" + Utf8(texture.GetName()) + "\" is of a class without a scene file form");
        }
        json_.EndObject();
    }

    void WriteChildren(const SimNode& parent) {
        json_.BeginArray();
        for (int i = 0; i < parent.NumberOfChildren(); ++i) WriteNode(*static_cast<const SimNode*>(parent.GetChildNode(i)));
        json_.EndArray();
    }

    void WriteNode(const SimNode& node) {
        json_.BeginObject();
        Text("name", node.GetName());
        auto flag = [this](const char* key, bool value, bool fallback) {
            if (value == fallback) return;
            json_.Key(key);
            json_.Bool(value);
        };
        flag("hidden", node.IsNodeHidden(), false);
        flag("renderable", node.Renderable(), true);
        flag("selected", node.Selected(), false);
        if (!node.GetUserPropBuffer().empty()) Text("props", node.GetUserPropBuffer());
        if (node.IsGroupHead() || node.IsGroupMember()) {
            json_.Key("group");
            json_.String(node.IsGroupHead() ? "head" : "member");
        }
        if (node.Transform().IsConstant()) {
            const host::Matrix3 m = node.Transform().Eval(0);
            if (!IsIdentity(m)) {
                json_.Key("transform");
                Transform(m);
            }
        } else {
            json_.Key("keys");
            json_.BeginObject();
            for (const auto& [t, m] : node.Transform().Keys()) {
                json_.Key(JsonWriter::NumberText(Frame(t)));
                Transform(m);
            }
            json_.EndObject();
        }
        if (!node.Visibility().IsConstant()) {
            json_.Key("visibility");
            json_.BeginObject();
            for (const auto& [t, level] : node.Visibility().Keys()) {
                json_.Key(JsonWriter::NumberText(Frame(t)));
                json_.Number(level);
            }
            json_.EndObject();
        } else if (node.Visibility().Eval(0) != 1.0f) {
            json_.Key("visibility");
            json_.Number(node.Visibility().Eval(0));
        }
        if (!IsIdentity(node.ObjectOffset())) {
            json_.Key("objectOffset");
            Transform(node.ObjectOffset());
        }
        if (const auto* object = static_cast<const SimObject*>(node.GetObjectRef())) {
            if (const auto shared = shared_.find(object); shared != shared_.end()) {
                json_.Key("object");
                json_.String(shared->second);
            } else if (!object->Source().type.empty() || object->SuperClassID() != host::kHelperClass ||
                       !(object->ClassID() == host::kDummyClassId)) {
                json_.Key("object");
                WriteObject(*object);
            }
        }
        if (node.GetMtl()) {
            json_.Key("material");
            MaterialId(node.GetMtl());
        }
        if (const host::Skin* skin = node.GetSkin()) WriteSkin(*skin);
        const host::JointFlags joint = node.GetJointFlags();
        if (joint.revolute || joint.sliding || joint.chainEnd) {
            json_.Key("joint");
            json_.BeginObject();
            flag("revolute", joint.revolute, false);
            flag("sliding", joint.sliding, false);
            flag("chainEnd", joint.chainEnd, false);
            json_.EndObject();
        }
        if (node.NumberOfChildren()) {
            json_.Key("children");
            WriteChildren(node);
        }
        json_.EndObject();
    }

    void WriteSkin(const host::Skin& skin) {
        json_.Key("skin");
        json_.BeginObject();
        json_.Key("bones");
        json_.BeginArray(true);
        for (int b = 0; b < skin.NumBones(); ++b) json_.String(Utf8(skin.GetBone(b)->GetName()));
        json_.EndArray();
        json_.Key("enabled");
        json_.Bool(skin.IsEnabled());
        json_.Key("weights");
        json_.BeginArray();
        for (int v = 0; v < skin.NumVertices(); ++v) {
            json_.BeginArray(true);
            for (int k = 0; k < skin.NumAssignedBones(v); ++k) {
                json_.BeginArray(true);
                json_.Integer(skin.GetAssignedBone(v, k));
                json_.Number(skin.GetBoneWeight(v, k));
                json_.EndArray();
            }
            json_.EndArray();
        }
        json_.EndArray();
        json_.EndObject();
    }

    const Scene& scene_;
    JsonWriter json_;
    int ticks_per_frame_;
    Ids<host::Material> materials_;
    Ids<host::Texture> textures_;
    std::map<const SimObject*, std::string> shared_;
    std::set<const void*> visited_;
};

// Text into a file stream of the core library.
class FileSink : public TextSink {
public:
    explicit FileSink(xIo::eFileStream& file) : file_(file) {}
    void Write(std::string_view text) override { file_.Write(text.data(), int32_t(text.size())); }

private:
    xIo::eFileStream& file_;
};

}  // namespace

void WriteScene(const Scene& scene, TextSink& sink) { SceneWriter(scene, sink).Write(); }

std::string SceneText(const Scene& scene) {
    std::string text;
    StringSink sink(text);
    WriteScene(scene, sink);
    return text;
}

bool WriteSceneFile(const Scene& scene, const std::string& path) {
    xIo::eFileStream file;
    if (!file.Open(path, xIo::kModeWrite | xIo::kModeTruncate, xIo::eFileStream::kOutputBufferSize)) return false;
    try {
        FileSink sink(file);
        WriteScene(scene, sink);
    } catch (...) {
        file.Discard();
        throw;
    }
    file.Close();
    return true;
}

}  // namespace sim
