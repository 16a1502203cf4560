// The present path: the 800 x 600 front buffer into the window's surface at
// the desktop's sizes (a 1:1 copy, then letterbox-scaled to 1280 x 720,
// 1920 x 1080 and 2560 x 1440), without and with gamma, through the engine's
// SDL presenter on the dummy video driver (whose surface update is free, so
// the figure is our copy alone). Peers: a plain nearest-neighbour loop over the
// same pixels (the memory-bandwidth floor) and SDL's scaled blit.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/bench_peer.h"
#include "engine/platform/d3d8/tns_d3d8_presenter.h"
#include "engine/platform/win32/tns_sdl_internal.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr SDL_Point kSizes[] = {{800, 600}, {1280, 720}, {1920, 1080}, {2560, 1440}};

std::vector<uint32_t> g_picture;
uint8_t g_lut[256];
HWND g_window = nullptr;

LRESULT benchProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

bool startWindow()
{
    WNDCLASSEX wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = benchProc;
    wc.lpszClassName = "bench_present";
    if (!RegisterClassEx(&wc)) return false;
    g_window = CreateWindowEx(0, "bench_present", "bench", WS_CAPTION, 0, 0, kWidth, kHeight, nullptr, nullptr,
                              nullptr, nullptr);
    g_picture.resize(size_t(kWidth) * kHeight);
    for (size_t i = 0; i < g_picture.size(); ++i) g_picture[i] = 0xFF000000u | uint32_t(i * 0x9E3779B1u >> 8);
    for (int i = 0; i < 256; ++i) g_lut[i] = uint8_t(255 - i);
    return g_window != nullptr;
}

// The window at a desktop size; its surface and where the picture goes in it.
SDL_Surface* sizeWindow(const benchmark::State& state, SDL_Rect* dst)
{
    const SDL_Point size = kSizes[state.range(0)];
    SDL_Window* sdl = TnsGetSdlWindow(g_window);
    SDL_SetWindowSize(sdl, size.x, size.y);
    SDL_Surface* screen = SDL_GetWindowSurface(sdl);
    TnsGetPresentRect(g_window, dst);
    return screen;
}

void labelSize(benchmark::State& state)
{
    const SDL_Point size = kSizes[state.range(0)];
    state.SetLabel(std::to_string(size.x) + "x" + std::to_string(size.y) + (state.range(1) ? " gamma" : ""));
}

void BM_Ours_Present(benchmark::State& state)
{
    SDL_Rect dst;
    if (!sizeWindow(state, &dst)) return state.SkipWithError("no window surface");
    std::unique_ptr<TnsPresenter> presenter = TnsOpenSdlPresenter(g_window, kWidth, kHeight);
    if (!presenter) return state.SkipWithError("no presenter");
    const uint8_t* lut = state.range(1) ? g_lut : nullptr;
    for (auto _ : state) presenter->show(g_picture.data(), kWidth, lut, lut, lut);
    labelSize(state);
}

// Every shown pixel fetched from its nearest source pixel (16.16 fixed-point
// steps), one at a time.
void BM_Floor_Present(benchmark::State& state)
{
    SDL_Rect dst;
    SDL_Surface* screen = sizeWindow(state, &dst);
    if (!screen) return state.SkipWithError("no window surface");
    const bool gamma = state.range(1) != 0;
    const uint32_t stepX = (uint32_t(kWidth) << 16) / uint32_t(dst.w), stepY = (uint32_t(kHeight) << 16) / uint32_t(dst.h);
    for (auto _ : state) {
        for (int y = 0; y < dst.h; ++y) {
            const uint32_t* in = g_picture.data() + size_t((uint32_t(y) * stepY) >> 16) * kWidth;
            auto* out = static_cast<uint32_t*>(screen->pixels) + size_t(dst.y + y) * size_t(screen->pitch / 4) + dst.x;
            for (int x = 0; x < dst.w; ++x) {
                const uint32_t c = in[(uint32_t(x) * stepX) >> 16];
                out[x] = gamma ? 0xFF000000u | (uint32_t(g_lut[(c >> 16) & 0xFF]) << 16) |
                                     (uint32_t(g_lut[(c >> 8) & 0xFF]) << 8) | g_lut[c & 0xFF]
                               : c;
            }
        }
        benchmark::ClobberMemory();
    }
    labelSize(state);
}

// SDL's blit (scaled unless 1:1), gamma on a staging copy first.
void BM_SDL_Present(benchmark::State& state)
{
    SDL_Rect dst;
    SDL_Surface* screen = sizeWindow(state, &dst);
    if (!screen) return state.SkipWithError("no window surface");
    std::vector<uint32_t> staging(g_picture.size());
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(g_picture.data(), kWidth, kHeight, 32, kWidth * 4,
                                                             screen->format->format);
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    const bool gamma = state.range(1) != 0;
    if (gamma) source->pixels = staging.data();
    for (auto _ : state) {
        if (gamma) {
            for (size_t i = 0; i < staging.size(); ++i) {
                const uint32_t c = g_picture[i];
                staging[i] = 0xFF000000u | (uint32_t(g_lut[(c >> 16) & 0xFF]) << 16) |
                             (uint32_t(g_lut[(c >> 8) & 0xFF]) << 8) | g_lut[c & 0xFF];
            }
        }
        SDL_Rect to = dst;
        if (dst.w == kWidth && dst.h == kHeight) SDL_BlitSurface(source, nullptr, screen, &to);
        else SDL_BlitScaled(source, nullptr, screen, &to);
    }
    SDL_FreeSurface(source);
    labelSize(state);
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int gamma = 0; gamma < 2; ++gamma)
        for (int i = 0; i < 4; ++i) b->Args({i, gamma});
}

BENCHMARK(BM_Ours_Present)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_Present)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SDL_Present)->Apply(sizes)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (!startWindow()) {
        fprintf(stderr, "bench_present: no window: %s\n", SDL_GetError());
        return 1;
    }
    std::vector<bench::PeerPair> pairs;
    const char* names[] = {"800x600 copy", "1280x720", "1920x1080", "2560x1440"};
    for (int gamma = 0; gamma < 2; ++gamma) {
        for (int i = 0; i < 4; ++i) {
            const std::string args = "/" + std::to_string(i) + "/" + std::to_string(gamma);
            const std::string what = std::string("present ") + names[i] + (gamma ? " + gamma" : "");
            pairs.push_back({"BM_Ours_Present" + args, "BM_Floor_Present" + args, 0.5,
                             what + " within 2x of the plain loop"});
            pairs.push_back({"BM_Ours_Present" + args, "BM_SDL_Present" + args});
        }
    }
    return bench::runWithPeers(argc, argv, pairs,
                               {{"present 1920x1080 + gamma", "BM_Ours_Present/2/1", 1e-6, "ms", 2.0},
                                {"present 1920x1080", "BM_Ours_Present/2/0", 1e-6, "ms", 2.0}});
}
