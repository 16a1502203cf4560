// The rasterizer through the engine's own calls (textures, techniques, quads,
// scene) against SDL2's software renderer drawing the same quads with the same
// textures into an 800 x 600 ARGB8888 surface, plus naive C++ loops as floors.
// Our frame runs from GFX_SceneBegin to GFX_SceneEnd on the headless device.
#include <benchmark/benchmark.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_peer.h"
#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_utils_csmartid.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// An ARGB image made in the benchmark.
struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;
};

// A colour gradient with an alpha ramp (64..255), so blending does real work
// and no pixel takes an opaque or transparent shortcut everywhere.
Image gradient(int width, int height, uint32_t seed)
{
    Image img{width, height, std::vector<uint32_t>(size_t(width) * height)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t r = uint32_t(x * 255 / (width - 1));
            const uint32_t g = uint32_t(y * 255 / (height - 1));
            const uint32_t b = (seed * 37 + uint32_t(x + y)) & 0xFF;
            const uint32_t a = 64 + uint32_t((x + y) * 191 / (width + height - 2));
            img.argb[size_t(y) * width + x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    return img;
}

// Uncompressed 32-bit TGA, top-left origin: the engine's texture loader reads it.
std::vector<uint8_t> tga(const Image& img)
{
    std::vector<uint8_t> out(18, 0);
    out[2] = 2;
    out[12] = uint8_t(img.width);
    out[13] = uint8_t(img.width >> 8);
    out[14] = uint8_t(img.height);
    out[15] = uint8_t(img.height >> 8);
    out[16] = 32;
    out[17] = 0x28; // 8 alpha bits, top-left origin
    for (uint32_t p : img.argb)
        out.insert(out.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16), uint8_t(p >> 24)});
    return out;
}

enum TextureSlot { kBackground, kCell, kCover, kFont, kSprite, kStretch, kTextureCount };

struct Rgba {
    uint8_t r, g, b, a;
};

struct Quad {
    float x, y, w, h;
    float u0, v0, u1, v1;
    Rgba colour[4]; // top-left, top-right, bottom-right, bottom-left
    bool uniform;
};

struct Group {
    TextureSlot texture;
    std::vector<Quad> quads;
};

struct Scene {
    std::vector<Group> groups;
    bool blend = true;
    int64_t pixels = 0;
};

const Image& textureImage(TextureSlot slot)
{
    static const Image images[kTextureCount] = {
        gradient(1024, 1024, 1), gradient(64, 64, 2), gradient(64, 64, 3),
        gradient(256, 256, 4),   gradient(64, 64, 5), gradient(256, 256, 6),
    };
    return images[slot];
}

Quad quad(float x, float y, float w, float h, TextureSlot slot, float sx, float sy, float sw, float sh)
{
    const Image& img = textureImage(slot);
    Quad q{x, y, w, h, sx / float(img.width), sy / float(img.height), (sx + sw) / float(img.width),
           (sy + sh) / float(img.height), {}, true};
    for (Rgba& c : q.colour) c = {255, 255, 255, 255};
    return q;
}

enum class Tint { White, Uniform, PerVertex };

// One full-screen background quad, a board of 120 cells and 120 cover tiles
// of 48 x 48, and a line of 40 glyphs of 16 x 16, all blended at 1:1.
Scene puzzleFrame(Tint tint)
{
    Scene s;
    s.groups.push_back({kBackground, {quad(0, 0, kWidth, kHeight, kBackground, 0, 0, kWidth, kHeight)}});
    Group cells{kCell, {}}, covers{kCover, {}}, glyphs{kFont, {}};
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 15; ++col) {
            const float x = 40.0f + float(col) * 48.0f, y = 108.0f + float(row) * 48.0f;
            cells.quads.push_back(quad(x, y, 48, 48, kCell, 0, 0, 48, 48));
            covers.quads.push_back(quad(x, y, 48, 48, kCover, 8, 8, 48, 48));
        }
    }
    for (int i = 0; i < 40; ++i)
        glyphs.quads.push_back(quad(40.0f + float(i) * 17.0f, 40, 16, 16, kFont, float(i % 16) * 16.0f,
                                    float(i / 16) * 16.0f, 16, 16));
    s.groups.push_back(cells);
    s.groups.push_back(covers);
    s.groups.push_back(glyphs);
    const Rgba corners[4] = {{255, 255, 255, 255}, {255, 160, 96, 230}, {96, 200, 255, 200}, {200, 255, 128, 255}};
    for (Group& g : s.groups) {
        for (Quad& q : g.quads) {
            if (tint == Tint::Uniform) {
                for (Rgba& c : q.colour) c = {255, 200, 160, 230};
            } else if (tint == Tint::PerVertex) {
                for (int v = 0; v < 4; ++v) q.colour[v] = corners[v];
                q.uniform = false;
            }
            s.pixels += int64_t(q.w * q.h);
        }
    }
    return s;
}

