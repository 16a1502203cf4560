// Biconnected decomposition (Tarjan's low links) of the free cells around the
// piece, folded into the bound as it unwinds; no recursion, no allocation per call.
#include "game/solver/reach_bound.h"

#include <algorithm>
#include <limits>

namespace solver {

ReachBound::ReachBound(size_t cellCount)
    : m_disc(cellCount, 0), m_low(cellCount, 0), m_size(cellCount, 0), m_extra(cellCount, 0)
{
    m_stack.reserve(cellCount + 1);
}

int32_t ReachBound::measure(const Grid& grid, int32_t root, const uint64_t* cellKeys, uint64_t& key)
{
    // Visit numbers only grow, so nothing is cleared between calls until they would overflow.
    if (m_counter > std::numeric_limits<int32_t>::max() - int32_t(m_disc.size()) - 2) {
        std::fill(m_disc.begin(), m_disc.end(), 0);
        m_counter = 0;
    }
    m_base = m_counter;
    const uint8_t* cells = grid.cells.data();
    const int32_t* offset = grid.offset;

    m_disc[size_t(root)] = m_low[size_t(root)] = ++m_counter;
    m_size[size_t(root)] = 1;
    m_extra[size_t(root)] = 0;
    uint64_t reached = 0;
    m_stack.clear();
    m_stack.push_back({root, 1});
    while (!m_stack.empty()) {
        Frame& f = m_stack.back();
        const int32_t v = f.v;
        if (f.next <= 4) {
            const int32_t w = v + offset[f.next++];
            const int32_t parent = m_stack.size() > 1 ? m_stack[m_stack.size() - 2].v : -1;
            if (w == parent) continue;
            // The root counts as visited: a path may leave it toward any neighbour.
            if (m_disc[size_t(w)] > m_base) {
                m_low[size_t(v)] = std::min(m_low[size_t(v)], m_disc[size_t(w)]);
                continue;
            }
            if (cells[w] != kFree) continue;
            m_disc[size_t(w)] = m_low[size_t(w)] = ++m_counter;
            reached ^= cellKeys[w];
            m_size[size_t(w)] = 1;
            m_extra[size_t(w)] = 0;
            m_stack.push_back({w, 1});
            continue;
        }
        m_stack.pop_back();
        if (m_stack.empty()) break;
        const int32_t p = m_stack.back().v;
        if (m_low[size_t(v)] >= m_disc[size_t(p)]) {
            // v's subtree hangs on p alone: a path that enters it ends there.
            m_extra[size_t(p)] = std::max(m_extra[size_t(p)], m_size[size_t(v)] + m_extra[size_t(v)]);
        } else {
            m_size[size_t(p)] += m_size[size_t(v)];
            m_extra[size_t(p)] = std::max(m_extra[size_t(p)], m_extra[size_t(v)]);
            m_low[size_t(p)] = std::min(m_low[size_t(p)], m_low[size_t(v)]);
        }
    }
    key = reached;
    return m_size[size_t(root)] + m_extra[size_t(root)] - 1;
}

} // namespace solver
