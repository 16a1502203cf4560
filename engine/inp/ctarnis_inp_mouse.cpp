// The mouse: DirectInput buttons, relative motion and wheel sampled once per
// frame, and the cursor in client pixels from the window system, which also
// decides when the system cursor is hidden (while over the active window).
#include <cstring>
#include <string>

#include "engine/core/ctarnis.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_INP_MOUSE;

void logAcquireFailure(HRESULT hr)
{
    CTarnis::LOG_AddLevelEntry("Cannot acquire mouse!", kLogWarning);
    CTarnis::LOG_AddLevelEntry(std::to_string(hr), kLogWarning);
}

bool buttonDown(const DIMOUSESTATE2& state, uint8_t button)
{
    // Buttons are numbered from 1; numbers outside 1..8 name no button.
    return button >= 1 && button <= 8 && (state.rgbButtons[button - 1] & 0x80) != 0;
}

} // namespace

void CTarnis::INP_MouseStart()
{
    EHS_CHECKPOINT(kFileID);
    HRESULT hr = m_pDirectInput->CreateDevice(GUID_SysMouse, &m_pMouse, nullptr);
    if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot create DirectInputDevice (Mouse) object!");
    if (!m_pMouse) EHS_THROW(EHS_TYPE_GENERAL, 0, "Error: mouse object is NULL!");
    hr = m_pMouse->SetDataFormat(&c_dfDIMouse2);
    if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot set data format for Mouse!");
    hr = m_pMouse->SetCooperativeLevel(m_hGameWindow, DISCL_FOREGROUND | DISCL_NONEXCLUSIVE);
    if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot set cooperative level for Mouse!");
    INP_MouseReacquire();
}

void CTarnis::INP_MouseReacquire()
{
    if (!m_pMouse) return;
    HRESULT hr = m_pMouse->Acquire();
    m_bMouseAcquired = SUCCEEDED(hr);
    if (FAILED(hr)) logAcquireFailure(hr);
}

void CTarnis::INP_MouseUpdate()
{
    EHS_CHECKPOINT(kFileID);
    if (!m_pMouse) return;
    if (!m_bMouseAcquired) {
        if (FAILED(m_pMouse->Acquire())) {
            m_MouseState = DIMOUSESTATE2{};
            m_PrevMouseState = DIMOUSESTATE2{};
            return;
        }
        m_bMouseAcquired = true;
    }
    m_PrevMouseState = m_MouseState;
    HRESULT hr = m_pMouse->GetDeviceState(sizeof(DIMOUSESTATE2), &m_MouseState);
    if (hr == DIERR_INPUTLOST) {
        hr = m_pMouse->Acquire();
        if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot reacquire Mouse!");
        hr = m_pMouse->GetDeviceState(sizeof(DIMOUSESTATE2), &m_MouseState);
        if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Second try of getting Mouse state failed!");
    } else if (FAILED(hr)) {
        EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot get Mouse state!");
    }

    m_ptPrevCursor = m_ptCursor;
    POINT cursor{};
    if (GetCursorPos(&cursor) && ScreenToClient(m_hGameWindow, &cursor)) m_ptCursor = cursor;

    m_bCursorWasInside = m_bCursorInside;
    RECT client{};
    m_bCursorInside = g_bWindowActive && GetClientRect(m_hGameWindow, &client) && PtInRect(&client, m_ptCursor);
    // Each crossing makes one call, so the calls pair up with the display counter.
    if (m_bCursorInside && !m_bCursorWasInside) ShowCursor(FALSE);
    else if (!m_bCursorInside && m_bCursorWasInside) ShowCursor(TRUE);
}

void CTarnis::INP_MouseEnd()
{
    if (!m_pMouse) return;
    m_pMouse->Unacquire();
    m_bMouseAcquired = false;
    m_pMouse->Release();
    m_pMouse = nullptr;
    // Undo only our own hiding: an unpaired show would leave the display
    // counter raised, and a later start could then never hide the cursor.
    if (m_bCursorInside) ShowCursor(TRUE);
    m_bCursorInside = m_bCursorWasInside = false;
}

uint8_t CTarnis::INP_MouseGetAnyPressedKey() const
{
    for (uint8_t button = 1; button <= 8; ++button)
        if (buttonDown(m_MouseState, button)) return button;
    return 0;
}

bool CTarnis::INP_MouseIsKeyPressed(uint8_t button) const
{
    return buttonDown(m_MouseState, button);
}

bool CTarnis::INP_MouseIsKeyClicked(uint8_t button) const
{
    return buttonDown(m_MouseState, button) && !buttonDown(m_PrevMouseState, button);
}
