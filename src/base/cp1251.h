#pragma once
// Code page 1251, the host's byte encoding of every name and text, to and
// from UTF-8 (scene files, terminals, JSON reports).
#include <string>
#include <string_view>

/// UTF-8 text of code page 1251 bytes. The one byte the code page leaves
/// undefined (0x98) becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view text);

/// Code page 1251 bytes of UTF-8 text into out; false (out unspecified) when
/// the text is not valid UTF-8 or holds a character the code page lacks.
bool Utf8ToCp1251(std::string_view text, std::string& out);

/// Code page 1251 bytes of a UTF-8 text that is known to fit the code page
/// (message catalogues); a character that does not fit becomes '?'.
std::string Cp1251FromUtf8(std::string_view text);
