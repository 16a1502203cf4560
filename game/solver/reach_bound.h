// Upper bound on the cells the piece can still cover: the free cells it can
// still reach, less the dead ends (cells with one way in), in which a path can
// only end, and only once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/solver/solver_grid.h"

namespace solver {

class ReachBound {
public:
    explicit ReachBound(int32_t height) : m_reached(size_t(height + 2), 0) {}
    // Cells a path from root (covered, the piece) over free cells can cover at most.
    // key becomes a hash of the free cells the piece can reach: what the piece can
    // still do depends on these cells and nothing else.
    int32_t measure(const Grid& grid, int32_t root, uint64_t& key);

private:
    std::vector<uint64_t> m_reached; // by framed row, like Grid::rows
};

} // namespace solver