// 500 blended 64 x 64 quads at 1:1, white, at fixed pseudo-random places.
Scene sprites()
{
    Scene s;
    Group g{kSprite, {}};
    uint32_t r = 12345;
    for (int i = 0; i < 500; ++i) {
        r = r * 1103515245u + 12345u;
        const float x = float((r >> 8) % (kWidth - 64));
        r = r * 1103515245u + 12345u;
        const float y = float((r >> 8) % (kHeight - 64));
        g.quads.push_back(quad(x, y, 64, 64, kSprite, 0, 0, 64, 64));
        s.pixels += 64 * 64;
    }
    s.groups.push_back(g);
    return s;
}

// A 256 x 256 texture stretched over the whole screen.
Scene stretched(bool blend)
{
    Scene s;
    s.groups.push_back({kStretch, {quad(0, 0, kWidth, kHeight, kStretch, 0, 0, 256, 256)}});
    s.blend = blend;
    s.pixels = int64_t(kWidth) * kHeight;
    return s;
}

// ---- ours: the engine ----

CTarnis* g_engine = nullptr;
int32_t g_texture[kTextureCount];
int32_t g_techBlend = -1, g_techOpaque = -1;

// Byte k as a float component that packs back to exactly k (the engine
// truncates component × 255).
float component(uint8_t k)
{
    return (float(k) + 0.5f) / 255.0f;
}

void startEngine()
{
    g_bWindowActive = false;
    g_engine = new CTarnis;
    g_engine->LOG_WriteHeader("Raster Benchmark", "v.1");
    CSmartID::CreateIDsMap();
    g_engine->GFX_Preinit(kWidth, kHeight);
    g_engine->GFX_Init(2, false);
    for (int i = 0; i < kTextureCount; ++i) {
        const std::vector<uint8_t> file = tga(textureImage(TextureSlot(i)));
        const std::string id = "TEX_BENCH" + std::to_string(i);
        g_texture[i] = g_engine->GFX_TexLoadFromMemory(file.data(), int32_t(file.size()), 3, id.c_str(), 1, 0, 0);
        D3DSURFACE_DESC desc{};
        g_engine->m_pTexturesManager->GetItem(g_texture[i])->GetLevelDesc(0, &desc);
        if (int(desc.Width) != textureImage(TextureSlot(i)).width || desc.Format != D3DFMT_A8R8G8B8)
            printf("warning: texture %d loaded as %ux%u, format %d\n", i, desc.Width, desc.Height, int(desc.Format));
    }
    // Texture times diffuse in colour and alpha, point sampling (as SDL's
    // default nearest scaling), source-alpha blending or none.
    const std::string stage = R"(s0_colorop="MODULATE" s0_colorarg1="TEXTURE" s0_colorarg2="DIFFUSE"
        s0_alphaop="MODULATE" s0_alphaarg1="TEXTURE" s0_alphaarg2="DIFFUSE" s0_address="CLAMP"
        s0_minfilter="POINT" s0_magfilter="POINT" s0_mipfilter="NONE" s1_colorop="DISABLE")";
    const std::string pack = "<techniquespack><t id=\"TEQ_BENCHBLEND\" alphablending=\"ON\" absrc=\"SRCALPHA\" "
                             "abdest=\"INVSRCALPHA\" " + stage + "/><t id=\"TEQ_BENCHOPAQUE\" alphablending=\"OFF\" " +
                             stage + "/></techniquespack>";
    g_engine->GFX_TechLoadPack(reinterpret_cast<const uint8_t*>(pack.data()), int32_t(pack.size()));
    g_techBlend = g_engine->GFX_TechGetID("TEQ_BENCHBLEND");
    g_techOpaque = g_engine->GFX_TechGetID("TEQ_BENCHOPAQUE");
}

