// The fill works on whole rows: a row takes in what its neighbours reached and
// spreads it along its runs of free cells (upward by one addition's carries,
// downward by a doubling fill); sweeps go down and up over the rows around
// those reached until one changes nothing.
#include "game/solver/reach_bound.h"

#include <algorithm>

namespace solver {

namespace {

// The cells of the runs of free that hold a seed.
inline uint64_t spreadInRow(uint64_t free, uint64_t seed)
{
    seed &= free;
    if (!seed) return 0;
    // Carries run from the lowest seed of a run to its top (the top bit is never free).
    uint64_t g = (((free + seed) ^ free ^ seed) | seed) & free;
    uint64_t p = free;
    g |= p & (g >> 1), p &= p >> 1;
    g |= p & (g >> 2), p &= p >> 2;
    g |= p & (g >> 4), p &= p >> 4;
    g |= p & (g >> 8), p &= p >> 8;
    g |= p & (g >> 16), p &= p >> 16;
    g |= p & (g >> 32);
    return g;
}

// Without a target that has a population count instruction the builtin is a library call.
inline int32_t bitCount(uint64_t v)
{
    v = v - ((v >> 1) & 0x5555555555555555ull);
    v = (v & 0x3333333333333333ull) + ((v >> 2) & 0x3333333333333333ull);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return int32_t((v * 0x0101010101010101ull) >> 56);
}

inline uint64_t mix(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

int32_t ReachBound::measure(const Grid& grid, int32_t root, uint64_t& key)
{
    const uint64_t* free = grid.rows.data();
    uint64_t* r = m_reached.data();
    const int32_t last = grid.height; // framed rows 1 .. height hold cells
    std::fill(m_reached.begin(), m_reached.end(), 0);
    const int32_t rootRow = root / grid.pitch;
    const uint64_t rootBit = uint64_t(1) << (root % grid.pitch - 1);
    r[rootRow] = spreadInRow(free[rootRow], (rootBit << 1) | (rootBit >> 1));
    r[rootRow - 1] = spreadInRow(free[rootRow - 1], rootBit);
    r[rootRow + 1] = spreadInRow(free[rootRow + 1], rootBit);
    // Sweep down and up in turn over the rows next to those reached (the range
    // grows as the sweep goes), until a sweep changes nothing.
    int32_t lo = std::max(1, rootRow - 1), hi = std::min(last, rootRow + 1);
    auto visit = [&](int32_t y) {
        const uint64_t n = spreadInRow(free[y], r[y] | r[y - 1] | r[y + 1]);
        if (n == r[y]) return false;
        r[y] = n;
        lo = std::min(lo, y);
        hi = std::max(hi, y);
        return true;
    };
    for (bool changed = true; changed;) {
        changed = false;
        for (int32_t y = std::max(1, lo - 1); y <= std::min(last, hi + 1); ++y) changed |= visit(y);
        if (!changed) break;
        changed = false;
        for (int32_t y = std::min(last, hi + 1); y >= std::max(1, lo - 1); --y) changed |= visit(y);
    }

    // A path passes a cell by one way in and one way out; the root is a way too.
    int32_t count = 0, deadEnds = 0;
    uint64_t hash = 0;
    for (int32_t y = lo; y <= hi; ++y) {
        if (!r[y]) continue;
        const uint64_t rootHere = y == rootRow ? rootBit : 0;
        const uint64_t up = free[y - 1] | (y - 1 == rootRow ? rootBit : 0);
        const uint64_t down = free[y + 1] | (y + 1 == rootRow ? rootBit : 0);
        const uint64_t left = (free[y] | rootHere) << 1, right = (free[y] | rootHere) >> 1;
        const uint64_t twoWays = (up & (down | left | right)) | (down & (left | right)) | (left & right);
        count += bitCount(r[y]);
        deadEnds += bitCount(r[y] & ~twoWays);
        hash ^= mix(r[y] ^ (uint64_t(y) * 0x9E3779B97F4A7C15ull));
    }
    key = hash;
    return count - std::max(0, deadEnds - 1);
}

} // namespace solver
