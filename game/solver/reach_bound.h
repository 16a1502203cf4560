// Upper bound on the cells the piece can still cover: the free cells it can
// reach, less the pockets a single path cannot all visit. The path is simple, so
// once it passes a cut cell into a region joined to the rest only there, it ends
// in that region: of all such regions only one nested chain counts.
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
    // Whether the last measure reached the cell.
    bool reached(int32_t cell) const { return m_disc[size_t(cell)] > m_base; }

private:
    struct Frame {
        int32_t v;
        int32_t next; // next direction to look at
    };
    std::vector<int32_t> m_disc; // visit order; cells visited in this pass have m_disc > m_base
    std::vector<int32_t> m_low;
    std::vector<int32_t> m_size;  // cells joined to the cell without a cut
    std::vector<int32_t> m_extra; // best chain of cut-off regions below
    std::vector<Frame> m_stack;
    int32_t m_counter = 0;
    int32_t m_base = 0;
};

} // namespace solver
