// Objects of the scene file: meshes, primitives, helpers, targets, shapes,
// lights and cameras.
#include <cmath>

#include "sim/load_context.h"
#include "sim/load_mesh.h"
#include "sim/primitives.h"

namespace sim {

namespace {

constexpr double kMaxLength = 1e9;  // system units
constexpr int kMaxSegments = 200;

float Length(const Value& value, const char* key, double fallback) {
    return static_cast<float>(value.OptNumber(key, fallback, 0, kMaxLength));
}

int Segments(const Value& value, const char* key, int fallback, int min) {
    return static_cast<int>(value.OptInteger(key, fallback, min, kMaxSegments));
}

host::PolyShape LoadLine(const Value& value) {
    host::PolyShape shape;
    const Value splines = value["splines"];
    splines.ExpectArray();
    for (size_t i = 0; i < splines.Size(); ++i) {
        const Value spline = splines[i];
        spline.ExpectObject({"points", "closed"});
        const Value points = spline["points"];
        points.ExpectArray();
        host::Polyline line;
        for (size_t p = 0; p < points.Size(); ++p) line.points.push_back(points[p].Point());
        line.closed = spline.OptBool("closed", false);
        shape.lines.push_back(std::move(line));
    }
    return shape;
}

host::PolyShape Circle(float radius, int points) {
    host::Polyline line;
    line.closed = true;
    for (int i = 0; i < points; ++i) {
        const double angle = 2 * 3.14159265358979323846 * i / points;
        line.points.push_back({float(radius * std::cos(angle)), float(radius * std::sin(angle)), 0});
    }
    return {{line}};
}

std::unique_ptr<SimObject> LoadLight(const Value& value, Recorder& recorder) {
    value.ExpectObject({"type", "classId", "superClass", "kind", "color", "enabled", "hotspot", "falloff",
                        "farAttenuation", "target", "roll"});
    const std::string kind = value["kind"].Utf8();
    host::LightState state;
    host::ClassId class_id;
    if (kind == "omni") state.type = host::LightType::kOmni, class_id = host::kOmniLightClassId;
    else if (kind == "spot") state.type = host::LightType::kSpot, class_id = host::kSpotLightClassId;
    else if (kind == "directional") state.type = host::LightType::kDirectional, class_id = host::kDirectionalLightClassId;
    else if (kind == "ambient") state.type = host::LightType::kAmbient, class_id = host::kAmbientLightClassId;
    else value["kind"].Fail("unknown light kind (expected omni, spot, directional or ambient)");
    state.color = value.OptColour("color", {1, 1, 1});
    state.on = value.OptBool("enabled", true);
    state.hotsize = float(value.OptNumber("hotspot", 43.0, 0, 180));
    state.fallsize = float(value.OptNumber("falloff", 45.0, 0, 180));
    if (value.Has("farAttenuation")) {
        const Value far = value["farAttenuation"];
        far.ExpectObject({"use", "end"});
        state.useFarAtten = far.OptBool("use", false);
        state.farAttenEnd = float(far.OptNumber("end", 0, 0, kMaxLength));
    }
    return std::make_unique<LightObject>(class_id, state, &recorder);
}

}  // namespace

SimObject* ReadObject(LoadContext& context, JsonCursor& cursor, std::string& target_name, float& roll_deg) {
    const std::string pointer = cursor.Pointer();
    // The bulk of a mesh goes straight into its containers; every other
    // member is small and read as a tree, checked once the type is known.
    Json members = Json::object();
    MeshSource mesh;
    cursor.BeginObject();
    while (cursor.NextKey()) {
        const std::string key = cursor.Key();
        if (ReadMeshMember(cursor, key, mesh)) members.emplace(key, nullptr);  // a place holder for the key check
        else if (key == "extra") cursor.Skip();
        else members.emplace(key, cursor.ReadJson());
    }
    const Value value(members, pointer);
    const Value type_value = value["type"];
    const std::string type = type_value.Utf8();
    ObjectSource source;
    source.type = type;
    std::unique_ptr<SimObject> object;
    if (type == "mesh") {
        value.ExpectObject({"type", "classId", "superClass", "vertices", "faces", "smoothing", "materialIds", "hiddenFaces",
                            "channels", "normals", "frames"});
        object = BuildMesh(context, mesh, pointer);
    } else if (type == "box") {
        value.ExpectObject({"type", "classId", "superClass", "length", "width", "height", "segments"});
        if (value.Has("segments")) {
            const Value list = value["segments"];
            list.ExpectArray();
            if (list.Size() != 3) list.Fail("expected 3 segment counts");
            for (size_t i = 0; i < 3; ++i) source.segments[i] = int(list[i].Integer(1, kMaxSegments));
        }
        source.length = Length(value, "length", 0);
        source.width = Length(value, "width", 0);
        source.height = Length(value, "height", 0);
        // segments are given as (length, width, height): along y, x and z.
        object = std::make_unique<MeshObject>(host::kBoxClassId, BuildBox(source.width, source.length, source.height, source.segments[1],
                                                                           source.segments[0], source.segments[2]));
    } else if (type == "sphere") {
        value.ExpectObject({"type", "classId", "superClass", "radius", "segments"});
        source.radius = Length(value, "radius", 0);
        source.segments[0] = Segments(value, "segments", 16, 4);
        object = std::make_unique<MeshObject>(host::kSphereClassId, BuildSphere(source.radius, source.segments[0]));
    } else if (type == "cylinder") {
        value.ExpectObject({"type", "classId", "superClass", "radius", "height", "sides"});
        source.radius = Length(value, "radius", 0);
        source.height = Length(value, "height", 0);
        source.sides = Segments(value, "sides", 18, 3);
        object = std::make_unique<MeshObject>(host::kCylinderClassId, BuildCylinder(source.radius, source.height, source.sides));
    } else if (type == "helper") {
        value.ExpectObject({"type", "classId", "superClass"});
        object = std::make_unique<SimObject>(host::kHelperClass, host::kDummyClassId);
    } else if (type == "target") {
        value.ExpectObject({"type", "classId", "superClass"});
        object = std::make_unique<SimObject>(host::kGeomObjectClass, host::kTargetClassId);
    } else if (type == "rectangle") {
        value.ExpectObject({"type", "classId", "superClass", "length", "width"});
        source.width = Length(value, "width", 0);
        source.length = Length(value, "length", 0);
        const float hx = source.width / 2, hy = source.length / 2;
        host::Polyline line{{{-hx, -hy, 0}, {hx, -hy, 0}, {hx, hy, 0}, {-hx, hy, 0}}, true};
        object = std::make_unique<ShapeObject>(host::kRectangleClassId, host::PolyShape{{line}});
    } else if (type == "circle") {
        value.ExpectObject({"type", "classId", "superClass", "radius", "points"});
        source.points = int(value.OptInteger("points", 32, 3, 10000));
        source.radius = Length(value, "radius", 0);
        object = std::make_unique<ShapeObject>(host::kCircleClassId, Circle(source.radius, source.points));
    } else if (type == "line") {
        value.ExpectObject({"type", "classId", "superClass", "splines"});
        object = std::make_unique<ShapeObject>(host::kLineClassId, LoadLine(value));
    } else if (type == "light") {
        object = LoadLight(value, context.scene.Record());
    } else if (type == "camera") {
        value.ExpectObject({"type", "classId", "superClass", "fov", "target", "roll"});
        host::CameraState state;
        source.fovDeg = value.OptNumber("fov", 45.0, 0.001, 179.999);
        state.fov = float(source.fovDeg * 3.14159265358979323846 / 180.0);
        object = std::make_unique<CameraObject>(value.Has("target") ? host::kTargetCameraClassId : host::kFreeCameraClassId, state);
    } else {
        type_value.Fail("unknown object type");
    }
    target_name.clear();
    roll_deg = 0;
    if (type == "light" || type == "camera") {
        if (value.Has("target")) target_name = value["target"].Text();
        roll_deg = float(value.OptNumber("roll", 0, -36000, 36000));
        if (value.Has("target")) source.target = target_name;
        source.rollDeg = roll_deg;
    }
    if (value.Has("classId") || value.Has("superClass")) {
        host::ClassId class_id = object->ClassID();
        if (value.Has("classId")) {
            const Value pair = value["classId"];
            pair.ExpectArray();
            if (pair.Size() != 2) pair.Fail("expected 2 numbers");
            class_id = {uint32_t(pair[0].Integer(0, 0xFFFFFFFFll)), uint32_t(pair[1].Integer(0, 0xFFFFFFFFll))};
        }
        object->OverrideClass(uint32_t(value.OptInteger("superClass", object->SuperClassID(), 0, 0xFFFFFFFFll)), class_id);
    }
    object->SetSource(std::move(source));
    return context.scene.Own(std::move(object));
}

}  // namespace sim
