#pragma once
// Code page 1251 (the Cyrillic Windows code page, the exporter's text
// encoding) to and from UTF-8.
#include <string>
#include <string_view>

/// Every byte as its UTF-8 character; the one unassigned byte, 0x98, becomes
/// U+FFFD.
std::string Cp1251ToUtf8(std::string_view text);
/// The code page 1251 form of UTF-8 text; false (out unspecified) for
/// malformed UTF-8 or a character that the code page lacks.
bool Utf8ToCp1251(std::string_view text, std::string& out);
