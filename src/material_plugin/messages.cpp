#include "material_plugin/messages.h"

#include "base/cp1251.h"

namespace corvane {

std::string Message(const char* utf8) { return Cp1251FromUtf8(utf8); }

}  // namespace corvane
