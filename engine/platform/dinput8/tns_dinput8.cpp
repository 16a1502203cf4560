// DirectInput 8 on SDL2: the system keyboard and mouse as polled devices whose
// state is built from the events the window layer pumps (keys, motion, buttons,
// wheel). Foreground means the game window is the active one: acquiring fails
// otherwise, and the focus events that deactivate the window take the device's
// acquisition away, which the next read reports.
// Limits: one state per device kind shared by all windows; exclusive levels and
// buffered data are not offered.
#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "engine/platform/dinput8/dinput8.h"
#include "engine/platform/win32/tns_sdl_internal.h"

// The results of the COM headers for null out-pointers and bad window handles.
constexpr HRESULT kEPointer = HRESULT(0x80004003u);
constexpr HRESULT kEHandle = HRESULT(0x80070006u);

const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), 16, 2, 256, 256, nullptr};
const DIDATAFORMAT c_dfDIMouse2 = {sizeof(DIDATAFORMAT), 16, 2, sizeof(DIMOUSESTATE2), 11, nullptr};

namespace {

enum class Kind { Keyboard, Mouse };

LONG saturatingAdd(LONG a, int64_t b)
{
    return LONG(std::clamp<int64_t>(int64_t(a) + b, INT32_MIN, INT32_MAX));
}

class Device final : public IDirectInputDevice8 {
public:
    explicit Device(Kind kind) : m_kind(kind) {}

    bool start() { return TnsAddEventSink(&Device::onEvent, this); }

    ULONG AddRef() override { return ++m_refs; }

    ULONG Release() override
    {
        ULONG left = --m_refs;
        if (left == 0) {
            TnsRemoveEventSink(&Device::onEvent, this);
            delete this;
        }
        return left;
    }

    HRESULT SetDataFormat(const DIDATAFORMAT* format) override
    {
        if (m_acquired) return DIERR_ACQUIRED;
        const DIDATAFORMAT* mine = m_kind == Kind::Keyboard ? &c_dfDIKeyboard : &c_dfDIMouse2;
        if (format != mine) return DIERR_INVALIDPARAM;
        m_format = format;
        return DI_OK;
    }

    HRESULT SetCooperativeLevel(HWND hwnd, DWORD flags) override
    {
        if (m_acquired) return DIERR_ACQUIRED;
        const DWORD fg = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
        const DWORD ex = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
        if (fg == (DISCL_FOREGROUND | DISCL_BACKGROUND) || fg == 0) return DIERR_INVALIDPARAM;
        if (ex == (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE) || ex == 0) return DIERR_INVALIDPARAM;
        if (ex == DISCL_EXCLUSIVE) return DIERR_UNSUPPORTED;
        if (!TnsGetSdlWindow(hwnd)) return kEHandle;
        m_window = hwnd;
        m_foreground = fg == DISCL_FOREGROUND;
        return DI_OK;
    }

    HRESULT Acquire() override
    {
        if (!m_format) return DIERR_INVALIDPARAM;
        if (!windowAllows()) return DIERR_OTHERAPPHASPRIO;
        if (m_acquired) return DI_NOEFFECT;
        m_acquired = true;
        // Relative motion counts from the moment of acquisition.
        m_dx = m_dy = m_dz = 0;
        return DI_OK;
    }

    HRESULT Unacquire() override
    {
        if (!m_acquired) return DI_NOEFFECT;
        m_acquired = false;
        return DI_OK;
    }

    HRESULT GetDeviceState(DWORD size, void* data) override
    {
        if (!data || !m_format || size != m_format->dwDataSize) return DIERR_INVALIDPARAM;
        if (m_lost) {
            m_lost = false;
            return DIERR_INPUTLOST;
        }
        if (!m_acquired) return DIERR_NOTACQUIRED;
        if (m_kind == Kind::Keyboard) {
            memcpy(data, m_keys, sizeof(m_keys));
        } else {
            DIMOUSESTATE2 state{m_dx, m_dy, m_dz, {}};
            memcpy(state.rgbButtons, m_buttons, sizeof(m_buttons));
            memcpy(data, &state, sizeof(state));
            m_dx = m_dy = m_dz = 0;
        }
        return DI_OK;
    }

private:
    ~Device() override = default;

    // A foreground device needs a live cooperative window that is the active one.
    bool windowAllows() const
    {
        if (!m_foreground) return true;
        // The window layer's activation state is what "foreground" means here: SDL's
        // keyboard focus is never granted by headless drivers, while the activation
        // messages are the same everywhere.
        return TnsGetSdlWindow(m_window) && GetActiveWindow() == m_window;
    }

