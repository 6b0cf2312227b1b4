#include "geometry/strip_search.h"

#include <algorithm>
#include <span>
#include <utility>

#include "geometry/vertex_cache.h"

namespace geometry {

namespace {

constexpr uint32_t kNone = StripFaceTable::kNoNeighbour;
// The state of a placed face; a free face holds the number of the last
// trial strip through it.
constexpr uint32_t kPlaced = UINT32_MAX;

// How many of the latest faces are searched for a start when the last strip
// has no free neighbour.
constexpr uint32_t kRecentFaces = 64;
// How far past the first free face in table order other free faces are
// compared with it for a start when none is near.
constexpr uint32_t kFreeFacesCompared = 32;

// A strip tried from a start face.
struct StripTrial {
    uint32_t face = kNone;
    uint8_t exit_slot = 0;
    uint32_t face_count = 0;
    uint32_t miss_count = 0;
};

// Fewer misses per face wins; at an equal rate the longer strip, which leaves
// fewer short strips behind.
bool Better(const StripTrial& a, const StripTrial& b) {
    if (b.face_count == 0) return a.face_count > 0;
    uint64_t a_rate = uint64_t(a.miss_count) * b.face_count;
    uint64_t b_rate = uint64_t(b.miss_count) * a.face_count;
    if (a_rate != b_rate) return a_rate < b_rate;
    return a.face_count > b.face_count;
}

// A strip alternates turns: a face at an even position leaves through the
// edge after the one it came in by, a face at an odd position through the
// edge before it.
uint8_t ExitSlot(uint32_t entry_slot, uint32_t position) {
    return static_cast<uint8_t>(position % 2 ? (entry_slot + 2) % 3 : (entry_slot + 1) % 3);
}

// A face of a strip with the edges it enters and leaves by. The first face
// "enters" by the edge a strip extended backwards would use; the last face
// "leaves" by the edge the strip would go on through.
struct StripStep {
    uint32_t face;
    uint8_t entry_slot;
    uint8_t exit_slot;
};

class StripSearch {
public:
    StripSearch(const StripFaceTable& table, uint32_t cache_size, bool free_turns)
        : table_(table),
          free_turns_(free_turns),
          cache_(table.vertex_count, cache_size),
          // A strip and the strip laid beside it next share one side, so a
          // strip that touches no more vertices than the cache holds leaves
          // that side in the cache for its neighbour. A strip across a band
          // touches as many vertices on each side; with an odd cache size
          // the last entry would only let strips of a band differ in length.
          touch_cap_(std::max<uint32_t>(cache_size & ~1u, 3)),
          face_state_(table.FaceCount(), 0),
          open_count_(table.FaceCount(), 0),
          vertex_mark_(table.vertex_count, 0),
          vertex_stamp_(table.vertex_count, 0) {
        for (uint32_t f = 0; f < table.FaceCount(); ++f) {
            for (uint8_t e = 0; e < 3; ++e)
                if (table.neighbours[3 * f + e] != kNone) ++open_count_[f];
        }
    }

    StripLayout Run(uint32_t min_strip_length) {
        StripLayout layout;
        layout.strip_faces.reserve(table_.FaceCount());
        std::vector<uint32_t> recent;  // ring of the latest faces
        recent.reserve(kRecentFaces);
        uint32_t recent_next = 0;
        uint32_t placed = 0;
        while (placed < table_.FaceCount()) {
            StripTrial strip = NextStrip(recent);
            Place();
            placed += strip.face_count;
            for (const StripStep& step : last_strip_) {
                if (recent.size() < kRecentFaces)
                    recent.push_back(step.face);
                else
                    recent[recent_next] = step.face;
                recent_next = (recent_next + 1) % kRecentFaces;
            }
            Record(strip, min_strip_length, layout);
        }
        return layout;
    }

private:
    // The next strip, started beside the last one where possible so that
    // strips lie side by side in bands, each reusing the vertices of the one
    // before. Its path is left in best_path_.
    // 1. A free face across a side edge of the last strip: the one with the
    //    fewest free neighbours (a face no other will reach first, then faces
    //    on a border or in a corner, so that they are not cut off), then the
    //    one nearest the strip's start; tried in each direction.
    // 2. Else the face ahead of its last face, going on the same way: the
    //    band is done and the next one starts from there, alongside it.
    // 3. Else the face behind its first face, tried in each direction.
    // 4. Else a free neighbour of the latest faces, the one with most
    //    vertices in the cache; else a free face far away.
    StripTrial NextStrip(std::span<const uint32_t> recent) {
        uint32_t side = kNone;
        int side_rank = -1;
        for (const StripStep& step : last_strip_) {
            uint32_t g = FreeNeighbour(step.face, 3 - step.entry_slot - step.exit_slot);
            if (g != kNone && 3 - open_count_[g] > side_rank) {
                side_rank = 3 - open_count_[g];
                side = g;
            }
        }
        if (side != kNone) return BestFrom(side);
        if (!last_strip_.empty()) {
            const StripStep& last = last_strip_.back();
            uint32_t half_edge = table_.neighbours[3 * last.face + last.exit_slot];
            if (half_edge != kNone && face_state_[half_edge / 3] != kPlaced) {
                uint32_t position = static_cast<uint32_t>(last_strip_.size());
                return Simulate(half_edge / 3, ExitSlot(half_edge % 3, position), best_path_);
            }
            const StripStep& first = last_strip_.front();
            uint32_t behind = FreeNeighbour(first.face, first.entry_slot);
            if (behind != kNone) return BestFrom(behind);
        }
        uint32_t start = MostCachedNeighbour(recent);
        if (start == kNone) start = FirstFreeFace();
        return BestFrom(start);
    }

