#pragma once
// Code page 1251, the byte encoding of every text the host hands out, and
// UTF-8, the encoding of files and of the local file system.
#include <string>
#include <string_view>

/// The UTF-8 form of a code page 1251 text; the one unassigned byte (0x98)
/// becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view text);
/// Converts a UTF-8 text into out; false (out unspecified) when the text is
/// not valid UTF-8 or holds a character the code page lacks.
bool Utf8ToCp1251(std::string_view text, std::string& out);
