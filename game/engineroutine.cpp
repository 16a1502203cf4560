// Quoril's start-up, frame and shutdown: brings the engine up in order
// (resources, video check, graphics, input, sound, scripts), runs the main loop
// and ends it. The screens arrive with the GUI; until then a frame is cleared
// and presented, and Escape ends the game.
#include "engine/core/tns_window.h"
#include "engine/platform/dinput8/dinput8.h"
#include "game/resload_functions.h"

namespace {

constexpr int32_t kFileID = 1005;
CTarnis* g_pTRS = nullptr;
int32_t g_iDisplayMode = 1;

void GameShutdown()
{
    // Nothing of the game's own is held yet; the engine ends its subsystems.
}

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
}

void InitGame()
{
    EHS_CHECKPOINT(kFileID);
    for (int32_t tag = 1; tag <= 9; ++tag) g_pTRS->RES_LoadResources(tag);
}

bool GameFrame()
{
    if (g_pTRS->INP_KeyboardIsKeyClicked(DIK_ESCAPE)) return false;
    g_pTRS->GFX_SceneBegin();
    g_pTRS->GFX_SceneClearScreen(0.0f, 0.0f, 0.0f);
    g_pTRS->GFX_SceneEnd();
    g_pTRS->GFX_ScenePresent();
    if (g_pTRS->INP_KeyboardIsKeyClicked(DIK_F9)) g_pTRS->GFX_SceneMakeScreenshot();
    return true;
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
