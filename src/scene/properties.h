#pragma once
// The user-property language of scene nodes: one "key=value" per line.
//
// The text is normalised into one line (each CR becomes ';', every other
// control character is dropped) and split into entries at ';'. An entry's key
// is its text up to the first '='; its value runs from there to the next '='
// or ';'. Nothing is trimmed; keys compare without regard to ASCII case.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scene {

struct PropertyEntry {
    std::string key;
    std::string value;
};

/// The normalised one-line form of a user property buffer.
std::string NormalizePropertyText(std::string_view text);

/// The entries of a user property buffer, in order.
std::vector<PropertyEntry> ParseProperties(std::string_view text);

/// True when an entry of the buffer has exactly this key (any letter case).
bool HasPropertyKey(std::string_view text, std::string_view key);

/// Bit i is set when an entry has keys[i] (any letter case); one pass over
/// the text for up to 32 keys.
uint32_t PropertyKeyMask(std::string_view text, std::initializer_list<std::string_view> keys);

/// The value of the first entry with this key, or nullopt.
std::optional<std::string> PropertyValue(std::string_view text, std::string_view key);

/// The line rebuilt entry by entry ("key=value;", or "key;" for an empty
/// value); with drop_reserved, entries whose key is reserved are left out.
std::string RebuildPropertyLine(std::string_view text, bool drop_reserved);

/// True when key is one of the reserved keys (any letter case).
bool IsReservedKey(std::string_view key);

/// ASCII case-insensitive equality.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace scene
