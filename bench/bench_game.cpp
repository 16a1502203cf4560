// The real game's frame: Quoril brought up headless from the real DATA/ as its
// start-up does, then one frame per iteration on an injected 60 Hz clock (GUI
// update and render, board, piece, cursor, the present's copy), on the main
// screen and with a game in progress (moves sliding one after another, a new
// game when one ends). The present's pacing wait is skipped: it sleeps and
// costs no CPU. The peer is SDL2's software renderer drawing the puzzle frame
// LOVE is measured with (a full-screen background, 240 cells of 48 x 48 and 40
// glyphs of 16 x 16, blended) into an 800 x 600 surface.
#include <benchmark/benchmark.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "bench/bench_peer.h"
#include "engine/core/ctarnis.h"
#include "game/cgame_element.h"
#include "game/gamelogic_main.h"
#include "game/gameplay_main.h"
#include "game/par_hint.h"
#include "game/resload_functions.h"
#include "gui/trsgui_ctarnisgui.h"

// The presenter's pacing sleeps through SDL_Delay; the benchmark's frames do
// not wait for a display (only the engine, linked into this program, sees this).
extern "C" void SDL_Delay(Uint32) {}

namespace {

CTarnis* g_engine = nullptr;

void startGame()
{
    g_engine = new CTarnis;
    g_pTRS = g_engine;
    g_engine->LOG_WriteHeader("Quorilla", "v. 1.0");
    g_engine->RES_Init();
    g_engine->RES_RegisterLoadResFunction(RESLOAD_Level, "LEVEL");
    g_engine->GFX_Preinit(800, 600);
    g_engine->GFX_Init(2, false);
    g_engine->INP_Init();
    g_engine->SFX_Init(44100);
    g_engine->SCR_Init();
    g_pGUI = new CTarnisGUI;
    RegisterGameActions();
    for (int32_t tag = 1; tag <= 9; ++tag) g_engine->RES_LoadResources(tag);
    GamePlay_Init();
    ExecuteElementCommand("WND_DTP_MAINWINDOW", GUICMD_SHOW);
}

// One frame on the injected clock, with a left click at window pixels (x, y) when x >= 0.
void frame(int x = -1, int y = 0)
{
    g_engine->m_fFrameDeltaSec = 1.0f / 60.0f;
    g_engine->m_iFrameDelta = 16;
    g_engine->m_PrevMouseState.rgbButtons[0] = 0;
    g_engine->m_MouseState.rgbButtons[0] = x >= 0 ? 0x80 : 0;
    g_engine->m_ptCursor = POINT{x >= 0 ? x : 400, x >= 0 ? y : 300};
    GameFrame();
}

void clickCell(int cx, int cy)
{
    frame(int(g_fBoardOriginX + g_fCellWidth * (float(cx) + 0.5f)),
          int(g_fBoardOriginY + g_fCellHeight * (float(cy) + 0.5f)));
}

// Keeps a game going: a new board with the piece placed when none runs, else
// a move towards a free neighbour once the piece stands still.
void playOn()
{
    if (g_iGameState == GAMESTATE_NOGAME || g_iGameState == GAMESTATE_DIALOG || (g_pCurrentPiece && IsGameOver())) {
        for (const char* w : {"WND_DTP_COMPLETE", "WND_DTP_HIGHSCORE", "WND_DTP_HELP"})
            ExecuteElementCommand(w, GUICMD_HIDE);
        ExecuteElementCommand("WND_DTP_MAINWINDOW", GUICMD_ENABLE);
        StartGame();
        clickCell(g_Board.GetWidth() / 2, g_Board.GetHeight() / 2);
        return;
    }
    if (g_iGameState == GAMESTATE_STEERING && g_pCurrentPiece) {
        for (int dir = DIR_UP; dir <= DIR_LEFT; ++dir) {
            int x = g_pCurrentPiece->m_iCellX, y = g_pCurrentPiece->m_iCellY;
            StepInDirection(dir, x, y);
            if (g_Board.At(x, y) == CELL_FREE) return clickCell(x, y);
        }
    }
    frame();
}

void BM_Ours_MainScreen(benchmark::State& state)
{
    FreeCurrentPiece();
    g_iGameState = GAMESTATE_NOGAME;
    for (auto _ : state) frame();
}

void BM_Ours_GameInProgress(benchmark::State& state)
{
    for (auto _ : state) playOn();
}

// ---- the peer: SDL2's software renderer, the puzzle frame ----

SDL_Texture* gradient(SDL_Renderer* r, int w, int h, int seed)
{
    std::vector<uint32_t> px(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[size_t(y) * size_t(w) + size_t(x)] =
                uint32_t(64 + (x + y) * 191 / (w + h - 2)) << 24 | uint32_t(x * 255 / (w - 1)) << 16 |
                uint32_t(y * 255 / (h - 1)) << 8 | uint32_t((seed * 37 + x + y) & 0xFF);
    SDL_Texture* t = SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, w, h);
    SDL_UpdateTexture(t, nullptr, px.data(), w * 4);
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    return t;
}

void BM_SDL_PuzzleFrame(benchmark::State& state)
{
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* r = SDL_CreateSoftwareRenderer(target);
    SDL_Texture* bg = gradient(r, 800, 600, 1);
    SDL_Texture* cell = gradient(r, 48, 48, 2);
    SDL_Texture* cover = gradient(r, 48, 48, 3);
    SDL_Texture* font = gradient(r, 256, 256, 4);
    for (auto _ : state) {
        SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
        SDL_RenderClear(r);
        SDL_RenderCopy(r, bg, nullptr, nullptr);
        for (int i = 0; i < 120; ++i) {
            const SDL_Rect at{(i % 15) * 52 + 10, (i / 15) * 52 + 10, 48, 48}, over{at.x + 2, at.y + 2, 48, 48};
            SDL_RenderCopy(r, cell, nullptr, &at);
            SDL_RenderCopy(r, cover, nullptr, &over);
        }
        for (int i = 0; i < 40; ++i) {
            const SDL_Rect glyph{(i % 16) * 16, (i / 16) * 16, 16, 16}, at{20 + i * 18, 570, 16, 16};
            SDL_RenderCopy(r, font, &glyph, &at);
        }
        SDL_RenderFlush(r);
    }
    SDL_DestroyRenderer(r);
    SDL_FreeSurface(target);
}

BENCHMARK(BM_Ours_MainScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ours_GameInProgress)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SDL_PuzzleFrame)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The game runs where its DATA/ is; its logs go to a scratch folder.
    const std::filesystem::path source = TARNIS_SOURCE_DIR;
    char scratch[] = "/tmp/tarnis-bench-game-XXXXXX";
    if (!mkdtemp(scratch)) {
        perror("mkdtemp");
        return 1;
    }
    std::filesystem::create_directory_symlink(source / "DATA", std::filesystem::path(scratch) / "DATA");
    std::filesystem::current_path(scratch);
    startGame();
    const int rc = bench::runWithPeers(argc, argv,
                                       {{"BM_Ours_MainScreen", "BM_SDL_PuzzleFrame"},
                                        {"BM_Ours_GameInProgress", "BM_SDL_PuzzleFrame"}},
                                       {{"game frame, main screen", "BM_Ours_MainScreen", 1e-6, "ms", 1.0},
                                        {"game frame, game in progress", "BM_Ours_GameInProgress", 1e-6, "ms", 1.0}});
    FreeCurrentPiece();
    ParHint_Stop();
    delete g_pGUI;
    g_pGUI = nullptr;
    delete g_engine;
    std::filesystem::current_path(source);
    std::filesystem::remove_all(scratch);
    return rc;
}