void stopEngine()
{
    delete g_engine;
    g_engine = nullptr;
    CSmartID::DestroyIDsMap();
}

void oursDraw(const Scene& s)
{
    CTarnis* t = g_engine;
    t->GFX_SceneBegin();
    t->GFX_TechApply(s.blend ? g_techBlend : g_techOpaque);
    for (const Group& g : s.groups) {
        t->GFX_TexSet(g_texture[g.texture], 0);
        for (const Quad& q : g.quads) {
            t->GFX_VQuadSetPos(q.x, q.y, q.w, q.h, 0.5f);
            t->GFX_VQuadSetTexCoords(1, q.u0, q.v0, q.u1, q.v1);
            if (q.uniform) {
                const Rgba& c = q.colour[0];
                t->GFX_VQuadSetColor(component(c.r), component(c.g), component(c.b), component(c.a));
            } else {
                for (int v = 0; v < 4; ++v) {
                    const Rgba& c = q.colour[v];
                    t->GFX_VQuadSetColorByVertex(v, component(c.r), component(c.g), component(c.b),
                                                 component(c.a));
                }
            }
            t->GFX_SceneRender();
        }
    }
    t->GFX_SceneEnd();
}

void oursScene(benchmark::State& state, const Scene& s)
{
    for (auto _ : state) oursDraw(s);
    state.SetItemsProcessed(int64_t(state.iterations()) * s.pixels);
}

// ---- peer: SDL2's software renderer ----

SDL_Surface* g_target = nullptr;
SDL_Renderer* g_renderer = nullptr;
SDL_Texture* g_sdlTexture[kTextureCount];
SDL_Texture* g_sdlStretchOpaque = nullptr;

// A scene as SDL_RenderGeometry input: per texture group, 4 vertices and 6
// indices per quad in the engine's order (0,1,2)(0,2,3).
struct SdlScene {
    struct Batch {
        SDL_Texture* texture;
        std::vector<SDL_Vertex> vertices;
        std::vector<int> indices;
    };
    std::vector<Batch> batches;
};

SdlScene sdlScene(const Scene& s)
{
    SdlScene out;
    for (const Group& g : s.groups) {
        SdlScene::Batch b{g_sdlTexture[g.texture], {}, {}};
        if (!s.blend && g.texture == kStretch) b.texture = g_sdlStretchOpaque;
        for (const Quad& q : g.quads) {
            const float xs[4] = {q.x, q.x + q.w, q.x + q.w, q.x};
            const float ys[4] = {q.y, q.y, q.y + q.h, q.y + q.h};
            const float us[4] = {q.u0, q.u1, q.u1, q.u0};
            const float vs[4] = {q.v0, q.v0, q.v1, q.v1};
            const int base = int(b.vertices.size());
            for (int v = 0; v < 4; ++v) {
                const Rgba& c = q.colour[v];
                b.vertices.push_back({{xs[v], ys[v]}, {c.r, c.g, c.b, c.a}, {us[v], vs[v]}});
            }
            for (int i : {0, 1, 2, 0, 2, 3}) b.indices.push_back(base + i);
        }
        out.batches.push_back(std::move(b));
    }
    return out;
}

SDL_Texture* sdlTexture(const Image& img, SDL_BlendMode mode)
{
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(img.argb.data()), img.width,
                                                        img.height, 32, img.width * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Texture* t = SDL_CreateTextureFromSurface(g_renderer, s);
    SDL_FreeSurface(s);
    if (!t) {
        fprintf(stderr, "SDL texture: %s\n", SDL_GetError());
        exit(1);
    }
    SDL_SetTextureBlendMode(t, mode);
    return t;
}

