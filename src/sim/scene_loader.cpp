// The scene file's top level and its node tree.
#include "sim/scene_loader.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "base/cp1251.h"
#include "sim/load_context.h"

namespace sim {

namespace {

constexpr int kMaxNodeDepth = 100;

void LoadTime(LoadContext& context, const Value& root) {
    int64_t start = 0, end = 100;
    std::string pointer = "/time";
    if (root.Has("time")) {
        const Value time = root["time"];
        time.ExpectObject({"ticksPerFrame", "start", "end"});
        context.ticksPerFrame = int(time.OptInteger("ticksPerFrame", 160, 1, 4800));
        start = time.OptInteger("start", 0, -1000000, 1000000);
        end = time.OptInteger("end", 100, -1000000, 1000000);
        if (end < start) time["end"].Fail("the end frame lies before the start frame");
    }
    context.scene.SetTime(context.ticksPerFrame, {context.Ticks(double(start), pointer), context.Ticks(double(end), pointer)});
}

// The pending skin of a node: bones are resolved once every node exists.
struct PendingSkin {
    SimNode* node;
    Value value;
};

class NodeLoader {
public:
    explicit NodeLoader(LoadContext& context) : context_(context) {}

    void Load(const Value& nodes, SimNode* parent, int depth) {
        nodes.ExpectArray();
        if (depth > kMaxNodeDepth) nodes.Fail("nodes nest deeper than " + std::to_string(kMaxNodeDepth) + " levels");
        for (size_t i = 0; i < nodes.Size(); ++i) LoadNode(nodes[i], parent, depth);
    }

    void ResolveSkins() {
        for (const PendingSkin& pending : skins_) LoadSkin(pending.node, pending.value);
    }

private:
    void LoadNode(const Value& value, SimNode* parent, int depth) {
        value.ExpectObject({"name", "children", "hidden", "renderable", "selected", "props", "group", "transform", "keys",
                            "visibility", "objectOffset", "object", "material", "skin", "joint"});
        SimNode* node = context_.scene.AddNode(value["name"].Text(), parent);
        node->SetFlags(value.OptBool("hidden", false), value.OptBool("renderable", true), value.OptBool("selected", false));
        node->SetUserProps(value.OptText("props", ""));
        if (value.Has("group")) {
            const std::string group = value["group"].Utf8();
            if (group != "head" && group != "member") value["group"].Fail("expected \"head\" or \"member\"");
            node->SetGroup(group == "head", group == "member");
        }
        if (value.Has("keys")) {
            const Value keys = value["keys"];
            keys.ExpectObject();
            if (keys.Size() == 0) keys.Fail("expected at least one key");
            for (const auto& item : keys.json().items()) {
                const Value key(item.value(), Child(keys.pointer(), item.key()));
                node->Transform().SetKey(context_.Ticks(ParseFrameKey(keys, item.key()), key.pointer()), key.Transform());
            }
        } else if (value.Has("transform")) {
            node->Transform() = TransformTrack(value["transform"].Transform());
        }
        if (value.Has("visibility")) LoadVisibility(value["visibility"], *node);
        if (value.Has("objectOffset")) node->SetObjectOffset(value["objectOffset"].Transform());
        if (value.Has("object")) LoadNodeObject(value["object"], *node);
        else node->SetObject(context_.scene.Own(std::make_unique<SimObject>(host::kHelperClass, host::kDummyClassId)));
        if (value.Has("material")) node->SetMaterial(MaterialById(context_, value["material"]));
        if (value.Has("skin")) skins_.push_back({node, value["skin"]});
        if (value.Has("joint")) {
            const Value joint = value["joint"];
            joint.ExpectObject({"revolute", "sliding", "chainEnd"});
            node->SetJoint({joint.OptBool("revolute", false), joint.OptBool("sliding", false), joint.OptBool("chainEnd", false)});
        }
        if (value.Has("children")) Load(value["children"], node, depth + 1);
    }

