// A whole game of the real Quoril on its real data, headless, played only
// through injected mouse and keyboard events: start, place, steer until stuck,
// a screenshot on the way, a new record typed and confirmed, exit. Once from
// the loose data files and once from a PAK built from them.
//
// The player is a small script run after every presented frame: the link
// wraps CTarnis::GFX_ScenePresent (see tests.cmake), so the script sees each
// frame's state and its events reach the next frame, like a person's would.
#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "engine/core/tns_window.h"
#include "engine/platform/tns_sdl_internal.h"
#include "game/cgame_element.h"
#include "game/gamelogic_main.h"
#include "game/gameplay_main.h"
#include "game/resload_functions.h"
#include "gui/trsgui_ctarnisgui.h"
#include "tests/e2e/quoril_data.h"
#include "tests/support/test_support.h"
#include "tools/tarnis_pak/pak_tool.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kReport = "play_report.txt";
constexpr int kMaxFrames = 30000;

// ---- the player (runs in the game's process) ----

void pushMouse(Uint32 type, int x, int y)
{
    SDL_Event ev{};
    ev.type = type;
    Uint32 window = SDL_GetWindowID(TnsGetSdlWindow(g_pTRS->m_hGameWindow));
    if (type == SDL_MOUSEMOTION) {
        ev.motion.windowID = window;
        ev.motion.x = x;
        ev.motion.y = y;
    } else {
        ev.button.windowID = window;
        ev.button.button = SDL_BUTTON_LEFT;
        ev.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        ev.button.x = x;
        ev.button.y = y;
    }
    SDL_PushEvent(&ev);
}

void pushKey(SDL_Scancode key, bool down)
{
    SDL_Event ev{};
    ev.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    ev.key.windowID = SDL_GetWindowID(TnsGetSdlWindow(g_pTRS->m_hGameWindow));
    ev.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    ev.key.keysym.scancode = key;
    SDL_PushEvent(&ev);
}

CGUIElement* element(const char* id)
{
    return g_pGUI ? g_pGUI->GetElement(g_pGUI->GetElementID(id)) : nullptr;
}

// One step a frame; a step that returns false runs again next frame.
using Step = std::function<bool()>;

struct Player {
    std::deque<Step> steps;
    // Steps a running step adds: they run before anything else.
    std::vector<Step> inserted;
    std::map<std::string, std::string> report;
    int frames = 0;

    void then(Step s) { steps.push_back(std::move(s)); }
    void next(Step s) { inserted.push_back(std::move(s)); }
    void pressAt(int x, int y, bool now = false)
    {
        for (Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            Step s = [=] { return pushMouse(type, x, y), true; };
            now ? next(std::move(s)) : then(std::move(s));
        }
    }
    // Presses the element's middle once `gate` takes input (its window fully shown and enabled).
    void press(const char* id, const char* gate = nullptr)
    {
        then([this, id, gate] {
            CGUIElement* e = element(id);
            CGUIElement* g = element(gate ? gate : id);
            if (!e || !g || !g->m_bActive) return false;
            const GUIRECT& r = e->m_rcCurRect;
            pressAt(int(r.x + r.width / 2), int(r.y + r.height / 2), true);
            return true;
        });
    }
    void key(SDL_Scancode k)
    {
        then([=] { return pushKey(k, true), true; });
        then([=] { return pushKey(k, false), true; });
    }
    void waitFor(std::function<bool()> condition) { then(std::move(condition)); }
    void clickCell(int32_t x, int32_t y)
    {
        pressAt(int(g_fBoardOriginX + g_fCellWidth * (float(x) + 0.5f)),
                int(g_fBoardOriginY + g_fCellHeight * (float(y) + 0.5f)), true);
    }

    void frame()
    {
        if (++frames > kMaxFrames) {
            report["timeout"] = std::to_string(steps.size()) + " steps left";
            RequestQuit();
        }
        if (steps.empty()) return;
        // Taken out while it runs: the queue may grow under it.
        Step current = std::move(steps.front());
        steps.pop_front();
        if (!current()) steps.push_front(std::move(current));
        for (auto it = inserted.rbegin(); it != inserted.rend(); ++it) steps.push_front(std::move(*it));
        inserted.clear();
    }
};

Player* g_player = nullptr;

bool idle()
{
    return g_iGameState == GAMESTATE_STEERING && g_pCurrentPiece && g_pCurrentPiece->m_iState == PIECESTATE_IDLE;
}

