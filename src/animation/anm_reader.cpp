#include "animation/anm_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "animation/anm_format.h"
#include "animation/model_animation.h"

namespace animation {

namespace {

struct Malformed {
    size_t offset;
    std::string reason;
};

constexpr uint16_t kKnownFlags = kSamplePosition | kSampleOrientation | kSampleMirrored | kSampleVisible |
                                 kSampleHidden | kSampleVertices;
// How far past 1 the stored x² + y² + z² of a unit quaternion may come by rounding.
constexpr float kUnitSlack = 0.0001f;
constexpr uint32_t kMaxFrames = 65536;

class Cursor {
public:
    explicit Cursor(std::string_view bytes, size_t at = 0) : bytes_(bytes), at_(at) {}

    std::string_view Bytes() const { return bytes_; }
    size_t Position() const { return at_; }
    size_t Left() const { return bytes_.size() - at_; }
    [[noreturn]] static void Fail(size_t offset, std::string reason) { throw Malformed{offset, std::move(reason)}; }

    std::string_view Take(size_t count, const char* what) {
        if (count > Left())
            Fail(at_, std::string("truncated: ") + what + " needs " + std::to_string(count) + " bytes, " +
                          std::to_string(Left()) + " left");
        std::string_view taken = bytes_.substr(at_, count);
        at_ += count;
        return taken;
    }
    template <class T>
    T Get(const char* what) {
        T value;
        std::memcpy(&value, Take(sizeof value, what).data(), sizeof value);
        return value;
    }
    void ExpectTag(const char (&tag)[4], const char* what) {
        size_t at = at_;
        if (Take(4, what) != std::string_view(tag, 4))
            Fail(at, std::string("expected the tag '") + std::string(tag, 4) + "' of " + what);
    }
    host::Point3 Point(const char* what) {
        float x = Get<float>(what), y = Get<float>(what), z = Get<float>(what);
        return {x, y, z};
    }
    std::string String(const char* what) {
        size_t length = Get<uint8_t>(what);
        if (length == 0xFF) {
            std::string_view p = Take(3, what);
            length = size_t(uint8_t(p[0])) | size_t(uint8_t(p[1])) << 8 | size_t(uint8_t(p[2])) << 16;
        }
        return std::string(Take(length, what));
    }

private:
    std::string_view bytes_;
    size_t at_ = 0;
};

bool Finite(const host::Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// The layouts known so far, by animated-bone number: given by name, or
// learnt from a bone's first vertex block.
class VertexLayouts {
public:
    VertexLayouts(const AnmReadOptions& options, const std::vector<std::string>& bones) : known_(bones.size()) {
        for (size_t b = 0; b < bones.size(); ++b) {
            auto it = options.layouts.find(bones[b]);
            if (it != options.layouts.end()) known_[b] = it->second;
            else learn_.push_back(b);
        }
        learnable_.assign(bones.size(), false);
        for (size_t b : learn_) learnable_[b] = true;
    }

    /// The layout of bone, learnt from block when it is the bone's first
    /// and has the form of a first frame; nullopt while unknown.
    std::optional<AnmVertexLayout> For(uint8_t bone, std::string_view block) {
        if (known_[bone]) return known_[bone];
        if (!learnable_[bone]) return std::nullopt;
        learnable_[bone] = false;  // only the first block can teach
        if (block.size() < anm::kRunHeaderSize + anm::kBoxSize + anm::kTerminatorSize) return std::nullopt;
        uint32_t first;
        uint16_t count, has_box;
        std::memcpy(&first, block.data(), 4);
        std::memcpy(&count, block.data() + 4, 2);
        std::memcpy(&has_box, block.data() + 6, 2);
        size_t body = block.size() - anm::kRunHeaderSize - anm::kBoxSize - anm::kTerminatorSize;
        if (first != 0 || count == 0 || has_box != 1 || body % count != 0) return std::nullopt;
        known_[bone] = AnmVertexLayout{static_cast<uint32_t>(body / count), count};
        return known_[bone];
    }

private:
    std::vector<std::optional<AnmVertexLayout>> known_;
    std::vector<size_t> learn_;
    std::vector<bool> learnable_;
};

// The runs of a vertex block whose layout is known; the block's bytes follow
// its size field and end with the terminator.
void ReadRuns(Cursor& c, size_t block_end, const AnmVertexLayout& layout, AnmVertexBlock& block) {
    size_t next_free = 0;  // the first vertex a further run may start at
    for (;;) {
        AnmVertexRun run;
        run.offset = c.Position();
        run.first = c.Get<uint32_t>("a vertex run");
        run.count = c.Get<uint16_t>("a vertex run");
        run.hasBox = c.Get<uint16_t>("a vertex run");
        if (run.count == 0) {
            if (run.first != 0 || run.hasBox != 0) Cursor::Fail(run.offset, "a run of no vertices that is not the terminator");
            if (c.Position() != block_end) Cursor::Fail(run.offset, "the terminator does not end the vertex block");
            if (block.runs.empty()) Cursor::Fail(run.offset, "a vertex block without a run");
            return;
        }
        if (run.hasBox > 1) Cursor::Fail(run.offset + 6, "a box flag other than 0 or 1");
        if (run.first < next_free)
            Cursor::Fail(run.offset, "a run that does not start after the end of the run before it");
        if (uint64_t{run.first} + run.count > layout.vertexCount)
            Cursor::Fail(run.offset, "a run past the mesh's " + std::to_string(layout.vertexCount) + " vertices");
        next_free = size_t{run.first} + run.count + 1;
        if (uint64_t{run.count} * layout.vertexSize > block_end - c.Position())
            Cursor::Fail(c.Position(), "the vertices of a run pass the end of the vertex block");
        run.vertices = c.Take(size_t{run.count} * layout.vertexSize, "vertices");
        if (run.hasBox) {
            if (block_end - c.Position() < anm::kBoxSize) Cursor::Fail(c.Position(), "a box past the end of the vertex block");
            host::Point3 pmin = c.Point("a box"), pmax = c.Point("a box");
            run.box = host::Box3(pmin, pmax);
        }
        if (c.Position() >= block_end) Cursor::Fail(c.Position(), "a vertex block without its terminator");
        block.runs.push_back(run);
    }
}

AnmVertexBlock ReadVertexBlock(Cursor& c, uint8_t bone, VertexLayouts& layouts) {
    AnmVertexBlock block;
    block.offset = c.Position();
    block.blockSize = c.Get<uint32_t>("a vertex block size");
    if (block.blockSize > c.Left()) Cursor::Fail(block.offset, "a vertex block larger than the rest of the file");
    if (block.blockSize < anm::kTerminatorSize) Cursor::Fail(block.offset, "a vertex block too small for its terminator");
    const size_t body = c.Position();
    std::string_view bytes = c.Take(block.blockSize, "a vertex block");
    if (std::optional<AnmVertexLayout> layout = layouts.For(bone, bytes)) {
        block.vertexSize = layout->vertexSize;
        Cursor runs(c.Bytes(), body);
        ReadRuns(runs, body + block.blockSize, *layout, block);
    } else if (bytes.substr(bytes.size() - anm::kTerminatorSize).find_first_not_of('\0') != std::string_view::npos) {
        Cursor::Fail(c.Position() - anm::kTerminatorSize, "a vertex block that does not end with its terminator");
    }
    return block;
}

void CheckFlags(size_t at, uint16_t flags) {
    if (flags & ~kKnownFlags) Cursor::Fail(at, "unknown flag bits");
    if ((flags & kSampleMirrored) && !(flags & (kSamplePosition | kSampleOrientation)))
        Cursor::Fail(at, "the mirrored flag without a position or an orientation");
    if ((flags & kSampleVisible) && (flags & kSampleHidden)) Cursor::Fail(at, "both the visible and the hidden flag");
}

AnmRecord ReadRecord(Cursor& c, size_t bone_count, int previous_bone, VertexLayouts& layouts) {
    AnmRecord r;
    r.offset = c.Position();
    r.bone = c.Get<uint8_t>("a bone record");
    if (r.bone >= bone_count)
        Cursor::Fail(r.offset, "bone " + std::to_string(r.bone) + " outside the bone map of " +
                                   std::to_string(bone_count));
    if (int{r.bone} <= previous_bone) Cursor::Fail(r.offset, "bones of a frame out of order or repeated");
    r.flags = c.Get<uint16_t>("a bone record");
    CheckFlags(r.offset + 1, r.flags);
    if (r.flags & kSamplePosition) {
        size_t at = c.Position();
        r.position = c.Point("a position");
        if (!Finite(*r.position)) Cursor::Fail(at, "a position that is not a finite number");
    }
    if (r.flags & kSampleOrientation) {
        size_t at = c.Position();
        host::Point3 v = c.Point("an orientation");
        float square = v.LengthSquared();
        if (!Finite(v) || square > 1.0f + kUnitSlack) Cursor::Fail(at, "an orientation longer than a unit quaternion");
        r.orientation = host::Quat(v.x, v.y, v.z, -std::sqrt(std::max(0.0f, 1.0f - square)));
    }
    if (r.flags & kSampleVertices) r.vertices = ReadVertexBlock(c, r.bone, layouts);
    return r;
}

void ReadFile(Cursor& c, const AnmReadOptions& options, AnmFile& file) {
    c.ExpectTag(anm::kFileTag, "the file header");
    size_t at = c.Position();
    file.version = c.Get<uint32_t>("the version");
    if (file.version != anm::kVersion) Cursor::Fail(at, "unknown version " + std::to_string(file.version));
    c.ExpectTag(anm::kFramesTag, "the frame count");
    at = c.Position();
    file.frameCount = c.Get<uint32_t>("the frame count");
    if (file.frameCount == 0 || file.frameCount > kMaxFrames)
        Cursor::Fail(at, "a frame count of " + std::to_string(file.frameCount) + ", not 1 to 65536");
    c.ExpectTag(anm::kBoneMapTag, "the bone map");
    at = c.Position();
    uint32_t bone_count = c.Get<uint32_t>("the bone count");
    // Each name takes at least its length byte.
    if (bone_count > c.Left()) Cursor::Fail(at, "more bones than the rest of the file can name");
    for (uint32_t b = 0; b < bone_count; ++b) file.bones.push_back(c.String("a bone name"));

    VertexLayouts layouts(options, file.bones);
    int previous_frame = -1;
    while (c.Left() > 0) {
        AnmFrame frame;
        frame.offset = c.Position();
        c.ExpectTag(anm::kFrameTag, "a frame");
        at = c.Position();
        frame.frame = c.Get<uint16_t>("a frame number");
        if (frame.frame >= file.frameCount)
            Cursor::Fail(at, "frame " + std::to_string(frame.frame) + " past the frame count");
        if (int{frame.frame} <= previous_frame) Cursor::Fail(at, "frames out of order or repeated");
        previous_frame = frame.frame;
        at = c.Position();
        uint8_t count = c.Get<uint8_t>("a record count");
        if (count == 0) Cursor::Fail(at, "a frame without records");
        int previous_bone = -1;
        for (uint8_t k = 0; k < count; ++k) {
            frame.records.push_back(ReadRecord(c, file.bones.size(), previous_bone, layouts));
            previous_bone = frame.records.back().bone;
        }
        file.frames.push_back(std::move(frame));
    }
}

}  // namespace

bool ReadAnmFile(std::string_view bytes, const AnmReadOptions& options, AnmFile& file, AnmReadError& error) {
    file = AnmFile();
    Cursor c(bytes);
    try {
        ReadFile(c, options, file);
        return true;
    } catch (const Malformed& m) {
        error.offset = m.offset;
        error.reason = m.reason;
        return false;
    }
}

}  // namespace animation