void startSdl()
{
    g_target = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
    g_renderer = g_target ? SDL_CreateSoftwareRenderer(g_target) : nullptr;
    if (!g_renderer) {
        fprintf(stderr, "SDL software renderer: %s\n", SDL_GetError());
        exit(1);
    }
    SDL_SetRenderDrawBlendMode(g_renderer, SDL_BLENDMODE_NONE);
    for (int i = 0; i < kTextureCount; ++i)
        g_sdlTexture[i] = sdlTexture(textureImage(TextureSlot(i)), SDL_BLENDMODE_BLEND);
    g_sdlStretchOpaque = sdlTexture(textureImage(kStretch), SDL_BLENDMODE_NONE);
}

void stopSdl()
{
    for (SDL_Texture* t : g_sdlTexture) SDL_DestroyTexture(t);
    SDL_DestroyTexture(g_sdlStretchOpaque);
    SDL_DestroyRenderer(g_renderer);
    SDL_FreeSurface(g_target);
}

void sdlDraw(const SdlScene& s)
{
    for (const SdlScene::Batch& b : s.batches)
        SDL_RenderGeometry(g_renderer, b.texture, b.vertices.data(), int(b.vertices.size()), b.indices.data(),
                           int(b.indices.size()));
    // The software renderer queues commands: the flush does the drawing.
    SDL_RenderFlush(g_renderer);
}

void sdlScene(benchmark::State& state, const Scene& s)
{
    const SdlScene input = sdlScene(s);
    for (auto _ : state) sdlDraw(input);
    state.SetItemsProcessed(int64_t(state.iterations()) * s.pixels);
}

// ---- floors: naive C++ loops ----

std::vector<uint32_t> g_floorTarget(size_t(kWidth) * kHeight, 0xFF202020u);

