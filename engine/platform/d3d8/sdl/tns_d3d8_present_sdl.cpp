// The software Direct3D 8 device's presenter on SDL2: shows the
// front buffer in the window's surface (scaled and letterboxed when the window
// is not the back buffer's size) and answers the desktop mode and minimised
// state. 32-bit window surfaces are drawn by our own scaler; other formats go
// through SDL's blits from a staging copy. Presents sleep to the refresh.
#include <new>
#include <vector>

#include "engine/platform/d3d8/tns_d3d8_presenter.h"
#include "engine/platform/d3d8/tns_d3d8_scaler.h"
#include "engine/platform/win32/tns_sdl_internal.h"

namespace {

class SdlPresenter final : public TnsPresenter {
public:
    ~SdlPresenter() override
    {
        if (source) SDL_FreeSurface(source);
    }
    void show(const uint32_t* pixels, int pitchPixels, const uint8_t* lutR, const uint8_t* lutG,
              const uint8_t* lutB) override;
    void waitForRetrace() override;
    bool isMinimised() const override { return TnsIsWindowMinimised(window); }

    HWND window = nullptr;
    int width = 0, height = 0;
    SDL_Surface* source = nullptr; // wraps whichever buffer is shown (other formats)
    std::vector<uint32_t> staging;  // gamma-mapped copy (other formats)
    TnsScaler scaler;
    void* lastArea = nullptr;       // the surface memory the scaler drew its bars in
    Uint64 period = 0;              // performance-counter ticks of one refresh
    Uint64 nextRetrace = 0;         // performance-counter time of the next refresh

private:
    bool showScaled(SDL_Surface* screen, const SDL_Rect& dst, const uint32_t* pixels, int pitchPixels,
                    const uint8_t* lutR, const uint8_t* lutG, const uint8_t* lutB);
};

// Our pixels are laid out as both 32-bit RGB formats, so such surfaces take
// them as they are.
bool sameLayout(Uint32 format)
{
    return format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
}

bool SdlPresenter::showScaled(SDL_Surface* screen, const SDL_Rect& dst, const uint32_t* pixels, int pitchPixels,
                              const uint8_t* lutR, const uint8_t* lutG, const uint8_t* lutB)
{
    if (!sameLayout(screen->format->format) || screen->pitch % 4 != 0) return false;
    if (!scaler.prepare(width, height, dst.x, dst.y, dst.w, dst.h, screen->w, screen->h)) return false;
    if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) return false;
    // A new surface of the same size still needs its bars.
    if (screen->pixels != lastArea) scaler.redrawBars();
    lastArea = screen->pixels;
    scaler.draw(pixels, pitchPixels, static_cast<uint32_t*>(screen->pixels), screen->pitch / 4, lutR, lutG, lutB);
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
    return true;
}

void SdlPresenter::show(const uint32_t* pixels, int pitchPixels, const uint8_t* lutR, const uint8_t* lutG,
                        const uint8_t* lutB)
{
    SDL_Window* sdl = TnsGetSdlWindow(window);
    if (!sdl) return;
    SDL_Surface* screen = SDL_GetWindowSurface(sdl);
    SDL_Rect dst;
    if (!screen || !TnsGetPresentRect(window, &dst)) return;
    if (showScaled(screen, dst, pixels, pitchPixels, lutR, lutG, lutB)) {
        SDL_UpdateWindowSurface(sdl);
        return;
    }
    // Other surface formats: SDL converts from the ARGB source while it blits.
    if (lutR) {
        for (int y = 0; y < height; ++y) {
            const uint32_t* src = pixels + size_t(y) * size_t(pitchPixels);
            uint32_t* out = staging.data() + size_t(y) * size_t(width);
            for (int x = 0; x < width; ++x) {
                uint32_t c = src[x];
                out[x] = 0xFF000000u | (uint32_t(lutR[(c >> 16) & 0xFF]) << 16) |
                         (uint32_t(lutG[(c >> 8) & 0xFF]) << 8) | lutB[c & 0xFF];
            }
        }
        source->pixels = staging.data();
        source->pitch = width * 4;
    } else {
        // Shown in place: the surface only borrows the buffer for the blit.
        source->pixels = const_cast<uint32_t*>(pixels);
        source->pitch = pitchPixels * 4;
    }
    if (dst.w == width && dst.h == height) {
        SDL_BlitSurface(source, nullptr, screen, &dst);
    } else {
        SDL_BlitScaled(source, nullptr, screen, &dst);
    }
    SDL_UpdateWindowSurface(sdl);
}

void SdlPresenter::waitForRetrace()
{
    const Uint64 freq = SDL_GetPerformanceFrequency();
    Uint64 now = SDL_GetPerformanceCounter();
    if (nextRetrace > now && nextRetrace - now <= period) {
        SDL_Delay(Uint32((nextRetrace - now) * 1000 / freq));
        now = SDL_GetPerformanceCounter();
    }
    // Late frames start a new cadence instead of rushing to catch up.
    nextRetrace = (nextRetrace > now && nextRetrace - now <= period ? nextRetrace : now) + period;
}

} // namespace

std::unique_ptr<TnsPresenter> TnsOpenSdlPresenter(HWND window, int width, int height)
{
    if (!TnsGetSdlWindow(window) || width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<SdlPresenter> p(new (std::nothrow) SdlPresenter);
    if (!p) return nullptr;
    try {
        p->staging.assign(size_t(width) * size_t(height), 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    p->source = SDL_CreateRGBSurfaceWithFormatFrom(p->staging.data(), width, height, 32, width * 4,
                                                   SDL_PIXELFORMAT_ARGB8888);
    if (!p->source) return nullptr;
    // The back buffer's alpha is meaningless: copy, never blend.
    SDL_SetSurfaceBlendMode(p->source, SDL_BLENDMODE_NONE);
    SDL_DisplayMode mode{};
    const int hz = SDL_GetWindowDisplayMode(TnsGetSdlWindow(window), &mode) == 0 && mode.refresh_rate > 0
                       ? mode.refresh_rate
                       : 60;
    p->period = SDL_GetPerformanceFrequency() / Uint64(hz);
    p->window = window;
    p->width = width;
    p->height = height;
    return p;
}

bool TnsQueryDesktopMode(D3DDISPLAYMODE* mode)
{
    if (!TnsEnsureVideo()) return false;
    SDL_DisplayMode dm;
    if (SDL_GetDesktopDisplayMode(0, &dm) != 0 || dm.w <= 0 || dm.h <= 0) return false;
    D3DFORMAT format = D3DFMT_X8R8G8B8;
    if (SDL_BITSPERPIXEL(dm.format) == 16) format = D3DFMT_R5G6B5;
    else if (SDL_BITSPERPIXEL(dm.format) == 15) format = D3DFMT_X1R5G5B5;
    else if (SDL_BITSPERPIXEL(dm.format) == 8) format = D3DFMT_P8;
    *mode = D3DDISPLAYMODE{UINT(dm.w), UINT(dm.h), UINT(dm.refresh_rate), format};
    return true;
}