    void LoadVisibility(const Value& value, SimNode& node) {
        if (value.IsNumber()) {
            node.Visibility() = FloatTrack(float(value.Number(-1e6, 1e6)));
            return;
        }
        value.ExpectObject();
        if (value.Size() == 0) value.Fail("expected a number or at least one key");
        for (const auto& item : value.json().items()) {
            const Value key(item.value(), Child(value.pointer(), item.key()));
            node.Visibility().SetKey(context_.Ticks(ParseFrameKey(value, item.key()), key.pointer()), float(key.Number(-1e6, 1e6)));
        }
    }

    void LoadNodeObject(const Value& value, SimNode& node) {
        SimObject* object = nullptr;
        std::string target;
        float roll = 0;
        if (value.IsString()) {
            const std::string& id = value.Utf8();
            const auto found = context_.sharedObjects.find(id);
            if (found == context_.sharedObjects.end()) value.Fail("unknown object id \"" + id + "\"");
            object = found->second;
            const SharedLook& look = shared_looks_[id];
            target = look.target;
            roll = look.roll;
        } else {
            object = LoadObject(context_, value, node.GetName(), target, roll);
        }
        node.SetObject(object);
        if (!target.empty()) context_.targets.push_back({&node, target, roll, Child(value.pointer(), "target")});
    }

