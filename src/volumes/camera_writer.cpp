#include "volumes/camera_writer.h"

#include <algorithm>
#include <cmath>

#include "volumes/frames.h"

namespace volumes {

using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;

namespace {

constexpr float kDegreesPerRadian = 57.29578f;
constexpr double kVerticalTolerance = 0.00001;

// Doubles: the arc cosine near 1 would turn float rounding into a roll.
struct Vec {
    double x, y, z;
};
Vec Of(const host::Point3& p) { return {p.x, p.y, p.z}; }
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(const Vec& a, const Vec& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec Unit(const Vec& v) {
    const double length = std::sqrt(Dot(v, v));
    return length > 0.0 ? Vec{v.x / length, v.y / length, v.z / length} : v;
}

}  // namespace

double CameraRoll(const host::Matrix3& q) {
    const Vec view = Unit(Of(-q.GetRow(2)));
    const Vec up = Unit(Of(q.GetRow(1)));
    const bool vertical = std::fabs(view.x) <= kVerticalTolerance && std::fabs(view.y) <= kVerticalTolerance;
    const Vec reference = vertical ? Vec{1, 0, 0} : Vec{0, 0, 1};
    // The reference up made perpendicular to the line of view.
    const Vec unrolled = Unit(Cross(Cross(view, reference), view));
    const double angle = std::acos(std::clamp(Dot(unrolled, up), -1.0, 1.0));
    return Dot(Cross(unrolled, up), view) < 0.0 ? -angle : angle;
}

void WriteCamera(const VolumeSettings& settings, host::Node& node, const host::Object& camera,
                 xIo::xSdl::eWriter& w) {
    host::CameraState state;
    camera.EvalCameraState(0, state);
    const host::Matrix3 to_model = WorldToModel(settings, 0);
    const host::Matrix3 q = node.GetNodeTM(0) * to_model;
    host::Node* target = node.GetTarget();
    const host::Matrix3 aim = target ? target->GetNodeTM(0) * to_model : host::Matrix3();
    WriteTripleBlock(w, "origin", q.GetTrans() * settings.masterScale);
    WriteTripleBlock(w, "lookat", aim.GetTrans() * settings.masterScale);
    w << begin << Ident{"fov"} << state.fov * kDegreesPerRadian << endl;
    const double roll = CameraRoll(q);
    if (std::fabs(roll) > kRollTolerance)
        w << begin << Ident{"horizon"} << static_cast<float>(roll) * kDegreesPerRadian << endl;
}

}  // namespace volumes
