// The animation file: exact bytes of the chunks and records, the stored
// quaternion's sign, the 255-record limit, and the reader: a round trip,
// every prefix of a file, and each structural check with its offset.
#include <gtest/gtest.h>

#include <cstring>

#include "animation/anm_reader.h"
#include "animation/anm_writer.h"
#include "host/math_quat.h"
#include "io/stream_memory.h"
#include "sim/test_scene.h"
#include "support/sim_helpers.h"

namespace {

using animation::AnimationRange;
using animation::AnimationSample;
using animation::AnmWriteResult;
using animation::FrameTable;

// A frame table over the nodes of a scene with bones b0, b1, ...
struct Table {
    explicit Table(int32_t frames, int32_t bones) {
        std::string nodes;
        for (int32_t b = 0; b < bones; ++b) {
            names.push_back("b" + std::to_string(b));
            nodes += (b ? ", " : "") + std::string(R"({"name": ")") + names.back() + "\"}";
        }
        scene = sim::SceneFromJson(R"("nodes": [)" + nodes + "]");
        AnimationRange all;
        all.end = frames - 1;
        all.present = true;
        table.Reset({all}, bones);
    }
    AnimationSample& Set(int32_t frame, int32_t bone, uint16_t flags, host::Matrix3 transform = {}) {
        AnimationSample& s = table.Frames(0).At(frame, bone);
        s.node = qeltest::NodeNamed(*scene, names[static_cast<size_t>(bone)]);
        s.flags = flags;
        s.position = transform.GetTrans();
        s.orientation = host::Quat(transform);
        return s;
    }
    AnmWriteResult Write(int32_t start, int32_t end, std::string& bytes,
                         const animation::InAnimation& in = [](host::Node&) { return true; }) {
        // The frames start..end of the table, as an animation of its own.
        animation::AnimationFrames all = table.Frames(0);
        animation::AnimationFrames frames(&all.At(start, 0), start, end, all.BoneCount());
        xIo::eMemoryStream out(256);
        AnmWriteResult r = animation::WriteAnimation(out, frames, names, in);
        bytes.assign(out.Data());
        return r;
    }