// Source-over of one texel at 1:1, channel by channel, the plain way.
inline uint32_t blendPixel(uint32_t s, uint32_t d)
{
    const uint32_t a = s >> 24, ia = 255 - a;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t c = (((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * ia + 127) / 255;
        out |= c << shift;
    }
    return out;
}

// Every quad of a white 1:1 scene blended with the plain loop.
void floorDraw(const Scene& s, uint32_t* target)
{
    for (const Group& g : s.groups) {
        const Image& img = textureImage(g.texture);
        for (const Quad& q : g.quads) {
            const int sx = int(q.u0 * float(img.width)), sy = int(q.v0 * float(img.height));
            const int x0 = int(q.x), y0 = int(q.y), w = int(q.w), h = int(q.h);
            for (int y = 0; y < h; ++y) {
                const uint32_t* src = &img.argb[size_t(sy + y) * img.width + sx];
                uint32_t* dst = &target[size_t(y0 + y) * kWidth + x0];
                for (int x = 0; x < w; ++x) dst[x] = blendPixel(src[x], dst[x]);
            }
        }
    }
}

void floorScene(benchmark::State& state, const Scene& s)
{
    for (auto _ : state) {
        floorDraw(s, g_floorTarget.data());
        benchmark::DoNotOptimize(g_floorTarget.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * s.pixels);
}

const Scene& scenePuzzle()
{
    static const Scene s = puzzleFrame(Tint::White);
    return s;
}
const Scene& scenePuzzleTinted()
{
    static const Scene s = puzzleFrame(Tint::Uniform);
    return s;
}
const Scene& scenePuzzleGouraud()
{
    static const Scene s = puzzleFrame(Tint::PerVertex);
    return s;
}
const Scene& sceneSprites()
{
    static const Scene s = sprites();
    return s;
}
const Scene& sceneStretchBlend()
{
    static const Scene s = stretched(true);
    return s;
}
const Scene& sceneStretchOpaque()
{
    static const Scene s = stretched(false);
    return s;
}

void BM_Ours_PuzzleFrame(benchmark::State& s) { oursScene(s, scenePuzzle()); }
void BM_SDL_PuzzleFrame(benchmark::State& s) { sdlScene(s, scenePuzzle()); }
void BM_Floor_PuzzleFrame(benchmark::State& s) { floorScene(s, scenePuzzle()); }
void BM_Ours_PuzzleFrameTinted(benchmark::State& s) { oursScene(s, scenePuzzleTinted()); }
void BM_SDL_PuzzleFrameTinted(benchmark::State& s) { sdlScene(s, scenePuzzleTinted()); }
void BM_Ours_PuzzleFrameGouraud(benchmark::State& s) { oursScene(s, scenePuzzleGouraud()); }
void BM_SDL_PuzzleFrameGouraud(benchmark::State& s) { sdlScene(s, scenePuzzleGouraud()); }
void BM_Ours_Sprites500(benchmark::State& s) { oursScene(s, sceneSprites()); }
void BM_SDL_Sprites500(benchmark::State& s) { sdlScene(s, sceneSprites()); }
void BM_Floor_Sprites500(benchmark::State& s) { floorScene(s, sceneSprites()); }
void BM_Ours_StretchBlend(benchmark::State& s) { oursScene(s, sceneStretchBlend()); }
void BM_SDL_StretchBlend(benchmark::State& s) { sdlScene(s, sceneStretchBlend()); }
void BM_Ours_StretchOpaque(benchmark::State& s) { oursScene(s, sceneStretchOpaque()); }
void BM_SDL_StretchOpaque(benchmark::State& s) { sdlScene(s, sceneStretchOpaque()); }

// The full-screen clear: the engine's scene with nothing but the clear.
void BM_Ours_Clear(benchmark::State& state)
{
    for (auto _ : state) {
        g_engine->GFX_SceneBegin();
        g_engine->GFX_SceneClearScreen(0.1f, 0.2f, 0.3f);
        g_engine->GFX_SceneEnd();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
}

void BM_Floor_ClearFillLoop(benchmark::State& state)
{
    uint32_t* p = g_floorTarget.data();
    const size_t n = g_floorTarget.size();
    uint32_t colour = 0xFF19334Cu;
    for (auto _ : state) {
        benchmark::DoNotOptimize(colour);
        for (size_t i = 0; i < n; ++i) p[i] = colour;
        benchmark::DoNotOptimize(p);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
}

void BM_Floor_ClearMemset(benchmark::State& state)
{
    for (auto _ : state) {
        std::memset(g_floorTarget.data(), 0x20, g_floorTarget.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(g_floorTarget.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
}

void BM_SDL_Clear(benchmark::State& state)
{
    SDL_SetRenderDrawColor(g_renderer, 25, 51, 76, 255);
    for (auto _ : state) {
        SDL_RenderClear(g_renderer);
        SDL_RenderFlush(g_renderer);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
}

BENCHMARK(BM_Ours_PuzzleFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SDL_PuzzleFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_PuzzleFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ours_PuzzleFrameTinted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SDL_PuzzleFrameTinted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ours_PuzzleFrameGouraud)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SDL_PuzzleFrameGouraud)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ours_Sprites500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SDL_Sprites500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_Sprites500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ours_StretchBlend)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SDL_StretchBlend)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ours_StretchOpaque)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SDL_StretchOpaque)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ours_Clear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_ClearFillLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_ClearMemset)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SDL_Clear)->Unit(benchmark::kMicrosecond);

// Pixels (RGB) of two pictures that differ by more than tolerance levels in some channel.
int countDiffering(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int tolerance)
{
    int n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        for (int shift = 0; shift <= 16; shift += 8) {
            if (std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)) > tolerance) {
                ++n;
                break;
            }
        }
    }
    return n;
}

