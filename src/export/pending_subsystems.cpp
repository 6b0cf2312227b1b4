#include "export/pending_subsystems.h"

namespace pending {

int32_t CollectAnimations(scene::ExportContext&) { return 0; }
void InitFrameTable(scene::ExportContext&) {}
void WriteAnimationBlock(scene::ExportContext&) {}
bool WriteAnimationFiles(scene::ExportContext&) { return false; }
void WriteModelMaterials(scene::ExportContext&, bool) {}
void WriteDirectoryFiles(scene::ExportContext&, const std::string&) {}
void WriteZoneShape(scene::ExportContext&, host::Node&) {}
void WriteVolumeTags(scene::ExportContext&, host::Node&, bool) {}
void WriteVolume(scene::ExportContext&, host::Node&) {}
void WritePreview(scene::ExportContext&) {}

}  // namespace pending
