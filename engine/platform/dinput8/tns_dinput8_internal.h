// Between the DirectInput devices and the translation of the window system's
// events (dinput8/sdl/): input arrives already in DirectInput terms, so the
// devices keep only state. Nothing outside engine/platform includes this.
#pragma once

#include <cstdint>

#include "engine/platform/dinput8/dinput8.h"

class TnsInputSink {
public:
    // The device's cooperative window (null before it has one).
    virtual HWND inputWindow() const = 0;
    virtual void keyChanged(uint8_t dik, bool down) = 0;
    virtual void mouseMoved(int64_t dx, int64_t dy) = 0;
    // Buttons in DirectInput order: left, right, middle, X1, X2 as 0 to 4.
    virtual void buttonChanged(int index, bool down) = 0;
    // Positive is a turn away from the user, 120 a notch.
    virtual void wheelTurned(int64_t delta) = 0;
    // The cooperative window lost the focus or was minimised.
    virtual void windowDeactivated() = 0;

protected:
    ~TnsInputSink() = default;
};

// Starts and stops handing the window system's input to the sink, on the thread
// that pumps messages; false when no more sinks fit.
bool TnsConnectInput(TnsInputSink* sink);
void TnsDisconnectInput(TnsInputSink* sink);
// True for a live window that input can come from.
bool TnsIsInputWindow(HWND window);
