// Quoril's start-up and shutdown: brings the engine up in its order
// (resources, video check, graphics, input, sound, scripts, GUI), loads the
// game's data, runs the main loop with the game's frame and ends it.
#include <new>

#include "engine/core/tns_window.h"
#include "game/gamelogic_main.h"
#include "game/gameplay_main.h"
#include "game/par_hint.h"
#include "game/resload_functions.h"
#include "gui/trsgui_ctarnisgui.h"

namespace {

constexpr int32_t kFileID = 1005;
int32_t g_iDisplayMode = 1;

void Engine_InitResourcesSubsystem()
{
    EHS_CHECKPOINT(kFileID);
    if (!g_pTRS) EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in Engine_InitResourcesSubsystem: pTRS == NULL!");
    g_pTRS->RES_Init();
    g_pTRS->RES_RegisterLoadResFunction(RESLOAD_Level, "LEVEL");
}

void CheckVideoModes()
{
    EHS_CHECKPOINT(kFileID);
    g_pTRS->GFX_Preinit(800, 600);
    TRSVIDEOCARDCAPS caps{};
    g_pTRS->GFX_GetVideoCardCaps(&caps);
    if (caps.Mode2.valid) {
        g_iDisplayMode = 2;
    } else if (caps.Mode1.valid) {
        g_iDisplayMode = 1;
    } else {
        MessageBox(nullptr, "No video modes available: your video card cannot handle 800x600x16bit resolution",
                   "No video modes available!", MB_OK);
        RequestQuit();
    }
}

void InitEngineSubsystems()
{
    EHS_CHECKPOINT(kFileID);
    g_pTRS->GFX_Init(g_iDisplayMode == 1 ? 1 : 2, false);
    g_pTRS->INP_Init();
    g_pTRS->SFX_Init(44100);
    g_pTRS->SCR_Init();
    g_pGUI = new (std::nothrow) CTarnisGUI;
    if (!g_pGUI) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create GUI Manager object!");
}

void InitGame()
{
    EHS_CHECKPOINT(kFileID);
    RegisterGameActions();
    for (int32_t tag = 1; tag <= 9; ++tag) g_pTRS->RES_LoadResources(tag);
    GamePlay_Init();
    ExecuteElementCommand("WND_DTP_MAINWINDOW", GUICMD_SHOW);
}

// Also the termination callback: it may run twice, and after a failed start.
void GameShutdown()
{
    FreeCurrentPiece();
    ParHint_Stop();
    if (g_pTRS) g_pTRS->SFX_MusicStop(3000);
    if (g_pGUI) {
        delete g_pGUI;
        g_pGUI = nullptr;
    }
}

} // namespace

void GameMain(CTarnis* tarnis)
{
    g_pTRS = tarnis;
    tarnis->LOG_WriteHeader("Quorilla", "v. 1.0");
    tarnis->SYS_RegisterCallback(GameShutdown, TRS_CALLBACK_TERMINATION);
    Engine_InitResourcesSubsystem();
    if (!IsQuitRequested()) CheckVideoModes();
    if (!IsQuitRequested()) InitEngineSubsystems();
    if (!IsQuitRequested()) {
        InitGame();
        RunMainLoop(GameFrame);
    }
    GameShutdown();
}
