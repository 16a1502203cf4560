// A whole game of the real Quoril on its real data, headless, played only
// through injected mouse and keyboard events: start, place, steer until stuck
// (a screenshot on the way), type a new record's name, confirm, exit. From the
// loose data files, without their optional par and hint elements, from a PAK.
//
// The player runs after every presented frame (the link wraps
// CTarnis::GFX_ScenePresent, see tests.cmake): it sees the frame's state, and
// the events it pushes reach the next frame, as a person's would.
#include <algorithm>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "engine/core/tns_window.h"
#include "game/cgame_element.h"
#include "game/gamelogic_main.h"
#include "game/gameplay_main.h"
#include "game/par_hint.h"
#include "game/resload_functions.h"
#include "gui/trsgui_ctarnisgui.h"
#include "tests/e2e/quoril_data.h"
#include "tests/e2e/quoril_player.h"
#include "tests/support/test_support.h"
#include "tools/tarnis_pak/pak_tool.h"

namespace {

constexpr const char* kReport = "play_report.txt";

using e2e::element;
using e2e::Player;

Player* g_player = nullptr;

bool g_bExtras = true; // the data has the par labels and the hint's picture

void script(Player& p)
{
    p.press("BTN_MW_START");
    // The hinted cell; without the extras H does nothing: the first free cell.
    p.note("hint", [&p] { return p.key(SDL_SCANCODE_H), ""; });
    p.goals.push_back([&p] {
        int32_t x, y;
        if (ParHint_GetHint(x, y)) return p.report["hinted"] = "1", p.clickCell(x, y), true;
        if (g_bExtras || p.frames < 200) return false;
        const int32_t w = g_LevelDesc.m_iSizeX;
        for (int32_t i = 0; i < w * g_LevelDesc.m_iSizeY; ++i)
            if (g_Board.At(i % w, i / w) == CELL_FREE) return p.clickCell(i % w, i / w), true;
        return false;
    });
    p.steer(false);
    p.steer(false);
    p.note("board", [] { // each cell's sample spot on the screenshot and its kind; not under piece or cursor
        std::ostringstream s;
        for (int32_t y = 0; y < g_LevelDesc.m_iSizeY; ++y)
            for (int32_t x = 0; x < g_LevelDesc.m_iSizeX; ++x) {
                const float left = g_fBoardOriginX + g_fCellWidth * float(x);
                const float top = g_fBoardOriginY + g_fCellHeight * float(y);
                if ((left < g_fCursorX + 32 && g_fCursorX < left + g_fCellWidth && top < g_fCursorY + 32 &&
                     g_fCursorY < top + g_fCellHeight) ||
                    (x == g_pCurrentPiece->m_iCellX && y == g_pCurrentPiece->m_iCellY))
                    continue;
                s << int(left + g_fCellWidth * 0.3f) << ' ' << int(top + g_fCellHeight * 0.3f) << ' '
                  << g_Board.At(x, y) << ' ';
            }
        return s.str();
    });
    p.note("f2", [&p] { return p.key(SDL_SCANCODE_F2), ""; }); // the overlay is on the shot, off the board
    p.note("overlay", [] { return std::to_string(g_bDebugOverlay); });
    p.note("f9", [&p] { return p.key(SDL_SCANCODE_F9), p.key(SDL_SCANCODE_F2), ""; });
    p.note("overlay", [&p] { return p.report["overlay"] + std::to_string(g_bDebugOverlay); });
    p.steer(true);
    p.note("moves", [] { return std::to_string(g_iMoves); });
    p.note("label_at_end", [&p] { return p.label("L_MW_MOVES_MOVES"); });
    p.typeName("ada");
    p.press("BTN_HS_OK");
    p.goals.push_back([] { return g_iGameState == GAMESTATE_PLACEMENT; });
    p.note("after", [&p] {
        return p.label("L_MW_MOVES_MOVES") + " " + p.label("L_MW_BESTRESULT_NAME") + " " +
               p.label("L_MW_BESTRESULT_MOVES") +
               (g_bExtras ? " " + p.label("L_MW_BESTRESULT_PAR") + ", " + p.label("L_HS_SCORE") : "");
    });
    p.press("BTN_MW_EXIT");
}

int playOneGame()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Player player;
    script(player);
    g_player = &player;
    TNS_RunEntry(nullptr, "Quoril Play Test", GameMain);
    g_player = nullptr;
    std::ofstream out(kReport);
    for (const auto& [k, v] : player.report) out << k << '=' << v << '\n';
    out << "goals_left=" << player.goals.size() + player.events.size() << '\n';
    return 0;
}

} // namespace

extern "C" void __real__ZN7CTarnis16GFX_ScenePresentEv(CTarnis* self);
extern "C" void __wrap__ZN7CTarnis16GFX_ScenePresentEv(CTarnis* self)
{
    __real__ZN7CTarnis16GFX_ScenePresentEv(self);
    if (g_player) g_player->frame();
}

