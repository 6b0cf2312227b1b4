// The node tree of the scene file, read as it streams: a node joins the
// scene when its object opens (so the scene keeps the file's depth-first
// order) and takes its settings when it closes. Its children and object are
// read as they come; its other members are small and read as a tree.
#include <cmath>
#include <optional>

#include "base/cp1251.h"
#include "sim/load_context.h"
#include "sim/load_mesh.h"

namespace sim {

namespace {

constexpr int kMaxNodeDepth = 100;

// The user property text as the host stores it: a lone "\n" becomes "\r\n".
std::string HostLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

bool IsNodeMember(std::string_view key) {
    return key == "name" || key == "hidden" || key == "renderable" || key == "selected" || key == "props" || key == "group" ||
           key == "transform" || key == "keys" || key == "visibility" || key == "objectOffset" || key == "material" ||
           key == "joint";
}

// A skin as read; it is built once every node and object exists.
struct SkinSource {
    std::string pointer;
    Json members = Json::object();  // bones, enabled
    std::optional<SimSkin::Weights> weights;
};

SimSkin::Weights ReadWeights(JsonCursor& cursor) {
    SimSkin::Weights weights;
    cursor.BeginArray();
    while (cursor.NextElement()) {
        std::vector<std::pair<int, float>>& pairs = weights.emplace_back();
        cursor.BeginArray();
        while (cursor.NextElement()) {
            double v[2];
            const bool read = cursor.TryReadNumbers(v, 2);
            if (read && v[0] == std::floor(v[0]) && v[0] >= 0 && v[0] <= 0x7FFFFFFF && v[1] >= 0 && v[1] <= 1) {
                pairs.push_back({int(v[0]), float(v[1])});
                continue;
            }
            Json element = read ? Json::array({v[0], v[1]}) : cursor.ReadJson();
            const Value pair(element, cursor.Pointer());
            pair.ExpectArray();
            if (pair.Size() != 2) pair.Fail("expected [bone position, weight]");
            pairs.push_back({int(pair[0].Integer(0, 0x7FFFFFFF)), float(pair[1].Number(0, 1))});
        }
    }
    return weights;
}

SkinSource ReadSkin(JsonCursor& cursor) {
    SkinSource skin;
    skin.pointer = cursor.Pointer();
    cursor.BeginObject();
    while (cursor.NextKey()) {
        const std::string key = cursor.Key();
        if (key == "weights") skin.weights = ReadWeights(cursor);
        else if (key == "bones" || key == "enabled") skin.members.emplace(key, cursor.ReadJson());
        else if (key == "extra") cursor.Skip();
        else cursor.Fail("unknown key");
    }
    return skin;
}

void BuildSkin(LoadContext& context, SimNode* node, SkinSource& skin) {
    const Value value(skin.members, skin.pointer);
    const auto* mesh = dynamic_cast<const MeshObject*>(node->GetObjectRef());
    if (!mesh) value.Fail("a skin needs a mesh or primitive object on its node");
    const Value bones = value["bones"];
    bones.ExpectArray();
    std::vector<SimNode*> bone_nodes;
    for (size_t i = 0; i < bones.Size(); ++i) {
        SimNode* bone = context.NodeNamed(bones[i].Text());
        if (!bone) bones[i].Fail("no node has this name");
        bone_nodes.push_back(bone);
    }
    const std::string weights_pointer = Child(skin.pointer, "weights");
    if (!skin.weights) throw LoadError(weights_pointer, "required key is missing");
    SimSkin::Weights& table = *skin.weights;
    if (table.size() != mesh->Mesh().verts.size())
        throw LoadError(weights_pointer, "expected one entry per mesh vertex (" + std::to_string(mesh->Mesh().verts.size()) + ")");
    for (size_t v = 0; v < table.size(); ++v)
        for (size_t k = 0; k < table[v].size(); ++k)
            if (size_t(table[v][k].first) >= bone_nodes.size())
                throw LoadError(Child(Child(Child(weights_pointer, v), k), 0),
                                "bone position out of range (" + std::to_string(bone_nodes.size()) + " bones)");
    node->SetSkin(std::make_unique<SimSkin>(std::move(bone_nodes), std::move(table), value.OptBool("enabled", true),
                                            context.scene.HoldImpl()));
}

void LoadVisibility(LoadContext& context, const Value& value, SimNode& node) {
    if (value.IsNumber()) {
        node.Visibility() = FloatTrack(float(value.Number(-1e6, 1e6)));
        return;
    }
    value.ExpectObject();
    if (value.Size() == 0) value.Fail("expected a number or at least one key");
    for (const auto& item : value.json().items()) {
        const Value key(item.value(), Child(value.pointer(), item.key()));
        const double frame = ParseFrameKey(value, item.key());
        const float level = float(key.Number(-1e6, 1e6));
        context.deferred.push_back([&context, &node, frame, level, pointer = key.pointer()] {
            node.Visibility().SetKey(context.Ticks(frame, pointer), level);
        });
    }
}

void LoadKeys(LoadContext& context, const Value& keys, SimNode& node) {
    keys.ExpectObject();
    if (keys.Size() == 0) keys.Fail("expected at least one key");
    for (const auto& item : keys.json().items()) {
        const Value key(item.value(), Child(keys.pointer(), item.key()));
        const double frame = ParseFrameKey(keys, item.key());
        const host::Matrix3 matrix = key.Transform();
        context.deferred.push_back([&context, &node, frame, matrix, pointer = key.pointer()] {
            node.Transform().SetKey(context.Ticks(frame, pointer), matrix);
        });
    }
}

// A node's object given as the id of a shared object.
void UseSharedObject(LoadContext& context, SimNode& node, const Json& id_json, const std::string& pointer) {
    const Value reference(id_json, pointer);
    const std::string& id = reference.Utf8();
    const auto found = context.sharedObjects.find(id);
    if (found == context.sharedObjects.end()) reference.Fail("unknown object id \"" + id + "\"");
    node.SetObject(found->second.object);
    if (!found->second.target.empty())
        context.targets.push_back({&node, found->second.target, found->second.rollDeg, Child(pointer, "target")});
}

// A node's name or user properties read straight into code page 1251 when
// they are strings (most nodes have little else); anything else goes to the
// members tree, where Value says what is wrong with it.
bool ReadText(JsonCursor& cursor, std::string& utf8, std::optional<std::string>& text) {
    if (cursor.Peek() != JsonKind::kString) return false;
    cursor.ReadString(utf8);
    text.emplace();
    if (!Utf8ToCp1251(utf8, *text)) cursor.Fail("text holds a character that code page 1251 cannot hold");
    return true;
}

void ReadNode(LoadContext& context, JsonCursor& cursor, SimNode* parent, int depth) {
    const std::string pointer = cursor.Pointer();
    cursor.Expect(JsonKind::kObject);
    SimNode* node = context.scene.AddNode("", parent);
    Json members = Json::object();
    std::string utf8;
    std::optional<std::string> name, props;
    SimObject* object = nullptr;
    std::string target;
    float roll = 0;
    std::optional<SkinSource> skin;
    cursor.BeginObject();
    while (cursor.NextKey()) {
        const std::string key = cursor.Key();
        if (key == "children") {
            ReadNodes(context, cursor, node, depth + 1);
        } else if (key == "object") {
            if (cursor.Peek() == JsonKind::kString) members.emplace(key, cursor.ReadJson());
            else object = ReadObject(context, cursor, target, roll);
        } else if (key == "skin") {
            skin = ReadSkin(cursor);
        } else if (key == "extra") {
            cursor.Skip();
        } else if ((key == "name" && ReadText(cursor, utf8, name)) || (key == "props" && ReadText(cursor, utf8, props))) {
            continue;
        } else if (IsNodeMember(key)) {
            members.emplace(key, cursor.ReadJson());
        } else {
            cursor.Fail("unknown key");
        }
    }

    const Value value(members, pointer);
    node->SetName(name ? std::move(*name) : value["name"].Text());
    node->SetFlags(value.OptBool("hidden", false), value.OptBool("renderable", true), value.OptBool("selected", false));
    node->SetUserProps(HostLineEnds(props ? std::move(*props) : value.OptText("props", "")));
    if (value.Has("group")) {
        const std::string group = value["group"].Utf8();
        if (group != "head" && group != "member") value["group"].Fail("expected \"head\" or \"member\"");
        node->SetGroup(group == "head", group == "member");
    }
    if (value.Has("keys")) LoadKeys(context, value["keys"], *node);
    else if (value.Has("transform")) node->Transform() = TransformTrack(value["transform"].Transform());
    if (value.Has("visibility")) LoadVisibility(context, value["visibility"], *node);
    if (value.Has("objectOffset")) node->SetObjectOffset(value["objectOffset"].Transform());
    if (object) {
        object->SetRecorder(&context.scene.Record(), node->GetName());
        node->SetObject(object);
        if (!target.empty()) context.targets.push_back({node, target, roll, Child(Child(pointer, "object"), "target")});
    } else if (value.Has("object")) {
        context.deferred.push_back([&context, node, id = value["object"].json(), object_pointer = Child(pointer, "object")] {
            UseSharedObject(context, *node, id, object_pointer);
        });
    } else {
        node->SetObject(context.scene.Own(std::make_unique<SimObject>(host::kHelperClass, host::kDummyClassId)));
    }
    if (value.Has("material")) {
        context.deferred.push_back([&context, node, id = value["material"].json(), material_pointer = Child(pointer, "material")] {
            node->SetMaterial(MaterialById(context, Value(id, material_pointer)));
        });
    }
    if (skin) context.deferred.push_back([&context, node, skin = std::move(*skin)]() mutable { BuildSkin(context, node, skin); });
    if (value.Has("joint")) {
        const Value joint = value["joint"];
        joint.ExpectObject({"revolute", "sliding", "chainEnd"});
        node->SetJoint({joint.OptBool("revolute", false), joint.OptBool("sliding", false), joint.OptBool("chainEnd", false)});
    }
}

}  // namespace

void ReadNodes(LoadContext& context, JsonCursor& cursor, SimNode* parent, int depth) {
    cursor.Expect(JsonKind::kArray);
    if (depth > kMaxNodeDepth) cursor.Fail("nodes nest deeper than " + std::to_string(kMaxNodeDepth) + " levels");
    cursor.BeginArray();
    while (cursor.NextElement()) ReadNode(context, cursor, parent, depth);
}

}  // namespace sim
