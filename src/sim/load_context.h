#pragma once
// What the parts of the loader share while one scene file loads.
//
// The file is read once, front to back, in whatever order its keys come.
// What needs the whole file waits in `deferred`: frame numbers become ticks
// only once the time settings are known (they may come last), and references
// by id resolve once every table has been read. Look-at targets and skin
// bones, which name nodes, resolve after that.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "sim/json_cursor.h"
#include "sim/json_reader.h"
#include "sim/scene.h"
#include "sim/scene_loader.h"

namespace sim {

struct LoadContext {
    LoadContext(Scene& scene_, const LoadOptions& options_) : scene(scene_), options(options_) {}

    Scene& scene;
    const LoadOptions& options;
    int ticksPerFrame = 160;

    // The material and texture tables (null when the file has none); their
    // entries load on first use, so that references may point forward.
    Json materialTable, textureTable;
    std::map<std::string, host::Material*> materials;
    std::map<std::string, host::Texture*> textures;
    std::set<std::string> materialsLoading, texturesLoading;

    /// Shared objects by id, with the look-at target their nodes take.
    struct SharedObject {
        SimObject* object;
        std::string target;
        float rollDeg;
    };
    std::map<std::string, SharedObject> sharedObjects;

    /// Steps run in order once the whole file has been read and the tables loaded.
    std::vector<std::function<void()>> deferred;

    /// A look-at target named by an object, resolved when every node exists.
    struct PendingTarget {
        SimNode* node;
        std::string targetName;
        float rollDeg;
        std::string pointer;
    };
    std::vector<PendingTarget> targets;

    /// Ticks of a frame number read at pointer; out of the tick range is an error.
    host::TimeValue Ticks(double frame, const std::string& pointer) const;

    /// The first node in depth-first order with this name, as the host finds
    /// it, or nullptr; only once every node exists.
    SimNode* NodeNamed(const std::string& name);
    std::unordered_map<std::string_view, SimNode*> nodesByName;
};

/// Reads the object description that comes next in cursor (a JSON object)
/// and builds the object. target_name and roll_deg are filled for cameras and
/// lights that name a target. Vertex animation frames wait in the context's
/// deferred steps.
SimObject* ReadObject(LoadContext& context, JsonCursor& cursor, std::string& target_name, float& roll_deg);
/// Reads the array of nodes that comes next in cursor as children of parent
/// (nullptr: the scene root); depth counts the levels above.
void ReadNodes(LoadContext& context, JsonCursor& cursor, SimNode* parent, int depth);
/// The material with the id held by reference (a string value).
host::Material* MaterialById(LoadContext& context, const Value& reference);
/// The texture with the id held by reference (a string value).
host::Texture* TextureById(LoadContext& context, const Value& reference);

}  // namespace sim
