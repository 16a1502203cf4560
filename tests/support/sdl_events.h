// SDL events pushed as the video driver would send them to a game window, for
// the tests of the window, input and graphics layers (which link SDL anyway).
#pragma once

#include <SDL.h>

#include "engine/platform/win32/tns_sdl_internal.h"

namespace tst {

inline bool pushWindowEvent(HWND window, Uint8 event)
{
    SDL_Event ev{};
    ev.type = SDL_WINDOWEVENT;
    ev.window.windowID = SDL_GetWindowID(TnsGetSdlWindow(window));
    ev.window.event = event;
    return SDL_PushEvent(&ev) == 1;
}

} // namespace tst
