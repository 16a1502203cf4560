// Shared setup of the input tests: a root object with the graphics readiness
// the input start checks, a real game window under the dummy video driver, and
// helpers that inject SDL events and run engine frames.
#pragma once

#include <string>

#include "engine/core/tns_window.h"
#include "engine/platform/win32/tns_sdl_internal.h"
#include "engine/platform/win32/tns_win32_testing.h"
#include "tests/support/sdl_events.h"
#include "tests/support/test_support.h"

namespace inptest {

class InputTest : public tst::InScratchDir {
protected:
    void SetUp() override
    {
        g_bWindowActive = false;
        m_tarnis = new CTarnis;
        m_tarnis->LOG_WriteHeader("Input Test", "v.1");
    }

    void TearDown() override
    {
        // The destructor ends input, and graphics when a test really started it;
        // otherwise the readiness set by startInput has nothing behind it.
        if (!m_tarnis->GFX_DeviceExists()) m_tarnis->m_bGraphicsDeviceReady = false;
        delete m_tarnis;
        if (m_window) DestroyGameWindow(m_window);
        // Events a test left unpumped must not reach the next one.
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    // Window (windowed unless said otherwise) and input started, as after GFX_Init.
    void startInput(int width = 800, int height = 600, bool windowed = true)
    {
        CreateGameWindow(&m_window, width, height, windowed);
        m_tarnis->m_bGraphicsDeviceReady = true;
        m_tarnis->INP_Init();
    }

    Uint32 windowId() const { return SDL_GetWindowID(TnsGetSdlWindow(m_tarnis->m_hGameWindow)); }

    void push(SDL_Event& ev) { ASSERT_EQ(SDL_PushEvent(&ev), 1); }

    void pushKey(SDL_Scancode scancode, bool down)
    {
        SDL_Event ev{};
        ev.key = {Uint32(down ? SDL_KEYDOWN : SDL_KEYUP), 0, windowId(), Uint8(down ? SDL_PRESSED : SDL_RELEASED),
                  0, 0, 0, {scancode, 0, 0, 0}};
        push(ev);
    }

    // Window pixels; the relative motion is the move from the previous position.
    void pushMotion(int x, int y, int xrel = 0, int yrel = 0)
    {
        SDL_Event ev{};
        ev.motion = {SDL_MOUSEMOTION, 0, windowId(), 0, 0, x, y, xrel, yrel};
        m_mouseX = x, m_mouseY = y;
        push(ev);
    }

    // At the last position moved to, as SDL reports button events.
    void pushButton(Uint8 button, bool down)
    {
        SDL_Event ev{};
        ev.button = {Uint32(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP), 0, windowId(), 0, button,
                     Uint8(down ? SDL_PRESSED : SDL_RELEASED), 1, 0, m_mouseX, m_mouseY};
        push(ev);
    }

    void pushWheel(int y)
    {
        SDL_Event ev{};
        ev.wheel = {SDL_MOUSEWHEEL, 0, windowId(), 0, 0, y, SDL_MOUSEWHEEL_NORMAL, 0.0f, float(y), 0, 0};
        push(ev);
    }

    void pushWindowEvent(Uint8 event) { ASSERT_TRUE(tst::pushWindowEvent(m_tarnis->m_hGameWindow, event)); }

    // One pass of the main loop's update step; 1 when the systems were updated.
    int frame() { return m_tarnis->SYS_UpdateAllSystems(); }

    // A key pressed in one frame and released in the next.
    void typeKey(SDL_Scancode scancode)
    {
        pushKey(scancode, true);
        ASSERT_EQ(frame(), 1);
        pushKey(scancode, false);
        ASSERT_EQ(frame(), 1);
    }

    CTarnis* m_tarnis = nullptr;
    HWND m_window = nullptr;
    int m_mouseX = 0, m_mouseY = 0;
};

} // namespace inptest
