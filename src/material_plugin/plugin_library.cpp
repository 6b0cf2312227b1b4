// The shared library the host loads: its four entry points, found by their
// plain names.
#include <cstdint>

#include "material_plugin/class_desc.h"
#include "material_plugin/string_table.h"

extern "C" {

const char* LibDescription() { return corvane::ResourceString(corvane::kStrLibDescription); }
int LibNumberClasses() { return 1; }
host::ClassDesc* LibClassDesc(int i) { return i == 0 ? &corvane::TheClassDesc() : nullptr; }
/// The host release (12000), plug-in interface (33) and revision (0) the library was built for.
uint32_t LibVersion() { return 0x2EE02100u; }

}
