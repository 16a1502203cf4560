// The cursor position of the window-system subset (GetCursorPos, ScreenToClient,
// PtInRect), standing in for the Win32 user calls. The position follows the SDL
// mouse events the window layer pumps, so injected events move it too; client
// coordinates are back-buffer pixels with any letterbox scaling undone.
// Limits: SDL reports the mouse only over our windows, so when the cursor leaves
// one it is placed just past the edge it was last nearest to.
#include <algorithm>

#include "engine/platform/win32/tns_sdl_internal.h"

namespace {

// Screen position; (0, 0) until the first mouse event.
POINT g_screen{0, 0};

SDL_Window* windowFromId(Uint32 id)
{
    return id != 0 ? SDL_GetWindowFromID(id) : nullptr;
}

// Events carry window-relative positions; an event without a known window is
// taken as already being in screen coordinates.
void setFromWindow(Uint32 windowId, int x, int y)
{
    int ox = 0, oy = 0;
    if (SDL_Window* w = windowFromId(windowId)) SDL_GetWindowPosition(w, &ox, &oy);
    g_screen = POINT{ox + x, oy + y};
}

void moveOutside(Uint32 windowId)
{
    SDL_Window* w = windowFromId(windowId);
    if (!w) return;
    int ox = 0, oy = 0, width = 0, height = 0;
    SDL_GetWindowPosition(w, &ox, &oy);
    SDL_GetWindowSize(w, &width, &height);
    const int lx = g_screen.x - ox, ly = g_screen.y - oy;
    if (lx < 0 || ly < 0 || lx >= width || ly >= height) return;
    const int toLeft = lx, toRight = width - 1 - lx, toTop = ly, toBottom = height - 1 - ly;
    const int nearest = std::min({toLeft, toRight, toTop, toBottom});
    if (nearest == toLeft) g_screen.x = ox - 1;
    else if (nearest == toRight) g_screen.x = ox + width;
    else if (nearest == toTop) g_screen.y = oy - 1;
    else g_screen.y = oy + height;
}

void track(const SDL_Event& ev, void*)
{
    switch (ev.type) {
    case SDL_MOUSEMOTION:
        setFromWindow(ev.motion.windowID, ev.motion.x, ev.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        setFromWindow(ev.button.windowID, ev.button.x, ev.button.y);
        break;
    case SDL_WINDOWEVENT:
        if (ev.window.event == SDL_WINDOWEVENT_LEAVE) moveOutside(ev.window.windowID);
        break;
    default:
        break;
    }
}

// Registered before main, so no event the pump ever takes is missed. The sink
// table is constant-initialised, so this runs safely in any initialisation order.
[[maybe_unused]] const bool g_tracking = TnsAddEventSink(&track, nullptr);

} // namespace

BOOL GetCursorPos(POINT* point)
{
    if (!point) return FALSE;
    *point = g_screen;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point)
{
    SDL_Window* sdl = TnsGetSdlWindow(hwnd);
    if (!sdl || !point) return FALSE;
    int ox = 0, oy = 0;
    SDL_GetWindowPosition(sdl, &ox, &oy);
    int bx = 0, by = 0;
    if (!TnsWindowToBackBuffer(hwnd, point->x - ox, point->y - oy, &bx, &by)) return FALSE;
    *point = POINT{bx, by};
    return TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point)
{
    if (!rect) return FALSE;
    return point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom;
}
