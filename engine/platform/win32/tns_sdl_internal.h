// Shared between the SDL-backed platform modules only (window system, graphics
// presentation, input, audio). Nothing outside engine/platform includes this.
#pragma once

#include <SDL.h>

#include "engine/platform/win32/tns_win32.h"

// Starts the SDL video subsystem once (and the event subsystem with it); false
// when no video driver can be opened. Each SDL subsystem is started on its own,
// so a failing audio driver never takes video down.
bool TnsEnsureVideo();

// The SDL window behind a window handle, or null (unknown or destroyed handle).
SDL_Window* TnsGetSdlWindow(HWND hwnd);

// True while the window is minimised (from its window events or SDL's flag).
bool TnsIsWindowMinimised(HWND hwnd);

// Every SDL event the message pump takes is also handed to the registered sinks
// (the input devices read keys and the mouse this way), on the pumping thread.
using TnsEventSink = void (*)(const SDL_Event& event, void* user);
bool TnsAddEventSink(TnsEventSink sink, void* user);
void TnsRemoveEventSink(TnsEventSink sink, void* user);

// True while the quit signal (SIGINT/SIGTERM) has arrived but not yet been posted.
bool TnsTakeQuitSignal();

// Where the back buffer appears inside the window: the whole window when their
// sizes match, else scaled by a uniform factor and centred (letterboxing).
// False for an unknown window.
bool TnsGetPresentRect(HWND hwnd, SDL_Rect* dst);

// Maps a point in window pixels (SDL event coordinates) to back-buffer pixels,
// undoing the letterbox scaling. Points on the bars map outside the buffer.
bool TnsWindowToBackBuffer(HWND hwnd, int wx, int wy, int* bx, int* by);
