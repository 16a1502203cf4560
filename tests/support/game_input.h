// Mouse and keyboard events for the real game's window, pushed as SDL would
// deliver them, for the tests that play the game in process (they link SDL).
#pragma once

#include <SDL.h>

#include "engine/core/tns_window.h"
#include "engine/platform/win32/tns_sdl_internal.h"
#include "game/gameplay_main.h"

namespace tst {

// Events carry window pixels: the picture (800 × 600) may be scaled into a
// larger window, so a back-buffer pixel's middle is mapped out.
inline void pushGameEvent(Uint32 type, int bx, int by, SDL_Scancode key = SDL_SCANCODE_UNKNOWN)
{
    HWND hwnd = g_pTRS->m_hGameWindow;
    SDL_Rect shown{0, 0, 1, 1};
    int width = 1, height = 1;
    TnsGetPresentRect(hwnd, &shown);
    TNS_GetWindowBackBufferSize(hwnd, &width, &height);
    const int x = shown.x + (2 * bx + 1) * shown.w / (2 * width), y = shown.y + (2 * by + 1) * shown.h / (2 * height);
    SDL_Event ev{};
    ev.type = type;
    Uint32 window = SDL_GetWindowID(TnsGetSdlWindow(hwnd));
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
        ev.key = {type, 0, window, Uint8(type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED), 0, 0, 0, {key, 0, 0, 0}};
    } else if (type == SDL_MOUSEMOTION) {
        ev.motion = {type, 0, window, 0, 0, x, y, 0, 0};
    } else {
        ev.button = {type, 0, window, 0, SDL_BUTTON_LEFT, Uint8(type == SDL_MOUSEBUTTONDOWN), 1, 0, x, y};
    }
    SDL_PushEvent(&ev);
}

} // namespace tst
