#pragma once
// Little-endian fields of the file headers we write and check, and the first
// failure of a structural check.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace texture_tools {

/// Stores the low size bytes of value at p, lowest first.
inline void StoreLittleEndian(uint8_t* p, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

/// The fields of untrusted bytes, read by a check that stops at the first
/// failure and records it in result (a record with reason and offset); the
/// caller makes sure each field lies inside the bytes.
template <class Result>
struct FieldCheck {
    std::string_view bytes;
    Result result;

    /// The size-byte little-endian number at offset.
    uint32_t Load(size_t at, int size) const {
        uint32_t value = 0;
        for (int i = 0; i < size; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
        return value;
    }
    /// Records the failure and returns false, so a check can end with it.
    bool Fail(size_t at, std::string why) {
        result.offset = at;
        result.reason = std::move(why);
        return false;
    }
};

}  // namespace texture_tools
