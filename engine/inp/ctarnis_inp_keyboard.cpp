// The keyboard: device start, re-acquire, the per-frame sample with its
// click detection on the two key-state arrays, text entry with a fixed US
// character map, and the text-buffer operations.
#include <algorithm>
#include <cstring>
#include <string>

#include "engine/core/ctarnis.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_INP_KEYBOARD;

// Reserving more than this up front would only waste memory on absurd sizes;
// buffers that long may allocate while typing.
constexpr uint32_t kMaxReserve = 4096;

struct CharKey {
    uint8_t key;
    char plain;
    char shifted;
};

// Tried in this order; the first clicked key wins. Letters come first in
// alphabetical order, which is not the order of their key codes.
constexpr CharKey kCharMap[] = {
    {DIK_A, 'a', 'A'}, {DIK_B, 'b', 'B'}, {DIK_C, 'c', 'C'}, {DIK_D, 'd', 'D'}, {DIK_E, 'e', 'E'},
    {DIK_F, 'f', 'F'}, {DIK_G, 'g', 'G'}, {DIK_H, 'h', 'H'}, {DIK_I, 'i', 'I'}, {DIK_J, 'j', 'J'},
    {DIK_K, 'k', 'K'}, {DIK_L, 'l', 'L'}, {DIK_M, 'm', 'M'}, {DIK_N, 'n', 'N'}, {DIK_O, 'o', 'O'},
    {DIK_P, 'p', 'P'}, {DIK_Q, 'q', 'Q'}, {DIK_R, 'r', 'R'}, {DIK_S, 's', 'S'}, {DIK_T, 't', 'T'},
    {DIK_U, 'u', 'U'}, {DIK_V, 'v', 'V'}, {DIK_W, 'w', 'W'}, {DIK_X, 'x', 'X'}, {DIK_Y, 'y', 'Y'},
    {DIK_Z, 'z', 'Z'},
    {DIK_GRAVE, '`', '~'},
    {DIK_1, '1', '!'}, {DIK_2, '2', '@'}, {DIK_3, '3', '#'}, {DIK_4, '4', '$'}, {DIK_5, '5', '%'},
    {DIK_6, '6', '^'}, {DIK_7, '7', '&'}, {DIK_8, '8', '*'}, {DIK_9, '9', '('}, {DIK_0, '0', ')'},
    {DIK_MINUS, '-', '_'}, {DIK_EQUALS, '=', '+'},
    {DIK_LBRACKET, '[', '{'}, {DIK_RBRACKET, ']', '}'},
    {DIK_SEMICOLON, ';', ':'}, {DIK_APOSTROPHE, '\'', '"'}, {DIK_BACKSLASH, '\\', '|'},
    {DIK_COMMA, ',', '<'}, {DIK_PERIOD, '.', '>'}, {DIK_SLASH, '/', '?'},
    {DIK_NUMPAD0, '0', '0'}, {DIK_NUMPAD1, '1', '1'}, {DIK_NUMPAD2, '2', '2'}, {DIK_NUMPAD3, '3', '3'},
    {DIK_NUMPAD4, '4', '4'}, {DIK_NUMPAD5, '5', '5'}, {DIK_NUMPAD6, '6', '6'}, {DIK_NUMPAD7, '7', '7'},
    {DIK_NUMPAD8, '8', '8'}, {DIK_NUMPAD9, '9', '9'},
    {DIK_DIVIDE, '/', '/'}, {DIK_MULTIPLY, '*', '*'}, {DIK_SUBTRACT, '-', '-'}, {DIK_ADD, '+', '+'},
    {DIK_SPACE, ' ', ' '},
};

void logAcquireFailure(const char* text, HRESULT hr)
{
    CTarnis::LOG_AddLevelEntry(text, kLogWarning);
    CTarnis::LOG_AddLevelEntry(std::to_string(hr), kLogWarning);
}

} // namespace