namespace {

class QuorilPlay : public tst::InScratchDir {
protected:
    void playAndCheck()
    {
        tst::ChildResult run = tst::runInChild(playOneGame, 200000);
        ASSERT_TRUE(run.exited) << "signal " << run.signal;
        EXPECT_FALSE(tst::fileExists("ehslog.txt")) << tst::readFile("ehslog.txt");
        std::map<std::string, std::string> report;
        for (const std::string& line : tst::readLines(kReport))
            report[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        ASSERT_EQ(report["goals_left"], "0");

        const int moves = std::stoi(report["moves"]);
        std::string record = "ada";
        for (int shift = -8; shift < 32; shift += 8) record.push_back(char(shift < 0 ? 0 : (moves >> shift) & 0xFF));
        EXPECT_EQ(tst::readFile("DATA/quorilhs.dat"), record);
        EXPECT_EQ(report["label_at_end"], report["moves"]);
        EXPECT_EQ(report["hinted"], g_bExtras ? "1" : "");
        EXPECT_EQ(report["overlay"], "10") << "F2 shows the overlay, F2 again hides it";
        const std::string& m = report["moves"];
        EXPECT_EQ(report["after"], "0 ada " + m + (g_bExtras ? " par 86, " + m + " / 86" : ""))
            << "moves label, best name and moves; the shipped board's par, on the tile and over the score";

        auto log = tst::readLines("gamelog.txt");
        auto at = [&](const char* line) { return std::find(log.begin(), log.end(), line) - log.begin(); };
        EXPECT_LT(at("--==: Starting Quorilla v. 1.0"), at("Loading highscore data..."));
        EXPECT_LT(at("Loading highscore data..."), at("Screenshot saved."));
        ASSERT_GE(log.size(), 4u);
        EXPECT_EQ(log[log.size() - 4], "--==: End of log.");
        checkScreenshot(report["board"]);
    }

    // The same spot of every cell: free cells look alike, barriers alike,
    // covered cells alike, and the three kinds differ.
    void checkScreenshot(const std::string& samples)
    {
        const std::string bmp = tst::readFile("screenshot1.bmp");
        ASSERT_GT(bmp.size(), 54u);
        const int width = uint8_t(bmp[18]) | uint8_t(bmp[19]) << 8, height = uint8_t(bmp[22]) | uint8_t(bmp[23]) << 8;
        std::map<int, std::set<uint32_t>> colours;
        std::istringstream in(samples);
        for (int x, y, kind; in >> x >> y >> kind;) {
            // Bottom-up rows of 24-bit pixels, padded to 4 bytes.
            size_t at = 54 + ((size_t(width) * 3 + 3) & ~size_t(3)) * size_t(height - 1 - y) + size_t(x) * 3;
            colours[kind].insert(uint8_t(bmp[at]) | uint8_t(bmp[at + 1]) << 8 | uint32_t(uint8_t(bmp[at + 2])) << 16);
        }
        ASSERT_EQ(colours.size(), 3u) << "free, barrier and covered cells on the shot";
        for (const auto& [kind, seen] : colours) EXPECT_EQ(seen.size(), 1u) << "cell kind " << kind;
        EXPECT_EQ(std::set<uint32_t>({*colours[0].begin(), *colours[1].begin(), *colours[2].begin()}).size(), 3u);
    }
};

TEST_F(QuorilPlay, WholeGameFromLooseFiles)
{
    e2e::CopyGameData();
    playAndCheck();
}

// A data folder from before par and hints plays the same game.
TEST_F(QuorilPlay, WholeGameWithoutTheOptionalExtras)
{
    e2e::CopyGameData();
    e2e::RemoveElements("DATA/gui/main.xml", {"L_MW_BESTRESULT_PAR"});
    e2e::RemoveElements("DATA/gui/help.xml", {"L_HLP_HINTKEY"});
    e2e::RemoveElements("DATA/gui/complete.xml", {"L_CMP_SCORE", "L_CMP_SCORE_TITLE"});
    e2e::RemoveElements("DATA/gui/highscore.xml", {"L_HS_SCORE", "L_HS_SCORE_TITLE"});
    e2e::RemoveElements("DATA/graphics.xml", {"TEX_HINT"});
    std::filesystem::remove("DATA/gfx/hint.png");
    g_bExtras = false;
    playAndCheck();
    g_bExtras = true;
}

TEST_F(QuorilPlay, WholeGameFromAPak)
{
    std::filesystem::create_directory("DATA");
    std::string error;
    ASSERT_TRUE(pak::buildPak(GAME_DATA_DIR, "DATA/quoril.pak", error)) << error;
    playAndCheck();
}

} // namespace
