// What a CorvaneMtl saves and loads: the host's base data in chunk 0x4000,
// the cached flags (and amount) in chunk 0x4001.
#include <gtest/gtest.h>

#include <algorithm>

#include "fixture.h"
#include "sim/plugin_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A chunk as the simulated host stores it: id, size with header, data.
Bytes Chunk(uint16_t id, const Bytes& data) {
    const uint32_t size = uint32_t(data.size() + 6);
    Bytes out(size);
    const uint8_t header[6] = {uint8_t(id), uint8_t(id >> 8), uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24)};
    std::copy(std::begin(header), std::end(header), out.begin());
    std::copy(data.begin(), data.end(), out.begin() + 6);
    return out;
}

Bytes operator+(const Bytes& a, const Bytes& b) {
    Bytes out(a.size() + b.size());
    std::copy(b.begin(), b.end(), std::copy(a.begin(), a.end(), out.begin()));
    return out;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The base data chunk of a material named name.
Bytes BaseChunk(const std::string& name) { return Chunk(0x4000, Chunk(0x0100, Text(name))); }

Bytes Saved(const corvane::CorvaneMtl& material) {
    sim::MemoryChunkSaver saver;
    material.Save(saver);
    return saver.Bytes();
}

TEST(CorvaneSavedState, SavesTheBaseDataAndFourOrEightBytesOfCachedValues) {
    struct Case {
        const char* what;
        int blend, modulate, envmap;
        float amount;
        Bytes cached;
    } cases[] = {
        {"environment mapping off", 2, 1, 0, 0.75f, {0x0A, 0, 0, 0}},
        {"environment mapping on", 3, 0, 1, 0.75f, {0x13, 0, 0, 0, 0x00, 0x00, 0x40, 0x3F}},
        {"everything on", 4, 1, 1, 1.0f, {0x1C, 0, 0, 0, 0x00, 0x00, 0x80, 0x3F}},
        {"defaults", 0, 0, 0, 0.5f, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        corvane_test::Fixture f;
        auto material = f.NewMaterial();
        material->SetName("Sh\xE8ny");  // code page 1251 bytes are kept as they are
        host::ParamBlock& block = *material->GetParamBlockById(0);
        block.SetValue(1, 0, c.blend);
        block.SetValue(2, 0, c.modulate);
        block.SetValue(3, 0, c.envmap);
        block.SetValue(4, 0, c.amount);
        host::Interval valid = host::Interval::Forever();
        material->Update(0, valid);
        EXPECT_EQ(Saved(*material), BaseChunk("Sh\xE8ny") + Chunk(0x4001, c.cached)) << c.what;
    }
}

TEST(CorvaneSavedState, LoadsTheChunksInAnyOrderAndSkipsOthers) {
    const Bytes cached_on = Chunk(0x4001, {0x13, 0, 0, 0, 0x00, 0x00, 0x40, 0x3F});
    const Bytes unknown = Chunk(0x1234, {1, 2, 3}) + Chunk(0x4002, {});
    struct Case {
        const char* what;
        Bytes bytes;
        const char* name;
        uint32_t flags;
        float amount;
    } cases[] = {
        {"as saved", BaseChunk("Shiny") + cached_on, "Shiny", 0x13, 0.75f},
        {"reversed", cached_on + BaseChunk("Shiny"), "Shiny", 0x13, 0.75f},
        {"among unknown chunks", unknown + cached_on + unknown + BaseChunk("Shiny") + unknown, "Shiny", 0x13, 0.75f},
        {"unknown chunks inside the base data",
         Chunk(0x4000, Chunk(0x0200, {9}) + Chunk(0x0100, Text("Inside"))) + cached_on, "Inside", 0x13, 0.75f},
        {"amount absent with environment mapping off", Chunk(0x4001, {0x0A, 0, 0, 0}), "", 0x0A, 0.5f},
        {"longer chunk: the rest skipped", Chunk(0x4001, {0x02, 0, 0, 0, 0, 0, 0x80, 0x3F, 7, 7}), "", 0x02, 0.5f},
        {"nothing", {}, "", 0, 0.5f},
    };
    for (const Case& c : cases) {
        corvane_test::Fixture f;
        auto material = f.NewMaterial(true);
        sim::MemoryChunkLoader loader(c.bytes);
        EXPECT_TRUE(material->Load(loader)) << c.what;
        EXPECT_EQ(material->GetName(), c.name) << c.what;
        EXPECT_EQ(material->CachedFlags(), c.flags) << c.what;
        EXPECT_EQ(material->CachedAmount(), c.amount) << c.what;
        EXPECT_TRUE(material->CachedValidity().Empty()) << c.what << ": the block's values are read at the next update";
    }
}

TEST(CorvaneSavedState, MalformedCachedValuesAreRefusedAndNotTaken) {
    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty chunk", Chunk(0x4001, {})},
        {"flags cut short", Chunk(0x4001, {0x13, 0})},
        {"amount missing with environment mapping on", Chunk(0x4001, {0x13, 0, 0, 0})},
        {"amount cut short", Chunk(0x4001, {0x13, 0, 0, 0, 0, 0})},
        {"a good chunk, then a bad one", Chunk(0x4001, {0x0A, 0, 0, 0}) + Chunk(0x4001, {0x10, 0, 0, 0})},
    };
    for (const Case& c : cases) {
        corvane_test::Fixture f;
        auto material = f.NewMaterial(true);
        sim::MemoryChunkLoader loader(c.bytes + BaseChunk("After"));
        EXPECT_FALSE(material->Load(loader)) << c.what;
        EXPECT_EQ(material->CachedAmount(), 0.5f) << c.what;
        EXPECT_EQ(material->GetName(), "After") << c.what << ": the chunks after it are still read";
    }
}

TEST(CorvaneSavedState, EveryTruncationLoadsCleanly) {
    corvane_test::Fixture f;
    auto material = f.NewMaterial();
    material->SetName("Shiny");
    material->GetParamBlockById(0)->SetValue(3, 0, 1);
    host::Interval valid = host::Interval::Forever();
    material->Update(0, valid);
    const Bytes bytes = Saved(*material);
    ASSERT_EQ(bytes.size(), 6u + 6u + 5u + 6u + 8u);
    for (size_t size = 0; size <= bytes.size(); ++size) {
        auto loaded = f.NewMaterial(true);
        sim::MemoryChunkLoader loader(Bytes(bytes.begin(), bytes.begin() + long(size)));
        loaded->Load(loader);
        // A cut chunk header ends the walk; nothing half-read is taken.
        const bool whole = size == bytes.size();
        EXPECT_EQ(loaded->CachedFlags(), whole ? 0x10u : 0u) << size;
        EXPECT_EQ(loaded->GetName(), size >= 17 ? "Shiny" : "") << size;
    }
}

}  // namespace
