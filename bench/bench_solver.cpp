// The exact solver on fixed seeded boards: a proven par on 12 x 10 boards and on
// 20 x 20 boards with 10 % barriers, and the time limit on 30 x 30 boards, where
// the search stops with its best line. Figures are CPU time per board.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <vector>

#include "bench/bench_peer.h"
#include "game/solver/quoril_solver.h"

namespace {

constexpr int kBoards = 8;

// Barriers at distinct random cells: the share of the board, rounded.
solver::Board seededBoard(int32_t w, int32_t h, double share, uint64_t seed)
{
    solver::Board b(w, h);
    const int32_t count = int32_t(w * h * share + 0.5);
    for (int32_t placed = 0; placed < count;) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        const int32_t x = int32_t((seed >> 33) % uint64_t(w)), y = int32_t((seed >> 45) % uint64_t(h));
        if (!b.barrier(x, y)) b.setBarrier(x, y), ++placed;
    }
    return b;
}

std::vector<solver::Board> boards(int32_t w, int32_t h, double share)
{
    std::vector<solver::Board> v;
    for (uint64_t s = 1; s <= kBoards; ++s) v.push_back(seededBoard(w, h, share, s));
    return v;
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
}

// Every board once per iteration; the slowest board's CPU time is shown beside the mean.
void solveAll(benchmark::State& state, const std::vector<solver::Board>& set, double limitMs, bool mustProve)
{
    double worst = 0.0;
    for (auto _ : state) {
        for (const solver::Board& b : set) {
            solver::Limits limits;
            limits.timeLimitMs = limitMs;
            const double start = threadCpuMs();
            const solver::Result r = solver::solve(b, limits);
            worst = std::max(worst, threadCpuMs() - start);
            if (mustProve && !r.proven) state.SkipWithError("par not proven");
            benchmark::DoNotOptimize(r.score);
        }
    }
    state.counters["worst_cpu_ms"] = worst;
}

void BM_Par_12x10(benchmark::State& state)
{
    static const std::vector<solver::Board> set = boards(12, 10, 0.08);
    solveAll(state, set, 0.0, true);
}
void BM_Par_20x20(benchmark::State& state)
{
    static const std::vector<solver::Board> set = boards(20, 20, 0.10);
    solveAll(state, set, 0.0, true);
}
void BM_Anytime_30x30_100ms(benchmark::State& state)
{
    static const std::vector<solver::Board> set = boards(30, 30, 0.10);
    solveAll(state, set, 100.0, false);
}

BENCHMARK(BM_Par_12x10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Par_20x20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Anytime_30x30_100ms)->Unit(benchmark::kMillisecond)->Repetitions(1)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    const double perBoardMs = 1e-6 / kBoards;
    return bench::runWithPeers(argc, argv, {},
                               {
                                   {"12 x 10 board, proven par, ms per board", "BM_Par_12x10", perBoardMs, "ms", 10.0},
                                   {"20 x 20 board, 10 % barriers, proven par, ms", "BM_Par_20x20", perBoardMs,
                                    "ms", 100.0},
                                   {"30 x 30 board, 100 ms limit honoured, ms", "BM_Anytime_30x30_100ms",
                                    perBoardMs, "ms", 105.0},
                               });
}