void recordBoard(Player& p)
{
    std::ostringstream cells;
    for (int32_t y = 0; y < g_LevelDesc.m_iSizeY; ++y)
        for (int32_t x = 0; x < g_LevelDesc.m_iSizeX; ++x) cells << g_Board.At(x, y);
    p.report["cells"] = cells.str();
    std::ostringstream geometry;
    geometry << g_LevelDesc.m_iSizeX << ' ' << g_LevelDesc.m_iSizeY << ' ' << g_fBoardOriginX << ' '
             << g_fBoardOriginY << ' ' << g_fCellWidth << ' ' << g_fCellHeight << ' ' << g_fCursorX << ' '
             << g_fCursorY << ' ' << g_pCurrentPiece->m_iCellX << ' ' << g_pCurrentPiece->m_iCellY;
    p.report["geometry"] = geometry.str();
}

// One move toward any free neighbour; true once the piece is stuck and a dialog opened.
bool steer(Player& p)
{
    if (g_iGameState == GAMESTATE_DIALOG) return true;
    if (!idle()) return false;
    for (int32_t direction = DIR_UP; direction <= DIR_LEFT; ++direction) {
        int32_t x = g_pCurrentPiece->m_iCellX, y = g_pCurrentPiece->m_iCellY;
        StepInDirection(direction, x, y);
        if (g_Board.At(x, y) != CELL_FREE) continue;
        p.clickCell(x, y);
        const int32_t before = g_iMoves;
        p.next([before] { return g_iMoves != before || g_iGameState != GAMESTATE_STEERING; });
        return false;
    }
    return false; // stuck: the dialog opens this frame
}

