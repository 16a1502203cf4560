// The solver against an exhaustive search on small boards, boards built by hand
// for the cases a bound or an ordering could get wrong, the time limit and the
// worker thread the game polls.
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "game/solver/quoril_solver.h"
#include "game/solver/solver_worker.h"

using namespace solver;

namespace {

// Rows top to bottom: '#' barrier, 'o' covered, 'P' the piece (covered), '.' free.
struct Drawn {
    Board board;
    Position from;
};
Drawn drawn(std::initializer_list<const char*> rows)
{
    const int32_t w = int32_t(strlen(*rows.begin())), h = int32_t(rows.size());
    Drawn d{Board(w, h), {std::vector<uint8_t>(size_t(w * h), 0), -1, -1}};
    int32_t y = 0;
    for (const char* row : rows) {
        for (int32_t x = 0; x < w; ++x) {
            if (row[x] == '#') d.board.setBarrier(x, y);
            if (row[x] == 'o' || row[x] == 'P') d.from.covered[size_t(x + y * w)] = 1;
            if (row[x] == 'P') d.from.pieceX = x, d.from.pieceY = y;
        }
        ++y;
    }
    return d;
}

Board seeded(int32_t w, int32_t h, int32_t barriers, uint64_t seed)
{
    Board b(w, h);
    for (int32_t i = 0; i < barriers; ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        b.setBarrier(int32_t((seed >> 33) % uint64_t(w)), int32_t((seed >> 45) % uint64_t(h)));
    }
    return b;
}

constexpr int32_t kDx[5] = {0, 0, 1, 0, -1};
constexpr int32_t kDy[5] = {0, -1, 0, 1, 0};

// Slides by the rules alone: returns the cells covered; (x, y) ends where it stopped.
int32_t slide(const Board& b, std::vector<uint8_t>& covered, int32_t& x, int32_t& y, int32_t d)
{
    int32_t n = 0;
    for (;;) {
        const int32_t nx = x + kDx[d], ny = y + kDy[d];
        if (nx < 0 || ny < 0 || nx >= b.width || ny >= b.height || b.barrier(nx, ny) ||
            covered[size_t(nx + ny * b.width)])
            return n;
        x = nx, y = ny, ++n;
        covered[size_t(x + y * b.width)] = 1;
    }
}

int32_t exhaustive(const Board& b, std::vector<uint8_t>& covered, int32_t x, int32_t y, int32_t score)
{
    int32_t best = score;
    for (int32_t d = kUp; d <= kLeft; ++d) {
        std::vector<uint8_t> after = covered;
        int32_t ex = x, ey = y;
        if (const int32_t n = slide(b, after, ex, ey, d)) best = std::max(best, exhaustive(b, after, ex, ey, score + n));
    }
    return best;
}

int32_t exhaustivePar(const Board& b)
{
    int32_t best = 0;
    for (int32_t y = 0; y < b.height; ++y)
        for (int32_t x = 0; x < b.width; ++x) {
            if (b.barrier(x, y)) continue;
            std::vector<uint8_t> covered(size_t(b.width * b.height), 0);
            covered[size_t(x + y * b.width)] = 1;
            best = std::max(best, exhaustive(b, covered, x, y, 1));
        }
    return best;
}

// Plays the line by the rules; returns its score, or -1 when a move is not what
// the rules allow, including a line that stops while a move is left.
int32_t replay(const Board& b, Position p, const std::vector<Move>& line)
{
    if (p.covered.empty()) p.covered.assign(size_t(b.width * b.height), 0);
    int32_t score = 0;
    for (uint8_t c : p.covered) score += c;
    for (const Move& m : line) {
        if (m.dir == kNone) {
            if (p.pieceX >= 0 || b.barrier(m.x, m.y) || p.covered[size_t(m.x + m.y * b.width)]) return -1;
            p.covered[size_t(m.x + m.y * b.width)] = 1;
            p.pieceX = m.x, p.pieceY = m.y, ++score;
            continue;
        }
        const int32_t n = p.pieceX < 0 ? 0 : slide(b, p.covered, p.pieceX, p.pieceY, m.dir);
        if (n == 0 || n != m.cells || p.pieceX != m.x || p.pieceY != m.y) return -1;
        score += n;
    }
    for (int32_t d = kUp; d <= kLeft && p.pieceX >= 0; ++d) {
        std::vector<uint8_t> probe = p.covered;
        int32_t x = p.pieceX, y = p.pieceY;
        if (slide(b, probe, x, y, d)) return -1;
    }
    return score;
}

TEST(SolverPar, MatchesExhaustiveSearchAndTheLineReachesIt)
{
    struct Case {
        int32_t w, h, barriers;
        uint64_t seeds;
    } cases[] = {{2, 2, 0, 1}, {3, 3, 0, 1}, {4, 4, 0, 1}, {5, 3, 0, 1}, {1, 5, 1, 3},
                 {4, 3, 2, 12}, {4, 4, 3, 12}, {5, 4, 3, 12}, {5, 5, 4, 8}, {6, 4, 5, 6},
                 {70, 2, 9, 2}}; // wider than a row mask: solved turned over
    for (const Case& c : cases)
        for (uint64_t s = 1; s <= c.seeds; ++s) {
            const Board b = seeded(c.w, c.h, c.barriers, s);
            const Result r = solve(b);
            SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " seed " + std::to_string(s));
            EXPECT_TRUE(r.proven);
            EXPECT_EQ(r.score, exhaustivePar(b));
            EXPECT_EQ(r.upperBound, r.score);
            EXPECT_EQ(replay(b, {}, r.line), r.score);
        }
    // Every cell of the empty 2 x 2 board is covered: place, right, down, left.
    EXPECT_EQ(solve(Board(2, 2)).score, 4);
}

