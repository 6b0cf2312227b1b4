#pragma once
// The placement block of a transform in the model description.
#include "host/math_matrix.h"
#include "io/sdl_writer.h"

namespace model {

/// Writes the placement of m: nothing for the identity, "Position" for a
/// pure translation, "orientation" for a pure rotation, "matrix34" for both.
/// Translations are multiplied by master_scale (metres); every number is
/// rounded to 4 decimals.
void WriteTransform(xIo::xSdl::eWriter& writer, const host::Matrix3& m, float master_scale);

/// value rounded to 4 decimals, half away from zero.
float RoundTo4Decimals(float value);

/// Writes three numbers rounded to 4 decimals, separated by a TAB identifier.
void WriteRoundedTriple(xIo::xSdl::eWriter& writer, const host::Point3& p);

/// Writes WriteRoundedTriple's three numbers, then a newline.
void WriteTriple(xIo::xSdl::eWriter& writer, const host::Point3& p);

/// True when rows 0 to 2 of m have unit length and are pairwise
/// perpendicular, each within tolerance: no scale, no shear (a mirror passes).
bool IsOrthonormal(const host::Matrix3& m, float tolerance);

/// The tolerance of the orthonormality checks of bones and volumes.
inline constexpr float kOrthoTolerance = 0.00001f;

}  // namespace model
