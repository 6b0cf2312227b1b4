#pragma once
// The escapes of SDL strings: one table, used forwards by the writer and
// backwards by the reader.
#include <string>
#include <string_view>

namespace xIo::xSdl {

/// Backslash, double quote, LF, CR and TAB become backslash pairs; every
/// other byte stays as it is.
std::string Escape(std::string_view raw);
/// The backslash pairs of the table become their raw bytes; any other
/// backslash pair stays as it is.
std::string Unescape(std::string_view escaped);

}  // namespace xIo::xSdl
