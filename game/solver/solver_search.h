// Depth-first branch and bound over the moves of one board: children ordered by
// their bound, cut when the bound cannot beat the best line, positions reached
// twice looked up by hash. Stops on the time limit with the best line so far.
#pragma once

#include <cstdint>
#include <vector>

#include "game/solver/quoril_solver.h"
#include "game/solver/reach_bound.h"
#include "game/solver/solver_grid.h"
#include "game/solver/transposition_table.h"

namespace solver {

class Search {
public:
    Search(Grid grid, const Limits& limits);

    // Placement first, on one of starts (free cells; one of each symmetric set is enough).
    void fromPlacement(const std::vector<int32_t>& starts, int32_t coveredCount);
    // The piece is on its (covered) cell.
    void fromPiece(int32_t piece, int32_t coveredCount);

    Result result() const;

private:
    struct Step {
        int32_t dir; // kNone for the placement
        int32_t cell;
        int32_t cells;
    };
    struct Child {
        int32_t dir;
        int32_t end;
        int32_t gain;
        int32_t bound;
        uint64_t key;
    };

    // Returns at least what the position can still gain; records every better line.
    int32_t dfs(int32_t piece, int32_t covered, uint64_t key);
    // Bound and table key of the position with the piece on cell (covered).
    int32_t measure(int32_t cell, uint64_t& key);
    bool stopRequested() const;
    double nowMs() const;

    Grid m_grid;
    Limits m_limits;
    double m_deadline = 0.0;
    ReachBound m_bound;
    TranspositionTable m_table;
    std::vector<uint64_t> m_pieceKey;

    std::vector<Step> m_path;
    std::vector<Step> m_bestLine;
    int32_t m_best = 0;
    int32_t m_upper = 0;
    bool m_haveLine = false;
    bool m_aborted = false;
    uint64_t m_nodes = 0;
};

} // namespace solver
