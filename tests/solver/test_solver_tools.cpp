// The solver's programs: quoril-solve on level files, and the shipped board,
// which must be the one quoril-levelgen picks and must have a proven par well
// above a greedy player's score.
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "game/resload_functions.h"
#include "game/solver/quoril_solver.h"
#include "tests/support/test_support.h"

namespace {

struct ProgramRun {
    int status;
    std::string out;
};
ProgramRun run(const std::string& command)
{
    ProgramRun r{-1, {}};
    std::FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class SolverTools : public tst::InScratchDir {};

TEST_F(SolverTools, SolvePrintsParLineAndReportsBadFiles)
{
    struct Case {
        const char* text;
        int status;
        const char* expected;
    } cases[] = {
        {R"(<boarddata sizex="2" sizey="2"/>)", 0, "par: 4 (proven)\nline: place (1, 1), right to (2, 1), down to (2, 2), left to (1, 2)\n"},
        {R"(<boarddata sizex="4" sizey="3"><barier x="1" y="1"/></boarddata>)", 0, "par: 11 (proven)"},
        {R"(<boarddata sizex="4" sizey="3"><barrier x="1" y="1"/></boarddata>)", 1,
         "invalid XML child node name!"},
        {"", 1, "Cannot load levelpack! (buffer is empty)"},
    };
    for (const Case& c : cases) {
        tst::writeFile("level.xml", c.text);
        const ProgramRun r = run(std::string(QUORIL_SOLVE_PATH) + " level.xml");
        EXPECT_EQ(r.status, c.status) << r.out;
        EXPECT_NE(r.out.find(c.expected), std::string::npos) << r.out;
    }
    EXPECT_EQ(run(std::string(QUORIL_SOLVE_PATH) + " missing.xml").status, 1);
}

TEST_F(SolverTools, ShippedBoardIsTheGeneratedOneAndRewardsThinking)
{
    const std::string shipped = tst::readFile(std::string(TARNIS_SOURCE_DIR) + "/DATA/levels/board1.xml");
    ASSERT_EQ(run(std::string(QUORIL_LEVELGEN_PATH) + " board.xml").status, 0);
    EXPECT_EQ(tst::readFile("board.xml"), shipped);

    g_LevelDesc = LevelDescription();
    RESLOAD_Level(reinterpret_cast<const uint8_t*>(shipped.data()), int32_t(shipped.size()), "LEVEL_BOARD1", 1, 0,
                  0, 0);
    const solver::Board board = solver::Board::fromLevel(g_LevelDesc.m_iSizeX, g_LevelDesc.m_iSizeY,
                                                         g_LevelDesc.m_vecBarriers);
    const solver::Result r = solver::solve(board);
    EXPECT_TRUE(r.proven);
    EXPECT_GE(r.score, solver::greedyScore(board) + 15);
}

} // namespace