void CTarnis::INP_KeyboardStart()
{
    EHS_CHECKPOINT(kFileID);
    HRESULT hr = m_pDirectInput->CreateDevice(GUID_SysKeyboard, &m_pKeyboard, nullptr);
    if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot create DirectInputDevice (Keyboard) object!");
    if (!m_pKeyboard) EHS_THROW(EHS_TYPE_GENERAL, 0, "Error: keyboard object is NULL!");
    hr = m_pKeyboard->SetDataFormat(&c_dfDIKeyboard);
    if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot set data format for Keyboard!");
    hr = m_pKeyboard->SetCooperativeLevel(m_hGameWindow, DISCL_FOREGROUND | DISCL_NONEXCLUSIVE | DISCL_NOWINKEY);
    if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot set cooperative level for Keyboard!");
    m_strTextBuffer.reserve(std::min(m_uTextBufferSize, kMaxReserve) + 1);
    INP_KeyboardReacquire();
}

void CTarnis::INP_KeyboardReacquire()
{
    if (!m_pKeyboard) return;
    // Not an error: the window may simply not have the focus yet.
    HRESULT hr = m_pKeyboard->Acquire();
    m_bKeyboardAcquired = SUCCEEDED(hr);
    if (FAILED(hr)) logAcquireFailure("Cannot acquire keyboard!", hr);
}

void CTarnis::INP_KeyboardUpdate()
{
    EHS_CHECKPOINT(kFileID);
    if (!m_pKeyboard) return;
    if (!m_bKeyboardAcquired) {
        if (FAILED(m_pKeyboard->Acquire())) {
            memset(m_aKeyState, 0, sizeof(m_aKeyState));
            memset(m_aPrevKeyState, 0, sizeof(m_aPrevKeyState));
            return;
        }
        m_bKeyboardAcquired = true;
    }
    memcpy(m_aPrevKeyState, m_aKeyState, sizeof(m_aKeyState));
    HRESULT hr = m_pKeyboard->GetDeviceState(sizeof(m_aKeyState), m_aKeyState);
    if (hr == DIERR_INPUTLOST) {
        hr = m_pKeyboard->Acquire();
        if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot reacquire Keyboard!");
        hr = m_pKeyboard->GetDeviceState(sizeof(m_aKeyState), m_aKeyState);
        if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Second try of getting Keyboard state failed!");
    } else if (FAILED(hr)) {
        EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot get Keyboard state!");
    }
    if (m_bTextEntryOn) INP_KeyboardTextEntryStep();
}

void CTarnis::INP_KeyboardTextEntryStep()
{
    if (INP_KeyboardIsKeyClicked(DIK_SPACE)) {
        m_strTextBuffer.push_back(' ');
    } else if (INP_KeyboardIsKeyClicked(DIK_BACK)) {
        if (!m_strTextBuffer.empty()) m_strTextBuffer.pop_back();
        return;
    } else if (const char c = INP_KeyboardGetClickedChar()) {
        m_strTextBuffer.push_back(c);
    }
    if (m_strTextBuffer.size() > m_uTextBufferSize) m_strTextBuffer.resize(m_uTextBufferSize);
}

char CTarnis::INP_KeyboardGetClickedChar() const
{
    const bool shift = INP_KeyboardIsKeyPressed(DIK_LSHIFT) || INP_KeyboardIsKeyPressed(DIK_RSHIFT);
    for (const CharKey& c : kCharMap)
        if (INP_KeyboardIsKeyClicked(c.key)) return shift ? c.shifted : c.plain;
    return 0;
}

void CTarnis::INP_KeyboardEnd()
{
    if (!m_pKeyboard) return;
    m_pKeyboard->Unacquire();
    m_bKeyboardAcquired = false;
    m_pKeyboard->Release();
    m_pKeyboard = nullptr;
}

uint8_t CTarnis::INP_KeyboardGetAnyPressedKey() const
{
    // Key 255 is never reported; no key produces it.
    for (int key = 0; key < 255; ++key)
        if (m_aKeyState[key] & 0x80) return uint8_t(key);
    return 0;
}

void CTarnis::INP_KeyboardSetTextInBuffer(const std::string& text)
{
    // The size limit applies at the next text entry step, not here.
    m_strTextBuffer = text;
}

void CTarnis::INP_KeyboardSetTextBufferSize(uint32_t size)
{
    m_uTextBufferSize = size;
    if (m_strTextBuffer.size() > size) m_strTextBuffer.resize(size);
    m_strTextBuffer.reserve(std::min(size, kMaxReserve) + 1);
}
