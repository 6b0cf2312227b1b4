#include "host/material_chunks.h"

#include <string>

#include "host/material.h"

namespace host {

namespace {

// The material's name: its code page 1251 bytes, no terminator.
constexpr uint16_t kNameChunk = 0x0100;

}  // namespace

void SaveMaterialBase(const Material& material, ChunkSaver& saver) {
    const std::string& name = material.GetName();
    saver.BeginChunk(kNameChunk);
    saver.Write(name.data(), name.size());
    saver.EndChunk();
}

void LoadMaterialBase(Material& material, ChunkLoader& loader) {
    while (loader.OpenChunk()) {
        if (loader.CurChunkId() == kNameChunk) {
            std::string name(loader.CurChunkDataSize(), '\0');
            name.resize(loader.Read(name.data(), name.size()));
            material.SetName(name);
        }
        loader.CloseChunk();
    }
}

}  // namespace host
