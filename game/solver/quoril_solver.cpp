// The solver's front: checks the board and position, builds the working grid,
// keeps one start cell of each set that the board's symmetries map onto each other.
#include "game/solver/quoril_solver.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "game/solver/solver_search.h"

namespace solver {

namespace {

constexpr int32_t kMaxSide = 128;

void checkBoard(const Board& board)
{
    if (board.width < 1 || board.height < 1 || board.width > kMaxSide || board.height > kMaxSide)
        throw std::invalid_argument("board size out of range: " + std::to_string(board.width) + " x " +
                                    std::to_string(board.height));
    if (board.m_barrier.size() != size_t(board.width * board.height))
        throw std::invalid_argument("barrier map does not fit the board");
}

Grid makeGrid(const Board& board, const Position& from, int32_t& coveredCount)
{
    const size_t cells = size_t(board.width * board.height);
    if (!from.covered.empty() && from.covered.size() != cells)
        throw std::invalid_argument("covered map does not fit the board");
    Grid grid(board.width, board.height);
    coveredCount = 0;
    for (int32_t y = 0; y < board.height; ++y) {
        for (int32_t x = 0; x < board.width; ++x) {
            const size_t i = size_t(x + y * board.width);
            const bool covered = !from.covered.empty() && from.covered[i];
            if (covered && board.m_barrier[i]) throw std::invalid_argument("a barrier cell is covered");
            grid.cells[size_t(grid.index(x, y))] = board.m_barrier[i] ? kBlocked : covered ? kCovered : kFree;
            coveredCount += covered;
        }
    }
    if (from.pieceX >= 0) {
        if (from.pieceX >= board.width || from.pieceY < 0 || from.pieceY >= board.height ||
            grid.cells[size_t(grid.index(from.pieceX, from.pieceY))] != kCovered)
            throw std::invalid_argument("the piece is not on a covered cell");
    }
    grid.syncRows();
    return grid;
}

// Free cells, less those a symmetry of the board maps onto a lower-numbered one.
std::vector<int32_t> distinctStarts(const Grid& grid)
{
    const int32_t w = grid.width, h = grid.height;
    using Map = std::array<int32_t, 2> (*)(int32_t, int32_t, int32_t, int32_t);
    static const Map kMaps[] = {
        [](int32_t x, int32_t y, int32_t w, int32_t) { return std::array<int32_t, 2>{w - 1 - x, y}; },
        [](int32_t x, int32_t y, int32_t, int32_t h) { return std::array<int32_t, 2>{x, h - 1 - y}; },
        [](int32_t x, int32_t y, int32_t w, int32_t h) { return std::array<int32_t, 2>{w - 1 - x, h - 1 - y}; },
        // The rest turn or mirror across a diagonal: square boards only.
        [](int32_t x, int32_t y, int32_t, int32_t) { return std::array<int32_t, 2>{y, x}; },
        [](int32_t x, int32_t y, int32_t w, int32_t) { return std::array<int32_t, 2>{w - 1 - y, w - 1 - x}; },
        [](int32_t x, int32_t y, int32_t w, int32_t) { return std::array<int32_t, 2>{w - 1 - y, x}; },
        [](int32_t x, int32_t y, int32_t w, int32_t) { return std::array<int32_t, 2>{y, w - 1 - x}; },
    };
    std::vector<Map> symmetries;
    for (size_t m = 0; m < std::size(kMaps); ++m) {
        if (m >= 3 && w != h) break;
        bool same = true;
        for (int32_t y = 0; y < h && same; ++y)
            for (int32_t x = 0; x < w && same; ++x) {
                const auto [tx, ty] = kMaps[m](x, y, w, h);
                same = grid.cells[size_t(grid.index(x, y))] == grid.cells[size_t(grid.index(tx, ty))];
            }
        if (same) symmetries.push_back(kMaps[m]);
    }
    std::vector<int32_t> starts;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const int32_t i = grid.index(x, y);
            if (grid.cells[size_t(i)] != kFree) continue;
            bool first = true;
            for (Map m : symmetries) {
                const auto [tx, ty] = m(x, y, w, h);
                first = first && grid.index(tx, ty) >= i;
            }
            if (first) starts.push_back(i);
        }
    return starts;
}

// Mirrored across the diagonal: columns become rows, up becomes left, right becomes down.
Board transposed(const Board& b)
{
    Board t(b.height, b.width);
    for (int32_t y = 0; y < b.height; ++y)
        for (int32_t x = 0; x < b.width; ++x)
            if (b.barrier(x, y)) t.setBarrier(y, x);
    return t;
}

Position transposed(const Board& b, const Position& p)
{
    Position t{{}, p.pieceY, p.pieceX};
    if (p.covered.empty()) return t;
    if (p.covered.size() != b.m_barrier.size()) throw std::invalid_argument("covered map does not fit the board");
    t.covered.resize(p.covered.size());
    for (int32_t y = 0; y < b.height; ++y)
        for (int32_t x = 0; x < b.width; ++x) t.covered[size_t(y + x * b.height)] = p.covered[size_t(x + y * b.width)];
    return t;
}

Result solveUpright(const Board& board, const Position& from, const Limits& limits)
{
    int32_t covered = 0;
    Grid grid = makeGrid(board, from, covered);
    const std::vector<int32_t> starts = from.pieceX < 0 ? distinctStarts(grid) : std::vector<int32_t>{};
    const int32_t piece = from.pieceX < 0 ? -1 : grid.index(from.pieceX, from.pieceY);
    Search search(std::move(grid), limits);
    if (piece < 0)
        search.fromPlacement(starts, covered);
    else
        search.fromPiece(piece, covered);
    return search.result();
}

} // namespace

