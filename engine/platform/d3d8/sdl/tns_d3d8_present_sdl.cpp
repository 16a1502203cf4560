// Presentation backend of the software Direct3D 8 device on SDL2: shows the
// front buffer in the window's surface (scaled and letterboxed when the window
// is not the back buffer's size) and answers the desktop mode and minimised
// state. Limits: nearest-neighbour scaling; gamma is applied on a staging copy.
// The wrapper surface is recreated only when the window's pixel format changes.
#include <new>
#include <vector>

#include "engine/platform/d3d8/tns_d3d8_internal.h"
#include "engine/platform/win32/tns_sdl_internal.h"

struct TnsPresenter {
    HWND window = nullptr;
    int width = 0, height = 0;
    SDL_Surface* source = nullptr; // wraps whichever buffer is shown
    std::vector<uint32_t> staging;  // gamma-mapped copy
    Uint64 nextRetrace = 0;         // performance-counter time of the next refresh
};

TnsPresenter* TnsPresenterCreate(HWND window, int width, int height)
{
    if (!TnsGetSdlWindow(window) || width <= 0 || height <= 0) return nullptr;
    auto* p = new (std::nothrow) TnsPresenter;
    if (!p) return nullptr;
    try {
        p->staging.assign(size_t(width) * size_t(height), 0);
    } catch (const std::bad_alloc&) {
        delete p;
        return nullptr;
    }
    p->source = SDL_CreateRGBSurfaceWithFormatFrom(p->staging.data(), width, height, 32, width * 4,
                                                   SDL_PIXELFORMAT_ARGB8888);
    if (!p->source) {
        delete p;
        return nullptr;
    }
    // The back buffer's alpha is meaningless: copy, never blend.
    SDL_SetSurfaceBlendMode(p->source, SDL_BLENDMODE_NONE);
    p->window = window;
    p->width = width;
    p->height = height;
    return p;
}

void TnsPresenterDestroy(TnsPresenter* p)
{
    if (!p) return;
    if (p->source) SDL_FreeSurface(p->source);
    delete p;
}

void TnsPresenterShow(TnsPresenter* p, const uint32_t* pixels, int pitchPixels, const uint8_t* lutR,
                      const uint8_t* lutG, const uint8_t* lutB)
{
    SDL_Window* sdl = TnsGetSdlWindow(p->window);
    if (!sdl) return;
    SDL_Surface* screen = SDL_GetWindowSurface(sdl);
    SDL_Rect dst;
    if (!screen || !TnsGetPresentRect(p->window, &dst)) return;
    // Our pixels are laid out as both 32-bit RGB formats: naming the screen's
    // one lets SDL copy and stretch without converting.
    const Uint32 screenFormat = screen->format->format;
    const Uint32 want = screenFormat == SDL_PIXELFORMAT_RGB888 || screenFormat == SDL_PIXELFORMAT_ARGB8888
                            ? screenFormat
                            : Uint32(SDL_PIXELFORMAT_ARGB8888);
    if (p->source->format->format != want) {
        SDL_Surface* again = SDL_CreateRGBSurfaceWithFormatFrom(p->staging.data(), p->width, p->height, 32,
                                                                p->width * 4, want);
        if (!again) return;
        SDL_SetSurfaceBlendMode(again, SDL_BLENDMODE_NONE);
        SDL_FreeSurface(p->source);
        p->source = again;
    }
    if (lutR) {
        for (int y = 0; y < p->height; ++y) {
            const uint32_t* src = pixels + size_t(y) * size_t(pitchPixels);
            uint32_t* out = p->staging.data() + size_t(y) * size_t(p->width);
            for (int x = 0; x < p->width; ++x) {
                uint32_t c = src[x];
                out[x] = 0xFF000000u | (uint32_t(lutR[(c >> 16) & 0xFF]) << 16) |
                         (uint32_t(lutG[(c >> 8) & 0xFF]) << 8) | lutB[c & 0xFF];
            }
        }
        p->source->pixels = p->staging.data();
        p->source->pitch = p->width * 4;
    } else {
        // Shown in place: the surface only borrows the buffer for the blit.
        p->source->pixels = const_cast<uint32_t*>(pixels);
        p->source->pitch = pitchPixels * 4;
    }
    if (dst.w == p->width && dst.h == p->height) {
        SDL_BlitSurface(p->source, nullptr, screen, &dst);
    } else {
        SDL_BlitScaled(p->source, nullptr, screen, &dst);
    }
    SDL_UpdateWindowSurface(sdl);
}

void TnsPresenterWaitForRetrace(TnsPresenter* p)
{
    SDL_Window* sdl = TnsGetSdlWindow(p->window);
    SDL_DisplayMode mode{};
    int hz = sdl && SDL_GetWindowDisplayMode(sdl, &mode) == 0 && mode.refresh_rate > 0 ? mode.refresh_rate : 60;
    const Uint64 freq = SDL_GetPerformanceFrequency(), period = freq / Uint64(hz);
    Uint64 now = SDL_GetPerformanceCounter();
    if (p->nextRetrace > now && p->nextRetrace - now <= period) {
        SDL_Delay(Uint32((p->nextRetrace - now) * 1000 / freq));
        now = SDL_GetPerformanceCounter();
    }
    // Late frames start a new cadence instead of rushing to catch up.
    p->nextRetrace = (p->nextRetrace > now && p->nextRetrace - now <= period ? p->nextRetrace : now) + period;
}

bool TnsPresenterIsMinimised(HWND window)
{
    return TnsIsWindowMinimised(window);
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
