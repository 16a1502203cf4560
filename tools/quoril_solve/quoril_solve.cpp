// quoril-solve LEVEL.xml [--time-limit MS]: reads a level pack the way the game
// does and prints the board's par (the best score), one line of moves that
// reaches it, the positions searched and the time taken. Cells are numbered as in
// the level file: column 1 is the leftmost, row 1 the topmost.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/core/ctarnis_ehs.h"
#include "game/resload_functions.h"
#include "game/solver/quoril_solver.h"

namespace {

const char* const kDirectionNames[] = {"place", "up", "right", "down", "left"};

int usage()
{
    std::fprintf(stderr, "usage: quoril-solve LEVEL.xml [--time-limit MS]\n");
    return 1;
}

void printLine(const std::vector<solver::Move>& line)
{
    std::printf("line:");
    for (size_t i = 0; i < line.size(); ++i) {
        const solver::Move& m = line[i];
        std::printf("%s %s %s(%d, %d)", i ? "," : "", kDirectionNames[m.dir], m.dir == solver::kNone ? "" : "to ",
                    m.x + 1, m.y + 1);
    }
    std::printf("%s\n", line.empty() ? " (no move)" : "");
}

} // namespace

int main(int argc, char** argv)
{
    const char* path = nullptr;
    solver::Limits limits;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--time-limit") == 0 && i + 1 < argc) {
            char* end = nullptr;
            limits.timeLimitMs = std::strtod(argv[++i], &end);
            if (*end || limits.timeLimitMs < 0) return usage();
        } else if (!path && argv[i][0] != '-') {
            path = argv[i];
        } else {
            return usage();
        }
    }
    if (!path) return usage();

    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "quoril-solve: cannot read %s\n", path);
        return 1;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        RESLOAD_Level(bytes.empty() ? nullptr : reinterpret_cast<const uint8_t*>(bytes.data()),
                      int32_t(bytes.size()), "LEVEL", 0, 0, 0, 0);
    } catch (const CEHSException& e) {
        std::fprintf(stderr, "quoril-solve: %s: %s\n", path, e.m_strDescription.c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quoril-solve: %s: %s\n", path, e.what());
        return 1;
    }

    const LevelDescription& level = g_LevelDesc;
    try {
        const solver::Board board = solver::Board::fromLevel(level.m_iSizeX, level.m_iSizeY, level.m_vecBarriers);
        const auto start = std::chrono::steady_clock::now();
        const solver::Result r = solver::solve(board, limits);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("board: %d x %d, %zu barriers\n", level.m_iSizeX, level.m_iSizeY, level.m_vecBarriers.size());
        if (r.proven)
            std::printf("par: %d (proven)\n", r.score);
        else
            std::printf("par: at least %d, at most %d (time limit reached)\n", r.score, r.upperBound);
        printLine(r.line);
        std::printf("positions searched: %llu\n", static_cast<unsigned long long>(r.nodes));
        std::printf("time: %.1f ms\n", ms);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quoril-solve: %s: %s\n", path, e.what());
        return 1;
    }
    return 0;
}
