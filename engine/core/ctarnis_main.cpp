// The root object's core: construction and the orderly end, the timer, the
// callbacks, focus handling and the per-frame update step.
#include <cstdio>

#include "engine/core/ctarnis.h"

bool g_bWindowActive = false;

namespace {
bool g_bQuitRequested = false;
} // namespace

void RequestQuit()
{
    g_bQuitRequested = true;
}

bool IsQuitRequested()
{
    return g_bQuitRequested;
}

CTarnis::CTarnis()
{
    s_pInstance = this;
    m_uCurrentTime = timeGetTime();
    m_uPreviousTime = m_uCurrentTime - 1;
    // Each run starts a fresh log.
    remove("gamelog.txt");
}

CTarnis::~CTarnis() noexcept(false)
{
    if (m_bFatalShutdown && m_pfnTermination) m_pfnTermination();
    if (m_bInputReady) INP_Deinit();
    if (m_bSoundReady) SFX_Deinit();
    if (m_bGraphicsCreated) GFX_Deinit();
    if (m_bResourcesReady) RES_Deinit();
    if (m_bScriptsReady) SCR_Deinit();
    LOG_WriteFooter();
    if (s_pInstance == this) s_pInstance = nullptr;
}

void CTarnis::SYS_RegisterCallback(TRSCALLBACK fn, int32_t kind)
{
    EHS_CHECKPOINT(EHS_FILE_CTARNIS_CORE);
    LOG_AddSeparator(1);
    switch (kind) {
    case TRS_CALLBACK_LOSTFOCUS:
        m_pfnLostFocus = fn;
        LOG_AddLevelEntry("Callback function for lost focus registered.", 4);
        break;
    case TRS_CALLBACK_RESTOREDFOCUS:
        m_pfnRestoredFocus = fn;
        LOG_AddLevelEntry("Callback function for restored focus registered.", 4);
        break;
    case TRS_CALLBACK_TERMINATION:
        m_pfnTermination = fn;
        LOG_AddLevelEntry("Callback function for termination registered.", 4);
        break;
    default:
        break;
    }
    LOG_AddSeparator(1);
    LOG_AddEmptyLines(1);
}

int CTarnis::SYS_ProcessMessages()
{
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
        if (msg.message == WM_QUIT) return -1;
    }
    return 0;
}

int CTarnis::SYS_UpdateAllSystems()
{
    EHS_CHECKPOINT(EHS_FILE_CTARNIS_CORE);
    if (SYS_ProcessMessages() == -1) return -1;
    if (!g_bWindowActive) return 0;
    if (GFX_DeviceExists() && !GFX_CheckDevice()) return 0;
    SYS_UpdateTimer();
    if (m_bInputReady) INP_Update();
    SFX_Update();
    return 1;
}

void CTarnis::SYS_UpdateTimer()
{
    uint32_t now = timeGetTime();
    // Unsigned difference: correct across the 49.7-day wrap of the clock.
    int64_t delta = int64_t(uint32_t(now - m_uPreviousTime));
    m_uCurrentTime = m_uPreviousTime = now;
    if (delta > 300) delta = 300;
    if (delta < 1) delta = 1;
    m_iFrameDelta = int32_t(delta);
    m_iFPSAccumulator += m_iFrameDelta;
    m_fFrameDeltaSec = float(m_iFrameDelta) * 0.001f;
    if (m_iFPSAccumulator >= 1000) {
        m_iFPS = m_iFrameCounter + 1;
        m_iFrameCounter = 0;
        m_iFPSAccumulator = 0;
    } else {
        ++m_iFrameCounter;
    }
}

void CTarnis::SYS_OnFocusGained()
{
    EHS_CHECKPOINT(EHS_FILE_CTARNIS_CORE);
    LOG_AddEntry("FOCUS GAINED");
    if (m_pfnRestoredFocus) m_pfnRestoredFocus();
    // Twice, so the time spent without focus does not reach the next delta.
    SYS_UpdateTimer();
    SYS_UpdateTimer();
    if (m_bInputReady) INP_Reacquire();
    SFX_Start();
}

void CTarnis::SYS_OnFocusLost()
{
    EHS_CHECKPOINT(EHS_FILE_CTARNIS_CORE);
    if (m_pfnLostFocus) m_pfnLostFocus();
    LOG_AddEntry("FOCUS LOST");
    GFX_VQuadReleaseLock();
    if (m_bSoundReady) SFX_Pause();
}
