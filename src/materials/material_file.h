#pragma once
// The ".material" file of a directory: its records in SDL.
#include "io/sdl_writer.h"
#include "materials/material_list.h"

namespace materials {

/// Writes one record block: the shader word and the name, the texture
/// entries diffuse, diffuse1, bump and specular (each only when filled; the
/// colour word follows a written specular), envmap, then mask or, for the
/// envmap shader, the amount, the blend word and modulate2x.
void WriteMaterialRecord(xIo::xSdl::eWriter& writer, const MaterialRecord& record);

/// Writes every record of list, sorted by name in natural order.
void WriteMaterialRecords(xIo::xSdl::eWriter& writer, const MaterialList& list);

}  // namespace materials
