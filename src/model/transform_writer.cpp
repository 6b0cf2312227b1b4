#include "model/transform_writer.h"

#include <cmath>

namespace model {

using xIo::xSdl::Ident;

namespace {

constexpr float kIdentityTolerance = 0.000001f;

bool NearlyEqual(const host::Point3& a, const host::Point3& b) {
    return std::fabs(a.x - b.x) <= kIdentityTolerance && std::fabs(a.y - b.y) <= kIdentityTolerance &&
           std::fabs(a.z - b.z) <= kIdentityTolerance;
}

}  // namespace

float RoundTo4Decimals(float value) {
    // Adding 0 turns a rounded -0 into 0, so a tiny negative never prints as "-0".
    return static_cast<float>(std::round(static_cast<double>(value) * 10000.0) / 10000.0) + 0.0f;
}

void WriteRoundedTriple(xIo::xSdl::eWriter& writer, const host::Point3& p) {
    writer << RoundTo4Decimals(p.x) << Ident{"\t"} << RoundTo4Decimals(p.y) << Ident{"\t"} << RoundTo4Decimals(p.z);
}

void WriteTriple(xIo::xSdl::eWriter& writer, const host::Point3& p) {
    WriteRoundedTriple(writer, p);
    writer << xIo::xSdl::newline;
}

bool IsOrthonormal(const host::Matrix3& m, float tolerance) {
    for (int i = 0; i < 3; ++i)
        if (std::fabs(m.GetRow(i).Length() - 1.0f) > tolerance) return false;
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            if (std::fabs(host::DotProd(m.GetRow(i), m.GetRow(j))) > tolerance) return false;
    return true;
}

void WriteTransform(xIo::xSdl::eWriter& writer, const host::Matrix3& m, float master_scale) {
    bool at_origin = NearlyEqual(m.GetTrans(), host::Point3(0, 0, 0));
    bool unrotated = NearlyEqual(m.GetRow(0), host::Point3(1, 0, 0)) && NearlyEqual(m.GetRow(1), host::Point3(0, 1, 0)) &&
                     NearlyEqual(m.GetRow(2), host::Point3(0, 0, 1));
    if (at_origin && unrotated) return;
    host::Point3 position = m.GetTrans() * master_scale;
    if (unrotated) {
        writer << xIo::xSdl::begin << Ident{"Position"};
        WriteTriple(writer, position);
    } else {
        writer << xIo::xSdl::begin << Ident{at_origin ? "orientation" : "matrix34"} << xIo::xSdl::newline;
        for (int row = 0; row < 3; ++row) WriteTriple(writer, m.GetRow(row));
        if (!at_origin) WriteTriple(writer, position);
    }
    writer << xIo::xSdl::endl;
}

}  // namespace model
