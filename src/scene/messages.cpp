#include "scene/messages.h"

#include "base/cp1251.h"

namespace scene {

std::string Message(const char* utf8) { return Cp1251FromUtf8(utf8); }

}  // namespace scene
