#include "scene/export_context.h"

namespace scene {

bool IsSafeBareValue(const std::string& value) { return value.find_first_of("{}\"()") == std::string::npos; }

}  // namespace scene
