// The game window on a bare X server (no window manager, as under Xvfb): a
// full-screen window must really cover the desktop, or the desktop-sized
// picture is shown cropped to the window's old size. Run under xvfb-run.
#include <cstring>

#include "engine/core/tns_window.h"
#include "engine/platform/win32/tns_sdl_internal.h"
#include "tests/support/test_support.h"

// Last: Xlib's macros (None, Bool) would clash with the test framework's names.
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace {

// The size the X server gives the window, not the one SDL believes in.
SDL_Point serverSize(HWND window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    XWindowAttributes a{};
    if (!SDL_GetWindowWMInfo(TnsGetSdlWindow(window), &info) || info.subsystem != SDL_SYSWM_X11) return {0, 0};
    XSync(info.info.x11.display, False);
    XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &a);
    return {a.width, a.height};
}

class BareX11Test : public tst::InScratchDir {};

TEST_F(BareX11Test, FullScreenWindowCoversTheDesktop)
{
    if (strcmp(SDL_getenv("SDL_VIDEODRIVER"), "x11") != 0) GTEST_SKIP() << "needs an X server";
    CTarnis tarnis;
    ASSERT_TRUE(TnsEnsureVideo());
    SDL_Rect desktop{};
    ASSERT_EQ(SDL_GetDisplayBounds(0, &desktop), 0);
    // Created full screen, and switched to full screen from a window.
    for (bool startWindowed : {false, true}) {
        SCOPED_TRACE(startWindowed ? "switched" : "created");
        HWND window = nullptr;
        CreateGameWindow(&window, 800, 600, startWindowed);
        ASSERT_NE(window, nullptr);
        if (startWindowed) SetWindowLong(window, GWL_STYLE, LONG(WS_POPUP));
        SDL_Point size = serverSize(window);
        EXPECT_EQ(size.x, desktop.w);
        EXPECT_EQ(size.y, desktop.h);
        DestroyGameWindow(window);
    }
}

} // namespace
