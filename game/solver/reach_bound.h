// Upper bound on the cells the piece can still cover: the free cells it can
// still reach, less the dead ends (cells with one way in) of which a path can
// only end in one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/solver/solver_grid.h"

namespace solver {

class ReachBound {
public:
    explicit ReachBound(size_t cellCount);
    // Cells a path from root (covered, the piece) over free cells can cover at most.
    // key becomes the XOR of cellKeys over the free cells the piece can reach: what
    // the piece can still do depends on these cells and nothing else.
    int32_t measure(const Grid& grid, int32_t root, const uint64_t* cellKeys, uint64_t& key);

private:
    std::vector<uint32_t> m_mark; // m_pass on the cells the current pass reached
    std::vector<int32_t> m_queue;
    uint32_t m_pass = 0;
};

} // namespace solver