void script(Player& p)
{
    p.press("BTN_MW_START");
    p.waitFor([] { return g_iGameState == GAMESTATE_PLACEMENT; });
    p.then([&p] { // the first free cell
        const int32_t w = g_LevelDesc.m_iSizeX;
        for (int32_t i = 0; i < w * g_LevelDesc.m_iSizeY; ++i)
            if (g_Board.At(i % w, i / w) == CELL_FREE) return p.clickCell(i % w, i / w), true;
        return false;
    });
    p.waitFor(idle);
    // Two moves, then a screenshot of the board with all three kinds of cell.
    for (int i = 0; i < 2; ++i) {
        p.then([&p] { return steer(p), true; });
        p.waitFor(idle);
    }
    p.then([&p] { return recordBoard(p), true; });
    p.key(SDL_SCANCODE_F9);
    p.then([&p] { return steer(p); });
    p.then([&p] {
        p.report["moves"] = std::to_string(g_iMoves);
        p.report["label_at_end"] = g_pGUI->GetElementParam("L_MW_MOVES_MOVES", "text").GetString();
        return true;
    });
    p.press("TBX_HS_NAME", "WND_DTP_HIGHSCORE");
    p.then([] { return pushKey(SDL_SCANCODE_LSHIFT, true), true; });
    p.key(SDL_SCANCODE_A);
    p.then([] { return pushKey(SDL_SCANCODE_LSHIFT, false), true; });
    p.key(SDL_SCANCODE_D);
    p.key(SDL_SCANCODE_A);
    p.press("BTN_HS_OK");
    p.waitFor([] { return g_iGameState == GAMESTATE_PLACEMENT; });
    p.then([&p] {
        p.report["label_after"] = g_pGUI->GetElementParam("L_MW_MOVES_MOVES", "text").GetString();
        p.report["best_name"] = g_pGUI->GetElementParam("L_MW_BESTRESULT_NAME", "text").GetString();
        p.report["best_moves"] = g_pGUI->GetElementParam("L_MW_BESTRESULT_MOVES", "text").GetString();
        return true;
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
    out << "steps_left=" << player.steps.size() << '\n';
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

// ---- the checks (in the test's process) ----

std::map<std::string, std::string> readReport()
{
    std::map<std::string, std::string> r;
    for (const std::string& line : tst::readLines(kReport)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) r[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return r;
}

// The B, G, R bytes of a pixel of a bottom-up 24-bit BMP.
uint32_t pixel(const std::string& bmp, int width, int height, int x, int y)
{
    size_t row = (size_t(width) * 3 + 3) & ~size_t(3);
    size_t at = 54 + row * size_t(height - 1 - y) + size_t(x) * 3;
    return uint32_t(uint8_t(bmp[at])) | uint32_t(uint8_t(bmp[at + 1])) << 8 | uint32_t(uint8_t(bmp[at + 2])) << 16;
}

class QuorilPlay : public tst::InScratchDir {
protected:
    void SetUp() override
    {
        std::string why = e2e::QuorilNotReady();
        if (!why.empty()) GTEST_SKIP() << why;
    }

    void playAndCheck()
    {
        tst::ChildResult run = tst::runInChild(playOneGame, 120000);
        ASSERT_TRUE(run.exited) << "signal " << run.signal;
        EXPECT_FALSE(tst::fileExists("ehslog.txt")) << tst::readFile("ehslog.txt");
        auto report = readReport();
        ASSERT_EQ(report["timeout"], "");
        ASSERT_EQ(report["steps_left"], "0");

        // The record: the typed name, a 0 byte, the moves little-endian.
        int moves = std::stoi(report["moves"]);
        EXPECT_GT(moves, 3);
        std::string record = "Ada";
        record.push_back('\0');
        for (int shift = 0; shift < 32; shift += 8) record.push_back(char((moves >> shift) & 0xFF));
        EXPECT_EQ(tst::readFile("DATA/quorilhs.dat"), record);
        EXPECT_EQ(report["label_at_end"], report["moves"]);
        EXPECT_EQ(report["label_after"], "0");
        EXPECT_EQ(report["best_name"], "Ada");
        EXPECT_EQ(report["best_moves"], report["moves"]);

        auto log = tst::readLines("gamelog.txt");
        auto at = [&](const std::string& line) { return std::find(log.begin(), log.end(), line) - log.begin(); };
        EXPECT_LT(at("--==: Starting Quorilla v. 1.0"), at("Loading highscore data..."));
        EXPECT_LT(at("Loading highscore data..."), at("Screenshot saved."));
        ASSERT_GE(log.size(), 4u);
        EXPECT_EQ(log[log.size() - 4], "--==: End of log.");

        checkScreenshot(report);
    }

    // At the same spot of every cell: covered cells look alike, free cells
    // alike, barriers alike, and the three kinds differ. Cells under the
    // piece or the cursor are left out.
    void checkScreenshot(std::map<std::string, std::string>& report)
    {
        std::string bmp = tst::readFile("screenshot1.bmp");
        ASSERT_GT(bmp.size(), 54u);
        int width = int(uint8_t(bmp[18])) | int(uint8_t(bmp[19])) << 8;
        int height = int(uint8_t(bmp[22])) | int(uint8_t(bmp[23])) << 8;
        std::istringstream g(report["geometry"]);
        int sx, sy, px, py;
        float ox, oy, cw, ch, cx, cy;
        g >> sx >> sy >> ox >> oy >> cw >> ch >> cx >> cy >> px >> py;
        const std::string& cells = report["cells"];
        ASSERT_EQ(cells.size(), size_t(sx * sy));
        std::map<char, std::set<uint32_t>> seen;
        for (int y = 0; y < sy; ++y)
            for (int x = 0; x < sx; ++x) {
                float left = ox + cw * float(x), top = oy + ch * float(y);
                bool underCursor = left < cx + 32 && cx < left + cw && top < cy + 32 && cy < top + ch;
                if ((x == px && y == py) || underCursor) continue;
                seen[cells[size_t(y * sx + x)]].insert(
                    pixel(bmp, width, height, int(left + cw * 0.3f), int(top + ch * 0.3f)));
            }
        ASSERT_EQ(seen.size(), 3u) << "free, barrier and covered cells on the shot";
        for (const auto& [kind, colours] : seen) EXPECT_EQ(colours.size(), 1u) << "cell kind " << kind;
        EXPECT_NE(*seen['0'].begin(), *seen['1'].begin());
        EXPECT_NE(*seen['0'].begin(), *seen['2'].begin());
        EXPECT_NE(*seen['1'].begin(), *seen['2'].begin());
    }
};

TEST_F(QuorilPlay, WholeGameFromLooseFiles)
{
    e2e::CopyGameData();
    playAndCheck();
}

TEST_F(QuorilPlay, WholeGameFromAPak)
{
    fs::create_directory("DATA");
    std::string error;
    ASSERT_TRUE(pak::buildPak(GAME_DATA_DIR, "DATA/quoril.pak", error)) << error;
    playAndCheck();
}

} // namespace