    // The device lost its acquisition behind the caller's back: what was held
    // down is forgotten (its release will never be seen), and the next read
    // tells the caller once.
    void lose()
    {
        m_acquired = false;
        m_lost = true;
        memset(m_keys, 0, sizeof(m_keys));
        memset(m_buttons, 0, sizeof(m_buttons));
        m_dx = m_dy = m_dz = 0;
    }

    static void onEvent(const SDL_Event& ev, void* user) { static_cast<Device*>(user)->handle(ev); }

    void handle(const SDL_Event& ev)
    {
        switch (ev.type) {
        case SDL_WINDOWEVENT:
            // The same events the window layer turns into deactivation messages.
            if (m_acquired && m_foreground && windowId() != 0 && ev.window.windowID == windowId() &&
                (ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST || ev.window.event == SDL_WINDOWEVENT_MINIMIZED))
                lose();
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (m_kind == Kind::Keyboard) {
                uint8_t dik = TNS_DikFromSdlScancode(ev.key.keysym.scancode);
                if (dik) m_keys[dik] = ev.type == SDL_KEYDOWN ? 0x80 : 0;
            }
            break;
        case SDL_MOUSEMOTION:
            if (m_kind == Kind::Mouse && m_acquired) {
                m_dx = saturatingAdd(m_dx, ev.motion.xrel);
                m_dy = saturatingAdd(m_dy, ev.motion.yrel);
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (m_kind == Kind::Mouse) {
                int index = buttonIndex(ev.button.button);
                if (index >= 0) m_buttons[index] = ev.type == SDL_MOUSEBUTTONDOWN ? 0x80 : 0;
            }
            break;
        case SDL_MOUSEWHEEL:
            if (m_kind == Kind::Mouse && m_acquired) {
                // DirectInput's positive Z is a turn away from the user, 120 a notch.
                int64_t notches = ev.wheel.y;
                if (ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
                m_dz = saturatingAdd(m_dz, notches * 120);
            }
            break;
        default:
            break;
        }
    }

    Uint32 windowId() const
    {
        SDL_Window* sdl = TnsGetSdlWindow(m_window);
        return sdl ? SDL_GetWindowID(sdl) : 0;
    }

    // SDL numbers left, middle, right, X1, X2 from 1; DirectInput has left,
    // right, middle, X1, X2 as buttons 0 to 4.
    static int buttonIndex(Uint8 button)
    {
        switch (button) {
        case SDL_BUTTON_LEFT: return 0;
        case SDL_BUTTON_RIGHT: return 1;
        case SDL_BUTTON_MIDDLE: return 2;
        default: return button >= SDL_BUTTON_X1 && button <= 8 ? button - 1 : -1;
        }
    }

    const Kind m_kind;
    ULONG m_refs = 1;
    const DIDATAFORMAT* m_format = nullptr;
    HWND m_window = nullptr;
    // Without a cooperative level a device works in the background level.
    bool m_foreground = false;
    bool m_acquired = false;
    bool m_lost = false;
    BYTE m_keys[256] = {};
    BYTE m_buttons[8] = {};
    LONG m_dx = 0, m_dy = 0, m_dz = 0;
};

class DirectInput final : public IDirectInput8 {
public:
    ULONG AddRef() override { return ++m_refs; }

    ULONG Release() override
    {
        ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

    HRESULT CreateDevice(REFGUID guid, IDirectInputDevice8** device, IUnknown* outer) override
    {
        if (!device) return kEPointer;
        *device = nullptr;
        if (outer) return DIERR_NOINTERFACE;
        Kind kind;
        if (guid == GUID_SysKeyboard) kind = Kind::Keyboard;
        else if (guid == GUID_SysMouse) kind = Kind::Mouse;
        else return DIERR_DEVICENOTREG;
        auto* created = new (std::nothrow) Device(kind);
        if (!created) return DIERR_OUTOFMEMORY;
        if (!created->start()) {
            created->Release();
            return DIERR_OUTOFMEMORY;
        }
        *device = created;
        return DI_OK;
    }

private:
    ~DirectInput() = default;
    ULONG m_refs = 1;
};

} // namespace

HRESULT DirectInput8Create(HINSTANCE, DWORD version, REFIID iid, void** out, IUnknown* outer)
{
    if (!out) return kEPointer;
    *out = nullptr;
    if (version < DIRECTINPUT_VERSION) return DIERR_OLDDIRECTINPUTVERSION;
    if (version > DIRECTINPUT_VERSION) return DIERR_BETADIRECTINPUTVERSION;
    if (!(iid == IID_IDirectInput8A) || outer) return DIERR_NOINTERFACE;
    auto* created = new (std::nothrow) DirectInput;
    if (!created) return DIERR_OUTOFMEMORY;
    *out = static_cast<IDirectInput8*>(created);
    return DI_OK;
}