    uint32_t FreeNeighbour(uint32_t face, uint32_t slot) const {
        uint32_t half_edge = table_.neighbours[3 * face + slot];
        if (half_edge == kNone || face_state_[half_edge / 3] == kPlaced) return kNone;
        return half_edge / 3;
    }

    // A free neighbour of the given faces: the one with most vertices in the
    // cache, then with the fewest free neighbours, then the first met.
    uint32_t MostCachedNeighbour(std::span<const uint32_t> around) const {
        uint32_t best = kNone;
        int best_rank = -1;
        for (uint32_t f : around) {
            for (uint8_t e = 0; e < 3; ++e) {
                uint32_t g = FreeNeighbour(f, e);
                if (g == kNone) continue;
                int rank = 4 * CachedVertexCount(g) + (3 - open_count_[g]);
                if (rank > best_rank) {
                    best_rank = rank;
                    best = g;
                }
            }
        }
        return best;
    }

    // A free face far from the latest ones: the first in table order, or
    // among the free faces shortly after it the one with the fewest free
    // neighbours, a face in a corner or on a border rather than one amid
    // others.
    uint32_t FirstFreeFace() {
        while (face_state_[free_cursor_] == kPlaced) ++free_cursor_;
        uint32_t best = free_cursor_;
        uint32_t end = std::min(table_.FaceCount(), free_cursor_ + kFreeFacesCompared);
        for (uint32_t f = free_cursor_ + 1; f < end; ++f)
            if (face_state_[f] != kPlaced && open_count_[f] < open_count_[best]) best = f;
        return best;
    }

    // The best of the strips leaving face through each of its edges; its
    // path is left in best_path_.
    StripTrial BestFrom(uint32_t face) {
        StripTrial best;
        for (uint8_t slot = 0; slot < 3; ++slot) {
            StripTrial trial = Simulate(face, slot, trial_path_);
            if (Better(trial, best)) {
                best = trial;
                std::swap(best_path_, trial_path_);
            }
        }
        return best;
    }

    // Follows the strip that leaves face through exit_slot, into path. It
    // ends where it runs into a border or a placed face, or before it would
    // touch more vertices than the cache holds. Misses are counted against
    // the cache as it is, vertices that the trial brings in stamped with
    // their miss number.
    StripTrial Simulate(uint32_t face, uint8_t exit_slot, std::vector<StripStep>& path) {
        NextTrialNumber();
        path.clear();
        StripTrial trial{face, exit_slot, 0, 0};
        uint32_t touched = 0;
        uint32_t f = face;
        uint8_t entry = (exit_slot + 2) % 3;
        uint8_t exit = exit_slot;
        for (;;) {
            uint32_t new_touches = 0;
            for (uint16_t vertex : table_.faces[f].v) new_touches += vertex_mark_[vertex] != trial_;
            if (trial.face_count > 0) {
                if (touched + new_touches > touch_cap_) break;
                exit = ChooseExit(f, entry, ExitSlot(entry, trial.face_count), trial.miss_count);
            }
            touched += new_touches;
            face_state_[f] = trial_;
            for (uint16_t vertex : table_.faces[f].v) {
                if (TrialCached(vertex, trial.miss_count)) {
                    if (vertex_mark_[vertex] != trial_) vertex_stamp_[vertex] = 0;
                } else {
                    vertex_stamp_[vertex] = ++trial.miss_count;
                }
                vertex_mark_[vertex] = trial_;
            }
            ++trial.face_count;
            path.push_back({f, entry, exit});
            uint32_t half_edge = table_.neighbours[3 * f + exit];
            if (half_edge == kNone) break;
            uint32_t g = half_edge / 3;
            if (face_state_[g] == kPlaced || face_state_[g] == trial_) break;
            entry = static_cast<uint8_t>(half_edge % 3);
            f = g;
        }
        return trial;
    }

    // Trial numbers mark faces and vertices; before they would run into
    // kPlaced, the marks are cleared and numbering starts again.
    void NextTrialNumber() {
        if (++trial_ != kPlaced) return;
        for (uint32_t& state : face_state_)
            if (state != kPlaced) state = 0;
        std::fill(vertex_mark_.begin(), vertex_mark_.end(), 0);
        trial_ = 1;
    }

