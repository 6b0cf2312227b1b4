#include "import/gltf_accessors.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "import/import_file.h"

namespace import {

namespace {

// Larger element counts than any real asset holds are refused before any
// memory is reserved for them.
constexpr size_t kMaxCount = size_t(1) << 28;

[[noreturn]] void Fail(const std::string& what, int index, const std::string& reason) {
    throw ImportError(what + " (accessor " + std::to_string(index) + "): " + reason);
}

// Where each element of a buffer view region starts, checked to lie within
// the buffer.
struct Region {
    const unsigned char* data = nullptr;  // null: every element is zero
    size_t stride = 0;
};

Region ViewRegion(const tinygltf::Model& model, int view_index, size_t offset, size_t count, size_t element_size,
                  const std::string& what, int index) {
    if (view_index < 0) return {};
    if (size_t(view_index) >= model.bufferViews.size()) Fail(what, index, "buffer view out of range");
    const tinygltf::BufferView& view = model.bufferViews[size_t(view_index)];
    if (view.buffer < 0 || size_t(view.buffer) >= model.buffers.size()) Fail(what, index, "buffer out of range");
    const std::vector<unsigned char>& buffer = model.buffers[size_t(view.buffer)].data;
    const size_t stride = view.byteStride == 0 ? element_size : view.byteStride;
    if (stride < element_size) Fail(what, index, "byte stride smaller than an element");
    if (view.byteOffset > buffer.size() || view.byteLength > buffer.size() - view.byteOffset)
        Fail(what, index, "buffer view lies outside its buffer");
    if (count == 0) return {buffer.data(), stride};
    // offset + stride × (count − 1) + element_size ≤ byteLength, without overflow.
    if (offset > view.byteLength || element_size > view.byteLength - offset ||
        (count - 1) > (view.byteLength - offset - element_size) / stride)
        Fail(what, index, "elements lie outside their buffer view");
    return {buffer.data() + view.byteOffset + offset, stride};
}

double Component(const unsigned char* p, int type, bool normalized) {
    switch (type) {
        case TINYGLTF_COMPONENT_TYPE_FLOAT: { float f; std::memcpy(&f, p, 4); return f; }
        case TINYGLTF_COMPONENT_TYPE_DOUBLE: { double d; std::memcpy(&d, p, 8); return d; }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return normalized ? p[0] / 255.0 : p[0];
        case TINYGLTF_COMPONENT_TYPE_BYTE: { const auto v = int8_t(p[0]); return normalized ? std::max(v / 127.0, -1.0) : v; }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: { uint16_t v; std::memcpy(&v, p, 2); return normalized ? v / 65535.0 : v; }
        case TINYGLTF_COMPONENT_TYPE_SHORT: { int16_t v; std::memcpy(&v, p, 2); return normalized ? std::max(v / 32767.0, -1.0) : v; }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: { uint32_t v; std::memcpy(&v, p, 4); return v; }
        case TINYGLTF_COMPONENT_TYPE_INT: { int32_t v; std::memcpy(&v, p, 4); return v; }
        default: return 0;
    }
}

// Every element's components as doubles, sparse substitutions applied.
std::vector<double> ReadComponents(const tinygltf::Model& model, int index, int components, const std::string& what) {
    if (index < 0 || size_t(index) >= model.accessors.size()) Fail(what, index, "no such accessor");
    const tinygltf::Accessor& accessor = model.accessors[size_t(index)];
    const int have = tinygltf::GetNumComponentsInType(uint32_t(accessor.type));
    if (have != components)
        Fail(what, index, "expected " + std::to_string(components) + " components per element, found " + std::to_string(have));
    const int component_size = tinygltf::GetComponentSizeInBytes(uint32_t(accessor.componentType));
    if (component_size <= 0) Fail(what, index, "unknown component type");
    if (accessor.count > kMaxCount) Fail(what, index, "too many elements");
    const size_t element_size = size_t(component_size) * size_t(components);
    const Region region = ViewRegion(model, accessor.bufferView, accessor.byteOffset, accessor.count, element_size, what, index);
    std::vector<double> values(accessor.count * size_t(components), 0.0);
    if (region.data)
        for (size_t e = 0; e < accessor.count; ++e)
            for (int c = 0; c < components; ++c)
                values[e * size_t(components) + size_t(c)] =
                    Component(region.data + e * region.stride + size_t(c * component_size), accessor.componentType, accessor.normalized);
    if (accessor.sparse.isSparse) {
        const auto& sparse = accessor.sparse;
        if (sparse.count < 0 || size_t(sparse.count) > accessor.count) Fail(what, index, "sparse count out of range");
        const int index_size = tinygltf::GetComponentSizeInBytes(uint32_t(sparse.indices.componentType));
        if (index_size <= 0 || sparse.indices.byteOffset < 0 || sparse.values.byteOffset < 0)
            Fail(what, index, "malformed sparse substitution");
        const size_t count = size_t(sparse.count);
        const Region at = ViewRegion(model, sparse.indices.bufferView, size_t(sparse.indices.byteOffset), count,
                                     size_t(index_size), what, index);
        const Region by = ViewRegion(model, sparse.values.bufferView, size_t(sparse.values.byteOffset), count,
                                     element_size, what, index);
        if (count > 0 && (!at.data || !by.data)) Fail(what, index, "sparse substitution without data");
        for (size_t s = 0; s < count; ++s) {
            const double target = Component(at.data + s * size_t(index_size), sparse.indices.componentType, false);
            if (!(target >= 0) || target >= double(accessor.count)) Fail(what, index, "sparse index out of range");
            for (int c = 0; c < components; ++c)
                values[size_t(target) * size_t(components) + size_t(c)] =
                    Component(by.data + s * element_size + size_t(c * component_size), accessor.componentType, accessor.normalized);
        }
    }
    return values;
}

}  // namespace

std::vector<float> ReadFloats(const tinygltf::Model& model, int index, int components, const std::string& what) {
    const std::vector<double> values = ReadComponents(model, index, components, what);
    std::vector<float> out(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        if (!std::isfinite(values[i])) Fail(what, index, "a value is not a finite number");
        if (std::fabs(values[i]) > 1e30) Fail(what, index, "a value is out of range [-1e+30, 1e+30]");
        out[i] = float(values[i]);
    }
    return out;
}

std::vector<uint32_t> ReadUnsigned(const tinygltf::Model& model, int index, int components, const std::string& what) {
    const tinygltf::Accessor* accessor = index >= 0 && size_t(index) < model.accessors.size() ? &model.accessors[size_t(index)] : nullptr;
    if (accessor && (accessor->componentType == TINYGLTF_COMPONENT_TYPE_FLOAT || accessor->componentType == TINYGLTF_COMPONENT_TYPE_DOUBLE))
        Fail(what, index, "expected integers");
    const std::vector<double> values = ReadComponents(model, index, components, what);
    std::vector<uint32_t> out(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] < 0) Fail(what, index, "negative index");
        out[i] = uint32_t(values[i]);
    }
    return out;
}

size_t AccessorCount(const tinygltf::Model& model, int index, const std::string& what) {
    if (index < 0 || size_t(index) >= model.accessors.size()) Fail(what, index, "no such accessor");
    return model.accessors[size_t(index)].count;
}

}  // namespace import
