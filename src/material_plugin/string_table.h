#pragma once
// The library's string table: the names it gives the host.
namespace corvane {

enum : int { kStrLibDescription = 1, kStrCategory = 2, kStrClassName = 3, kStrParameters = 4 };

/// String resource id; null when the table has no such string. The text
/// lives as long as the library.
const char* ResourceString(int id);

}  // namespace corvane
