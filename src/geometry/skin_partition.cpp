#include "geometry/skin_partition.h"

#include <bitset>

namespace geometry {

void PartitionSkin(BoneMesh& record) {
    const FrameGeometry& frame = record.frames.front();
    const size_t face_count = record.faces.size();
    record.facePartition.assign(face_count, -1);
    record.palettes.clear();

    std::vector<uint32_t> remaining(face_count);
    for (size_t f = 0; f < face_count; ++f) remaining[f] = static_cast<uint32_t>(f);
    while (!remaining.empty()) {
        const auto partition = static_cast<int32_t>(record.palettes.size());
        std::bitset<256> in_palette;
        uint32_t capacity = Palette::kCapacity;
        size_t kept = 0;
        for (uint32_t f : remaining) {
            // The distinct bones of the face's nine influences that the palette lacks.
            uint8_t added[9];
            uint32_t count = 0;
            for (int k = 0; k < 3; ++k) {
                const SkinInfluence& influence = record.influences[frame.corners[3 * size_t(f) + size_t(k)].position];
                for (uint8_t bone : influence.bones) {
                    if (bone == 0 || in_palette[bone]) continue;
                    bool seen = false;
                    for (uint32_t i = 0; i < count; ++i) seen = seen || added[i] == bone;
                    if (!seen) added[count++] = bone;
                }
            }
            if (count > capacity) {
                remaining[kept++] = f;
                continue;
            }
            for (uint32_t i = 0; i < count; ++i) in_palette[added[i]] = true;
            capacity -= count;
            record.facePartition[f] = partition;
        }
        remaining.resize(kept);
        Palette palette;
        for (uint32_t bone = 1; bone < 256; ++bone)
            if (in_palette[bone]) palette.bones[palette.count++] = static_cast<uint8_t>(bone);
        record.palettes.push_back(palette);
    }
}

std::vector<std::array<uint8_t, 256>> PalettePositions(const BoneMesh& record) {
    std::vector<std::array<uint8_t, 256>> tables(record.palettes.size());
    for (size_t p = 0; p < record.palettes.size(); ++p) {
        tables[p].fill(0);
        for (uint8_t i = 0; i < record.palettes[p].count; ++i) tables[p][record.palettes[p].bones[i]] = i;
    }
    return tables;
}

}  // namespace geometry
