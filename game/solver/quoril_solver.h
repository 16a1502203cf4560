// Exact solver for Quoril boards: the highest score reachable from a board
// (or from a position in a running game) and one line of moves that reaches it.
// Standard library only, so tools and tests use it without the engine.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace solver {

// Directions as the game numbers them: y grows downward.
enum Direction : int32_t { kNone = 0, kUp = 1, kRight = 2, kDown = 3, kLeft = 4 };

// The board as a level describes it: cells indexed x + y * width, 0-based.
struct Board {
    Board() = default;
    Board(int32_t w, int32_t h);
    // Barrier cells as a level pack writes them (1-based); entries outside the
    // board have no effect, as on the game's board.
    template <class Range>
    static Board fromLevel(int32_t sizeX, int32_t sizeY, const Range& barriers)
    {
        Board b(sizeX, sizeY);
        for (const auto& e : barriers) b.setBarrier(e.x - 1, e.y - 1);
        return b;
    }
    void setBarrier(int32_t x, int32_t y);
    bool barrier(int32_t x, int32_t y) const { return m_barrier[size_t(x + y * width)] != 0; }

    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> m_barrier;
};

// A running game: the covered cells (the piece's cell included) and the piece.
// Without a piece (pieceX < 0) the next move is the placement. From the game's
// board: covered[x + y * width] = cell (x, y) holds 2; the piece's cell x and y.
struct Position {
    std::vector<uint8_t> covered; // width * height flags, or empty for none
    int32_t pieceX = -1;
    int32_t pieceY = -1;
};

// One move: a placement (dir kNone) at (x, y), or a slide in dir that stops at (x, y).
struct Move {
    int32_t dir = kNone;
    int32_t x = -1;
    int32_t y = -1;
    int32_t cells = 0; // cells the move covers
};

struct Limits {
    double timeLimitMs = 0.0;                  // 0: no limit
    const std::atomic<bool>* cancel = nullptr; // set from another thread to stop early
    double (*clockMs)() = nullptr;             // the clock the limit is measured on; null: steady clock
};

struct Result {
    // Score (covered cells) of the best line found. With proven set it is the
    // highest reachable score (the board's par from an empty board); otherwise a
    // lower bound, and upperBound is what the search could not rule out.
    int32_t score = 0;
    int32_t upperBound = 0;
    bool proven = false;
    std::vector<Move> line; // placement first when the position had no piece
    uint64_t nodes = 0;     // positions searched
};

// Without a time limit the search runs until the best score is proven. Raises
// std::invalid_argument for a board without cells, a side over 128 cells or
// both over 63, or a position that does not fit the board (a piece on a cell
// that is not covered, a covered barrier). Safe to run on several threads at once.
Result solve(const Board& board, const Limits& limits = {});
Result solve(const Board& board, const Position& from, const Limits& limits = {});

// The score a player reaches who places the piece on the cell that will do best
// and then always takes the longest slide (the first of equal ones in the
// order up, right, down, left).
int32_t greedyScore(const Board& board);

} // namespace solver
