// Private to the rasterizer's files (tns_raster*.cpp): fixed-point limits, the
// Direct3D values the stages and blends are given in, pixel arithmetic shared
// by every kernel, and the per-polygon context the kernels run with.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TNS_RASTER_AVX2 1
#endif

#include "engine/platform/raster/tns_raster.h"

namespace tns::raster::detail {

// Vertices snap to 1/256 pixel, so edge tests are exact integer arithmetic and
// neighbouring polygons sharing an edge agree on every pixel.
constexpr int kSubBits = 8;
constexpr double kSubOne = double(1 << kSubBits);
// Vertices beyond the guard band are not drawn; it keeps the edge arithmetic in
// 64-bit range.
constexpr float kGuard = 16384.0f;
constexpr float kMaxTexCoord = 1.0e6f;
// Limits of the 16.16 texel coordinates and steps, so a span of any length
// stays far inside 64 bits.
constexpr double kMaxCoord = double(int64_t(1) << 50);
constexpr double kMaxStep = double(int64_t(1) << 40);
constexpr int kChunk = 256;
constexpr uint32_t kOpaque = 0xFF000000u;
// Back buffers have no alpha channel: destination alpha always reads as full.
constexpr uint32_t kDestAlpha = 255;


inline uint32_t div255(uint32_t x)
{
    x += 128;
    return (x + (x >> 8)) >> 8;
}

inline uint32_t ch(uint32_t c, int shift)
{
    return (c >> shift) & 0xFFu;
}

inline uint32_t pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return (a << 24) | (r << 16) | (g << 8) | b;
}

inline uint32_t modulateRgb(uint32_t x, uint32_t y)
{
    return (Mul255(ch(x, 16), ch(y, 16)) << 16) | (Mul255(ch(x, 8), ch(y, 8)) << 8) | Mul255(ch(x, 0), ch(y, 0));
}

template <Quantise Q>
inline uint32_t quant(uint32_t c)
{
    if constexpr (Q == Quantise::R5G6B5) {
        return (c & 0xFFF8FCF8u) | ((c >> 5) & 0x070007u) | ((c >> 6) & 0x000300u);
    } else if constexpr (Q == Quantise::X1R5G5B5) {
        return (c & 0xFFF8F8F8u) | ((c >> 5) & 0x070707u);
    } else {
        return c;
    }
}

inline uint32_t quantRuntime(Quantise q, uint32_t c)
{
    switch (q) {
    case Quantise::R5G6B5: return quant<Quantise::R5G6B5>(c);
    case Quantise::X1R5G5B5: return quant<Quantise::X1R5G5B5>(c);
    default: return c;
    }
}

// Source-over of one pixel with alpha a (0..255), both colours packed; two
// channels per 32-bit lane pair, rounded exactly like div255 per channel.
inline uint32_t blendOver(uint32_t src, uint32_t dst, uint32_t a)
{
    uint32_t ia = 255 - a;
    uint32_t rb = (src & 0xFF00FFu) * a + (dst & 0xFF00FFu) * ia + 0x800080u;
    rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    uint32_t g = ch(src, 8) * a + ch(dst, 8) * ia + 128;
    g = (g + (g >> 8)) >> 8;
    return kOpaque | rb | (g << 8);
}

inline int64_t floorDiv(int64_t n, int64_t d) // d > 0
{
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

inline int64_t ceilDiv(int64_t n, int64_t d) // d > 0
{
    return -floorDiv(-n, d);
}

// Nearest integer (halves away from minus infinity) without a library call;
// callers keep |v| far below 2^62.
inline int64_t roundToInt(double v)
{
    v += 0.5;
    int64_t t = int64_t(v);
    return t - (double(t) > v ? 1 : 0);
}

inline int wrapAddr(int64_t t, int size, uint32_t mode)
{
    if (uint64_t(t) < uint64_t(size)) return int(t);
    switch (mode) {
    case kAddrClamp:
    case kAddrBorder:
        return t < 0 ? 0 : size - 1;
    case kAddrMirror: {
        int64_t p = 2 * int64_t(size);
        int64_t m = t % p;
        if (m < 0) m += p;
        return int(m < size ? m : p - 1 - m);
    }
    default: {
        int64_t m = t % size;
        return int(m < 0 ? m + size : m);
    }
    }
}

inline uint32_t lerpColor(uint32_t c0, uint32_t c1, uint32_t f) // f 0..256
{
    uint32_t nf = 256 - f;
    uint32_t rb = (((c0 & 0xFF00FFu) * nf + (c1 & 0xFF00FFu) * f) >> 8) & 0xFF00FFu;
    uint32_t ag = ((((c0 >> 8) & 0xFF00FFu) * nf + ((c1 >> 8) & 0xFF00FFu) * f) >> 8) & 0xFF00FFu;
    return rb | (ag << 8);
}

// One stage's texture as chosen for one polygon (mip level and filter).
struct Sampler {
    bool present = false;
    bool linear = false;
    const uint32_t* tex = nullptr;
    int w = 0, h = 0;
    // Second level for linear mip filtering; mipFrac 0 when unused.
    const uint32_t* tex2 = nullptr;
    int w2 = 0, h2 = 0;
    uint32_t mipFrac = 0;
    uint32_t addrU = kAddrWrap, addrV = kAddrWrap;
};

struct Span {
    uint32_t* dst;
    int n;
    int64_t u[2], v[2], du[2], dv[2]; // 16.16 texels of the sampler's level
    int32_t c[8], dc[8];              // diffuse a r g b, specular a r g b, 16.16
};

struct Ctx;
using Kernel = void (*)(const Ctx&, const Span&);

struct Ctx {
    const State* st = nullptr;
    Quantise q = Quantise::None;
    int stageCount = 0; // stages before the first disabled colour op
    Sampler smp[2];
    bool constDiffuse = false;
    uint32_t diffuse = 0;
    bool needSpecular = false;
    // Fast-path constants: the colour and alpha the texel is combined with.
    uint32_t kRgb = 0, kA = 255;
    bool needsTexture = false;
    uint32_t texelOr = 0; // 0x00FFFFFF when only the texel's alpha is used
    Kernel kernelPoint = nullptr, kernelLinear = nullptr;
    // The last span an opaque point-sampled kernel drew from one texture row:
    // a magnified texture repeats rows, and an identical span is a copy.
    struct RepeatRow {
        const uint32_t* dst = nullptr; // null: nothing to repeat
        const uint32_t* texRow = nullptr;
        int64_t u = 0, du = 0;
        int n = 0;
    };
    mutable RepeatRow repeat;
};

// Stage by stage, the files of the rasterizer and what they hand each other.
// Sampling (tns_raster_sample.cpp): n texels of one stage along a span.
void sampleSpan(const Sampler& s, int64_t u, int64_t v, int64_t du, int64_t dv, int n, uint32_t* out);
// Stage combine and blend (tns_raster_combine.cpp): the kernel for any state.
void kernelGeneral(const Ctx& cx, const Span& sp);
// SIMD spans (tns_raster_simd.cpp): the fastest kernel the polygon's state allows.
Kernel pickKernel(Ctx& cx);

} // namespace tns::raster::detail
