// The SDL events the window layer pumps, translated for the DirectInput devices:
// keys by scan code, relative motion, buttons in DirectInput's order, wheel
// notches, and the focus loss of a device's cooperative window.
#include "engine/platform/dinput8/tns_dinput8_internal.h"
#include "engine/platform/win32/tns_sdl_internal.h"

namespace {

// SDL numbers left, middle, right, X1, X2 from 1; DirectInput has left,
// right, middle, X1, X2 as buttons 0 to 4.
int buttonIndex(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    default: return button >= SDL_BUTTON_X1 && button <= 8 ? button - 1 : -1;
    }
}

bool isSinkWindow(const TnsInputSink& sink, Uint32 windowId)
{
    SDL_Window* sdl = TnsGetSdlWindow(sink.inputWindow());
    return sdl && SDL_GetWindowID(sdl) == windowId;
}

void translate(const SDL_Event& ev, void* user)
{
    auto& sink = *static_cast<TnsInputSink*>(user);
    switch (ev.type) {
    case SDL_WINDOWEVENT:
        // The same events the window layer turns into deactivation messages.
        if ((ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST || ev.window.event == SDL_WINDOWEVENT_MINIMIZED) &&
            isSinkWindow(sink, ev.window.windowID))
            sink.windowDeactivated();
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (uint8_t dik = TNS_DikFromSdlScancode(ev.key.keysym.scancode)) sink.keyChanged(dik, ev.type == SDL_KEYDOWN);
        break;
    case SDL_MOUSEMOTION:
        sink.mouseMoved(ev.motion.xrel, ev.motion.yrel);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (int index = buttonIndex(ev.button.button); index >= 0)
            sink.buttonChanged(index, ev.type == SDL_MOUSEBUTTONDOWN);
        break;
    case SDL_MOUSEWHEEL:
        sink.wheelTurned(int64_t(ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y) * 120);
        break;
    default:
        break;
    }
}

} // namespace

bool TnsConnectInput(TnsInputSink* sink)
{
    return TnsAddEventSink(&translate, sink);
}

void TnsDisconnectInput(TnsInputSink* sink)
{
    TnsRemoveEventSink(&translate, sink);
}

bool TnsIsInputWindow(HWND window)
{
    return TnsGetSdlWindow(window) != nullptr;
}
