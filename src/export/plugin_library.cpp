// The shared library the host loads. Its entry points (LibDescription,
// LibNumberClasses, LibClassDesc, LibVersion, CanAutoDefer) live in
// export_plugin.cpp; the whole exporter library is linked in.
#include "base/debug.h"
#include "export/export_plugin.h"

namespace {

// A crash inside the host's process is reported, not silent, while the
// library is loaded; unloading puts the host's own filter back.
xDebug::eCrashReport crash_report;

}  // namespace
