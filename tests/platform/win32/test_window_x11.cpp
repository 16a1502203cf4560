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

class BareX11Test : public tst::InScratchDir {};

TEST_F(BareX11Test, FullScreenWindowCoversTheDesktop)
{
    if (strcmp(SDL_getenv("SDL_VIDEODRIVER"), "x11") != 0) GTEST_SKIP() << "needs an X server";
    CTarnis tarnis;
    SDL_Rect desktop{};
    ASSERT_TRUE(TnsEnsureVideo() && SDL_GetDisplayBounds(0, &desktop) == 0);
    for (bool switched : {false, true}) { // created full screen, or switched to it from a window
        HWND window = nullptr;
        CreateGameWindow(&window, 800, 600, switched);
        if (switched) SetWindowLong(window, GWL_STYLE, LONG(WS_POPUP));
        // The size the X server gives the window, not the one SDL believes in.
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        ASSERT_TRUE(SDL_GetWindowWMInfo(TnsGetSdlWindow(window), &info));
        XWindowAttributes a{};
        XSync(info.info.x11.display, False);
        XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &a);
        EXPECT_EQ(std::pair(a.width, a.height), std::pair(desktop.w, desktop.h)) << "switched " << switched;
        DestroyGameWindow(window);
    }
}

} // namespace
