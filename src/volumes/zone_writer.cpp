#include "volumes/zone_writer.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "base/format.h"
#include "host/class_id.h"
#include "host/object.h"
#include "scene/messages.h"
#include "volumes/frames.h"
#include "volumes/messages.h"
#include "volumes/rectangle_search.h"

namespace volumes {

using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;
using xIo::xSdl::newline;

namespace {

// Object space into the zone frame: the model's frame in metres, z dropped.
struct ZoneFrame {
    host::Matrix3 objectToModel;
    float masterScale;

    host::Point2 Point(const host::Point3& p) const {
        const host::Point3 q = objectToModel.TransformPoint(p) * masterScale;
        return {q.x, q.y};
    }
    host::Point2 Vector(const host::Point3& v) const {
        const host::Point3 q = objectToModel.VectorTransform(v) * masterScale;
        return {q.x, q.y};
    }
};

// Adding 0 turns the -0 that the axis fix's mirror makes of a 0 into 0.
void WritePair(xIo::xSdl::eWriter& w, const char* name, const host::Point2& p) {
    w << begin << Ident{name} << p.x + 0.0f << p.y + 0.0f << endl;
}

void WriteObb2(xIo::xSdl::eWriter& w, const Rectangle2& rect) {
    w << begin << Ident{"obb2"} << newline;
    WritePair(w, "center", rect.center);
    WritePair(w, "extent", rect.extent);
    WritePair(w, "axis", rect.axis);
    w << endl;
}

void WriteCircle2(xIo::xSdl::eWriter& w, float radius, const host::Point2& center) {
    w << begin << Ident{"circle2"} << newline;
    w << begin << Ident{"radius"} << radius << endl;
    WritePair(w, "center", center);
    w << endl;
}

void WritePolygon2(xIo::xSdl::eWriter& w, const std::vector<host::Point2>& points) {
    w << begin << Ident{"polygon2"} << newline;
    w << begin << Ident{"radius"} << int32_t{0} << endl;
    for (const host::Point2& p : points) WritePair(w, "vertex", p);
    w << endl;
}

float Length2(const host::Point2& v) { return std::sqrt(v.x * v.x + v.y * v.y); }

host::Box3 BoxOf(const std::vector<host::Point3>& points) {
    host::Box3 box;
    box.IncludePoints(points.data(), points.size());
    return box;
}

// A sphere is a circle; every other mesh gets the smallest rectangle around
// its vertices. Either is followed by "rotate".
void WriteMeshZone(const ZoneFrame& frame, host::ClassId class_id, const host::TriMesh& mesh, xIo::xSdl::eWriter& w) {
    if (mesh.NumVerts() == 0) return;  // nothing to surround
    if (class_id == host::kSphereClassId) {
        const host::Box3 box = mesh.VertexBox();
        WriteCircle2(w, box.Width().x * frame.masterScale * 0.5f, frame.Point(box.Center()));
    } else {
        std::vector<host::Point2> points;
        points.reserve(static_cast<size_t>(mesh.NumVerts()));
        for (int i = 0; i < mesh.NumVerts(); ++i) points.push_back(frame.Point(mesh.GetVert(i)));
        WriteObb2(w, SmallestRectangle(points));
    }
    w << begin << Ident{"rotate"} << endl;
}

// The rectangle spline's own box, turned into the zone frame: its x side is
// the first axis.
Rectangle2 SplineRectangle(const ZoneFrame& frame, const host::Box3& box) {
    const host::Point3 half = box.Width() * 0.5f;
    const host::Point2 along = frame.Vector(host::Point3(half.x, 0, 0));
    const host::Point2 across = frame.Vector(host::Point3(0, half.y, 0));
    Rectangle2 rect;
    rect.center = frame.Point(box.Center());
    rect.extent = host::Point2(Length2(along), Length2(across));
    const float length = Length2(along);
    rect.axis = length > 0.0f ? host::Point2(along.x / length, along.y / length) : host::Point2(1.0f, 0.0f);
    return rect;
}

// The polyline's points in the zone frame, in the order that makes the turn
// from point 0 over 1 to 2 of the line as drawn counter-clockwise (or
// straight).
std::vector<host::Point2> PolygonPoints(const ZoneFrame& frame, const host::Polyline& line) {
    std::vector<host::Point2> points;
    points.reserve(line.points.size());
    for (const host::Point3& p : line.points) points.push_back(frame.Point(p));
    if (line.points.size() >= 3) {
        const host::Point3& p0 = line.points[0];
        const host::Point3 turn = host::CrossProd(line.points[1] - p0, line.points[2] - p0);
        if (turn.z < 0.0f) std::reverse(points.begin(), points.end());
    }
    return points;
}

void WriteShapeZone(const VolumeSettings& settings, host::Node& node, const ZoneFrame& frame, host::ClassId class_id,
                    const host::PolyShape& shape, xIo::xSdl::eWriter& w) {
    std::vector<host::Point3> all;
    for (const host::Polyline& line : shape.lines) all.insert(all.end(), line.points.begin(), line.points.end());
    const host::Box3 box = BoxOf(all);
    if (class_id == host::kRectangleClassId) {
        if (!box.IsEmpty()) WriteObb2(w, SplineRectangle(frame, box));
        return;
    }
    if (class_id == host::kCircleClassId) {
        if (!box.IsEmpty()) WriteCircle2(w, box.Width().x * frame.masterScale * 0.5f, frame.Point(box.Center()));
        return;
    }
    if (shape.lines.size() > 1) {
        settings.report.Error(format(scene::Message(msg::kPolygonZoneLines)) % node.GetName());
        return;
    }
    if (shape.lines.size() == 1) WritePolygon2(w, PolygonPoints(frame, shape.lines[0]));
}

}  // namespace

void WriteZoneShape(const VolumeSettings& settings, host::Node& node, xIo::xSdl::eWriter& model_writer) {
    const host::TimeValue t = settings.staticTime;
    host::Object* object = node.EvalWorldState(t);
    if (object == nullptr) return;
    const host::SuperClassId super_class = object->SuperClassID();
    const host::ClassId class_id = object->ClassID();
    const ZoneFrame frame{node.GetObjectTM(t) * WorldToModel(settings, t), settings.masterScale};
    if (super_class == host::kGeomObjectClass) {
        std::unique_ptr<host::TriMesh> mesh = object->CanConvertToTriMesh(t) ? object->ConvertToTriMesh(t) : nullptr;
        if (mesh) WriteMeshZone(frame, class_id, *mesh, model_writer);
    } else if (super_class == host::kShapeClass) {
        host::PolyShape shape;
        if (object->MakePolyShape(t, shape)) WriteShapeZone(settings, node, frame, class_id, shape, model_writer);
    }
}

}  // namespace volumes
