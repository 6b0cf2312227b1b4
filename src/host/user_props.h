#pragma once
// The host's rules for reading one value out of a user property buffer.
// The buffer holds lines "key = value"; a key matches without regard to case
// after spaces and tabs around it are trimmed; the value is the rest of its
// line after "=", trimmed the same way. A line holding only the key matches
// with an empty value. The first matching line wins.
#include <string>
#include <string_view>

namespace host {

/// The value of key in buffer; false when no line carries key.
bool FindUserPropString(std::string_view buffer, std::string_view key, std::string& value);
/// The value of key read as a signed decimal integer (leading digits, as the
/// C library reads them); false when key is absent or its value has no digits.
bool FindUserPropInt(std::string_view buffer, std::string_view key, int& value);

}  // namespace host
