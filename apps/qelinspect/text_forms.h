#pragma once
// The pieces the inspecting commands print values with, so that the same
// value reads the same in every command's text and JSON.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "geometry/mesh_reader.h"
#include "host/math_point.h"

namespace qelinspect {

/// The shortest text that reads back as the same float, so a text form
/// shows every bit that differs.
std::string FloatText(float value);
/// value in lowercase hexadecimal, at least digits digits.
std::string HexText(uint32_t value, int digits);
/// A code page 1251 text as a quoted UTF-8 string with SDL escapes.
std::string QuotedText(const std::string& cp1251);
/// "(x y z)".
std::string PointText(const host::Point3& p);
nlohmann::json PointJson(const host::Point3& p);
/// A decoded packed vertex: "p (x y z)", then the weights and bone bytes,
/// normal, colour, texture sets and tangent its format holds.
std::string VertexText(const geometry::DecodedVertex& v);
nlohmann::json VertexJson(const geometry::DecodedVertex& v);

}  // namespace qelinspect
