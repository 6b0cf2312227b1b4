// Objects of the scene file: meshes, primitives, helpers, targets, shapes,
// lights and cameras.
#include <cmath>

#include "sim/load_context.h"
#include "sim/primitives.h"

namespace sim {

namespace {

constexpr double kMaxLength = 1e9;  // system units
constexpr int kMaxSegments = 200;
constexpr uint32_t kMaxIndex = 0x7FFFFFFF;

std::vector<host::Point3> Points(const Value& value) {
    value.ExpectArray();
    std::vector<host::Point3> points;
    points.reserve(value.Size());
    for (size_t i = 0; i < value.Size(); ++i) points.push_back(value[i].Point());
    return points;
}

// Three indices below count (or −1 when allow_none).
std::array<int64_t, 3> Triple(const Value& value, size_t count, bool allow_none = false) {
    value.ExpectArray();
    if (value.Size() != 3) value.Fail("expected 3 indices");
    std::array<int64_t, 3> indices{};
    for (size_t c = 0; c < 3; ++c) {
        const int64_t index = value[c].Integer(allow_none ? -1 : 0, kMaxIndex);
        if (index >= 0 && static_cast<size_t>(index) >= count)
            value[c].Fail("index " + std::to_string(index) + " out of range (count " + std::to_string(count) + ")");
        indices[c] = index;
    }
    return indices;
}

void LoadChannels(const Value& value, MeshData& mesh) {
    value.ExpectObject();
    for (const auto& item : value.json().items()) {
        const Value channel(item.value(), Child(value.pointer(), item.key()));
        int number = 0;
        bool valid = false;
        try {
            size_t used = 0;
            number = std::stoi(item.key(), &used);
            valid = used == item.key().size() && (number == host::kMapAlpha || (number >= 0 && number <= host::kMapMaxChannel));
        } catch (const std::exception&) {
        }
        if (!valid) channel.Fail("unknown map channel (expected -2, 0 or 1 to 99)");
        channel.ExpectObject({"vertices", "faces"});
        MapChannelData data;
        data.verts = Points(channel["vertices"]);
        const Value faces = channel["faces"];
        faces.ExpectArray();
        if (faces.Size() != mesh.faces.size())
            faces.Fail("expected one face per mesh face (" + std::to_string(mesh.faces.size()) + ")");
        for (size_t f = 0; f < faces.Size(); ++f) {
            // A broken alpha channel loads: the exporter reports it.
            const auto t = number == host::kMapAlpha ? Triple(faces[f], kMaxIndex + size_t(1)) : Triple(faces[f], data.verts.size());
            data.faces.push_back({{uint32_t(t[0]), uint32_t(t[1]), uint32_t(t[2])}});
        }
        mesh.channels[number] = std::move(data);
    }
}

void LoadNormals(const Value& value, MeshData& mesh) {
    value.ExpectObject({"normals", "faces", "explicit"});
    NormalSpecData spec;
    spec.normals = Points(value["normals"]);
    const Value faces = value["faces"];
    faces.ExpectArray();
    if (faces.Size() != mesh.faces.size())
        faces.Fail("expected one face per mesh face (" + std::to_string(mesh.faces.size()) + ")");
    for (size_t f = 0; f < faces.Size(); ++f) {
        const auto n = Triple(faces[f], spec.normals.size(), true);
        spec.faces.push_back({int(n[0]), int(n[1]), int(n[2])});
    }
    spec.isExplicit.assign(spec.normals.size(), false);
    if (value.Has("explicit")) {
        const Value flags = value["explicit"];
        flags.ExpectArray();
        if (flags.Size() != spec.normals.size()) flags.Fail("expected one flag per normal");
        for (size_t i = 0; i < flags.Size(); ++i) spec.isExplicit[i] = flags[i].Bool();
    }
    mesh.normals = std::move(spec);
}

std::unique_ptr<MeshObject> LoadMesh(LoadContext& context, const Value& value) {
    value.ExpectObject({"type", "classId", "superClass", "vertices", "faces", "smoothing", "materialIds", "hiddenFaces",
                        "channels", "normals", "frames"});
    MeshData mesh;
    mesh.verts = Points(value["vertices"]);
    const Value faces = value["faces"];
    faces.ExpectArray();
    for (size_t f = 0; f < faces.Size(); ++f) {
        const auto v = Triple(faces[f], mesh.verts.size());
        host::Face face;
        for (size_t c = 0; c < 3; ++c) face.v[c] = uint32_t(v[c]);
        face.smGroup = 1;
        mesh.faces.push_back(face);
    }
    auto per_face = [&](const char* key, int64_t max, auto apply) {
        if (!value.Has(key)) return;
        const Value list = value[key];
        list.ExpectArray();
        if (list.Size() != mesh.faces.size()) list.Fail("expected one entry per face (" + std::to_string(mesh.faces.size()) + ")");
        for (size_t f = 0; f < list.Size(); ++f) apply(mesh.faces[f], list[f].Integer(0, max));
    };
    per_face("smoothing", 0xFFFFFFFFll, [](host::Face& face, int64_t bits) { face.smGroup = uint32_t(bits); });
    per_face("materialIds", 0xFFFF, [](host::Face& face, int64_t id) { face.SetMaterialId(uint16_t(id)); });
    if (value.Has("hiddenFaces")) {
        const Value hidden = value["hiddenFaces"];
        hidden.ExpectArray();
        for (size_t i = 0; i < hidden.Size(); ++i) {
            const int64_t f = hidden[i].Integer(0, kMaxIndex);
            if (size_t(f) >= mesh.faces.size()) hidden[i].Fail("face index out of range");
            mesh.faces[size_t(f)].flags |= host::kFaceHidden;
        }
    }
    if (value.Has("channels")) LoadChannels(value["channels"], mesh);
    if (value.Has("normals")) LoadNormals(value["normals"], mesh);
    const size_t vertex_count = mesh.verts.size();
    auto object = std::make_unique<MeshObject>(host::kEditableMeshClassId, std::move(mesh));
    if (value.Has("frames")) {
        const Value frames = value["frames"];
        frames.ExpectObject();
        for (const auto& item : frames.json().items()) {
            const Value positions(item.value(), Child(frames.pointer(), item.key()));
            const host::TimeValue t = context.Ticks(ParseFrameKey(frames, item.key()), positions.pointer());
            std::vector<host::Point3> points = Points(positions);
            if (points.size() != vertex_count) positions.Fail("expected one position per vertex (" + std::to_string(vertex_count) + ")");
            object->AddFrame(t, std::move(points));
        }
    }
    return object;
}

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
        shape.lines.push_back({Points(spline["points"]), spline.OptBool("closed", false)});
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

SimObject* LoadObject(LoadContext& context, const Value& value, const std::string& label, std::string& target_name,
                      float& roll_deg) {
    value.ExpectObject();
    const Value type_value = value["type"];
    const std::string type = type_value.Utf8();
    std::unique_ptr<SimObject> object;
    if (type == "mesh") {
        object = LoadMesh(context, value);
    } else if (type == "box") {
        value.ExpectObject({"type", "classId", "superClass", "length", "width", "height", "segments"});
        int segments[3] = {1, 1, 1};
        if (value.Has("segments")) {
            const Value list = value["segments"];
            list.ExpectArray();
            if (list.Size() != 3) list.Fail("expected 3 segment counts");
            for (size_t i = 0; i < 3; ++i) segments[i] = int(list[i].Integer(1, kMaxSegments));
        }
        // segments are given as (length, width, height): along y, x and z.
        object = std::make_unique<MeshObject>(host::kBoxClassId,
                                              BuildBox(Length(value, "width", 0), Length(value, "length", 0),
                                                       Length(value, "height", 0), segments[1], segments[0], segments[2]));
    } else if (type == "sphere") {
        value.ExpectObject({"type", "classId", "superClass", "radius", "segments"});
        object = std::make_unique<MeshObject>(host::kSphereClassId,
                                              BuildSphere(Length(value, "radius", 0), Segments(value, "segments", 16, 4)));
    } else if (type == "cylinder") {
        value.ExpectObject({"type", "classId", "superClass", "radius", "height", "sides"});
        object = std::make_unique<MeshObject>(
            host::kCylinderClassId,
            BuildCylinder(Length(value, "radius", 0), Length(value, "height", 0), Segments(value, "sides", 18, 3)));
    } else if (type == "helper") {
        value.ExpectObject({"type", "classId", "superClass"});
        object = std::make_unique<SimObject>(host::kHelperClass, host::kDummyClassId);
    } else if (type == "target") {
        value.ExpectObject({"type", "classId", "superClass"});
        object = std::make_unique<SimObject>(host::kGeomObjectClass, host::kTargetClassId);
    } else if (type == "rectangle") {
        value.ExpectObject({"type", "classId", "superClass", "length", "width"});
        const float hx = Length(value, "width", 0) / 2, hy = Length(value, "length", 0) / 2;
        host::Polyline line{{{-hx, -hy, 0}, {hx, -hy, 0}, {hx, hy, 0}, {-hx, hy, 0}}, true};
        object = std::make_unique<ShapeObject>(host::kRectangleClassId, host::PolyShape{{line}});
    } else if (type == "circle") {
        value.ExpectObject({"type", "classId", "superClass", "radius", "points"});
        const int points = int(value.OptInteger("points", 32, 3, 10000));
        object = std::make_unique<ShapeObject>(host::kCircleClassId, Circle(Length(value, "radius", 0), points));
    } else if (type == "line") {
        value.ExpectObject({"type", "classId", "superClass", "splines"});
        object = std::make_unique<ShapeObject>(host::kLineClassId, LoadLine(value));
    } else if (type == "light") {
        object = LoadLight(value, context.scene.Record());
    } else if (type == "camera") {
        value.ExpectObject({"type", "classId", "superClass", "fov", "target", "roll"});
        host::CameraState state;
        state.fov = float(value.OptNumber("fov", 45.0, 0.001, 179.999) * 3.14159265358979323846 / 180.0);
        object = std::make_unique<CameraObject>(value.Has("target") ? host::kTargetCameraClassId : host::kFreeCameraClassId, state);
    } else {
        type_value.Fail("unknown object type");
    }
    target_name.clear();
    roll_deg = 0;
    if (type == "light" || type == "camera") {
        if (value.Has("target")) target_name = value["target"].Text();
        roll_deg = float(value.OptNumber("roll", 0, -36000, 36000));
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
    object->SetRecorder(&context.scene.Record(), label);
    return context.scene.Own(std::move(object));
}

}  // namespace sim
