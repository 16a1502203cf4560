// DirectInput 8: the system keyboard and mouse as polled devices whose state is
// built from the input the event translation (dinput8/sdl/) hands over (keys,
// motion, buttons, wheel). Foreground means the game window is the active one: acquiring fails
// otherwise, and the focus events that deactivate the window take the device's
// acquisition away, which the next read reports.
// Limits: one state per device kind shared by all windows; exclusive levels and
// buffered data are not offered.
#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "engine/platform/dinput8/tns_dinput8_internal.h"
#include "engine/platform/win32/tns_com_object.h"

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

class Device final : public TnsComObject<IDirectInputDevice8>, private TnsInputSink {
public:
    explicit Device(Kind kind) : m_kind(kind) {}

    bool start() { return TnsConnectInput(this); }

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
        if (!TnsIsInputWindow(hwnd)) return kEHandle;
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
    // The last reference gone, the device stops hearing input events.
    ~Device() override { TnsDisconnectInput(this); }

    // A foreground device needs a live cooperative window that is the active one.
    bool windowAllows() const
    {
        if (!m_foreground) return true;
        // The window layer's activation state is what "foreground" means here: SDL's
        // keyboard focus is never granted by headless drivers, while the activation
        // messages are the same everywhere.
        return TnsIsInputWindow(m_window) && GetActiveWindow() == m_window;
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

    // Input as the event translation hands it over.
    HWND inputWindow() const override { return m_window; }
    void keyChanged(uint8_t dik, bool down) override
    {
        if (m_kind == Kind::Keyboard) m_keys[dik] = down ? 0x80 : 0;
    }
    void mouseMoved(int64_t dx, int64_t dy) override
    {
        if (m_kind != Kind::Mouse || !m_acquired) return;
        m_dx = saturatingAdd(m_dx, dx);
        m_dy = saturatingAdd(m_dy, dy);
    }
    void buttonChanged(int index, bool down) override
    {
        if (m_kind == Kind::Mouse) m_buttons[index] = down ? 0x80 : 0;
    }
    void wheelTurned(int64_t delta) override
    {
        if (m_kind == Kind::Mouse && m_acquired) m_dz = saturatingAdd(m_dz, delta);
    }
    void windowDeactivated() override
    {
        if (m_acquired && m_foreground) lose();
    }

    const Kind m_kind;
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

class DirectInput final : public TnsComObject<IDirectInput8> {
public:
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
    ~DirectInput() override = default;
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