    std::unique_ptr<sim::Scene> scene;
    std::vector<std::string> names;
    FrameTable table;
};

std::string U8(uint8_t v) { return std::string(1, static_cast<char>(v)); }
std::string U32(uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
std::string U16(uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); }
std::string F32(float v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
std::string Header(uint32_t frames) { return "EANM" + U32(0x00060001) + "FRMS" + U32(frames); }

TEST(AnmWriter, ChunksAndRecordsByteForByte) {
    Table t(4, 2);
    t.Set(1, 1, 0x0B, host::Matrix3::Translation({1, 2, 3}));
    t.Set(2, 1, 0x10);
    t.Set(2, 0, 0);  // sampled, but no record
    std::string bytes;
    ASSERT_EQ(t.Write(1, 3, bytes), AnmWriteResult::kComplete);
    // The identity's quaternion has w = 1: all four are negated, so the
    // stored x, y, z are negative zeros.
    std::string expected = Header(3) + "BMAP" + U32(1) + U8(2) + "b1" +
                           "FRM2" + U16(0) + U8(1) + U8(0) + U16(0x0B) + F32(1) + F32(2) + F32(3) + F32(-0.0f) +
                           F32(-0.0f) + F32(-0.0f) +
                           "FRM2" + U16(1) + U8(1) + U8(0) + U16(0x10);
    EXPECT_EQ(bytes, expected);
}

TEST(AnmWriter, OrientationsAreStoredWithWAtMostZeroAndNormalised) {
    struct Case {
        host::Quat rotation;
        host::Point3 stored;
    } cases[] = {
        {{0.5f, 0.5f, 0.5f, 0.5f}, {-0.5f, -0.5f, -0.5f}},
        {{0.5f, -0.5f, 0.5f, -0.5f}, {0.5f, -0.5f, 0.5f}},
        {{0.6f, 0.0f, 0.0f, 0.8f}, {-0.6f, 0.0f, 0.0f}},
        {{0.0f, 0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}},
    };
    for (const Case& c : cases) {
        Table t(1, 1);
        t.Set(0, 0, 0x02, c.rotation.MakeMatrix());
        std::string bytes;
        t.Write(0, 0, bytes);
        float xyz[3];
        std::memcpy(xyz, bytes.data() + bytes.size() - 12, 12);
        EXPECT_NEAR(xyz[0], c.stored.x, 1e-6f);
        EXPECT_NEAR(xyz[1], c.stored.y, 1e-6f);
        EXPECT_NEAR(xyz[2], c.stored.z, 1e-6f);
    }
}

TEST(AnmWriter, BonesWithoutRecordsOrOutsideTheAnimationAreNotMapped) {
    Table t(3, 4);
    t.Set(0, 0, 0x08);
    t.Set(2, 2, 0x08);
    t.Set(1, 3, 0x08);  // outside the animation
    t.Set(1, 1, 0x08);  // outside the range written
    std::string bytes;
    t.Write(2, 2, bytes, [&](host::Node& node) { return &node != qeltest::NodeNamed(*t.scene, "b3"); });
    EXPECT_EQ(bytes.substr(16, 4 + 4 + 3), "BMAP" + U32(1) + U8(2) + "b2");
    t.Write(0, 2, bytes, [&](host::Node& node) { return &node != qeltest::NodeNamed(*t.scene, "b3"); });
    EXPECT_EQ(bytes.substr(16, 4 + 4 + 9), "BMAP" + U32(3) + U8(2) + "b0" + U8(2) + "b1" + U8(2) + "b2");
}

TEST(AnmWriter, AFrameOfMoreThan255RecordsEndsTheFile) {
    for (int32_t bones : {255, 256}) {
        Table t(2, bones);
        for (int32_t b = 0; b < bones; ++b) t.Set(0, b, 0x08);
        t.Set(1, 0, 0x10);
        std::string bytes;
        AnmWriteResult r = t.Write(0, 1, bytes);
        size_t bone_map_end = 16 + 8;
        for (const std::string& name : t.names) bone_map_end += 1 + name.size();
        if (bones == 255) {
            EXPECT_EQ(r, AnmWriteResult::kComplete);
            EXPECT_EQ(bytes.size(), bone_map_end + 7 + 255 * 3 + 7 + 3);
        } else {
            EXPECT_EQ(r, AnmWriteResult::kTooManyBones);
            EXPECT_EQ(bytes.size(), bone_map_end) << "the file ends after the bone map";
        }
    }
}

TEST(AnmWriter, ABoneNumberedPastAByteEndsTheFileBeforeItsFrame) {
    // 200 bones at frame 0 and 200 others at frame 1: 400 animated bones,
    // never more than 200 records in a frame.
    Table t(2, 400);
    for (int32_t b = 0; b < 200; ++b) t.Set(0, b, 0x08);
    for (int32_t b = 200; b < 400; ++b) t.Set(1, b, 0x08);
    std::string bytes;
    EXPECT_EQ(t.Write(0, 1, bytes), AnmWriteResult::kTooManyBones);
    animation::AnmFile file;
    animation::AnmReadError error;
    ASSERT_TRUE(animation::ReadAnmFile(bytes, {}, file, error)) << error.reason;
    EXPECT_EQ(file.bones.size(), 400u);
    ASSERT_EQ(file.frames.size(), 1u);
    EXPECT_EQ(file.frames[0].records.size(), 200u);
}

// A file with every kind of record, read back.
std::string SampleFile(Table& t) {
    t.Set(0, 0, 0x0B, host::Matrix3::Translation({0.5f, -1, 2}));
    t.Set(0, 1, 0x0F, host::Quat(0, 0.6f, 0, -0.8f).MakeMatrix());
    t.Set(3, 1, 0x03, host::Quat(0, 0, 0.6f, 0.8f).MakeMatrix() * host::Matrix3::Translation({1, 1, 1}));
    t.Set(4, 0, 0x10);
    t.Set(4, 1, 0x0B);
    std::string bytes;
    t.Write(0, 4, bytes);
    return bytes;
}

TEST(AnmReader, ReadsBackWhatWasWritten) {
    Table t(5, 2);
    std::string bytes = SampleFile(t);
    animation::AnmFile file;
    animation::AnmReadError error;
    ASSERT_TRUE(animation::ReadAnmFile(bytes, {}, file, error)) << error.reason << " at " << error.offset;
    EXPECT_EQ(file.version, 0x00060001u);
    EXPECT_EQ(file.frameCount, 5u);
    EXPECT_EQ(file.bones, (std::vector<std::string>{"b0", "b1"}));
    ASSERT_EQ(file.frames.size(), 3u);
    EXPECT_EQ(file.frames[1].frame, 3);
    const animation::AnmRecord& turned = file.frames[1].records[0];
    EXPECT_EQ(turned.bone, 1);
    EXPECT_EQ(turned.flags, 0x03);
    EXPECT_TRUE(turned.position->Equals({1, 1, 1}, 1e-6f));
    // Stored with w ≤ 0: the rebuilt quaternion is the negated one.
    EXPECT_NEAR(turned.orientation->z, -0.6f, 1e-6f);
    EXPECT_NEAR(turned.orientation->w, -0.8f, 1e-6f);
    const animation::AnmRecord& mirrored = file.frames[0].records[1];
    EXPECT_EQ(mirrored.flags, 0x0F);
    EXPECT_NEAR(mirrored.orientation->y, 0.6f, 1e-6f);
    EXPECT_NEAR(mirrored.orientation->w, -0.8f, 1e-6f);
    EXPECT_EQ(file.frames[2].records[0].flags, 0x10);
    EXPECT_FALSE(file.frames[2].records[0].position);
}

TEST(AnmReader, EveryPrefixFailsCleanlyOrEndsAtAChunk) {
    Table t(5, 2);
    std::string bytes = SampleFile(t);
    animation::AnmFile file;
    animation::AnmReadError error;
    ASSERT_TRUE(animation::ReadAnmFile(bytes, {}, file, error));
    std::vector<size_t> chunk_ends = {file.frames[0].offset};
    for (size_t i = 1; i < file.frames.size(); ++i) chunk_ends.push_back(file.frames[i].offset);
    for (size_t length = 0; length < bytes.size(); ++length) {
        // A copy of exactly the prefix, so a read past it is a read past an allocation.
        std::string prefix = bytes.substr(0, length);
        bool read = animation::ReadAnmFile(prefix, {}, file, error);
        bool at_chunk = std::find(chunk_ends.begin(), chunk_ends.end(), length) != chunk_ends.end();
        EXPECT_EQ(read, at_chunk) << "prefix of " << length << " bytes";
        if (!read) {
            EXPECT_LE(error.offset, length);
            EXPECT_FALSE(error.reason.empty());
        }
    }
}

TEST(AnmReader, EachStructuralCheckGivesItsOffsetAndReason) {
    Table t(5, 2);
    const std::string good = SampleFile(t);
    const size_t frame0 = 16 + 8 + 6;  // header, bone map of two names
    struct Case {
        size_t at;
        std::string bytes;
        size_t offset;
        const char* reason;
    } cases[] = {
        {0, "EAN!", 0, "expected the tag 'EANM' of the file header"},
        {4, U32(0x00060002), 4, "unknown version"},
        {12, U32(0), 12, "a frame count of 0"},
        {12, U32(70000), 12, "a frame count of 70000"},
        {20, U32(1000), 20, "more bones than the rest of the file can name"},
        {frame0, "FRM3", frame0, "expected the tag 'FRM2' of a frame"},
        {frame0 + 4, U16(5), frame0 + 4, "frame 5 past the frame count"},
        {frame0 + 6, U8(0), frame0 + 6, "a frame without records"},
        {frame0 + 7, U8(2), frame0 + 7, "bone 2 outside the bone map"},
        {frame0 + 8, U16(0x40), frame0 + 8, "unknown flag bits"},
        {frame0 + 8, U16(0x18), frame0 + 8, "both the visible and the hidden flag"},
        {frame0 + 8, U16(0x04 | 0x08), frame0 + 8, "the mirrored flag without"},
        {frame0 + 22, F32(1.5f), frame0 + 22, "an orientation longer than a unit quaternion"},
        {frame0 + 10, F32(std::numeric_limits<float>::infinity()), frame0 + 10, "a position that is not a finite"},
        {frame0 + 34, U8(0), frame0 + 34, "bones of a frame out of order or repeated"},
    };
    for (const Case& c : cases) {
        std::string bytes = good;
        bytes.replace(c.at, c.bytes.size(), c.bytes);
        animation::AnmFile file;
        animation::AnmReadError error;
        EXPECT_FALSE(animation::ReadAnmFile(bytes, {}, file, error)) << c.reason;
        EXPECT_EQ(error.offset, c.offset) << c.reason << ": " << error.reason;
        EXPECT_NE(error.reason.find(c.reason), std::string::npos) << error.reason;
    }
}

}  // namespace