TEST(SolverPar, BestLineMayStartWithAShortSlide)
{
    // The long slide right leaves the corner pockets apart: 8 cells; going down first covers all 11.
    const Drawn d = drawn({"#...", "P...", "...."});
    const Result r = solve(d.board, d.from);
    ASSERT_TRUE(r.proven);
    EXPECT_EQ(r.score, 11);
    ASSERT_FALSE(r.line.empty());
    EXPECT_EQ(r.line.front().dir, kDown);
    EXPECT_EQ(replay(d.board, d.from, r.line), 11);
    const Drawn greedy = drawn({"#...", "oooP", "...."});
    EXPECT_EQ(solve(greedy.board, greedy.from).score, 8);
}

TEST(SolverHint, LostPositionHasNoMove)
{
    const Drawn d = drawn({"#o.", "oPo", ".o."});
    const Result r = solve(d.board, d.from);
    EXPECT_TRUE(r.proven);
    EXPECT_TRUE(r.line.empty());
    EXPECT_EQ(r.score, 5);

    SolverWorker worker;
    worker.request(d.board, d.from, 1000);
    Answer a;
    while (!worker.poll(a)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(a.hasMove());
    EXPECT_EQ(a.score, 5);
}

TEST(SolverHint, WorkerAnswersTheLatestRequestOnly)
{
    SolverWorker worker;
    Answer a;
    EXPECT_FALSE(worker.poll(a));
    // A board too large to finish keeps the worker busy until the next request abandons it.
    worker.request(seeded(60, 60, 300, 7), {}, 60000);
    const Drawn d = drawn({"#...", "P...", "...."});
    const uint64_t serial = worker.request(d.board, d.from, 1000);
    while (!worker.poll(a)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(a.serial, serial);
    EXPECT_TRUE(a.proven);
    EXPECT_EQ(a.move.dir, kDown);
    EXPECT_EQ(a.move.x, 0);
    EXPECT_EQ(a.move.y, 2);
    // A position that does not fit the board is answered, not thrown across threads.
    Position wrong = d.from;
    wrong.covered.pop_back();
    worker.request(d.board, wrong, 1000);
    while (!worker.poll(a)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(a.hasMove());
    EXPECT_EQ(a.score, -1);
    worker.cancel();
    EXPECT_FALSE(worker.poll(a));
}

double g_fakeNow = 0.0;
double fakeClock()
{
    return g_fakeNow += 1.0; // a millisecond passes at every look
}

TEST(SolverLimits, StopsInTimeWithAPlayableLine)
{
    const Board big = seeded(40, 40, 160, 3);
    Limits fake;
    fake.timeLimitMs = 20;
    fake.clockMs = fakeClock;
    Limits real;
    real.timeLimitMs = 50;
    for (const Limits& limits : {fake, real}) {
        const auto start = std::chrono::steady_clock::now();
        const Result r = solve(big, limits);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        EXPECT_FALSE(r.proven);
        EXPECT_LT(ms, 2000.0); // the limit plus a generous allowance for a loaded machine
        EXPECT_GT(r.score, 0);
        EXPECT_GE(r.upperBound, r.score);
        EXPECT_EQ(replay(big, {}, r.line), r.score);
    }
}

TEST(SolverInput, PositionsThatDoNotFitAreRejected)
{
    const Drawn d = drawn({"#.", "P."});
    Position p = d.from;
    p.pieceX = 1; // on a free cell
    EXPECT_THROW(solve(d.board, p), std::invalid_argument);
    p = d.from;
    p.covered[0] = 1; // the barrier
    EXPECT_THROW(solve(d.board, p), std::invalid_argument);
    EXPECT_THROW(solve(Board(0, 3)), std::invalid_argument);
    EXPECT_THROW(solve(Board(129, 2)), std::invalid_argument);
}

} // namespace