Board::Board(int32_t w, int32_t h) : width(w), height(h), m_barrier(size_t(std::max(w, 0) * std::max(h, 0)), 0) {}

void Board::setBarrier(int32_t x, int32_t y)
{
    if (x >= 0 && x < width && y >= 0 && y < height) m_barrier[size_t(x + y * width)] = 1;
}

Result solve(const Board& board, const Limits& limits)
{
    return solve(board, Position{}, limits);
}

Result solve(const Board& board, const Position& from, const Limits& limits)
{
    checkBoard(board);
    // The search keeps a row in one word: a board wider than that is solved turned over.
    if (std::min(board.width, board.height) > kMaxRowCells)
        throw std::invalid_argument("board size out of range: " + std::to_string(board.width) + " x " +
                                    std::to_string(board.height));
    if (board.width <= kMaxRowCells) return solveUpright(board, from, limits);
    Result r = solveUpright(transposed(board), transposed(board, from), limits);
    static const int32_t kTurned[5] = {kNone, kLeft, kDown, kRight, kUp};
    for (Move& m : r.line) {
        std::swap(m.x, m.y);
        m.dir = kTurned[m.dir];
    }
    return r;
}

int32_t greedyScore(const Board& board)
{
    checkBoard(board);
    int32_t none = 0;
    Grid grid = makeGrid(board, Position{}, none);
    int32_t best = 0;
    for (int32_t start = 0; start < int32_t(grid.cells.size()); ++start) {
        if (grid.cells[size_t(start)] != kFree) continue;
        Grid play = grid;
        play.setCell(start, kCovered);
        int32_t score = 1;
        for (int32_t p = start;;) {
            int32_t bestDir = kNone, bestEnd = p, bestGain = 0;
            for (int32_t d = kUp; d <= kLeft; ++d) {
                const int32_t end = play.slideEnd(p, d);
                const int32_t gain = (end - p) / play.offset[d];
                if (gain > bestGain) bestDir = d, bestEnd = end, bestGain = gain;
            }
            if (bestDir == kNone) break;
            play.cover(p, bestEnd, bestDir);
            score += bestGain;
            p = bestEnd;
        }
        best = std::max(best, score);
    }
    return best;
}

} // namespace solver
