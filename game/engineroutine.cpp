// Quoril's start-up and main loop. This first version brings up the engine
// spine only: the log, the shutdown callback and an 800 x 600 window.
#include "engine/core/tns_window.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
HWND g_hWindow = nullptr;

void GameShutdown()
{
    if (g_hWindow) {
        DestroyGameWindow(g_hWindow);
        g_hWindow = nullptr;
    }
}

bool GameFrame()
{
    // Nothing is drawn yet; keep the idle loop from spinning a core.
    Sleep(15);
    return true;
}

} // namespace

void GameMain(CTarnis* tarnis)
{
    tarnis->LOG_WriteHeader("Quoril", "v.1.0");
    tarnis->SYS_RegisterCallback(GameShutdown, TRS_CALLBACK_TERMINATION);
    CreateGameWindow(&g_hWindow, kWidth, kHeight, true);
    RunMainLoop(GameFrame);
    GameShutdown();
}
