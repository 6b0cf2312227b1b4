#pragma once
// SHA-256 of a byte string, for the export report's file list.
#include <string>
#include <string_view>

/// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view data);
