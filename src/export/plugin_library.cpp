// The shared library the host loads. Its entry points (LibDescription,
// LibNumberClasses, LibClassDesc, LibVersion, CanAutoDefer) live in
// export_plugin.cpp; the whole exporter library is linked in.
#include "export/export_plugin.h"
