#pragma once
// Node names as they are written out.
#include <string>
#include <string_view>

namespace scene {

/// The output form of a name: '"' becomes '\'', every byte that is 32 or
/// less as a signed byte (space, control characters, and every byte from
/// 0x80 up, so code page 1251 letters too) becomes '_'; with strip_suffix a
/// trailing "_vol" and then "_dup" are cut (any case, only from names longer
/// than 4 characters); ASCII letters are lowered.
std::string CleanName(std::string_view name, bool strip_suffix);

/// The number after the first "_lod" of the cleaned name, read as a decimal
/// integer; 0 without "_lod".
int LodIndexOfName(std::string_view name);

}  // namespace scene
