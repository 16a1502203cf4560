// The DirectInput 8 subset the engine reads the keyboard and mouse through:
// the system keyboard and mouse, polled with GetDeviceState. Implemented on the
// SDL events the window layer pumps. Not supported: joysticks, buffered data,
// exclusive cooperative levels, effects, device enumeration.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/platform/win32/tns_win32.h"

// COM basics shared with the other DirectX-style subsets: the aliases may be
// repeated, and the macros are spelled exactly as the others spell them.
using ULONG = uint32_t;
using HRESULT = int32_t;
using BYTE = uint8_t;
#ifndef FAILED
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)
#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#endif

#ifndef TNS_GUID_DEFINED
#define TNS_GUID_DEFINED
struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
inline bool operator==(const GUID& a, const GUID& b)
{
    return memcmp(&a, &b, sizeof(GUID)) == 0;
}
#endif
using REFGUID = const GUID&;
using REFIID = const GUID&;
// Aggregation is never supported; the outer object only keeps the call shapes.
class IUnknown;

constexpr DWORD DIRECTINPUT_VERSION = 0x0800;

inline constexpr GUID IID_IDirectInput8A = {0xBF798030, 0x483A, 0x4DA2,
                                           {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
inline constexpr GUID GUID_SysMouse = {0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_SysKeyboard = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// Result codes, with the values of the DirectInput headers.
constexpr HRESULT DI_OK = 0;
constexpr HRESULT DI_NOEFFECT = 1;
constexpr HRESULT DIERR_INVALIDPARAM = HRESULT(0x80070057u);
constexpr HRESULT DIERR_NOINTERFACE = HRESULT(0x80004002u);
constexpr HRESULT DIERR_OUTOFMEMORY = HRESULT(0x8007000Eu);
constexpr HRESULT DIERR_UNSUPPORTED = HRESULT(0x80004001u);
constexpr HRESULT DIERR_GENERIC = HRESULT(0x80004005u);
constexpr HRESULT DIERR_HANDLEEXISTS = HRESULT(0x80070005u);
constexpr HRESULT DIERR_OTHERAPPHASPRIO = HRESULT(0x80070005u);
constexpr HRESULT DIERR_NOTACQUIRED = HRESULT(0x8007000Cu);
constexpr HRESULT DIERR_INPUTLOST = HRESULT(0x8007001Eu);
constexpr HRESULT DIERR_ACQUIRED = HRESULT(0x800700AAu);
constexpr HRESULT DIERR_DEVICENOTREG = HRESULT(0x80040154u);
constexpr HRESULT DIERR_OLDDIRECTINPUTVERSION = HRESULT(0x8007047Eu);
constexpr HRESULT DIERR_BETADIRECTINPUTVERSION = HRESULT(0x80070481u);

// Cooperative levels.
constexpr DWORD DISCL_EXCLUSIVE = 0x00000001;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x00000002;
constexpr DWORD DISCL_FOREGROUND = 0x00000004;
constexpr DWORD DISCL_BACKGROUND = 0x00000008;
constexpr DWORD DISCL_NOWINKEY = 0x00000010;

// Only the two predefined formats exist; a device accepts the one of its kind.
struct DIDATAFORMAT {
    DWORD dwSize;
    DWORD dwObjSize;
    DWORD dwFlags;
    DWORD dwDataSize;
    DWORD dwNumObjs;
    const void* rgodf;
};
extern const DIDATAFORMAT c_dfDIKeyboard;
extern const DIDATAFORMAT c_dfDIMouse2;

// Relative motion since the last read (X, Y in device units, Z in wheel units of
// 120 a notch, positive away from the user); buttons down when 0x80 is set.
struct DIMOUSESTATE2 {
    LONG lX;
    LONG lY;
    LONG lZ;
    BYTE rgbButtons[8];
};
static_assert(sizeof(DIMOUSESTATE2) == 20);

class IDirectInputDevice8 {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
    // One of DISCL_FOREGROUND / DISCL_BACKGROUND with DISCL_NONEXCLUSIVE;
    // DISCL_NOWINKEY is accepted, but the system keys still reach the desktop.
    virtual HRESULT SetCooperativeLevel(HWND hwnd, DWORD flags) = 0;
    // In the foreground level this fails with DIERR_OTHERAPPHASPRIO while the
    // window is not the active one; DI_NOEFFECT when already acquired.
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
    // 256 bytes indexed by DIK_* codes, or a DIMOUSESTATE2. DIERR_INPUTLOST once
    // after the device lost its acquisition (focus change), DIERR_NOTACQUIRED
    // while it is not acquired otherwise.
    virtual HRESULT GetDeviceState(DWORD size, void* data) = 0;

protected:
    virtual ~IDirectInputDevice8() = default;
};

class IDirectInput8 {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    // GUID_SysKeyboard or GUID_SysMouse; DIERR_DEVICENOTREG for anything else.
    virtual HRESULT CreateDevice(REFGUID guid, IDirectInputDevice8** device, IUnknown* outer) = 0;

protected:
    virtual ~IDirectInput8() = default;
};

HRESULT DirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid, void** out, IUnknown* outer);

// Tarnis addition: the DIK_* code an SDL scancode stands for, 0 for keys the
// DirectInput keyboard has no code for (and for values out of range).
uint8_t TNS_DikFromSdlScancode(int scancode);

// Key codes (scan codes of the PC keyboard, as in the DirectInput headers).
constexpr uint8_t DIK_ESCAPE = 0x01;
constexpr uint8_t DIK_1 = 0x02;
constexpr uint8_t DIK_2 = 0x03;
constexpr uint8_t DIK_3 = 0x04;
constexpr uint8_t DIK_4 = 0x05;
constexpr uint8_t DIK_5 = 0x06;
constexpr uint8_t DIK_6 = 0x07;
constexpr uint8_t DIK_7 = 0x08;
constexpr uint8_t DIK_8 = 0x09;
constexpr uint8_t DIK_9 = 0x0A;
constexpr uint8_t DIK_0 = 0x0B;
constexpr uint8_t DIK_MINUS = 0x0C;
constexpr uint8_t DIK_EQUALS = 0x0D;
constexpr uint8_t DIK_BACK = 0x0E;
constexpr uint8_t DIK_TAB = 0x0F;
constexpr uint8_t DIK_Q = 0x10;
constexpr uint8_t DIK_W = 0x11;
constexpr uint8_t DIK_E = 0x12;
constexpr uint8_t DIK_R = 0x13;
constexpr uint8_t DIK_T = 0x14;
constexpr uint8_t DIK_Y = 0x15;
constexpr uint8_t DIK_U = 0x16;
constexpr uint8_t DIK_I = 0x17;
constexpr uint8_t DIK_O = 0x18;
constexpr uint8_t DIK_P = 0x19;
constexpr uint8_t DIK_LBRACKET = 0x1A;
constexpr uint8_t DIK_RBRACKET = 0x1B;
constexpr uint8_t DIK_RETURN = 0x1C;
constexpr uint8_t DIK_LCONTROL = 0x1D;
constexpr uint8_t DIK_A = 0x1E;
constexpr uint8_t DIK_S = 0x1F;
constexpr uint8_t DIK_D = 0x20;
constexpr uint8_t DIK_F = 0x21;
constexpr uint8_t DIK_G = 0x22;
constexpr uint8_t DIK_H = 0x23;
constexpr uint8_t DIK_J = 0x24;
constexpr uint8_t DIK_K = 0x25;
constexpr uint8_t DIK_L = 0x26;
constexpr uint8_t DIK_SEMICOLON = 0x27;
constexpr uint8_t DIK_APOSTROPHE = 0x28;
constexpr uint8_t DIK_GRAVE = 0x29;
constexpr uint8_t DIK_LSHIFT = 0x2A;
constexpr uint8_t DIK_BACKSLASH = 0x2B;
constexpr uint8_t DIK_Z = 0x2C;
constexpr uint8_t DIK_X = 0x2D;
constexpr uint8_t DIK_C = 0x2E;
constexpr uint8_t DIK_V = 0x2F;
constexpr uint8_t DIK_B = 0x30;
constexpr uint8_t DIK_N = 0x31;
constexpr uint8_t DIK_M = 0x32;
constexpr uint8_t DIK_COMMA = 0x33;
constexpr uint8_t DIK_PERIOD = 0x34;
constexpr uint8_t DIK_SLASH = 0x35;
constexpr uint8_t DIK_RSHIFT = 0x36;
constexpr uint8_t DIK_MULTIPLY = 0x37;
constexpr uint8_t DIK_LMENU = 0x38;
constexpr uint8_t DIK_SPACE = 0x39;
constexpr uint8_t DIK_CAPITAL = 0x3A;
constexpr uint8_t DIK_F1 = 0x3B;
constexpr uint8_t DIK_F2 = 0x3C;
constexpr uint8_t DIK_F3 = 0x3D;
constexpr uint8_t DIK_F4 = 0x3E;
constexpr uint8_t DIK_F5 = 0x3F;
constexpr uint8_t DIK_F6 = 0x40;
constexpr uint8_t DIK_F7 = 0x41;
constexpr uint8_t DIK_F8 = 0x42;
constexpr uint8_t DIK_F9 = 0x43;
constexpr uint8_t DIK_F10 = 0x44;
constexpr uint8_t DIK_NUMLOCK = 0x45;
constexpr uint8_t DIK_SCROLL = 0x46;
constexpr uint8_t DIK_NUMPAD7 = 0x47;
constexpr uint8_t DIK_NUMPAD8 = 0x48;
constexpr uint8_t DIK_NUMPAD9 = 0x49;
constexpr uint8_t DIK_SUBTRACT = 0x4A;
constexpr uint8_t DIK_NUMPAD4 = 0x4B;
constexpr uint8_t DIK_NUMPAD5 = 0x4C;
constexpr uint8_t DIK_NUMPAD6 = 0x4D;
constexpr uint8_t DIK_ADD = 0x4E;
constexpr uint8_t DIK_NUMPAD1 = 0x4F;
constexpr uint8_t DIK_NUMPAD2 = 0x50;
constexpr uint8_t DIK_NUMPAD3 = 0x51;
constexpr uint8_t DIK_NUMPAD0 = 0x52;
constexpr uint8_t DIK_DECIMAL = 0x53;
constexpr uint8_t DIK_OEM_102 = 0x56;
constexpr uint8_t DIK_F11 = 0x57;
constexpr uint8_t DIK_F12 = 0x58;
constexpr uint8_t DIK_F13 = 0x64;
constexpr uint8_t DIK_F14 = 0x65;
constexpr uint8_t DIK_F15 = 0x66;
constexpr uint8_t DIK_KANA = 0x70;
constexpr uint8_t DIK_ABNT_C1 = 0x73;
constexpr uint8_t DIK_CONVERT = 0x79;
constexpr uint8_t DIK_NOCONVERT = 0x7B;
constexpr uint8_t DIK_YEN = 0x7D;
constexpr uint8_t DIK_ABNT_C2 = 0x7E;
constexpr uint8_t DIK_NUMPADEQUALS = 0x8D;
constexpr uint8_t DIK_PREVTRACK = 0x90;
constexpr uint8_t DIK_AT = 0x91;
constexpr uint8_t DIK_COLON = 0x92;
constexpr uint8_t DIK_UNDERLINE = 0x93;
constexpr uint8_t DIK_KANJI = 0x94;
constexpr uint8_t DIK_STOP = 0x95;
constexpr uint8_t DIK_AX = 0x96;
constexpr uint8_t DIK_UNLABELED = 0x97;
constexpr uint8_t DIK_NEXTTRACK = 0x99;
constexpr uint8_t DIK_NUMPADENTER = 0x9C;
constexpr uint8_t DIK_RCONTROL = 0x9D;
constexpr uint8_t DIK_MUTE = 0xA0;
constexpr uint8_t DIK_CALCULATOR = 0xA1;
constexpr uint8_t DIK_PLAYPAUSE = 0xA2;
constexpr uint8_t DIK_MEDIASTOP = 0xA4;
constexpr uint8_t DIK_VOLUMEDOWN = 0xAE;
constexpr uint8_t DIK_VOLUMEUP = 0xB0;
constexpr uint8_t DIK_WEBHOME = 0xB2;
constexpr uint8_t DIK_NUMPADCOMMA = 0xB3;
constexpr uint8_t DIK_DIVIDE = 0xB5;
constexpr uint8_t DIK_SYSRQ = 0xB7;
constexpr uint8_t DIK_RMENU = 0xB8;
constexpr uint8_t DIK_PAUSE = 0xC5;
constexpr uint8_t DIK_HOME = 0xC7;
constexpr uint8_t DIK_UP = 0xC8;
constexpr uint8_t DIK_PRIOR = 0xC9;
constexpr uint8_t DIK_LEFT = 0xCB;
constexpr uint8_t DIK_RIGHT = 0xCD;
constexpr uint8_t DIK_END = 0xCF;
constexpr uint8_t DIK_DOWN = 0xD0;
constexpr uint8_t DIK_NEXT = 0xD1;
constexpr uint8_t DIK_INSERT = 0xD2;
constexpr uint8_t DIK_DELETE = 0xD3;
constexpr uint8_t DIK_LWIN = 0xDB;
constexpr uint8_t DIK_RWIN = 0xDC;
constexpr uint8_t DIK_APPS = 0xDD;
constexpr uint8_t DIK_POWER = 0xDE;
constexpr uint8_t DIK_SLEEP = 0xDF;
constexpr uint8_t DIK_WAKE = 0xE3;
constexpr uint8_t DIK_WEBSEARCH = 0xE5;
constexpr uint8_t DIK_WEBFAVORITES = 0xE6;
constexpr uint8_t DIK_WEBREFRESH = 0xE7;
constexpr uint8_t DIK_WEBSTOP = 0xE8;
constexpr uint8_t DIK_WEBFORWARD = 0xE9;
constexpr uint8_t DIK_WEBBACK = 0xEA;
constexpr uint8_t DIK_MYCOMPUTER = 0xEB;
constexpr uint8_t DIK_MAIL = 0xEC;
constexpr uint8_t DIK_MEDIASELECT = 0xED;

// Alternate names, as in the DirectInput headers.
constexpr uint8_t DIK_BACKSPACE = DIK_BACK;
constexpr uint8_t DIK_NUMPADSTAR = DIK_MULTIPLY;
constexpr uint8_t DIK_LALT = DIK_LMENU;
constexpr uint8_t DIK_CAPSLOCK = DIK_CAPITAL;
constexpr uint8_t DIK_NUMPADMINUS = DIK_SUBTRACT;
constexpr uint8_t DIK_NUMPADPLUS = DIK_ADD;
constexpr uint8_t DIK_NUMPADPERIOD = DIK_DECIMAL;
constexpr uint8_t DIK_NUMPADSLASH = DIK_DIVIDE;
constexpr uint8_t DIK_RALT = DIK_RMENU;
constexpr uint8_t DIK_UPARROW = DIK_UP;
constexpr uint8_t DIK_PGUP = DIK_PRIOR;
constexpr uint8_t DIK_LEFTARROW = DIK_LEFT;
constexpr uint8_t DIK_RIGHTARROW = DIK_RIGHT;
constexpr uint8_t DIK_DOWNARROW = DIK_DOWN;
constexpr uint8_t DIK_PGDN = DIK_NEXT;
