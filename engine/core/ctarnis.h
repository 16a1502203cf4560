// The engine root object. One instance per process holds the state of every
// subsystem; each subsystem's operations live in its own source files and carry
// its prefix (SYS_, LOG_, RES_, GFX_, INP_, SFX_, SCR_).
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/ctarnis_ehs.h"
#include "engine/platform/tns_win32.h"

using TRSCALLBACK = void (*)();

// Kinds for SYS_RegisterCallback.
enum : int32_t {
    TRS_CALLBACK_LOSTFOCUS = 1,
    TRS_CALLBACK_RESTOREDFOCUS = 2,
    TRS_CALLBACK_TERMINATION = 3,
};

// Checkpoint file IDs of the core.
constexpr int32_t EHS_FILE_TNS_WINDOW = 111;
constexpr int32_t EHS_FILE_CTARNIS_CORE = 112;

class CTarnis {
public:
    CTarnis();
    // May raise: a subsystem end that fails reaches the process entry like any error.
    ~CTarnis() noexcept(false);
    CTarnis(const CTarnis&) = delete;
    CTarnis& operator=(const CTarnis&) = delete;

    static CTarnis* Instance() { return s_pInstance; }

    // ---- core (ctarnis_main.cpp) ----
    void SYS_RegisterCallback(TRSCALLBACK fn, int32_t kind);
    int SYS_UpdateAllSystems();
    int SYS_ProcessMessages();
    void SYS_UpdateTimer();
    float SYS_TimerGetDelta() const { return m_fFrameDeltaSec; }
    int32_t SYS_TimerGetFPS() const { return m_iFPS; }
    int32_t SYS_TimerGetDeltaMs() const { return m_iFrameDelta; }
    void SYS_OnFocusGained();
    void SYS_OnFocusLost();

    // ---- log (ctarnis_log.cpp) ----
    // The entry operations use no state of the object: they also serve the
    // process entry's handlers when the object was never created.
    static void LOG_AddEntry(const char* text);
    static void LOG_AddLevelEntry(const char* text, int32_t level);
    static void LOG_AddSeparator(int32_t kind);
    static void LOG_AddEmptyLines(int32_t count);
    static void LOG_AddEntry(const std::string& text) { LOG_AddEntry(text.c_str()); }
    static void LOG_AddLevelEntry(const std::string& text, int32_t level) { LOG_AddLevelEntry(text.c_str(), level); }
    void LOG_WriteHeader(const char* title, const char* version);
    static void LOG_WriteFooter();

    // Core members, in this order.
    bool m_bGraphicsCreated = false;
    bool m_bResourcesReady = false;
    bool m_bInputReady = false;
    bool m_bSoundReady = false;
    bool m_bScriptsReady = false;
    bool m_bGraphicsDeviceReady = false;
    std::string m_strAppTitle;
    std::string m_strAppVersion;
    uint32_t m_uCurrentTime = 0;
    uint32_t m_uPreviousTime = 0;
    int32_t m_iFrameDelta = 1;
    float m_fFrameDeltaSec = 0.001f;
    int32_t m_iFPSAccumulator = 0;
    // Starts at 0 so that the first completed second counts its own frames only.
    int32_t m_iFrameCounter = 0;
    int32_t m_iFPS = 1;
    TRSCALLBACK m_pfnLostFocus = nullptr;
    TRSCALLBACK m_pfnRestoredFocus = nullptr;
    TRSCALLBACK m_pfnTermination = nullptr;
    bool m_bXMLEncryptMode = false;
    bool m_bFatalShutdown = false;
    HWND m_hGameWindow = nullptr;

    // ---- subsystem hooks the core calls (defined by each subsystem) ----
    // Graphics (engine/gfx).
    bool GFX_DeviceExists() const;
    bool GFX_CheckDevice();
    void GFX_Deinit();
    // Drops a locked quad vertex buffer when the window loses the focus.
    void GFX_VQuadReleaseLock();
    // Resources (engine/res).
    void RES_Deinit();
    // Input (engine/inp).
    void INP_Update();
    void INP_Reacquire();
    void INP_Deinit();
    // Sound (engine/sfx).
    void SFX_Update();
    void SFX_Start();
    void SFX_Pause();
    void SFX_Deinit();
    // Scripts (engine/scr).
    void SCR_Deinit();

private:
    static inline CTarnis* s_pInstance = nullptr;
};

// The name of the Lua function called last, kept by the scripting subsystem for
// the fatal-error report (empty before any call).
const char* SCR_GetLastCalledFunctionName();

// Process-wide values of the core.
extern bool g_bWindowActive;
void RequestQuit();
bool IsQuitRequested();