    void LoadSkin(SimNode* node, const Value& value) {
        value.ExpectObject({"bones", "enabled", "weights"});
        const auto* mesh = dynamic_cast<const MeshObject*>(node->GetObjectRef());
        if (!mesh) value.Fail("a skin needs a mesh or primitive object on its node");
        const Value bones = value["bones"];
        bones.ExpectArray();
        std::vector<SimNode*> bone_nodes;
        for (size_t i = 0; i < bones.Size(); ++i) {
            auto* bone = static_cast<SimNode*>(context_.scene.GetNodeByName(bones[i].Text()));
            if (!bone) bones[i].Fail("no node has this name");
            bone_nodes.push_back(bone);
        }
        const Value weights = value["weights"];
        weights.ExpectArray();
        if (weights.Size() != mesh->Mesh().verts.size())
            weights.Fail("expected one entry per mesh vertex (" + std::to_string(mesh->Mesh().verts.size()) + ")");
        SimSkin::Weights table(weights.Size());
        for (size_t v = 0; v < weights.Size(); ++v) {
            const Value pairs = weights[v];
            pairs.ExpectArray();
            for (size_t k = 0; k < pairs.Size(); ++k) {
                const Value pair = pairs[k];
                pair.ExpectArray();
                if (pair.Size() != 2) pair.Fail("expected [bone position, weight]");
                const int64_t bone = pair[0].Integer(0, 0x7FFFFFFF);
                if (size_t(bone) >= bone_nodes.size())
                    pair[0].Fail("bone position out of range (" + std::to_string(bone_nodes.size()) + " bones)");
                table[v].push_back({int(bone), float(pair[1].Number(0, 1))});
            }
        }
        node->SetSkin(std::make_unique<SimSkin>(std::move(bone_nodes), std::move(table), value.OptBool("enabled", true),
                                                context_.scene.HoldImpl()));
    }

public:
    struct SharedLook {
        std::string target;
        float roll = 0;
    };
    std::map<std::string, SharedLook> shared_looks_;

private:
    LoadContext& context_;
    std::vector<PendingSkin> skins_;
};

void LoadSelectionSets(LoadContext& context, const Value& value) {
    value.ExpectArray();
    for (size_t i = 0; i < value.Size(); ++i) {
        const Value set_value = value[i];
        set_value.ExpectObject({"name", "nodes"});
        SelectionSet set;
        set.name = set_value["name"].Text();
        const Value nodes = set_value["nodes"];
        nodes.ExpectArray();
        for (size_t j = 0; j < nodes.Size(); ++j) {
            auto* node = static_cast<SimNode*>(context.scene.GetNodeByName(nodes[j].Text()));
            if (!node) nodes[j].Fail("no node has this name");
            set.nodes.push_back(node);
        }
        context.scene.AddSelectionSet(std::move(set));
    }
}

void LoadPaths(LoadContext& context, const Value& value) {
    value.ExpectObject();
    for (const auto& item : value.json().items()) {
        const Value folder(item.value(), Child(value.pointer(), item.key()));
        std::string prefix;
        if (!Utf8ToCp1251(item.key(), prefix)) folder.Fail("the prefix holds a character that code page 1251 cannot hold");
        const std::string& local = folder.Utf8();
        const bool absolute = !local.empty() && local[0] == '/';
        context.scene.Paths().Add(prefix, absolute ? local : context.options.baseDir + "/" + local);
    }
}

}  // namespace

host::TimeValue LoadContext::Ticks(double frame, const std::string& pointer) const {
    const double ticks = std::round(frame * ticksPerFrame);
    if (!(ticks >= -2147483647.0 && ticks <= 2147483647.0)) throw LoadError(pointer, "the frame lies outside the tick range");
    return static_cast<host::TimeValue>(ticks);
}

std::unique_ptr<Scene> LoadSceneText(std::string_view text, const LoadOptions& options) {
    const Json document = ParseJson(text);
    const Value root(document, "");
    root.ExpectObject({"format", "version", "file", "user", "units", "time", "ambient", "paths", "selectionSets", "objects",
                       "materials", "textures", "nodes"});
    if (root["format"].Utf8() != "qel-scene") root["format"].Fail("expected \"qel-scene\"");
    if (root["version"].Integer(0, 0x7FFFFFFF) != 1) root["version"].Fail("unsupported version (expected 1)");

    auto scene = std::make_unique<Scene>();
    LoadContext context{*scene, options, document};
    scene->SetFile(root.OptText("file", ""), root.OptText("user", ""));
    if (root.Has("units")) {
        const Value units = root["units"];
        units.ExpectObject({"masterScale"});
        scene->SetUnits(units.OptNumber("masterScale", 1.0, 1e-9, 1e9));
    }
    LoadTime(context, root);
    scene->SetAmbient(root.OptColour("ambient", {}));
    if (root.Has("paths")) LoadPaths(context, root["paths"]);
    // Every table entry loads even when nothing refers to it, so a mistake
    // anywhere in the file is reported.
    if (root.Has("textures")) {
        root["textures"].ExpectObject();
        for (const auto& item : document["textures"].items()) TextureById(context, Value(Json(item.key()), "/textures"));
    }
    if (root.Has("materials")) {
        root["materials"].ExpectObject();
        for (const auto& item : document["materials"].items()) MaterialById(context, Value(Json(item.key()), "/materials"));
    }
    NodeLoader nodes(context);
    if (root.Has("objects")) {
        const Value objects = root["objects"];
        objects.ExpectObject();
        for (const auto& item : document["objects"].items()) {
            NodeLoader::SharedLook look;
            const Json id(item.key());
            Value(id, Child("/objects", item.key())).Text();  // the id must be representable as a label
            context.sharedObjects[item.key()] =
                LoadObject(context, Value(item.value(), Child("/objects", item.key())), item.key(), look.target, look.roll);
            nodes.shared_looks_[item.key()] = look;
        }
    }
    nodes.Load(root["nodes"], nullptr, 0);
    nodes.ResolveSkins();
    for (const LoadContext::PendingTarget& pending : context.targets) {
        auto* target = static_cast<SimNode*>(scene->GetNodeByName(pending.targetName));
        if (!target) throw LoadError(pending.pointer, "no node has this name");
        if (target == pending.node) throw LoadError(pending.pointer, "a node cannot look at itself");
        pending.node->SetLookAt(target, pending.rollDeg);
    }
    if (root.Has("selectionSets")) LoadSelectionSets(context, root["selectionSets"]);
    return scene;
}

std::unique_ptr<Scene> LoadSceneFile(const std::string& path, LoadOptions options) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw LoadError("", "cannot open the scene file " + path);
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || size_t(size) > kMaxSceneFileSize) throw LoadError("", "the scene file is larger than 256 MiB");
    file.seekg(0);
    std::string text(size_t(size), '\0');
    file.read(text.data(), size);
    if (!file) throw LoadError("", "cannot read the scene file " + path);
    const size_t slash = path.find_last_of('/');
    options.baseDir = slash == std::string::npos ? "." : path.substr(0, slash);
    return LoadSceneText(text, options);
}

}  // namespace sim
