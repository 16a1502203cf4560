// The Tarnis script host: runs a data folder whose Lua scripts drive the engine
// through the script API. It brings every subsystem up and the GUI manager
// after the scripts, loads the resources tagged 1 to 9 (GUI screens among
// them), calls the script's OnStart() once and OnFrame() every frame;
// OnFrame returning false ends the run (so do TRS_SYS_RequestQuit(), Escape
// without an OnFrame, the window's close button, SIGINT and SIGTERM).
//
// While the GUI holds elements (from GUI data or made by the script), the host
// owns the scene: each frame it updates the GUI, begins and clears the scene,
// calls OnFrame (which draws without beginning, ending or presenting), draws
// the GUI over it, ends and presents. Without GUI elements OnFrame runs the
// scene itself.
//
//   tarnis [--frames N] [--fullscreen | --windowed] [FOLDER]
// FOLDER is the folder holding DATA/ (default: the current one); --frames ends
// the run after N frames (smoke tests, start-up measurements). A window is the
// default where the desktop allows one; full screen is what screenshots need.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "engine/core/tns_window.h"
#include "engine/platform/dinput8/dinput8.h"
#include "gui/trsgui_ctarnisgui.h"

namespace {

enum class Display { Default, FullScreen, Windowed };

CTarnis* g_pTRS = nullptr;
std::unique_ptr<CTarnisGUI> g_pGUI;
long g_frameLimit = -1;
long g_frames = 0;
Display g_display = Display::Default;

// The GUI's elements go before the subsystems they use.
void HostShutdown()
{
    g_pGUI.reset();
}

bool chooseDisplay(int32_t* mode, bool* windowed)
{
    TRSVIDEOCARDCAPS caps{};
    g_pTRS->GFX_GetVideoCardCaps(&caps);
    const bool canWindow = caps.CanRenderWindowed && caps.Mode3.valid;
    if (g_display == Display::Windowed && !canWindow)
        CTarnis::LOG_AddLevelEntry("Windowed rendering is not possible on this desktop: running full screen.", 5);
    if (canWindow && g_display != Display::FullScreen) {
        *mode = 3;
        *windowed = true;
    } else if (caps.Mode2.valid) {
        *mode = 2;
        *windowed = false;
    } else if (caps.Mode1.valid) {
        *mode = 1;
        *windowed = false;
    } else {
        return false;
    }
    return true;
}

bool callOnFrame()
{
    CTarnis* t = g_pTRS;
    t->SCR_CallFunction("OnFrame", -1);
    const auto& results = t->SCR_GetResults();
    if (!results.empty()) {
        // The first result decides; results come last first.
        const CLuaValue& first = results.back();
        return first.GetType() != LUAVAL_BOOLEAN || first.GetBoolean();
    }
    return !(t->m_strLastLuaFunction == "OnFrame" && t->INP_KeyboardIsKeyClicked(DIK_ESCAPE));
}

bool HostFrame()
{
    ++g_frames;
    CTarnis* t = g_pTRS;
    g_pGUI->Update();
    bool keepRunning = true;
    if (g_pGUI->GetElementCount() > 1) {
        t->GFX_SceneBegin();
        t->GFX_SceneClearScreen(0.0f, 0.0f, 0.0f);
        keepRunning = callOnFrame();
        g_pGUI->Render();
        t->GFX_SceneEnd();
        t->GFX_ScenePresent();
    } else {
        keepRunning = callOnFrame();
    }
    if (g_frameLimit >= 0 && g_frames >= g_frameLimit) keepRunning = false;
    return keepRunning;
}

} // namespace

void GameMain(CTarnis* tarnis)
{
    g_pTRS = tarnis;
    tarnis->LOG_WriteHeader("Tarnis Host", "v.1.0");
    tarnis->SYS_RegisterCallback(HostShutdown, TRS_CALLBACK_TERMINATION);
    tarnis->RES_Init();
    tarnis->GFX_Preinit(800, 600);
    int32_t mode = 0;
    bool windowed = false;
    if (!chooseDisplay(&mode, &windowed)) {
        MessageBox(nullptr, "No usable 800x600 display mode was found.", "Tarnis", MB_OK | MB_ICONERROR);
        return;
    }
    tarnis->GFX_Init(mode, windowed);
    tarnis->INP_Init();
    tarnis->SFX_Init(44100);
    tarnis->SCR_Init();
    g_pGUI = std::make_unique<CTarnisGUI>();
    for (int32_t tag = 1; tag <= 9; ++tag) tarnis->RES_LoadResources(tag);
    tarnis->SCR_CallFunction("OnStart", -1);
    RunMainLoop(HostFrame);
    g_pGUI.reset();
}

int main(int argc, char** argv)
{
    const char* folder = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--frames") && i + 1 < argc) {
            char* end = nullptr;
            g_frameLimit = strtol(argv[++i], &end, 10);
            if (!end || *end || g_frameLimit < 0) {
                fprintf(stderr, "tarnis: --frames takes a whole number, not '%s'\n", argv[i]);
                return 2;
            }
        } else if (!strcmp(argv[i], "--fullscreen") && g_display == Display::Default) {
            g_display = Display::FullScreen;
        } else if (!strcmp(argv[i], "--windowed") && g_display == Display::Default) {
            g_display = Display::Windowed;
        } else if (!folder && argv[i][0] != '-') {
            folder = argv[i];
        } else {
            fprintf(stderr, "usage: tarnis [--frames N] [--fullscreen | --windowed] [FOLDER]\n");
            return 2;
        }
    }
    if (folder && chdir(folder) != 0) {
        fprintf(stderr, "tarnis: cannot enter '%s': %s\n", folder, strerror(errno));
        return 1;
    }
    return TNS_RunEntry(nullptr, "Tarnis App", GameMain);
}
