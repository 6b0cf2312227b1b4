#pragma once
// The files a host texture names, gathered through its file enumeration.
#include <string>
#include <vector>

#include "host/texture.h"

namespace materials {

/// The host paths texture enumerates, in its order: first asked with flags
/// 0, and when that yields nothing again with flags 0x100. Each call starts
/// from an empty list, so no list outlives the question.
std::vector<std::string> MapFiles(const host::Texture& texture);

}  // namespace materials
