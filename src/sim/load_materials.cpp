// Materials and textures of the scene file, resolved by id on first use so
// that references may point forward; a reference back into a material or
// texture still loading is a cycle.
#include "sim/load_context.h"
#include "sim/materials.h"
#include "sim/textures.h"

namespace sim {

namespace {

UvGenData LoadUv(const Value& value) {
    value.ExpectObject({"channel", "source", "tiling", "offset", "angle"});
    UvGenData uv;
    uv.channel = int(value.OptInteger("channel", 1, 1, host::kMapMaxChannel));
    if (value.Has("source")) {
        const std::string source = value["source"].Utf8();
        if (source == "explicit") uv.source = host::UvSource::kExplicit;
        else if (source == "vertexColor") uv.source = host::UvSource::kVertexColor;
        else if (source == "objectXYZ") uv.source = host::UvSource::kObjectXyz;
        else if (source == "worldXYZ") uv.source = host::UvSource::kWorldXyz;
        else value["source"].Fail("unknown coordinate source (expected explicit, vertexColor, objectXYZ or worldXYZ)");
    }
    auto pair = [&value](const char* key, float& u, float& v) {
        if (!value.Has(key)) return;
        const Value list = value[key];
        list.ExpectArray();
        if (list.Size() != 2) list.Fail("expected 2 numbers");
        u = float(list[0].Number(-1e6, 1e6));
        v = float(list[1].Number(-1e6, 1e6));
    };
    pair("tiling", uv.tilingU, uv.tilingV);
    pair("offset", uv.offsetU, uv.offsetV);
    uv.angleDeg = float(value.OptNumber("angle", 0, -36000, 36000));
    return uv;
}

std::vector<host::Texture*> TextureList(LoadContext& context, const Value& value, size_t max) {
    value.ExpectArray();
    if (value.Size() > max) value.Fail("expected at most " + std::to_string(max) + " texture ids");
    std::vector<host::Texture*> list;
    for (size_t i = 0; i < value.Size(); ++i) list.push_back(value[i].IsNull() ? nullptr : TextureById(context, value[i]));
    return list;
}

host::Texture* LoadTexture(LoadContext& context, const std::string& id, const Value& value) {
    value.ExpectObject();
    const Value type_value = value["type"];
    const std::string type = type_value.Utf8();
    // A texture without a name is named by its id.
    const Json id_json(id);
    const std::string text_name = value.Has("name") ? value["name"].Text() : Value(id_json, value.pointer()).Text();
    std::unique_ptr<host::Texture> texture;
    if (type == "bitmap") {
        value.ExpectObject({"type", "name", "file", "alpha", "uv"});
        texture = std::make_unique<BitmapTexture>(text_name, value.OptText("file", ""), value.Has("alpha"),
                                                  value.OptBool("alpha", false), value.Has("uv") ? LoadUv(value["uv"]) : UvGenData());
    } else if (type == "normalBump") {
        value.ExpectObject({"type", "name", "normal"});
        std::vector<host::Texture*> subs{value.Has("normal") ? TextureById(context, value["normal"]) : nullptr};
        texture = std::make_unique<ProceduralTexture>(host::kNormalBumpClassId, text_name, subs, false, UvGenData());
    } else if (type == "mix" || type == "rgbMultiply") {
        value.ExpectObject({"type", "name", "maps"});
        const bool mix = type == "mix";
        std::vector<host::Texture*> subs = value.Has("maps") ? TextureList(context, value["maps"], mix ? 3 : 2) : std::vector<host::Texture*>();
        subs.resize(mix ? 3 : 2, nullptr);
        texture = std::make_unique<ProceduralTexture>(mix ? host::kMixTextureClassId : host::kRgbMultiplyClassId, text_name,
                                                      subs, false, UvGenData());
    } else if (type == "checker") {
        value.ExpectObject({"type", "name", "colors", "uv"});
        host::Color colors[2] = {{0, 0, 0}, {1, 1, 1}};
        if (value.Has("colors")) {
            const Value list = value["colors"];
            list.ExpectArray();
            if (list.Size() != 2) list.Fail("expected 2 colours");
            colors[0] = list[0].Colour();
            colors[1] = list[1].Colour();
        }
        texture = std::make_unique<ProceduralTexture>(host::kCheckerClassId, text_name, std::vector<host::Texture*>(), true,
                                                      value.Has("uv") ? LoadUv(value["uv"]) : UvGenData(), colors[0], colors[1]);
    } else if (type == "vertexColor") {
        value.ExpectObject({"type", "name"});
        texture = std::make_unique<ProceduralTexture>(host::kVertexColorClassId, text_name, std::vector<host::Texture*>(), false, UvGenData());
    } else {
        type_value.Fail("unknown texture type");
    }
    return context.scene.Own(std::move(texture));
}

MapSlot LoadSlot(LoadContext& context, const Value& value) {
    value.ExpectObject({"texture", "amount", "enabled"});
    MapSlot slot;
    slot.texture = TextureById(context, value["texture"]);
    slot.amountPercent = float(value.OptNumber("amount", 100, -1000, 1000));
    slot.enabled = value.OptBool("enabled", true);
    return slot;
}

host::ClassDesc* FindPlugin(const LoadContext& context, host::ClassId class_id) {
    for (host::ClassDesc* desc : context.options.plugins)
        if (desc && desc->SuperClassID() == host::kMaterialClass && desc->ClassID() == class_id) return desc;
    return nullptr;
}

host::Material* LoadPluginMaterial(LoadContext& context, const Value& value, const std::string& name) {
    value.ExpectObject({"type", "name", "material", "blend", "modulate2x", "envmap", "amount", "mask", "map"});
    host::ClassDesc* desc = FindPlugin(context, kCorvaneMtlClassId);
    if (!desc) {
        const std::string& why = context.options.missingPluginReason;
        value["type"].Fail("the material class CorvaneMtl is not available: its plug-in is not loaded" +
                           (why.empty() ? std::string() : " (" + why + ")"));
    }
    std::unique_ptr<host::ReferenceTarget> created = desc->Create(context.scene, false);
    auto* material = dynamic_cast<host::Material*>(created.get());
    if (!material) value["type"].Fail("the plug-in class CorvaneMtl did not create a material");
    context.scene.Own(std::move(created));
    material->SetName(name);
    host::ParamBlock* block = material->GetParamBlockById(0);
    if (!block) value["type"].Fail("the plug-in material CorvaneMtl has no parameter block 0");
    auto set = [&value](const char* key, bool done) {
        if (!done) value[key].Fail("the plug-in material refused the value");
    };
    if (value.Has("material")) {
        // The plug-in may put its previous value back into the block.
        host::Material* sub = MaterialById(context, value["material"]);
        host::Material* held = nullptr;
        set("material", block->SetValue(kParamSubMaterial, 0, sub) && block->GetValue(kParamSubMaterial, 0, held) && held == sub);
    }
    if (value.Has("blend")) set("blend", block->SetValue(kParamBlend, 0, int(value["blend"].Integer(0, 4))));
    if (value.Has("modulate2x")) set("modulate2x", block->SetValue(kParamModulate2x, 0, value["modulate2x"].Bool() ? 1 : 0));
    if (value.Has("envmap")) set("envmap", block->SetValue(kParamEnvmap, 0, value["envmap"].Bool() ? 1 : 0));
    if (value.Has("amount")) set("amount", block->SetValue(kParamAmount, 0, float(value["amount"].Number(0, 1))));
    if (value.Has("mask")) set("mask", block->SetValue(kParamMask, 0, TextureById(context, value["mask"])));
    if (value.Has("map")) set("map", block->SetValue(kParamMap, 0, TextureById(context, value["map"])));
    return material;
}

host::Material* LoadMaterial(LoadContext& context, const Value& value) {
    value.ExpectObject();
    const Value type_value = value["type"];
    const std::string type = type_value.Utf8();
    const std::string name = value.OptText("name", "");
    if (type == "standard") {
        value.ExpectObject({"type", "name", "diffuse", "specular", "specularLevel", "shininessStrength", "transparency",
                            "twoSided", "maps"});
        StandardMaterial::Values values;
        values.diffuse = value.OptColour("diffuse", values.diffuse);
        values.specular = value.OptColour("specular", values.specular);
        values.specularLevel = float(value.OptNumber("specularLevel", 0, -1e6, 1e6));
        values.shininessStrength = float(value.OptNumber("shininessStrength", 0, -1e6, 1e6));
        values.transparency = float(value.OptNumber("transparency", 0, 0, 1));
        values.twoSided = value.OptBool("twoSided", false);
        auto material = std::make_unique<StandardMaterial>(name, values);
        if (value.Has("maps")) {
            const Value maps = value["maps"];
            maps.ExpectObject({"diffuse", "specularLevel", "opacity", "bump"});
            if (maps.Has("diffuse")) material->SetMap(host::kMapDiffuse, LoadSlot(context, maps["diffuse"]));
            if (maps.Has("specularLevel")) material->SetMap(host::kMapSpecularLevel, LoadSlot(context, maps["specularLevel"]));
            if (maps.Has("opacity")) material->SetMap(host::kMapOpacity, LoadSlot(context, maps["opacity"]));
            if (maps.Has("bump")) material->SetMap(host::kMapBump, LoadSlot(context, maps["bump"]));
        }
        return context.scene.Own(std::move(material));
    }
    if (type == "multi" || type == "twoLayer") {
        value.ExpectObject({"type", "name", "materials"});
        const Value list = value["materials"];
        list.ExpectArray();
        if (type == "twoLayer" && list.Size() != 2) list.Fail("expected 2 material ids");
        if (list.Size() > 1000) list.Fail("expected at most 1000 sub-materials");
        std::vector<host::Material*> subs;
        for (size_t i = 0; i < list.Size(); ++i) subs.push_back(list[i].IsNull() ? nullptr : MaterialById(context, list[i]));
        const host::ClassId class_id = type == "multi" ? host::kMultiMaterialClassId : host::kTwoLayerMaterialClassId;
        return context.scene.Own(std::make_unique<CompositeMaterial>(class_id, name, std::move(subs)));
    }
    if (type == "CorvaneMtl") return LoadPluginMaterial(context, value, name);
    type_value.Fail("unknown material type");
}

}  // namespace

host::Material* MaterialById(LoadContext& context, const Value& reference) {
    const std::string& id = reference.Utf8();
    if (const auto found = context.materials.find(id); found != context.materials.end()) return found->second;
    const Json& table = context.materialTable;
    if (!table.is_object() || !table.contains(id)) reference.Fail("unknown material id \"" + id + "\"");
    if (!context.materialsLoading.insert(id).second) reference.Fail("material \"" + id + "\" refers to itself");
    host::Material* material = LoadMaterial(context, Value(table[id], Child("/materials", id)));
    context.materialsLoading.erase(id);
    context.materials[id] = material;
    return material;
}

host::Texture* TextureById(LoadContext& context, const Value& reference) {
    const std::string& id = reference.Utf8();
    if (const auto found = context.textures.find(id); found != context.textures.end()) return found->second;
    const Json& table = context.textureTable;
    if (!table.is_object() || !table.contains(id)) reference.Fail("unknown texture id \"" + id + "\"");
    if (!context.texturesLoading.insert(id).second) reference.Fail("texture \"" + id + "\" refers to itself");
    host::Texture* texture = LoadTexture(context, id, Value(table[id], Child("/textures", id)));
    context.texturesLoading.erase(id);
    context.textures[id] = texture;
    return texture;
}

}  // namespace sim
