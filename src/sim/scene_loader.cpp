// The scene file's top level: its members in whatever order they come, then
// what needs the whole file (tables, references, look-at targets, skins and
// selection sets, which name nodes).
#include "sim/scene_loader.h"

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "base/cp1251.h"
#include "sim/load_context.h"

namespace sim {

namespace {

void LoadTime(LoadContext& context, const Value& time) {
    time.ExpectObject({"ticksPerFrame", "start", "end"});
    context.ticksPerFrame = int(time.OptInteger("ticksPerFrame", 160, 1, 4800));
    const int64_t start = time.OptInteger("start", 0, -1000000, 1000000);
    const int64_t end = time.OptInteger("end", 100, -1000000, 1000000);
    if (end < start) time["end"].Fail("the end frame lies before the start frame");
    context.scene.SetTime(context.ticksPerFrame,
                          {context.Ticks(double(start), time.pointer()), context.Ticks(double(end), time.pointer())});
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
        context.scene.FileTables().paths.emplace_back(item.key(), local);
    }
}

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
            SimNode* node = context.NodeNamed(nodes[j].Text());
            if (!node) nodes[j].Fail("no node has this name");
            set.nodes.push_back(node);
        }
        context.scene.AddSelectionSet(std::move(set));
    }
}

void ReadSharedObjects(LoadContext& context, JsonCursor& cursor) {
    cursor.BeginObject();
    while (cursor.NextKey()) {
        const std::string id = cursor.Key();
        Value(Json(id), cursor.Pointer()).Text();  // the id must be representable as a label
        LoadContext::SharedObject shared{};
        shared.object = ReadObject(context, cursor, shared.target, shared.rollDeg);
        shared.object->SetRecorder(&context.scene.Record(), id);
        context.sharedObjects[id] = shared;
    }
}

// Reading stops here once the file has given this many bytes.
class LimitedFileSource : public FileSource {
public:
    using FileSource::FileSource;
    size_t Read(char* buffer, size_t size) override {
        const size_t count = FileSource::Read(buffer, size);
        total_ += count;
        if (total_ > kMaxSceneFileSize) throw LoadError("", "the scene file is larger than 256 MiB");
        return count;
    }
    bool Rewind() override {
        total_ = 0;
        return FileSource::Rewind();
    }

private:
    size_t total_ = 0;
};

}  // namespace

host::TimeValue LoadContext::Ticks(double frame, const std::string& pointer) const {
    const double ticks = std::round(frame * ticksPerFrame);
    if (!(ticks >= -2147483647.0 && ticks <= 2147483647.0)) throw LoadError(pointer, "the frame lies outside the tick range");
    return static_cast<host::TimeValue>(ticks);
}

SimNode* LoadContext::NodeNamed(const std::string& name) {
    if (nodesByName.empty())  // built on first use: most files name no node
        for (SimNode* node : scene.Nodes()) nodesByName.emplace(node->GetName(), node);
    const auto found = nodesByName.find(name);
    return found == nodesByName.end() ? nullptr : found->second;
}

std::unique_ptr<Scene> LoadSceneFrom(ByteSource& source, const LoadOptions& options, size_t chunk_size) {
    JsonCursor cursor(source, chunk_size);
    if (cursor.Peek() != JsonKind::kObject) Value(cursor.ReadJson(), "").ExpectObject();
    auto scene = std::make_unique<Scene>();
    LoadContext context(*scene, options);
    bool has_format = false, has_version = false, has_nodes = false;
    std::string file, user;
    Json selection_sets;
    cursor.BeginObject();
    while (cursor.NextKey()) {
        const std::string key = cursor.Key();
        if (key == "nodes") {
            ReadNodes(context, cursor, nullptr, 0);
            has_nodes = true;
            continue;
        }
        if (key == "objects") {
            ReadSharedObjects(context, cursor);
            continue;
        }
        if (key == "extra") {
            cursor.Skip();
            continue;
        }
        static const char* const kSmall[] = {"format", "version", "file", "user", "units", "time",
                                             "ambient", "paths", "selectionSets", "materials", "textures"};
        if (std::find(std::begin(kSmall), std::end(kSmall), key) == std::end(kSmall)) cursor.Fail("unknown key");
        Json json = cursor.ReadJson();
        const Value value(json, Child("", key));
        if (key == "format") {
            if (value.Utf8() != "qel-scene") value.Fail("expected \"qel-scene\"");
            has_format = true;
        } else if (key == "version") {
            if (value.Integer(0, 0x7FFFFFFF) != 1) value.Fail("unsupported version (expected 1)");
            has_version = true;
        } else if (key == "file") {
            file = value.Text();
        } else if (key == "user") {
            user = value.Text();
        } else if (key == "units") {
            value.ExpectObject({"masterScale"});
            scene->SetUnits(value.OptNumber("masterScale", 1.0, 1e-9, 1e9));
        } else if (key == "time") {
            LoadTime(context, value);
        } else if (key == "ambient") {
            scene->SetAmbient(value.Colour());
        } else if (key == "paths") {
            LoadPaths(context, value);
        } else if (key == "selectionSets") {
            selection_sets = std::move(json);
        } else if (key == "materials") {
            value.ExpectObject();
            context.materialTable = std::move(json);
        } else if (key == "textures") {
            value.ExpectObject();
            context.textureTable = std::move(json);
        }
    }
    cursor.ExpectEnd();
    if (!has_format) throw LoadError("/format", "required key is missing");
    if (!has_version) throw LoadError("/version", "required key is missing");
    if (!has_nodes) throw LoadError("/nodes", "required key is missing");
    scene->SetFile(file, user);

    // Every table entry loads even when nothing refers to it, so a mistake
    // anywhere in the file is reported.
    for (const auto& item : context.textureTable.items()) TextureById(context, Value(Json(item.key()), "/textures"));
    for (const auto& item : context.materialTable.items()) MaterialById(context, Value(Json(item.key()), "/materials"));
    for (const std::function<void()>& step : context.deferred) step();
    for (const LoadContext::PendingTarget& pending : context.targets) {
        SimNode* target = context.NodeNamed(pending.targetName);
        if (!target) throw LoadError(pending.pointer, "no node has this name");
        if (target == pending.node) throw LoadError(pending.pointer, "a node cannot look at itself");
        pending.node->SetLookAt(target, pending.rollDeg);
    }
    if (!selection_sets.is_null()) LoadSelectionSets(context, Value(selection_sets, "/selectionSets"));

    SceneFileTables& tables = scene->FileTables();
    for (const auto& [id, shared] : context.sharedObjects) tables.objects[id] = shared.object;
    tables.materials = context.materials;
    tables.textures = context.textures;
    return scene;
}

std::unique_ptr<Scene> LoadSceneText(std::string_view text, const LoadOptions& options) {
    TextSource source(text);
    // A short text takes a buffer of its own size, not a whole chunk.
    return LoadSceneFrom(source, options, std::min(text.size() + 1, JsonCursor::kChunkSize));
}

std::unique_ptr<Scene> LoadSceneFile(const std::string& path, LoadOptions options) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) throw LoadError("", path + " is a directory, not a scene file");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) throw LoadError("", "cannot open the scene file " + path);
    const size_t slash = path.find_last_of('/');
    options.baseDir = slash == std::string::npos ? "." : path.substr(0, slash);
    LimitedFileSource source(file.get(), path);
    return LoadSceneFrom(source, options);
}

}  // namespace sim