// Both sides draw the scene once over black and the pictures are compared, so
// a reader sees that the two draw the same thing; white 1:1 scenes are also
// compared with the exactly rounded plain blend loop.
void comparePictures(const char* name, const Scene& s, bool exactReference)
{
    g_engine->GFX_SceneBegin();
    g_engine->GFX_SceneClearScreen(0.0f, 0.0f, 0.0f);
    g_engine->GFX_SceneEnd();
    oursDraw(s);
    g_engine->GFX_ScenePresent();
    std::vector<uint32_t> ours, sdl, reference;
    IDirect3DSurface8* surface = nullptr;
    if (SUCCEEDED(g_engine->m_pD3DDevice->CreateImageSurface(kWidth, kHeight, D3DFMT_A8R8G8B8, &surface))) {
        D3DLOCKED_RECT r{};
        if (SUCCEEDED(g_engine->m_pD3DDevice->GetFrontBuffer(surface)) &&
            SUCCEEDED(surface->LockRect(&r, nullptr, D3DLOCK_READONLY))) {
            for (int y = 0; y < kHeight; ++y) {
                const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(r.pBits) + y * r.Pitch);
                ours.insert(ours.end(), row, row + kWidth);
            }
            surface->UnlockRect();
        }
        surface->Release();
    }
    SDL_FillRect(g_target, nullptr, 0xFF000000u);
    sdlDraw(sdlScene(s));
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(g_target->pixels) +
                                                            y * g_target->pitch);
        sdl.insert(sdl.end(), row, row + kWidth);
    }
    if (ours.size() != sdl.size()) {
        printf("picture check (%s): our picture could not be read\n", name);
        return;
    }
    printf("picture check (%s): ours and SDL's differ by more than 2 levels in %d of %d pixels", name,
           countDiffering(ours, sdl, 2), kWidth * kHeight);
    if (exactReference) {
        reference.assign(size_t(kWidth) * kHeight, 0xFF000000u);
        floorDraw(s, reference.data());
        printf("; against the exact blend, by more than 1: ours %d, SDL %d", countDiffering(ours, reference, 1),
               countDiffering(sdl, reference, 1));
    }
    printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    // Headless before anything starts; the engine's log goes to a scratch folder.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::filesystem::path home = std::filesystem::current_path();
    char scratch[] = "/tmp/tarnis-bench-raster-XXXXXX";
    if (!mkdtemp(scratch)) {
        perror("mkdtemp");
        return 1;
    }
    std::filesystem::current_path(scratch);

    startEngine();
    startSdl();
    comparePictures("puzzle frame", scenePuzzle(), true);
    comparePictures("puzzle frame, tinted", scenePuzzleTinted(), false);
    comparePictures("puzzle frame, per-vertex colours", scenePuzzleGouraud(), false);
    comparePictures("500 quads", sceneSprites(), true);
    comparePictures("stretched, blended", sceneStretchBlend(), false);
    comparePictures("stretched, opaque", sceneStretchOpaque(), false);

    const int rc = bench::runWithPeers(
        argc, argv,
        {
            {"BM_Ours_PuzzleFrame", "BM_SDL_PuzzleFrame", 6.0, "puzzle frame vs SDL2"},
            {"BM_Ours_PuzzleFrame", "BM_Floor_PuzzleFrame"},
            {"BM_Ours_PuzzleFrameTinted", "BM_SDL_PuzzleFrameTinted", 5.0, "puzzle frame, tinted vs SDL2"},
            {"BM_Ours_PuzzleFrameGouraud", "BM_SDL_PuzzleFrameGouraud", 15.0, "puzzle frame, per-vertex vs SDL2"},
            {"BM_Ours_Sprites500", "BM_SDL_Sprites500"},
            {"BM_Ours_Sprites500", "BM_Floor_Sprites500", 0.5, "500 1:1 quads within 2x of the naive blend"},
            {"BM_Ours_StretchBlend", "BM_SDL_StretchBlend"},
            {"BM_Ours_StretchOpaque", "BM_SDL_StretchOpaque"},
            {"BM_Ours_Clear", "BM_Floor_ClearFillLoop", 1.0 / 1.5, "clear within 1.5x of the fill loop"},
            {"BM_Ours_Clear", "BM_Floor_ClearMemset"},
            {"BM_Ours_Clear", "BM_SDL_Clear"},
        });

    stopSdl();
    stopEngine();
    std::filesystem::current_path(home);
    std::filesystem::remove_all(scratch);
    return rc;
}
