#pragma once
// The steps of an export that belong to subsystems still to be built: mesh
// extraction and mesh files, materials and textures, animation ranges and
// files, collision volumes, zones and preview groups. The driver calls them
// at their place in the export; until a subsystem exists its step writes
// nothing, so every file is still right for what the exporter already knows.
#include <string>

#include "host/node.h"
#include "scene/export_context.h"

namespace pending {

/// Rebuilds the model's animation list; the largest end frame, 0 without one.
int32_t CollectAnimations(scene::ExportContext& ctx);
/// Gives every frame of the frame table one sample per bone.
void InitFrameTable(scene::ExportContext& ctx);
/// The animation block of the entity file.
void WriteAnimationBlock(scene::ExportContext& ctx);
/// The .anm files of the model and their anim.txt lines; true when any
/// animation was written.
bool WriteAnimationFiles(scene::ExportContext& ctx);
/// The model's materials and textures.
void WriteModelMaterials(scene::ExportContext& ctx, bool structure_pending);
/// The ".material" and ".mesh" files of a directory.
void WriteDirectoryFiles(scene::ExportContext& ctx, const std::string& dir);
/// The shape of a zone.
void WriteZoneShape(scene::ExportContext& ctx, host::Node& node);
/// The tag blocks of a volume (for_volume) or a zone.
void WriteVolumeTags(scene::ExportContext& ctx, host::Node& node, bool for_volume);
/// One collision volume in both writers.
void WriteVolume(scene::ExportContext& ctx, host::Node& node);
/// The preview group with its camera and lights.
void WritePreview(scene::ExportContext& ctx);

}  // namespace pending
