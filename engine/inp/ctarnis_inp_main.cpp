// Input subsystem start and end, and the per-frame and focus-gain hooks the core
// calls. The DirectInput object is shared by the keyboard and the mouse; each
// device keeps its own start, sample and end in its own file.
#include <string>

#include "engine/core/ctarnis.h"
#include "engine/core/tns_window.h"

namespace {
constexpr int32_t kFileID = EHS_FILE_INP_MAIN;
} // namespace

void CTarnis::INP_Init()
{
    EHS_CHECKPOINT(kFileID);
    // Set first: a failed start is still ended by the destructor, which is why
    // every end step below copes with devices that were never created.
    m_bInputReady = true;
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddLevelEntry("Initializing Input Subsystem...", kLogSection);
    if (!m_bGraphicsDeviceReady)
        EHS_THROW(EHS_TYPE_GAME, 0, "Input system should be initialized after graphics system!");

    void* created = nullptr;
    HRESULT hr = DirectInput8Create(TNS_GetInstanceHandle(), DIRECTINPUT_VERSION, IID_IDirectInput8A, &created,
                                    nullptr);
    if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot create DirectInput object!");
    m_pDirectInput = static_cast<IDirectInput8*>(created);
    if (!m_pDirectInput) EHS_THROW(EHS_TYPE_GENERAL, 0, "Error: Direct Input object is NULL!");

    INP_KeyboardStart();
    INP_MouseStart();
    LOG_AddLevelEntry("Done.", kLogDone);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddEmptyLines(1);
}

void CTarnis::INP_Reacquire()
{
    INP_KeyboardReacquire();
    INP_MouseReacquire();
}

void CTarnis::INP_Update()
{
    INP_KeyboardUpdate();
    INP_MouseUpdate();
}

void CTarnis::INP_Deinit()
{
    EHS_CHECKPOINT(kFileID);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddLevelEntry("Deinitializing Input Subsystem...", kLogSection);
    INP_MouseEnd();
    INP_KeyboardEnd();
    if (m_pDirectInput) {
        m_pDirectInput->Release();
        m_pDirectInput = nullptr;
    }
    LOG_AddLevelEntry("Done.", kLogDone);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddEmptyLines(1);
    m_bInputReady = false;
}
