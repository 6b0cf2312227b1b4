// What a CorvaneMtl saves, loads and copies. The parameter block, the
// sub-material and the maps are saved by the host as references; the
// material's own chunks hold the host's base data and the cached values.
#include <bit>

#include "host/chunk_stream.h"
#include "host/material_chunks.h"
#include "material_plugin/corvane_mtl.h"
#include "material_plugin/params.h"

namespace corvane {

namespace {

void WriteU32(host::ChunkSaver& saver, uint32_t value) {
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    saver.Write(bytes, sizeof bytes);
}

bool ReadU32(host::ChunkLoader& loader, uint32_t& value) {
    uint8_t bytes[4];
    if (loader.Read(bytes, sizeof bytes) != sizeof bytes) return false;
    value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return true;
}

// Copies every value of from into to, which has the same descriptor;
// materials and textures are cloned through remap.
void CloneBlockValues(const host::ParamBlock& from, host::ParamBlock& to, host::RemapDir& remap) {
    for (const host::ParamDef& def : from.GetDesc().params) {
        switch (def.type) {
            case host::ParamType::kInt:
            case host::ParamType::kBool: {
                int value = 0;
                if (from.GetValue(def.id, 0, value)) to.SetValue(def.id, 0, value);
                break;
            }
            case host::ParamType::kFloat: {
                float value = 0.0f;
                if (from.GetValue(def.id, 0, value)) to.SetValue(def.id, 0, value);
                break;
            }
            case host::ParamType::kColor: {
                host::Color value;
                if (from.GetValue(def.id, 0, value)) to.SetValue(def.id, 0, value);
                break;
            }
            case host::ParamType::kString: {
                std::string value;
                if (from.GetValue(def.id, 0, value)) to.SetValue(def.id, 0, value);
                break;
            }
            case host::ParamType::kMaterial: {
                host::Material* value = nullptr;
                if (from.GetValue(def.id, 0, value))
                    to.SetValue(def.id, 0, dynamic_cast<host::Material*>(remap.CloneRef(value)));
                break;
            }
            case host::ParamType::kTexture: {
                host::Texture* value = nullptr;
                if (from.GetValue(def.id, 0, value))
                    to.SetValue(def.id, 0, dynamic_cast<host::Texture*>(remap.CloneRef(value)));
                break;
            }
        }
    }
}

}  // namespace

void CorvaneMtl::Save(host::ChunkSaver& saver) const {
    saver.BeginChunk(kChunkBase);
    host::SaveMaterialBase(*this, saver);
    saver.EndChunk();
    saver.BeginChunk(kChunkCached);
    WriteU32(saver, cached_flags_);
    if (cached_flags_ & kFlagEnvmapUse) WriteU32(saver, std::bit_cast<uint32_t>(cached_amount_));
    saver.EndChunk();
}

bool CorvaneMtl::Load(host::ChunkLoader& loader) {
    bool sound = true;
    while (loader.OpenChunk()) {
        if (loader.CurChunkId() == kChunkBase) {
            host::LoadMaterialBase(*this, loader);
        } else if (loader.CurChunkId() == kChunkCached) {
            uint32_t flags = 0, amount_bits = 0;
            const bool read = ReadU32(loader, flags) && (!(flags & kFlagEnvmapUse) || ReadU32(loader, amount_bits));
            if (read) {
                cached_flags_ = flags;
                if (flags & kFlagEnvmapUse) cached_amount_ = std::bit_cast<float>(amount_bits);
            }
            sound = sound && read;
        }
        loader.CloseChunk();
    }
    // The block, loaded as a reference, holds the values; the next update reads them.
    validity_.SetEmpty();
    return sound;
}

std::unique_ptr<host::ReferenceTarget> CorvaneMtl::Clone(host::RemapDir& remap) const {
    auto clone = std::make_unique<CorvaneMtl>(services_);
    clone->SetName(name_);
    CloneBlockValues(*block_, *clone->block_, remap);
    clone->cached_flags_ = cached_flags_;
    clone->cached_amount_ = cached_amount_;
    return clone;
}

}  // namespace corvane