    // The edge by which the path leaves face f, entered by entry_slot. A
    // strip takes its own turn. A path of a triangle list may also take the
    // other edge: towards a free face whose third vertex is in the cache
    // (drawn at no cost) rather than one whose third vertex is not, or
    // towards a free face rather than a placed one; and when both ways bring
    // in a vertex, the way that keeps the older vertex of the entry edge, so
    // that a vertex near eviction gets its faces drawn while it is in the
    // cache.
    uint8_t ChooseExit(uint32_t f, uint8_t entry_slot, uint8_t turn, uint32_t trial_misses) {
        if (!free_turns_) return turn;
        uint8_t other = static_cast<uint8_t>(3 - entry_slot - turn);
        int turn_score = ExitScore(f, turn, trial_misses);
        int other_score = ExitScore(f, other, trial_misses);
        if (turn_score != other_score) return other_score > turn_score ? other : turn;
        if (turn_score != 1) return turn;
        const StripFace& face = table_.faces[f];
        // The strip's own turn keeps the entry edge's later vertex, the other
        // way its earlier one (the entry edge runs v[entry] -> v[entry + 1]).
        uint16_t kept_by_turn = face.v[turn == (entry_slot + 1) % 3 ? (entry_slot + 1) % 3 : entry_slot];
        uint16_t kept_by_other = face.v[other == (entry_slot + 1) % 3 ? (entry_slot + 1) % 3 : entry_slot];
        return Age(kept_by_other, trial_misses) > Age(kept_by_turn, trial_misses) ? other : turn;
    }

    // 0: the edge leads nowhere free; 1: to a free face whose third vertex
    // would be a miss; 2: to a free face whose third vertex is in the cache.
    int ExitScore(uint32_t f, uint8_t slot, uint32_t trial_misses) {
        uint32_t half_edge = table_.neighbours[3 * f + slot];
        if (half_edge == kNone) return 0;
        uint32_t g = half_edge / 3;
        if (face_state_[g] == kPlaced || face_state_[g] == trial_) return 0;
        return TrialCached(table_.faces[g].v[(half_edge % 3 + 2) % 3], trial_misses) ? 2 : 1;
    }

    // Misses since vertex, touched by the current trial, went into the cache.
    uint32_t Age(uint16_t vertex, uint32_t trial_misses) const {
        if (BroughtInByTrial(vertex)) return trial_misses - vertex_stamp_[vertex];
        return cache_.MissCount() + trial_misses - cache_.Stamp(vertex);
    }

    // Whether vertex is in the cache after trial_misses misses of the
    // current trial.
    bool TrialCached(uint16_t vertex, uint32_t trial_misses) const {
        if (BroughtInByTrial(vertex)) return trial_misses - vertex_stamp_[vertex] < cache_.EntryCount();
        return cache_.ContainsAfter(vertex, trial_misses);
    }

    bool BroughtInByTrial(uint16_t vertex) const { return vertex_mark_[vertex] == trial_ && vertex_stamp_[vertex] != 0; }

    int CachedVertexCount(uint32_t face) const {
        int count = 0;
        for (uint16_t vertex : table_.faces[face].v) count += cache_.Contains(vertex);
        return count;
    }

    // Places the faces of best_path_: marks them, runs them through the
    // cache and tells their neighbours. The path becomes the last strip.
    void Place() {
        for (const StripStep& step : best_path_) {
            face_state_[step.face] = kPlaced;
            for (uint16_t vertex : table_.faces[step.face].v) cache_.Touch(vertex);
            for (uint8_t e = 0; e < 3; ++e) {
                uint32_t g = FreeNeighbour(step.face, e);
                if (g != kNone) --open_count_[g];
            }
        }
        std::swap(last_strip_, best_path_);
    }

    void Record(const StripTrial& strip, uint32_t min_strip_length, StripLayout& layout) const {
        if (last_strip_.size() < min_strip_length) {
            for (const StripStep& step : last_strip_) layout.leftovers.push_back(step.face);
            return;
        }
        layout.strips.push_back({static_cast<uint32_t>(layout.strip_faces.size()),
                                 static_cast<uint32_t>(last_strip_.size()), strip.exit_slot});
        for (const StripStep& step : last_strip_) layout.strip_faces.push_back(step.face);
    }

    const StripFaceTable& table_;
    const bool free_turns_;
    FifoVertexCache cache_;
    const uint32_t touch_cap_;
    std::vector<uint32_t> face_state_;  // kPlaced, or the last trial through the face
    std::vector<uint8_t> open_count_;  // neighbours not placed yet
    uint32_t free_cursor_ = 0;  // no face before it is free
    std::vector<StripStep> last_strip_;
    std::vector<StripStep> best_path_;   // the path of the best trial so far
    std::vector<StripStep> trial_path_;  // the path of the trial under way
    std::vector<uint32_t> vertex_mark_;   // the last trial that touched the vertex
    std::vector<uint32_t> vertex_stamp_;  // its miss number in that trial; 0: it was in the cache before
    uint32_t trial_ = 0;
};

}  // namespace

StripLayout FindStrips(const StripFaceTable& table, uint32_t cache_size, uint32_t min_strip_length,
                       bool free_turns) {
    if (table.faces.empty()) return {};
    return StripSearch(table, cache_size, free_turns).Run(min_strip_length);
}

}  // namespace geometry
