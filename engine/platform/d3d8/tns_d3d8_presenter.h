// Where the software device's pictures go, the same seam the audio outputs have:
// the window through SDL (d3d8/sdl/) or nowhere (d3d8/null/, for devices whose
// window has nothing to show pictures in). Either way the device keeps its
// front buffer readable, so headless runs and tests still see the pixels.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/platform/d3d8/d3d8.h"

class TnsPresenter {
public:
    virtual ~TnsPresenter() = default;
    // Shows 32-bit pixels scaled into the window; lut maps each channel (gamma) or is null.
    virtual void show(const uint32_t* pixels, int pitchPixels, const uint8_t* lutR, const uint8_t* lutG,
                      const uint8_t* lutB) = 0;
    // Paces full-screen presents to the display's refresh rate, as a presentation
    // interval of one would.
    virtual void waitForRetrace() = 0;
    // A minimised window loses the device.
    virtual bool isMinimised() const = 0;
};

// Null when the window has no SDL window to show pictures in; allocates
// everything a present needs.
std::unique_ptr<TnsPresenter> TnsOpenSdlPresenter(HWND window, int width, int height);
// Shows nothing, never waits and is never minimised.
std::unique_ptr<TnsPresenter> TnsOpenNullPresenter();

// The desktop's display mode; false when no video driver answers.
bool TnsQueryDesktopMode(D3DDISPLAYMODE* mode);
