// Breadth-first fill from the piece over free cells; no allocation per call.
#include "game/solver/reach_bound.h"

#include <algorithm>

namespace solver {

ReachBound::ReachBound(size_t cellCount) : m_mark(cellCount, 0), m_queue(cellCount, 0) {}

int32_t ReachBound::measure(const Grid& grid, int32_t root, const uint64_t* cellKeys, uint64_t& key)
{
    // Marks are pass numbers, so nothing is cleared between passes until they wrap.
    if (++m_pass == 0) {
        std::fill(m_mark.begin(), m_mark.end(), 0u);
        m_pass = 1;
    }
    const uint8_t* cells = grid.cells.data();
    uint32_t* mark = m_mark.data();
    int32_t* queue = m_queue.data();
    const int32_t step[4] = {grid.offset[kUp], grid.offset[kRight], grid.offset[kDown], grid.offset[kLeft]};
    uint64_t reached = 0;
    int32_t deadEnds = 0;
    size_t head = 0, tail = 0;
    mark[root] = m_pass;
    queue[tail++] = root;
    while (head < tail) {
        const int32_t v = queue[head++];
        int32_t ways = 0; // neighbours a path can come from or go to: free cells and the root
        for (int32_t k = 0; k < 4; ++k) {
            const int32_t w = v + step[k];
            if (cells[w] != kFree) {
                ways += w == root;
                continue;
            }
            ++ways;
            if (mark[w] == m_pass) continue;
            mark[w] = m_pass;
            reached ^= cellKeys[w];
            queue[tail++] = w;
        }
        deadEnds += v != root && ways <= 1;
    }
    key = reached;
    // A path passes a cell by one way in and one way out: a dead end can only be its last cell.
    return int32_t(tail) - 1 - std::max(0, deadEnds - 1);
}

} // namespace solver
