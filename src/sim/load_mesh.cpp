// Mesh objects of the scene file: vertices, faces, per-face lists, map
// channels, explicit normals and vertex animation frames.
#include "sim/load_mesh.h"

#include <cmath>

namespace sim {

namespace {

constexpr size_t kNoCount = SIZE_MAX;  // a triple whose indices have no count to stay below (yet)

// Sizes that lists read later are likely to have (most have exactly one of
// them), so that they take their memory once instead of growing into it.
size_t VertexCount(const MeshSource& source) { return source.verts ? source.verts->size() : 0; }
size_t FaceCount(const MeshSource& source) { return source.faces ? source.faces->size() : 0; }

// A whole number within [min, max] (both within the range of int64_t).
bool Whole(double value, double min, double max) { return value >= min && value <= max && double(int64_t(value)) == value; }

// The element that comes next (or that a fast path read into values), for
// the checks that say what is wrong with it.
Json Element(JsonCursor& cursor, bool read, const double* values, int count) {
    if (!read) return cursor.ReadJson();
    Json array = Json::array();
    for (int i = 0; i < count; ++i) array.push_back(values[i]);
    return array;
}

host::Point3 ReadPoint(JsonCursor& cursor) {
    double v[3];
    const bool read = cursor.TryReadNumbers(v, 3);
    if (read && std::fabs(v[0]) <= 1e30 && std::fabs(v[1]) <= 1e30 && std::fabs(v[2]) <= 1e30)
        return {float(v[0]), float(v[1]), float(v[2])};
    const Json element = Element(cursor, read, v, 3);
    return Value(element, cursor.Pointer()).Point();
}

std::array<int64_t, 3> ReadTriple(JsonCursor& cursor, bool allow_none) {
    const double min = allow_none ? -1 : 0;
    double v[3];
    const bool read = cursor.TryReadNumbers(v, 3);
    if (read && Whole(v[0], min, kMaxIndex) && Whole(v[1], min, kMaxIndex) && Whole(v[2], min, kMaxIndex))
        return {int64_t(v[0]), int64_t(v[1]), int64_t(v[2])};
    const Json element = Element(cursor, read, v, 3);
    return Triple(Value(element, cursor.Pointer()), kNoCount, allow_none);
}

int64_t ReadInteger(JsonCursor& cursor, int64_t min, int64_t max) {
    if (cursor.Peek() != JsonKind::kNumber) return Value(cursor.ReadJson(), cursor.Pointer()).Integer(min, max);
    const double value = cursor.ReadNumber();
    if (Whole(value, double(min), double(max))) return int64_t(value);
    return Value(Json(value), cursor.Pointer()).Integer(min, max);
}

template <class T>
std::vector<T> ReadIntegers(JsonCursor& cursor, int64_t max, size_t expected) {
    std::vector<T> list;
    list.reserve(expected);
    cursor.BeginArray();
    while (cursor.NextElement()) list.push_back(T(ReadInteger(cursor, 0, max)));
    return list;
}

std::vector<host::MapFace> ReadMapFaces(JsonCursor& cursor, size_t expected) {
    std::vector<host::MapFace> faces;
    faces.reserve(expected);
    cursor.BeginArray();
    while (cursor.NextElement()) {
        const auto t = ReadTriple(cursor, false);
        faces.push_back({{uint32_t(t[0]), uint32_t(t[1]), uint32_t(t[2])}});
    }
    return faces;
}

void ReadChannels(JsonCursor& cursor, MeshSource& source) {
    cursor.BeginObject();
    while (cursor.NextKey()) {
        const std::string key = cursor.Key();
        MeshSource::Channel channel;
        channel.pointer = cursor.Pointer();
        bool valid = false;
        try {
            size_t used = 0;
            channel.number = std::stoi(key, &used);
            valid = used == key.size() &&
                    (channel.number == host::kMapAlpha || (channel.number >= 0 && channel.number <= host::kMapMaxChannel));
        } catch (const std::exception&) {
        }
        if (!valid) cursor.Fail("unknown map channel (expected -2, 0 or 1 to 99)");
        cursor.BeginObject();
        while (cursor.NextKey()) {
            const std::string member = cursor.Key();
            if (member == "vertices") channel.verts = ReadPoints(cursor, VertexCount(source));
            else if (member == "faces") channel.faces = ReadMapFaces(cursor, FaceCount(source));
            else if (member == "extra") cursor.Skip();
            else cursor.Fail("unknown key");
        }
        source.channels[key] = std::move(channel);
    }
}

void ReadNormals(JsonCursor& cursor, MeshSource& source) {
    MeshSource::Normals normals;
    normals.pointer = cursor.Pointer();
    cursor.BeginObject();
    while (cursor.NextKey()) {
        const std::string member = cursor.Key();
        if (member == "normals") {
            normals.normals = ReadPoints(cursor, VertexCount(source));
        } else if (member == "faces") {
            normals.faces.emplace();
            normals.faces->reserve(FaceCount(source));
            cursor.BeginArray();
            while (cursor.NextElement()) {
                const auto n = ReadTriple(cursor, true);
                normals.faces->push_back({int(n[0]), int(n[1]), int(n[2])});
            }
        } else if (member == "explicit") {
            normals.isExplicit.emplace();
            cursor.BeginArray();
            while (cursor.NextElement())
                normals.isExplicit->push_back(cursor.Peek() == JsonKind::kBool ? cursor.ReadBool()
                                                                                : Value(cursor.ReadJson(), cursor.Pointer()).Bool());
        } else if (member == "extra") {
            cursor.Skip();
        } else {
            cursor.Fail("unknown key");
        }
    }
    source.normals = std::move(normals);
}

void ReadFrames(JsonCursor& cursor, MeshSource& source) {
    const std::string pointer = cursor.Pointer();
    cursor.BeginObject();
    while (cursor.NextKey()) {
        const std::string key = cursor.Key();
        MeshSource::Frame frame;
        frame.pointer = cursor.Pointer();
        frame.frame = ParseFrameKey(pointer, key);
        frame.positions = ReadPoints(cursor, VertexCount(source));
        source.frames[key] = std::move(frame);
    }
}

[[noreturn]] void IndexOutOfRange(const std::string& faces_pointer, size_t face, size_t corner, int64_t index, size_t count) {
    throw LoadError(Child(Child(faces_pointer, face), corner),
                    "index " + std::to_string(index) + " out of range (count " + std::to_string(count) + ")");
}

template <class Face>
void CheckIndices(const std::vector<Face>& faces, size_t count, const std::string& faces_pointer, uint32_t (Face::*corners)[3]) {
    for (size_t f = 0; f < faces.size(); ++f)
        for (size_t c = 0; c < 3; ++c)
            if ((faces[f].*corners)[c] >= count) IndexOutOfRange(faces_pointer, f, c, (faces[f].*corners)[c], count);
}

[[noreturn]] void Missing(const std::string& pointer, const char* key) { throw LoadError(Child(pointer, key), "required key is missing"); }

}  // namespace

std::array<int64_t, 3> Triple(const Value& value, size_t count, bool allow_none) {
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

std::vector<host::Point3> ReadPoints(JsonCursor& cursor, size_t expected) {
    std::vector<host::Point3> points;
    points.reserve(expected);
    cursor.BeginArray();
    while (cursor.NextElement()) points.push_back(ReadPoint(cursor));
    return points;
}

bool ReadMeshMember(JsonCursor& cursor, const std::string& key, MeshSource& source) {
    if (key == "vertices") {
        source.verts = ReadPoints(cursor, 0);
    } else if (key == "faces") {
        // A closed triangle mesh has about twice as many faces as vertices.
        source.faces.emplace();
        source.faces->reserve(2 * VertexCount(source));
        cursor.BeginArray();
        while (cursor.NextElement()) {
            const auto v = ReadTriple(cursor, false);
            host::Face face;
            for (size_t c = 0; c < 3; ++c) face.v[c] = uint32_t(v[c]);
            face.smGroup = 1;
            source.faces->push_back(face);
        }
    } else if (key == "smoothing") {
        source.smoothing = ReadIntegers<uint32_t>(cursor, 0xFFFFFFFFll, FaceCount(source));
    } else if (key == "materialIds") {
        source.materialIds = ReadIntegers<uint16_t>(cursor, 0xFFFF, FaceCount(source));
    } else if (key == "hiddenFaces") {
        source.hiddenFaces = ReadIntegers<uint32_t>(cursor, kMaxIndex, 0);
    } else if (key == "channels") {
        ReadChannels(cursor, source);
    } else if (key == "normals") {
        ReadNormals(cursor, source);
    } else if (key == "frames") {
        ReadFrames(cursor, source);
    } else {
        return false;
    }
    return true;
}

std::unique_ptr<MeshObject> BuildMesh(LoadContext& context, MeshSource& source, const std::string& pointer) {
    MeshData mesh;
    if (!source.verts) Missing(pointer, "vertices");
    mesh.verts = std::move(*source.verts);
    if (!source.faces) Missing(pointer, "faces");
    mesh.faces = std::move(*source.faces);
    CheckIndices(mesh.faces, mesh.verts.size(), Child(pointer, "faces"), &host::Face::v);
    auto per_face = [&](const char* key, const auto& list, auto apply) {
        if (!list) return;
        if (list->size() != mesh.faces.size())
            throw LoadError(Child(pointer, key), "expected one entry per face (" + std::to_string(mesh.faces.size()) + ")");
        for (size_t f = 0; f < list->size(); ++f) apply(mesh.faces[f], (*list)[f]);
    };
    per_face("smoothing", source.smoothing, [](host::Face& face, uint32_t bits) { face.smGroup = bits; });
    per_face("materialIds", source.materialIds, [](host::Face& face, uint16_t id) { face.SetMaterialId(id); });
    if (source.hiddenFaces) {
        for (size_t i = 0; i < source.hiddenFaces->size(); ++i) {
            const uint32_t f = (*source.hiddenFaces)[i];
            if (f >= mesh.faces.size()) throw LoadError(Child(Child(pointer, "hiddenFaces"), i), "face index out of range");
            mesh.faces[f].flags |= host::kFaceHidden;
        }
    }
    for (auto& [key, channel] : source.channels) {
        if (!channel.verts) Missing(channel.pointer, "vertices");
        if (!channel.faces) Missing(channel.pointer, "faces");
        const std::string faces_pointer = Child(channel.pointer, "faces");
        if (channel.faces->size() != mesh.faces.size())
            throw LoadError(faces_pointer, "expected one face per mesh face (" + std::to_string(mesh.faces.size()) + ")");
        // A broken alpha channel loads: the exporter reports it.
        if (channel.number != host::kMapAlpha) CheckIndices(*channel.faces, channel.verts->size(), faces_pointer, &host::MapFace::t);
        mesh.channels[channel.number] = {std::move(*channel.verts), std::move(*channel.faces)};
    }
    if (source.normals) {
        MeshSource::Normals& normals = *source.normals;
        if (!normals.normals) Missing(normals.pointer, "normals");
        if (!normals.faces) Missing(normals.pointer, "faces");
        const std::string faces_pointer = Child(normals.pointer, "faces");
        if (normals.faces->size() != mesh.faces.size())
            throw LoadError(faces_pointer, "expected one face per mesh face (" + std::to_string(mesh.faces.size()) + ")");
        const size_t count = normals.normals->size();
        for (size_t f = 0; f < normals.faces->size(); ++f)
            for (size_t c = 0; c < 3; ++c)
                if (const int index = (*normals.faces)[f][c]; index >= 0 && size_t(index) >= count)
                    IndexOutOfRange(faces_pointer, f, c, index, count);
        NormalSpecData spec;
        spec.isExplicit.assign(count, false);
        if (normals.isExplicit) {
            if (normals.isExplicit->size() != count) throw LoadError(Child(normals.pointer, "explicit"), "expected one flag per normal");
            spec.isExplicit = std::move(*normals.isExplicit);
        }
        spec.normals = std::move(*normals.normals);
        spec.faces = std::move(*normals.faces);
        mesh.normals = std::move(spec);
    }
    const size_t vertex_count = mesh.verts.size();
    auto object = std::make_unique<MeshObject>(host::kEditableMeshClassId, std::move(mesh));
    for (auto& [key, frame] : source.frames) {
        if (frame.positions.size() != vertex_count)
            throw LoadError(frame.pointer, "expected one position per vertex (" + std::to_string(vertex_count) + ")");
        context.deferred.push_back([&context, target = object.get(), frame = std::move(frame)]() mutable {
            target->AddFrame(context.Ticks(frame.frame, frame.pointer), std::move(frame.positions));
        });
    }
    return object;
}

}  // namespace sim
