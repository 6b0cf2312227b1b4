#pragma once
// The text of one animation declaration: "name, selection, start-end,
// file, speed", every field after the name optional. Fields are cut one
// after the other, each at its own set of delimiter characters: delimiters
// before a field are skipped, the field ends at the next delimiter of its
// set, and that delimiter is consumed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace animation {

/// The fields of one declaration value, before the scene is asked anything.
struct Declaration {
    std::string name;                ///< trimmed of spaces
    std::string selection;           ///< trimmed of spaces; empty when missing
    std::optional<int32_t> start;    ///< missing: the scene range's start applies
    std::optional<int32_t> end;      ///< missing: the scene range's end applies
    std::string fileName;            ///< trimmed; the name when the value gives none
    float speed = 0.0f;              ///< percent; 0 when not given
};

/// Cuts value into its fields.
Declaration ParseDeclaration(std::string_view value);

/// The decimal number at the start of text: leading white space, an
/// optional sign, then digits up to the first other character; no digits
/// give 0, and a number past the 32-bit range gives the nearest limit.
int32_t ReadInteger(std::string_view text);

/// The same for a float, with an optional fraction and exponent; no digits
/// give 0. The decimal point is always '.', whatever the locale.
float ReadFloat(std::string_view text);

/// text without the spaces (not tabs) at both ends.
std::string TrimSpaces(std::string_view text);

}  // namespace animation
