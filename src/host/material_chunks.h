#pragma once
// The part of a material's saved state that the host itself keeps for every
// material (its name). A plug-in material writes it into a chunk of its own
// choosing and hands that chunk back to LoadMaterialBase when it loads.
#include "host/chunk_stream.h"

namespace host {

class Material;

/// Writes the material's base data as chunks inside the chunk the caller has open.
void SaveMaterialBase(const Material& material, ChunkSaver& saver);
/// Reads what SaveMaterialBase wrote from the chunk the caller has open;
/// chunks of other ids are skipped.
void LoadMaterialBase(Material& material, ChunkLoader& loader);

}  // namespace host
