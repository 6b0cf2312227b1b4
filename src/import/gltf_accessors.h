#pragma once
// Accessor data of a glTF model read with every index and byte range checked
// against the model: a broken file raises ImportError naming the accessor,
// never reads outside a buffer.
#include <cstdint>
#include <string>
#include <vector>

#include "import/gltf_model.h"

namespace import {

/// The elements of accessor index as floats, components per element (an
/// element of another size, or a component type that is not float or
/// integer, is an error); normalised integers become 0..1 (or −1..1).
/// what names the use in errors ("POSITION of mesh 2").
std::vector<float> ReadFloats(const tinygltf::Model& model, int index, int components, const std::string& what);
/// The same for an accessor of unsigned integers (indices, joints).
std::vector<uint32_t> ReadUnsigned(const tinygltf::Model& model, int index, int components, const std::string& what);
/// The element count of accessor index (checked as ReadFloats would).
size_t AccessorCount(const tinygltf::Model& model, int index, const std::string& what);

}  // namespace import
