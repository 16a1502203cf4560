// The Tarnis script host: runs a data folder whose Lua scripts drive the engine
// through the script API. It brings every subsystem up, loads the resources
// tagged 1 to 9, calls the script's OnStart() once and OnFrame() every frame;
// OnFrame returning false ends the run (so do Escape without an OnFrame, the
// window's close button, SIGINT and SIGTERM).
//
//   tarnis [--frames N] [FOLDER]
// FOLDER is the folder holding DATA/ (default: the current one); --frames ends
// the run after N frames (smoke tests, start-up measurements).
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/core/tns_window.h"
#include "engine/platform/dinput8/dinput8.h"

namespace {

CTarnis* g_pTRS = nullptr;
long g_frameLimit = -1;
long g_frames = 0;

void HostShutdown() {}

bool chooseDisplay(int32_t* mode, bool* windowed)
{
    TRSVIDEOCARDCAPS caps{};
    g_pTRS->GFX_GetVideoCardCaps(&caps);
    // A window when the desktop can host one; otherwise full screen.
    if (caps.CanRenderWindowed && caps.Mode3.valid) {
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

bool HostFrame()
{
    ++g_frames;
    CTarnis* t = g_pTRS;
    t->SCR_CallFunction("OnFrame", -1);
    const auto& results = t->SCR_GetResults();
    bool keepRunning = true;
    if (!results.empty()) {
        // The first result decides; results come last first.
        const CLuaValue& first = results.back();
        if (first.GetType() == LUAVAL_BOOLEAN) keepRunning = first.GetBoolean();
    } else if (t->m_strLastLuaFunction == "OnFrame" && t->INP_KeyboardIsKeyClicked(DIK_ESCAPE)) {
        keepRunning = false;
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
    for (int32_t tag = 1; tag <= 9; ++tag) tarnis->RES_LoadResources(tag);
    tarnis->SCR_CallFunction("OnStart", -1);
    RunMainLoop(HostFrame);
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
        } else if (!folder && argv[i][0] != '-') {
            folder = argv[i];
        } else {
            fprintf(stderr, "usage: tarnis [--frames N] [FOLDER]\n");
            return 2;
        }
    }
    if (folder && chdir(folder) != 0) {
        fprintf(stderr, "tarnis: cannot enter '%s': %s\n", folder, strerror(errno));
        return 1;
    }
    return TNS_RunEntry(nullptr, "Tarnis App", GameMain);
}
