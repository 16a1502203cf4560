// Portable rasterizer core: polygon setup with the top-left fill rule on
// snapped fixed-point vertices, and span kernels. Common state combinations get
// specialised kernels chosen once per polygon; everything else runs the general
// kernel, which evaluates the texture stages a chunk of pixels at a time.
#include "engine/platform/raster/tns_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TNS_RASTER_AVX2 1
#endif

namespace tns::raster {
namespace {

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

// D3D values used here (the header keeps the rasterizer free of the device's).
enum : uint32_t {
    kTopDisable = 1, kTopSelect1 = 2, kTopSelect2 = 3, kTopModulate = 4, kTopModulate2x = 5, kTopModulate4x = 6,
    kTopAdd = 7, kTopAddSigned = 8, kTopSubtract = 10, kTopDot3 = 24,
};
enum : uint32_t { kTaDiffuse = 0, kTaCurrent = 1, kTaTexture = 2, kTaTFactor = 3, kTaSpecular = 4 };
enum : uint32_t { kAddrWrap = 1, kAddrMirror = 2, kAddrClamp = 3, kAddrBorder = 4 };
enum : uint32_t { kFilterNone = 0, kFilterPoint = 1, kFilterLinear = 2 };
enum : uint32_t {
    kBlendZero = 1, kBlendOne = 2, kBlendSrcColor = 3, kBlendInvSrcColor = 4, kBlendSrcAlpha = 5,
    kBlendInvSrcAlpha = 6, kBlendDestAlpha = 7, kBlendInvDestAlpha = 8, kBlendDestColor = 9,
    kBlendInvDestColor = 10, kBlendSrcAlphaSat = 11,
};
enum : uint32_t { kCullNone = 1, kCullCW = 2, kCullCCW = 3 };

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

int64_t floorDiv(int64_t n, int64_t d) // d > 0
{
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

int64_t ceilDiv(int64_t n, int64_t d) // d > 0
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

// ---------------------------------------------------------------- sampling

void samplePoint(const uint32_t* tex, int w, int h, uint32_t au, uint32_t av, int64_t u, int64_t v, int64_t du,
                 int64_t dv, int n, uint32_t* out)
{
    for (int i = 0; i < n; ++i, u += du, v += dv) {
        int x = wrapAddr(u >> 16, w, au);
        int y = wrapAddr(v >> 16, h, av);
        out[i] = tex[size_t(y) * size_t(w) + size_t(x)];
    }
}

void sampleLinear(const uint32_t* tex, int w, int h, uint32_t au, uint32_t av, int64_t u, int64_t v, int64_t du,
                  int64_t dv, int n, uint32_t* out)
{
    // Texel centres sit at half-texel positions.
    u -= 0x8000;
    v -= 0x8000;
    for (int i = 0; i < n; ++i, u += du, v += dv) {
        int64_t tu = u >> 16, tv = v >> 16;
        uint32_t fu = uint32_t((u >> 8) & 0xFF), fv = uint32_t((v >> 8) & 0xFF);
        int x0 = wrapAddr(tu, w, au), x1 = wrapAddr(tu + 1, w, au);
        int y0 = wrapAddr(tv, h, av), y1 = wrapAddr(tv + 1, h, av);
        const uint32_t* r0 = tex + size_t(y0) * size_t(w);
        const uint32_t* r1 = tex + size_t(y1) * size_t(w);
        uint32_t top = lerpColor(r0[x0], r0[x1], fu);
        uint32_t bottom = lerpColor(r1[x0], r1[x1], fu);
        out[i] = lerpColor(top, bottom, fv);
    }
}

void sampleSpan(const Sampler& s, int64_t u, int64_t v, int64_t du, int64_t dv, int n, uint32_t* out)
{
    if (!s.present) {
        std::fill(out, out + n, 0xFFFFFFFFu);
        return;
    }
    auto fn = s.linear ? sampleLinear : samplePoint;
    fn(s.tex, s.w, s.h, s.addrU, s.addrV, u, v, du, dv, n, out);
    if (s.mipFrac == 0) return;
    uint32_t second[kChunk];
    // The next level is about half the size: rescale the coordinates to it.
    int64_t u2 = u * s.w2 / s.w, du2 = du * s.w2 / s.w;
    int64_t v2 = v * s.h2 / s.h, dv2 = dv * s.h2 / s.h;
    fn(s.tex2, s.w2, s.h2, s.addrU, s.addrV, u2, v2, du2, dv2, n, second);
    for (int i = 0; i < n; ++i) out[i] = lerpColor(out[i], second[i], s.mipFrac);
}

// ---------------------------------------------------------------- general kernel

inline uint32_t opChannel(uint32_t op, uint32_t a, uint32_t b)
{
    switch (op) {
    case kTopSelect1: return a;
    case kTopSelect2: return b;
    case kTopModulate: return Mul255(a, b);
    case kTopModulate2x: return std::min<uint32_t>(Mul255(a, b) * 2, 255);
    case kTopModulate4x: return std::min<uint32_t>(Mul255(a, b) * 4, 255);
    case kTopAdd: return std::min<uint32_t>(a + b, 255);
    case kTopAddSigned: return uint32_t(std::clamp<int>(int(a + b) - 128, 0, 255));
    case kTopSubtract: return a > b ? a - b : 0;
    default: return a;
    }
}

// Dot product of the colours as signed vectors (each channel 0..255 standing
// for -1..1), scaled and saturated to 0..255.
inline uint32_t dot3(uint32_t x, uint32_t y)
{
    int s = 0;
    for (int sh = 0; sh <= 16; sh += 8) s += (int(ch(x, sh)) * 2 - 255) * (int(ch(y, sh)) * 2 - 255);
    if (s <= 0) return 0;
    return uint32_t(std::min(255, (s + 127) / 255));
}

// Runs one stage's colour and alpha operation over n pixels. The operation is
// decoded once per call; the loops are per pixel.
void runStage(uint32_t colorOp, uint32_t alphaOp, const uint32_t* c1, const uint32_t* c2, const uint32_t* a1,
              const uint32_t* a2, const uint32_t* current, int n, uint32_t* out)
{
    if (colorOp == kTopDot3) {
        for (int i = 0; i < n; ++i) {
            uint32_t d = dot3(c1[i], c2[i]);
            out[i] = pack(d, d, d, d);
        }
        return;
    }
    for (int i = 0; i < n; ++i) {
        uint32_t x = c1[i], y = c2[i];
        uint32_t rgb;
        switch (colorOp) {
        case kTopSelect1: rgb = x & 0xFFFFFFu; break;
        case kTopSelect2: rgb = y & 0xFFFFFFu; break;
        case kTopModulate: rgb = modulateRgb(x, y); break;
        default:
            rgb = (opChannel(colorOp, ch(x, 16), ch(y, 16)) << 16) | (opChannel(colorOp, ch(x, 8), ch(y, 8)) << 8) |
                  opChannel(colorOp, ch(x, 0), ch(y, 0));
            break;
        }
        uint32_t alpha;
        if (alphaOp == kTopDisable) {
            alpha = current[i] >> 24;
        } else if (alphaOp == kTopDot3) {
            int s = (int(a1[i] >> 24) * 2 - 255) * (int(a2[i] >> 24) * 2 - 255);
            alpha = s <= 0 ? 0 : uint32_t(std::min(255, (s + 127) / 255));
        } else {
            alpha = opChannel(alphaOp, a1[i] >> 24, a2[i] >> 24);
        }
        out[i] = (alpha << 24) | rgb;
    }
}

// 64-bit accumulators: slivers can have gradients that leave the colour range
// long before the span ends.
void interpolateColors(const int32_t* c0, const int32_t* dc, int n, uint32_t* out)
{
    int64_t c[4] = {c0[0], c0[1], c0[2], c0[3]};
    for (int i = 0; i < n; ++i) {
        uint32_t v[4];
        for (int k = 0; k < 4; ++k) {
            v[k] = uint32_t(std::clamp<int64_t>(c[k] >> 16, 0, 255));
            c[k] += dc[k];
        }
        out[i] = pack(v[0], v[1], v[2], v[3]);
    }
}

// Blend factor of one pixel, packed per channel; DESTALPHA reads 255 because
// the back-buffer formats carry no alpha.
inline uint32_t blendFactor(uint32_t mode, uint32_t s, uint32_t d)
{
    uint32_t sa = s >> 24;
    switch (mode) {
    case kBlendZero: return 0;
    case kBlendOne: return 0xFFFFFFFFu;
    case kBlendSrcColor: return s;
    case kBlendInvSrcColor: return ~s;
    case kBlendSrcAlpha: return sa * 0x01010101u;
    case kBlendInvSrcAlpha: return (255 - sa) * 0x01010101u;
    case kBlendDestAlpha: return kDestAlpha * 0x01010101u;
    case kBlendInvDestAlpha: return (255 - kDestAlpha) * 0x01010101u;
    case kBlendDestColor: return d;
    case kBlendInvDestColor: return ~d;
    case kBlendSrcAlphaSat: return kOpaque | (std::min(sa, 255u - kDestAlpha) * 0x010101u);
    default: return 0;
    }
}

void writeSpan(const Ctx& cx, const uint32_t* src, uint32_t* dst, int n)
{
    const State& st = *cx.st;
    if (!st.blend) {
        for (int i = 0; i < n; ++i) dst[i] = quantRuntime(cx.q, src[i] | kOpaque);
        return;
    }
    for (int i = 0; i < n; ++i) {
        uint32_t s = src[i], d = dst[i];
        uint32_t fs = blendFactor(st.srcBlend, s, d), fd = blendFactor(st.destBlend, s, d);
        uint32_t out = kOpaque;
        for (int sh = 0; sh <= 16; sh += 8) {
            uint32_t v = div255(ch(s, sh) * ch(fs, sh) + ch(d, sh) * ch(fd, sh));
            out |= std::min(v, 255u) << sh;
        }
        dst[i] = quantRuntime(cx.q, out);
    }
}

void kernelGeneral(const Ctx& cx, const Span& sp)
{
    const State& st = *cx.st;
    uint32_t diff[kChunk], specLane[kChunk], tex[2][kChunk], bufA[kChunk], bufB[kChunk], tfactor[kChunk];
    Span s = sp;
    for (int done = 0; done < sp.n;) {
        int n = std::min(kChunk, sp.n - done);
        if (cx.constDiffuse) {
            std::fill(diff, diff + n, cx.diffuse);
        } else {
            interpolateColors(s.c, s.dc, n, diff);
        }
        if (cx.needSpecular) interpolateColors(s.c + 4, s.dc + 4, n, specLane);
        std::fill(tfactor, tfactor + n, st.textureFactor);
        for (int k = 0; k < cx.stageCount; ++k) sampleSpan(cx.smp[k], s.u[k], s.v[k], s.du[k], s.dv[k], n, tex[k]);

        const uint32_t* current = diff;
        uint32_t* outBuf = bufA;
        for (int k = 0; k < cx.stageCount; ++k) {
            const Stage& g = st.stages[k];
            auto arg = [&](uint32_t a) -> const uint32_t* {
                switch (a & 0xF) {
                case kTaDiffuse: return diff;
                case kTaTexture: return tex[k];
                case kTaTFactor: return tfactor;
                case kTaSpecular: return cx.needSpecular ? specLane : diff;
                default: return current;
                }
            };
            runStage(g.colorOp, g.alphaOp, arg(g.colorArg1), arg(g.colorArg2), arg(g.alphaArg1), arg(g.alphaArg2),
                     current, n, outBuf);
            current = outBuf;
            outBuf = outBuf == bufA ? bufB : bufA;
        }
        uint32_t* out = const_cast<uint32_t*>(current);
        if (current == diff) {
            std::copy(diff, diff + n, bufA);
            out = bufA;
        }
        if (st.specularAdd) {
            for (int i = 0; i < n; ++i) {
                uint32_t c = out[i], p = specLane[i];
                out[i] = (c & kOpaque) | (std::min(ch(c, 16) + ch(p, 16), 255u) << 16) |
                         (std::min(ch(c, 8) + ch(p, 8), 255u) << 8) | std::min(ch(c, 0) + ch(p, 0), 255u);
            }
        }
        if (st.fog) {
            // The specular alpha is the fog factor: 255 keeps the colour, 0 is all fog.
            uint32_t fc = st.fogColor;
            for (int i = 0; i < n; ++i) {
                uint32_t c = out[i], f = specLane[i] >> 24, nf = 255 - f;
                out[i] = (c & kOpaque) | (div255(ch(c, 16) * f + ch(fc, 16) * nf) << 16) |
                         (div255(ch(c, 8) * f + ch(fc, 8) * nf) << 8) | div255(ch(c, 0) * f + ch(fc, 0) * nf);
            }
        }
        writeSpan(cx, out, s.dst, n);

        done += n;
        s.dst += n;
        for (int k = 0; k < 2; ++k) {
            s.u[k] += s.du[k] * n;
            s.v[k] += s.dv[k] * n;
        }
        for (int k = 0; k < 8; ++k)
            s.c[k] = int32_t(std::clamp<int64_t>(int64_t(s.c[k]) + int64_t(s.dc[k]) * n, -(int64_t(1) << 30),
                                                 int64_t(1) << 30));
    }
}

// ---------------------------------------------------------------- fast kernels

// The fast kernels combine one stage-0 texel t (or a constant) with a constant
// k: source = t * k per channel (k = 0xFFFFFFFF leaves t as is), optionally
// with a constant alpha, then write it or blend it source-over. Every rounding
// is div255's, so they agree with the general kernel bit for bit.

inline uint32_t modulateArgb(uint32_t x, uint32_t k)
{
    return (Mul255(x >> 24, k >> 24) << 24) | modulateRgb(x, k);
}

#if defined(__SSE2__)
// div255 of eight 16-bit lanes (each at most 255 * 255): with t = x + 128,
// (t + (t >> 8)) >> 8 equals (t * 257) >> 16 for every t below 65536, so one
// high-half multiply does the rounding.
inline __m128i div255x8(__m128i x)
{
    return _mm_mulhi_epu16(_mm_add_epi16(x, _mm_set1_epi16(128)), _mm_set1_epi16(257));
}

inline __m128i alphaOf(__m128i px16)
{
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(px16, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}

// Four pixels: optional modulation by kLo/kHi (the constants of pixels 0-1 and
// 2-3 widened to 16-bit lanes), optional constant alpha, optional source-over onto d.
template <bool Modulate, bool ConstAlpha, bool Blend>
inline __m128i shade4(__m128i t, __m128i d, __m128i kLo, __m128i kHi, __m128i kaMask)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(int32_t(kOpaque));
    __m128i lo = _mm_unpacklo_epi8(t, zero), hi = _mm_unpackhi_epi8(t, zero);
    if constexpr (Modulate) {
        lo = div255x8(_mm_mullo_epi16(lo, kLo));
        hi = div255x8(_mm_mullo_epi16(hi, kHi));
    }
    if constexpr (!Blend) {
        return _mm_or_si128(_mm_packus_epi16(lo, hi), opaque);
    } else {
        if constexpr (ConstAlpha) {
            // Replace the alpha lanes by the constant (kaMask holds it in lanes 3 and 7).
            const __m128i keep = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
            lo = _mm_or_si128(_mm_and_si128(lo, keep), kaMask);
            hi = _mm_or_si128(_mm_and_si128(hi, keep), kaMask);
        }
        const __m128i full = _mm_set1_epi16(255);
        __m128i alo = alphaOf(lo), ahi = alphaOf(hi);
        __m128i dlo = _mm_unpacklo_epi8(d, zero), dhi = _mm_unpackhi_epi8(d, zero);
        lo = div255x8(_mm_add_epi16(_mm_mullo_epi16(lo, alo), _mm_mullo_epi16(dlo, _mm_sub_epi16(full, alo))));
        hi = div255x8(_mm_add_epi16(_mm_mullo_epi16(hi, ahi), _mm_mullo_epi16(dhi, _mm_sub_epi16(full, ahi))));
        return _mm_or_si128(_mm_packus_epi16(lo, hi), opaque);
    }
}
#endif

#if defined(TNS_RASTER_AVX2)
// Eight-pixel versions of shade4 for CPUs with AVX2, chosen at run time. The
// 256-bit unpacks work per 128-bit half, so the low words hold pixels 0, 1, 4, 5
// and the high words 2, 3, 6, 7; the final pack restores the order.
#define TNS_AVX2 __attribute__((target("avx2")))

const bool kHasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();

TNS_AVX2 inline __m256i div255x16(__m256i x)
{
    return _mm256_mulhi_epu16(_mm256_add_epi16(x, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

template <bool Modulate, bool ConstAlpha, bool Blend>
TNS_AVX2 inline __m256i shade8(__m256i t, __m256i d, __m256i kLo, __m256i kHi, __m256i kaMask)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i opaque = _mm256_set1_epi32(int32_t(kOpaque));
    __m256i lo = _mm256_unpacklo_epi8(t, zero), hi = _mm256_unpackhi_epi8(t, zero);
    if constexpr (Modulate) {
        lo = div255x16(_mm256_mullo_epi16(lo, kLo));
        hi = div255x16(_mm256_mullo_epi16(hi, kHi));
    }
    if constexpr (!Blend) {
        return _mm256_or_si256(_mm256_packus_epi16(lo, hi), opaque);
    } else {
        if constexpr (ConstAlpha) {
            const __m256i keep = _mm256_set_epi16(0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1);
            lo = _mm256_or_si256(_mm256_and_si256(lo, keep), kaMask);
            hi = _mm256_or_si256(_mm256_and_si256(hi, keep), kaMask);
        }
        const __m256i full = _mm256_set1_epi16(255);
        __m256i alo, ahi;
        if constexpr (!Modulate && !ConstAlpha) {
            // The texel's own alpha, widened and repeated with one byte shuffle.
            const __m256i aLoIdx = _mm256_setr_epi8(3, -1, 3, -1, 3, -1, 3, -1, 7, -1, 7, -1, 7, -1, 7, -1, 3, -1, 3,
                                                    -1, 3, -1, 3, -1, 7, -1, 7, -1, 7, -1, 7, -1);
            const __m256i aHiIdx = _mm256_add_epi8(aLoIdx, _mm256_set1_epi16(8));
            alo = _mm256_shuffle_epi8(t, aLoIdx);
            ahi = _mm256_shuffle_epi8(t, aHiIdx);
        } else {
            alo = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(lo, 0xFF), 0xFF);
            ahi = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(hi, 0xFF), 0xFF);
        }
        const __m256i dlo = _mm256_unpacklo_epi8(d, zero), dhi = _mm256_unpackhi_epi8(d, zero);
        lo = div255x16(
            _mm256_add_epi16(_mm256_mullo_epi16(lo, alo), _mm256_mullo_epi16(dlo, _mm256_sub_epi16(full, alo))));
        hi = div255x16(
            _mm256_add_epi16(_mm256_mullo_epi16(hi, ahi), _mm256_mullo_epi16(dhi, _mm256_sub_epi16(full, ahi))));
        return _mm256_or_si256(_mm256_packus_epi16(lo, hi), opaque);
    }
}

// Source-over of eight pixels with the channels split in place into b r and
// g a 16-bit lanes (masks and shifts instead of unpacks, which compete for
// the shuffle units): the texel optionally modulated by k, with its own or a
// constant alpha.
template <bool Modulate, bool ConstAlpha>
TNS_AVX2 inline __m256i blend8(__m256i t, __m256i d, __m256i kRb, __m256i kAg, __m256i kaBoth)
{
    const __m256i m = _mm256_set1_epi32(0x00FF00FF);
    __m256i rb = _mm256_and_si256(t, m), ag = _mm256_srli_epi16(t, 8);
    if constexpr (Modulate) {
        rb = div255x16(_mm256_mullo_epi16(rb, kRb));
        ag = div255x16(_mm256_mullo_epi16(ag, kAg));
    }
    __m256i a;
    if constexpr (ConstAlpha) {
        a = kaBoth;
    } else if constexpr (!Modulate) {
        a = _mm256_shuffle_epi8(t, _mm256_setr_epi8(3, -1, 3, -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1, 3, -1,
                                                    3, -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1));
    } else {
        a = _mm256_srli_epi32(ag, 16);
        a = _mm256_or_si256(a, _mm256_slli_epi32(a, 16));
    }
    const __m256i ia = _mm256_xor_si256(a, m); // 255 - a in both lanes
    const __m256i drb = _mm256_and_si256(d, m), dag = _mm256_srli_epi16(d, 8);
    rb = div255x16(_mm256_add_epi16(_mm256_mullo_epi16(rb, a), _mm256_mullo_epi16(drb, ia)));
    ag = div255x16(_mm256_add_epi16(_mm256_mullo_epi16(ag, a), _mm256_mullo_epi16(dag, ia)));
    return _mm256_or_si256(_mm256_or_si256(rb, _mm256_slli_epi16(ag, 8)), _mm256_set1_epi32(int32_t(kOpaque)));
}

// Shades the first n & ~7 pixels with a constant k; returns how many.
template <bool Modulate, bool ConstAlpha, bool Blend>
TNS_AVX2 int shadeRowAvx2(uint32_t* d, const uint32_t* t, int n, uint32_t k, uint32_t ka)
{
    if constexpr (Blend) {
        const __m256i kRb = _mm256_set1_epi32(int32_t(k & 0x00FF00FFu));
        const __m256i kAg = _mm256_set1_epi32(int32_t((k >> 8) & 0x00FF00FFu));
        const __m256i kaBoth = _mm256_set1_epi32(int32_t(ka * 0x00010001u));
        int i = 0;
        for (; i + 8 <= n; i += 8) {
            const __m256i tv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + i));
            const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), blend8<Modulate, ConstAlpha>(tv, dv, kRb, kAg, kaBoth));
        }
        return i;
    }
    const __m256i k16 = _mm256_unpacklo_epi8(_mm256_set1_epi32(int32_t(k)), _mm256_setzero_si256());
    const __m256i kaMask = _mm256_set_epi16(int16_t(ka), 0, 0, 0, int16_t(ka), 0, 0, 0, int16_t(ka), 0, 0, 0,
                                            int16_t(ka), 0, 0, 0);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i tv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + i));
        const __m256i dv = Blend ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i)) : _mm256_setzero_si256();
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                            shade8<Modulate, ConstAlpha, Blend>(tv, dv, k16, k16, kaMask));
    }
    return i;
}

// Texel times interpolated diffuse over the first n & ~7 pixels; returns how
// many. Each accumulator holds two pixels four apart, lanes b g r a.
// Diffuse accumulators (a r g b, 16.16) of the eight pixels from index first.
TNS_AVX2 inline void gouraudStart(const int32_t* c, const int32_t* dc, int first, __m256i* acc)
{
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    for (int k = 0; k < 4; ++k)
        acc[k] = _mm256_add_epi32(_mm256_set1_epi32(c[k] + dc[k] * first),
                                  _mm256_mullo_epi32(lane, _mm256_set1_epi32(dc[k])));
}

// Eight pixels of texel times diffuse blended source-over; the diffuse
// channels stay inside 0..255, so the integer part of r and a is their 16.16
// value with the fraction cleared.
TNS_AVX2 inline __m256i gouraudBlend8(const uint32_t* t, const uint32_t* d, const __m256i* acc)
{
    const __m256i high = _mm256_set1_epi32(int32_t(0xFFFF0000u));
    const __m256i kRb = _mm256_or_si256(_mm256_srli_epi32(acc[3], 16), _mm256_and_si256(acc[1], high));
    const __m256i kAg = _mm256_or_si256(_mm256_srli_epi32(acc[2], 16), _mm256_and_si256(acc[0], high));
    const __m256i tv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t));
    const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d));
    return blend8<true, false>(tv, dv, kRb, kAg, _mm256_setzero_si256());
}

template <bool Blend>
TNS_AVX2 int gouraudRowAvx2(uint32_t* d, const uint32_t* t, int n, const int32_t* c, const int32_t* dc)
{
    if constexpr (Blend) {
        // One accumulator per channel, one pixel per lane: the diffuse comes out
        // already split into b r and g a lanes for blend8.
        if (n < 8) return 0;
        __m256i acc[4], step[4];
        gouraudStart(c, dc, n - 8, acc);
        // A last group that is not whole is done first, as the eight pixels
        // ending the span, from the destination as it is now; it is stored
        // last, over pixels the loop has given the same values.
        const __m256i tail = gouraudBlend8(t + n - 8, d + n - 8, acc);
        gouraudStart(c, dc, 0, acc);
        for (int k = 0; k < 4; ++k) step[k] = _mm256_set1_epi32(dc[k] * 8);
        int i = 0;
        for (; i + 8 <= n; i += 8) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), gouraudBlend8(t + i, d + i, acc));
            for (int k = 0; k < 4; ++k) acc[k] = _mm256_add_epi32(acc[k], step[k]);
        }
        if (i < n) _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + n - 8), tail);
        return n;
    }
    const __m256i one = _mm256_setr_epi32(dc[3], dc[2], dc[1], dc[0], dc[3], dc[2], dc[1], dc[0]);
    const __m256i step = _mm256_slli_epi32(one, 3);
    __m256i a0 = _mm256_setr_epi32(c[3], c[2], c[1], c[0], c[3] + dc[3] * 4, c[2] + dc[2] * 4, c[1] + dc[1] * 4,
                                   c[0] + dc[0] * 4);
    __m256i a1 = _mm256_add_epi32(a0, one);
    __m256i a2 = _mm256_add_epi32(a1, one);
    __m256i a3 = _mm256_add_epi32(a2, one);
    const __m256i none = _mm256_setzero_si256();
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i kLo = _mm256_packs_epi32(_mm256_srai_epi32(a0, 16), _mm256_srai_epi32(a1, 16));
        const __m256i kHi = _mm256_packs_epi32(_mm256_srai_epi32(a2, 16), _mm256_srai_epi32(a3, 16));
        const __m256i tv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + i));
        const __m256i dv = Blend ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i)) : none;
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), shade8<true, false, Blend>(tv, dv, kLo, kHi, none));
        a0 = _mm256_add_epi32(a0, step);
        a1 = _mm256_add_epi32(a1, step);
        a2 = _mm256_add_epi32(a2, step);
        a3 = _mm256_add_epi32(a3, step);
    }
    return i;
}
#endif

template <bool Modulate, bool ConstAlpha, bool Blend, Quantise Q>
void shadeRow(uint32_t* d, const uint32_t* t, int n, uint32_t k, uint32_t ka)
{
    int i = 0;
#if defined(__SSE2__)
    if constexpr (Q == Quantise::None) {
#if defined(TNS_RASTER_AVX2)
        if (kHasAvx2) i = shadeRowAvx2<Modulate, ConstAlpha, Blend>(d, t, n, k, ka);
#endif
        const __m128i k16 = _mm_unpacklo_epi8(_mm_set1_epi32(int32_t(k)), _mm_setzero_si128());
        const __m128i kaMask = _mm_set_epi16(int16_t(ka), 0, 0, 0, int16_t(ka), 0, 0, 0);
        for (; i + 4 <= n; i += 4) {
            __m128i tv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
            __m128i dv = Blend ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i)) : _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                             shade4<Modulate, ConstAlpha, Blend>(tv, dv, k16, k16, kaMask));
        }
    }
#endif
    for (; i < n; ++i) {
        uint32_t s = Modulate ? modulateArgb(t[i], k) : t[i];
        if constexpr (!Blend) {
            d[i] = quant<Q>(s | kOpaque);
        } else {
            if constexpr (ConstAlpha) s = (s & 0xFFFFFFu) | (ka << 24);
            d[i] = quant<Q>(blendOver(s, d[i], s >> 24));
        }
    }
}

// True when every texel the span reads lies inside the level (with the right
// and lower neighbour too when filtering), so the fast kernels need no addressing.
template <bool Linear>
inline bool spanInside(const Sampler& s, const Span& sp)
{
    const int64_t off = Linear ? 0x8000 : 0;
    const int64_t u0 = sp.u[0] - off, v0 = sp.v[0] - off;
    const int64_t u1 = u0 + sp.du[0] * (sp.n - 1), v1 = v0 + sp.dv[0] * (sp.n - 1);
    const int margin = Linear ? 1 : 0;
    auto in = [&](int64_t t, int size) { return t >= 0 && (t >> 16) + margin < size; };
    return in(u0, s.w) && in(u1, s.w) && in(v0, s.h) && in(v1, s.h);
}

void gatherPoint(const Sampler& s, int64_t u, int64_t v, int64_t du, int64_t dv, int n, uint32_t orMask,
                 uint32_t* out)
{
    if (dv == 0) {
        const uint32_t* row = s.tex + size_t(v >> 16) * size_t(s.w);
        for (int i = 0; i < n; ++i, u += du) out[i] = row[u >> 16] | orMask;
        return;
    }
    for (int i = 0; i < n; ++i, u += du, v += dv)
        out[i] = s.tex[size_t(v >> 16) * size_t(s.w) + size_t(u >> 16)] | orMask;
}

void gatherLinear(const Sampler& s, int64_t u, int64_t v, int64_t du, int64_t dv, int n, uint32_t orMask,
                  uint32_t* out)
{
    u -= 0x8000;
    v -= 0x8000;
    for (int i = 0; i < n; ++i, u += du, v += dv) {
        const uint32_t* r0 = s.tex + size_t(v >> 16) * size_t(s.w) + size_t(u >> 16);
        const uint32_t* r1 = r0 + s.w;
        const uint32_t fu = uint32_t((u >> 8) & 0xFF), fv = uint32_t((v >> 8) & 0xFF);
#if defined(__SSE2__)
        // The same arithmetic as lerpColor, four channels of two texels at once.
        const __m128i zero = _mm_setzero_si128();
        const int16_t nu = int16_t(256 - fu), fu16 = int16_t(fu);
        const __m128i wu = _mm_set_epi16(fu16, fu16, fu16, fu16, nu, nu, nu, nu);
        __m128i top = _mm_mullo_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0)), zero), wu);
        __m128i bot = _mm_mullo_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r1)), zero), wu);
        top = _mm_srli_epi16(_mm_add_epi16(top, _mm_srli_si128(top, 8)), 8);
        bot = _mm_srli_epi16(_mm_add_epi16(bot, _mm_srli_si128(bot, 8)), 8);
        __m128i mix = _mm_add_epi16(_mm_mullo_epi16(top, _mm_set1_epi16(int16_t(256 - fv))),
                                    _mm_mullo_epi16(bot, _mm_set1_epi16(int16_t(fv))));
        mix = _mm_srli_epi16(mix, 8);
        out[i] = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(mix, zero))) | orMask;
#else
        out[i] = lerpColor(lerpColor(r0[0], r0[1], fu), lerpColor(r1[0], r1[1], fu), fv) | orMask;
#endif
    }
}

template <bool Modulate, bool ConstAlpha, bool Blend, bool Linear, Quantise Q>
void kernelTexture(const Ctx& cx, const Span& sp)
{
    const Sampler& s = cx.smp[0];
    if (!spanInside<Linear>(s, sp)) {
        kernelGeneral(cx, sp);
        return;
    }
    const uint32_t k = cx.kRgb | (cx.kA << 24), ka = cx.kA;
    if constexpr (!Linear && !Blend) {
        if (sp.dv[0] == 0) {
            // Opaque and along one texture row: the pixels depend only on that
            // row, the start and the step, so the span above may be reused.
            const uint32_t* row = s.tex + size_t(sp.v[0] >> 16) * size_t(s.w);
            Ctx::RepeatRow& r = cx.repeat;
            if (r.dst && r.texRow == row && r.u == sp.u[0] && r.du == sp.du[0] && r.n == sp.n) {
                std::memcpy(sp.dst, r.dst, size_t(sp.n) * sizeof(uint32_t));
            } else if constexpr (!Modulate) {
                const uint32_t orMask = cx.texelOr | kOpaque;
                int64_t u = sp.u[0];
                for (int i = 0; i < sp.n; ++i, u += sp.du[0]) sp.dst[i] = quant<Q>(row[u >> 16] | orMask);
            } else {
                uint32_t texels[kChunk];
                for (int done = 0; done < sp.n; done += kChunk) {
                    const int n = std::min(kChunk, sp.n - done);
                    gatherPoint(s, sp.u[0] + sp.du[0] * done, sp.v[0], sp.du[0], 0, n, cx.texelOr, texels);
                    shadeRow<Modulate, ConstAlpha, Blend, Q>(sp.dst + done, texels, n, k, ka);
                }
            }
            r = Ctx::RepeatRow{sp.dst, row, sp.u[0], sp.du[0], sp.n};
            return;
        }
    }
    if (!Linear && sp.dv[0] == 0 && sp.du[0] == 0x10000 && cx.texelOr == 0) {
        // One texel per pixel along a row: shade straight from the texture.
        const uint32_t* row = s.tex + size_t(sp.v[0] >> 16) * size_t(s.w) + size_t(sp.u[0] >> 16);
        shadeRow<Modulate, ConstAlpha, Blend, Q>(sp.dst, row, sp.n, k, ka);
        return;
    }
    uint32_t texels[kChunk];
    for (int done = 0; done < sp.n; done += kChunk) {
        const int n = std::min(kChunk, sp.n - done);
        const int64_t u = sp.u[0] + sp.du[0] * done, v = sp.v[0] + sp.dv[0] * done;
        if constexpr (Linear) {
            gatherLinear(s, u, v, sp.du[0], sp.dv[0], n, cx.texelOr, texels);
        } else {
            gatherPoint(s, u, v, sp.du[0], sp.dv[0], n, cx.texelOr, texels);
        }
        shadeRow<Modulate, ConstAlpha, Blend, Q>(sp.dst + done, texels, n, k, ka);
    }
}

// True when every diffuse channel stays inside 0..255 over the whole span: the
// general kernel's clamp then never acts, and 32-bit steps are exact.
inline bool diffuseInRange(const Span& sp)
{
    for (int k = 0; k < 4; ++k) {
        const int64_t first = sp.c[k], last = first + int64_t(sp.dc[k]) * (sp.n - 1);
        if (first < 0 || last < 0 || first >= (int64_t(256) << 16) || last >= (int64_t(256) << 16)) return false;
    }
    return true;
}

// Texel times the interpolated diffuse in colour and alpha, written or blended
// source-over. c holds the diffuse a r g b in 16.16 at the first pixel.
template <bool Blend, Quantise Q>
void gouraudRow(uint32_t* d, const uint32_t* t, int n, const int32_t* c0, const int32_t* dc)
{
    int i = 0;
#if defined(__SSE2__)
    if constexpr (Q == Quantise::None) {
#if defined(TNS_RASTER_AVX2)
        if (kHasAvx2) i = gouraudRowAvx2<Blend>(d, t, n, c0, dc);
#endif
        if (i == n) return;
        // One accumulator per pixel of the group, lanes b g r a like the
        // unpacked texels, each stepped by four pixels.
        const __m128i step = _mm_setr_epi32(dc[3] * 4, dc[2] * 4, dc[1] * 4, dc[0] * 4);
        const __m128i one = _mm_setr_epi32(dc[3], dc[2], dc[1], dc[0]);
        __m128i a0 = _mm_setr_epi32(c0[3] + dc[3] * i, c0[2] + dc[2] * i, c0[1] + dc[1] * i, c0[0] + dc[0] * i);
        const __m128i none = _mm_setzero_si128();
        if (n - i >= 4) {
            __m128i a1 = _mm_add_epi32(a0, one);
            __m128i a2 = _mm_add_epi32(a1, one);
            __m128i a3 = _mm_add_epi32(a2, one);
            for (; i + 4 <= n; i += 4) {
                const __m128i kLo = _mm_packs_epi32(_mm_srai_epi32(a0, 16), _mm_srai_epi32(a1, 16));
                const __m128i kHi = _mm_packs_epi32(_mm_srai_epi32(a2, 16), _mm_srai_epi32(a3, 16));
                __m128i tv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
                __m128i dv = Blend ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i)) : none;
                _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                                 shade4<true, false, Blend>(tv, dv, kLo, kHi, none));
                a0 = _mm_add_epi32(a0, step);
                a1 = _mm_add_epi32(a1, step);
                a2 = _mm_add_epi32(a2, step);
                a3 = _mm_add_epi32(a3, step);
            }
        }
        // The last pixels one at a time in the low lanes.
        for (; i < n; ++i) {
            const __m128i k = _mm_packs_epi32(_mm_srai_epi32(a0, 16), none);
            const __m128i tv = _mm_cvtsi32_si128(int32_t(t[i]));
            const __m128i dv = _mm_cvtsi32_si128(int32_t(d[i]));
            d[i] = uint32_t(_mm_cvtsi128_si32(shade4<true, false, Blend>(tv, dv, k, k, none)));
            a0 = _mm_add_epi32(a0, one);
        }
        return;
    }
#endif
    int32_t c[4] = {c0[0], c0[1], c0[2], c0[3]};
    for (; i < n; ++i) {
        const uint32_t k = pack(uint32_t(c[0] >> 16), uint32_t(c[1] >> 16), uint32_t(c[2] >> 16), uint32_t(c[3] >> 16));
        for (int j = 0; j < 4; ++j) c[j] += dc[j];
        const uint32_t s = modulateArgb(t[i], k);
        if constexpr (!Blend) {
            d[i] = quant<Q>(s | kOpaque);
        } else {
            d[i] = quant<Q>(blendOver(s, d[i], s >> 24));
        }
    }
}

// Per-vertex diffuse times the stage-0 texel. Spans whose colours would leave
// 0..255 (slivers with steep gradients) or read outside the level go to the
// general kernel, which clamps and addresses.
template <bool Blend, bool Linear, Quantise Q>
void kernelGouraud(const Ctx& cx, const Span& sp)
{
    const Sampler& s = cx.smp[0];
    if (!spanInside<Linear>(s, sp) || !diffuseInRange(sp)) {
        kernelGeneral(cx, sp);
        return;
    }
    uint32_t texels[kChunk];
    for (int done = 0; done < sp.n; done += kChunk) {
        const int n = std::min(kChunk, sp.n - done);
        const int64_t u = sp.u[0] + sp.du[0] * done, v = sp.v[0] + sp.dv[0] * done;
        const int32_t c[4] = {sp.c[0] + sp.dc[0] * done, sp.c[1] + sp.dc[1] * done, sp.c[2] + sp.dc[2] * done,
                              sp.c[3] + sp.dc[3] * done};
        const uint32_t* t = texels;
        if (!Linear && sp.dv[0] == 0 && sp.du[0] == 0x10000) {
            t = s.tex + size_t(v >> 16) * size_t(s.w) + size_t(u >> 16);
        } else if constexpr (Linear) {
            gatherLinear(s, u, v, sp.du[0], sp.dv[0], n, 0, texels);
        } else {
            gatherPoint(s, u, v, sp.du[0], sp.dv[0], n, 0, texels);
        }
        gouraudRow<Blend, Q>(sp.dst + done, t, n, c, sp.dc);
    }
}

template <Quantise Q>
void kernelFillOpaque(const Ctx& cx, const Span& sp)
{
    const uint32_t c = quant<Q>(cx.kRgb | kOpaque);
    std::fill(sp.dst, sp.dst + sp.n, c);
}

template <Quantise Q>
void kernelFillBlend(const Ctx& cx, const Span& sp)
{
    const uint32_t a = cx.kA, src = cx.kRgb;
    int i = 0;
#if defined(__SSE2__)
    if constexpr (Q == Quantise::None) {
        // The source half of the sum is the same for every pixel.
        const __m128i zero = _mm_setzero_si128();
        const __m128i s16 = _mm_unpacklo_epi8(_mm_set1_epi32(int32_t(src)), zero);
        const __m128i sa = _mm_mullo_epi16(s16, _mm_set1_epi16(int16_t(a)));
        const __m128i ia = _mm_set1_epi16(int16_t(255 - a));
        const __m128i opaque = _mm_set1_epi32(int32_t(kOpaque));
        for (; i + 4 <= sp.n; i += 4) {
            __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sp.dst + i));
            __m128i lo = div255x8(_mm_add_epi16(sa, _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), ia)));
            __m128i hi = div255x8(_mm_add_epi16(sa, _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), ia)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(sp.dst + i), _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
        }
    }
#endif
    for (; i < sp.n; ++i) sp.dst[i] = quant<Q>(blendOver(src, sp.dst[i], a));
}

template <Quantise Q>
struct Kernels {
    // Indexed by linear * 8 + modulate * 4 + constAlpha * 2 + blend.
    static Kernel texture(bool linear, bool modulate, bool constAlpha, bool blend)
    {
        static constexpr Kernel kTable[16] = {
            kernelTexture<false, false, false, false, Q>, kernelTexture<false, false, true, false, Q>,
            kernelTexture<false, true, false, false, Q>, kernelTexture<false, true, true, false, Q>,
            kernelTexture<true, false, false, false, Q>, kernelTexture<true, false, true, false, Q>,
            kernelTexture<true, true, false, false, Q>, kernelTexture<true, true, true, false, Q>,
            kernelTexture<false, false, false, true, Q>, kernelTexture<false, false, true, true, Q>,
            kernelTexture<false, true, false, true, Q>, kernelTexture<false, true, true, true, Q>,
            kernelTexture<true, false, false, true, Q>, kernelTexture<true, false, true, true, Q>,
            kernelTexture<true, true, false, true, Q>, kernelTexture<true, true, true, true, Q>,
        };
        return kTable[(linear ? 8 : 0) + (modulate ? 4 : 0) + (constAlpha ? 2 : 0) + (blend ? 1 : 0)];
    }
    static Kernel fill(bool blend) { return blend ? kernelFillBlend<Q> : kernelFillOpaque<Q>; }
    static Kernel gouraud(bool linear, bool blend)
    {
        if (linear) return blend ? kernelGouraud<true, true, Q> : kernelGouraud<false, true, Q>;
        return blend ? kernelGouraud<true, false, Q> : kernelGouraud<false, false, Q>;
    }
};

// ---------------------------------------------------------------- polygon setup

struct SnapVertex {
    int64_t x, y;
    const Vertex* v;
};

// Attribute indices of the interpolated planes.
enum { kAttrDiffuse = 0, kAttrSpecular = 4, kAttrU0 = 8, kAttrV0 = 9, kAttrU1 = 10, kAttrV1 = 11, kAttrCount = 12 };

void loadAttributes(const Vertex& v, double* a)
{
    for (int k = 0; k < 4; ++k) {
        a[kAttrDiffuse + k] = double(ch(v.diffuse, 24 - 8 * k));
        a[kAttrSpecular + k] = double(ch(v.specular, 24 - 8 * k));
    }
    auto tc = [](float t) { return std::isfinite(t) ? double(std::clamp(t, -kMaxTexCoord, kMaxTexCoord)) : 0.0; };
    a[kAttrU0] = tc(v.u0);
    a[kAttrV0] = tc(v.v0);
    a[kAttrU1] = tc(v.u1);
    a[kAttrV1] = tc(v.v1);
}

struct Plane {
    double x0, y0;
    double f0[kAttrCount], gx[kAttrCount], gy[kAttrCount];
};

bool buildPlane(const SnapVertex* p, Plane& pl)
{
    double x[3], y[3], a[3][kAttrCount];
    for (int i = 0; i < 3; ++i) {
        x[i] = double(p[i].x) / kSubOne;
        y[i] = double(p[i].y) / kSubOne;
        loadAttributes(*p[i].v, a[i]);
    }
    double area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    if (area == 0.0) return false;
    pl.x0 = x[0];
    pl.y0 = y[0];
    for (int k = 0; k < kAttrCount; ++k) {
        double d1 = a[1][k] - a[0][k], d2 = a[2][k] - a[0][k];
        pl.f0[k] = a[0][k];
        pl.gx[k] = (d1 * (y[2] - y[0]) - d2 * (y[1] - y[0])) / area;
        pl.gy[k] = (d2 * (x[1] - x[0]) - d1 * (x[2] - x[0])) / area;
    }
    return true;
}

void chooseSampler(const Stage& g, const Plane& pl, Sampler& s)
{
    s = Sampler{};
    const Texture* t = g.texture;
    if (!t || t->levelCount <= 0 || !t->levels[0].argb) return;
    s.present = true;
    s.addrU = g.addressU;
    s.addrV = g.addressV;
    int ui = g.texCoordIndex == 1 ? kAttrU1 : kAttrU0;
    int vi = ui + 1;
    double w0 = t->levels[0].width, h0 = t->levels[0].height;
    double rx = std::hypot(pl.gx[ui] * w0, pl.gx[vi] * h0);
    double ry = std::hypot(pl.gy[ui] * w0, pl.gy[vi] * h0);
    double rho = std::max(rx, ry);
    int level = 0;
    uint32_t filter = g.magFilter;
    if (rho > 1.0) {
        filter = g.minFilter;
        double lod = std::log2(rho);
        int last = t->levelCount - 1;
        if (g.mipFilter == kFilterPoint) {
            level = std::min(int(std::floor(lod + 0.5)), last);
        } else if (g.mipFilter == kFilterLinear) {
            level = std::min(int(std::floor(lod)), last);
            if (level < last) {
                s.mipFrac = uint32_t((lod - std::floor(lod)) * 256.0);
                if (s.mipFrac > 0) {
                    s.tex2 = t->levels[level + 1].argb;
                    s.w2 = t->levels[level + 1].width;
                    s.h2 = t->levels[level + 1].height;
                }
            }
        }
    }
    s.tex = t->levels[level].argb;
    s.w = t->levels[level].width;
    s.h = t->levels[level].height;
    s.linear = filter == kFilterLinear;
    if (!s.tex2) s.mipFrac = 0;
}

// Constant form of a stage-0 argument for the fast paths: false when the
// argument varies per pixel in a way the fast kernels do not handle.
bool constArg(const Ctx& cx, uint32_t arg, bool& isTexture, uint32_t& value)
{
    switch (arg & 0xF) {
    case kTaTexture:
        if (cx.smp[0].present) {
            isTexture = true;
            return true;
        }
        value = 0xFFFFFFFFu;
        return true;
    case kTaDiffuse:
    case kTaCurrent:
        value = cx.diffuse;
        return true;
    case kTaTFactor:
        value = cx.st->textureFactor;
        return true;
    default:
        return false;
    }
}

// Reduces a stage-0 operation to "texel times constant" or "constant"; false
// when it does not have that form.
bool reduceOp(const Ctx& cx, uint32_t op, uint32_t arg1, uint32_t arg2, bool alpha, bool& usesTex, uint32_t& k)
{
    bool t1 = false, t2 = false;
    uint32_t k1 = 0xFFFFFFFFu, k2 = 0xFFFFFFFFu;
    usesTex = false;
    switch (op) {
    case kTopDisable:
        k = cx.diffuse;
        return alpha; // a disabled colour op is handled by the caller
    case kTopSelect1:
        if (!constArg(cx, arg1, t1, k1)) return false;
        usesTex = t1;
        k = t1 ? 0xFFFFFFFFu : k1;
        return true;
    case kTopSelect2:
        if (!constArg(cx, arg2, t2, k2)) return false;
        usesTex = t2;
        k = t2 ? 0xFFFFFFFFu : k2;
        return true;
    case kTopModulate:
        if (!constArg(cx, arg1, t1, k1) || !constArg(cx, arg2, t2, k2)) return false;
        if (t1 && t2) return false;
        usesTex = t1 || t2;
        if (t1) k = k2;
        else if (t2) k = k1;
        else k = (Mul255(k1 >> 24, k2 >> 24) << 24) | modulateRgb(k1, k2);
        return true;
    default:
        return false;
    }
}

// True for MODULATE of the texture and the diffuse colour (in either order,
// without argument modifiers); at stage 0 CURRENT is the diffuse colour.
bool texTimesDiffuse(uint32_t op, uint32_t a1, uint32_t a2)
{
    auto diffuse = [](uint32_t a) { return a == kTaDiffuse || a == kTaCurrent; };
    return op == kTopModulate && ((a1 == kTaTexture && diffuse(a2)) || (a2 == kTaTexture && diffuse(a1)));
}

// Chooses the specialised kernels for the polygon's state, or returns false
// when only the general kernel can draw it.
template <Quantise Q>
bool pickFastKernels(Ctx& cx)
{
    const State& st = *cx.st;
    bool blend = st.blend;
    if (blend) {
        if (st.srcBlend == kBlendOne && st.destBlend == kBlendZero) blend = false;
        else if (st.srcBlend != kBlendSrcAlpha || st.destBlend != kBlendInvSrcAlpha) return false;
    }
    if (st.fog || st.specularAdd || cx.stageCount > 1) return false;
    if (!cx.constDiffuse) {
        // Per-vertex colours: only texel times diffuse in colour and alpha.
        const Stage& g = st.stages[0];
        if (cx.stageCount != 1 || !cx.smp[0].present || !texTimesDiffuse(g.colorOp, g.colorArg1, g.colorArg2) ||
            !texTimesDiffuse(g.alphaOp, g.alphaArg1, g.alphaArg2))
            return false;
        cx.needsTexture = true;
        cx.texelOr = 0;
        cx.kernelPoint = Kernels<Q>::gouraud(false, blend);
        cx.kernelLinear = Kernels<Q>::gouraud(true, blend);
        return true;
    }
    cx.needsTexture = false;
    cx.texelOr = 0;
    if (cx.stageCount == 0) {
        cx.kRgb = cx.diffuse & 0xFFFFFFu;
        cx.kA = cx.diffuse >> 24;
        cx.kernelPoint = Kernels<Q>::fill(blend);
        return true;
    }
    const Stage& g = st.stages[0];
    bool texRgb = false, texA = false;
    uint32_t kc = 0, kac = 0;
    if (!reduceOp(cx, g.colorOp, g.colorArg1, g.colorArg2, false, texRgb, kc)) return false;
    if (!reduceOp(cx, g.alphaOp, g.alphaArg1, g.alphaArg2, true, texA, kac)) return false;
    cx.kRgb = kc & 0xFFFFFFu;
    cx.kA = kac >> 24;
    if (!texRgb && (!texA || !blend)) {
        cx.kernelPoint = Kernels<Q>::fill(blend);
        return true;
    }
    cx.needsTexture = true;
    // A constant colour with the texel's alpha (text, masks): the texel's
    // colour is made white, so modulating by the constant leaves the constant.
    cx.texelOr = texRgb ? 0 : 0xFFFFFFu;
    const bool constAlpha = blend && !texA;
    const bool modulate = texRgb ? cx.kRgb != 0xFFFFFFu || (blend && texA && cx.kA != 255)
                                 : cx.kRgb != 0xFFFFFFu || cx.kA != 255;
    cx.kernelPoint = Kernels<Q>::texture(false, modulate, constAlpha, blend);
    cx.kernelLinear = Kernels<Q>::texture(true, modulate, constAlpha, blend);
    return true;
}

void kernelLinearAtCentres(const Ctx& cx, const Span& sp)
{
    // Bilinear weights are all zero when the sample sits on a texel centre and
    // the steps are whole texels; then a point sample is the same colour.
    const bool centred = ((sp.u[0] - 0x8000) & 0xFFFF) == 0 && ((sp.v[0] - 0x8000) & 0xFFFF) == 0 &&
                         (sp.du[0] & 0xFFFF) == 0 && (sp.dv[0] & 0xFFFF) == 0;
    (centred ? cx.kernelPoint : cx.kernelLinear)(cx, sp);
}

Kernel pickKernel(Ctx& cx)
{
    bool fast = false;
    switch (cx.q) {
    case Quantise::R5G6B5: fast = pickFastKernels<Quantise::R5G6B5>(cx); break;
    case Quantise::X1R5G5B5: fast = pickFastKernels<Quantise::X1R5G5B5>(cx); break;
    default: fast = pickFastKernels<Quantise::None>(cx); break;
    }
    if (!fast) return kernelGeneral;
    if (!cx.needsTexture) return cx.kernelPoint;
    if (cx.smp[0].mipFrac != 0) return kernelGeneral;
    return cx.smp[0].linear ? kernelLinearAtCentres : cx.kernelPoint;
}

void drawPolygon(const Target& tg, const State& st, Ctx& cx, const Vertex* const* vs, int n)
{
    SnapVertex p[4];
    for (int i = 0; i < n; ++i) {
        const Vertex* v = vs[i];
        if (!(std::fabs(v->x) <= kGuard) || !(std::fabs(v->y) <= kGuard)) return;
        p[i] = SnapVertex{roundToInt(double(v->x) * kSubOne), roundToInt(double(v->y) * kSubOne), v};
    }
    int64_t area = 0;
    for (int i = 0; i < n; ++i) {
        const SnapVertex& a = p[i];
        const SnapVertex& b = p[(i + 1) % n];
        area += a.x * b.y - b.x * a.y;
    }
    if (area == 0) return;
    // Positive area is clockwise on screen (y down).
    if (st.cullMode == kCullCW && area > 0) return;
    if (st.cullMode == kCullCCW && area < 0) return;

    Plane pl;
    if (!buildPlane(p, pl)) return;

    SnapVertex q[4];
    for (int i = 0; i < n; ++i) q[i] = area > 0 ? p[i] : p[n - 1 - i];
    struct Edge {
        int64_t a, b, c;
        bool topLeft;
    } edges[4];
    int64_t minY = q[0].y, maxY = q[0].y;
    for (int i = 0; i < n; ++i) {
        const SnapVertex& s = q[i];
        const SnapVertex& e = q[(i + 1) % n];
        int64_t A = -(e.y - s.y), B = e.x - s.x;
        // Inside is E > 0; pixels exactly on a top or left edge belong to this polygon.
        edges[i] = Edge{A * (int64_t(1) << kSubBits), B, -(A * s.x + B * s.y), A > 0 || (A == 0 && B > 0)};
        minY = std::min(minY, s.y);
        maxY = std::max(maxY, s.y);
    }
    const Rect& clip = st.clip;
    int y0 = int(std::max<int64_t>(ceilDiv(minY, 1 << kSubBits), std::max(clip.y0, 0)));
    int y1 = int(std::min<int64_t>(floorDiv(maxY, 1 << kSubBits), std::min(clip.y1, tg.height) - 1));
    const int clipX0 = std::max(clip.x0, 0), clipX1 = std::min(clip.x1, tg.width) - 1;
    if (y0 > y1 || clipX0 > clipX1) return;

    // Per-polygon state: constant diffuse, texture levels, kernel.
    cx.constDiffuse = true;
    for (int i = 1; i < n; ++i) cx.constDiffuse &= vs[i]->diffuse == vs[0]->diffuse;
    cx.diffuse = vs[0]->diffuse;
    for (int k = 0; k < cx.stageCount; ++k) chooseSampler(st.stages[k], pl, cx.smp[k]);
    Kernel kernel = pickKernel(cx);
    cx.repeat.dst = nullptr;

    double scaleU[2] = {0, 0}, scaleV[2] = {0, 0};
    int uAttr[2] = {kAttrU0, kAttrU1};
    for (int k = 0; k < cx.stageCount; ++k) {
        scaleU[k] = double(cx.smp[k].w) * 65536.0;
        scaleV[k] = double(cx.smp[k].h) * 65536.0;
        uAttr[k] = st.stages[k].texCoordIndex == 1 ? kAttrU1 : kAttrU0;
    }

    // Vertical edges bound every row alike: their limits are computed once.
    int64_t fixedL = clipX0, fixedR = clipX1;
    int varying[4], varyingCount = 0;
    for (int i = 0; i < n; ++i) {
        const Edge& e = edges[i];
        if (e.b != 0 || e.a == 0) {
            varying[varyingCount++] = i;
        } else if (e.a > 0) {
            fixedL = std::max(fixedL, e.topLeft ? ceilDiv(-e.c, e.a) : floorDiv(-e.c, e.a) + 1);
        } else {
            fixedR = std::min(fixedR, e.topLeft ? floorDiv(e.c, -e.a) : ceilDiv(e.c, -e.a) - 1);
        }
    }
    const bool colours = !cx.constDiffuse || cx.needSpecular;
    int64_t du[2] = {0, 0}, dv[2] = {0, 0};
    for (int k = 0; k < cx.stageCount; ++k) {
        du[k] = roundToInt(std::clamp(pl.gx[uAttr[k]] * scaleU[k], -kMaxStep, kMaxStep));
        dv[k] = roundToInt(std::clamp(pl.gx[uAttr[k] + 1] * scaleV[k], -kMaxStep, kMaxStep));
    }

    // Colour steps along a row are the same on every row; the specular planes
    // only when something reads them.
    const int colourChannels = cx.needSpecular ? 8 : 4;
    int32_t colourSteps[8] = {};
    if (colours) {
        for (int k = 0; k < colourChannels; ++k)
            colourSteps[k] = int32_t(std::clamp(pl.gx[k], -1024.0, 1024.0) * 65536.0);
    }

    for (int y = y0; y <= y1; ++y) {
        int64_t xl = fixedL, xr = fixedR;
        bool empty = false;
        const int64_t py = int64_t(y) << kSubBits;
        for (int j = 0; j < varyingCount && !empty; ++j) {
            const Edge& e = edges[varying[j]];
            const int64_t c = e.b * py + e.c;
            if (e.a > 0) {
                xl = std::max(xl, e.topLeft ? ceilDiv(-c, e.a) : floorDiv(-c, e.a) + 1);
            } else if (e.a < 0) {
                xr = std::min(xr, e.topLeft ? floorDiv(c, -e.a) : ceilDiv(c, -e.a) - 1);
            } else if (!(c > 0 || (c == 0 && e.topLeft))) {
                empty = true;
            }
        }
        if (empty || xl > xr) continue;

        Span sp;
        sp.dst = tg.pixels + size_t(y) * size_t(tg.pitch) + size_t(xl);
        sp.n = int(xr - xl + 1);
        const double dx = double(xl) - pl.x0, dy = double(y) - pl.y0;
        auto at = [&](int k) { return pl.f0[k] + pl.gx[k] * dx + pl.gy[k] * dy; };
        if (colours) {
            std::memcpy(sp.dc, colourSteps, sizeof(colourSteps));
            for (int k = 0; k < 8; ++k) sp.c[k] = 0;
            for (int k = 0; k < colourChannels; ++k) sp.c[k] = int32_t(std::clamp(at(k), -1024.0, 1024.0) * 65536.0);
        }
        for (int k = 0; k < 2; ++k) {
            if (k < cx.stageCount) {
                sp.u[k] = roundToInt(std::clamp(at(uAttr[k]) * scaleU[k], -kMaxCoord, kMaxCoord));
                sp.v[k] = roundToInt(std::clamp(at(uAttr[k] + 1) * scaleV[k], -kMaxCoord, kMaxCoord));
            } else {
                sp.u[k] = sp.v[k] = 0;
            }
            sp.du[k] = du[k];
            sp.dv[k] = dv[k];
        }
        kernel(cx, sp);
    }
}

bool sameAttrSum(float a0, float a2, float a1, float a3)
{
    float l = a0 + a2, r = a1 + a3;
    return std::fabs(l - r) <= 1e-5f * (1.0f + std::fabs(l));
}

// True when (a, b, c, d) is a parallelogram on the snapped grid whose
// attributes lie on one plane, so one polygon draws exactly what the two
// triangles (a,b,c) and (a,c,d) would.
bool isParallelogram(const Vertex& a, const Vertex& b, const Vertex& c, const Vertex& d)
{
    auto s = [](float v) { return roundToInt(double(v) * kSubOne); };
    if (!(std::fabs(a.x) <= kGuard && std::fabs(b.x) <= kGuard && std::fabs(c.x) <= kGuard &&
          std::fabs(d.x) <= kGuard && std::fabs(a.y) <= kGuard && std::fabs(b.y) <= kGuard &&
          std::fabs(c.y) <= kGuard && std::fabs(d.y) <= kGuard))
        return false;
    if (s(a.x) + s(c.x) != s(b.x) + s(d.x) || s(a.y) + s(c.y) != s(b.y) + s(d.y)) return false;
    for (int sh = 0; sh <= 24; sh += 8) {
        if (ch(a.diffuse, sh) + ch(c.diffuse, sh) != ch(b.diffuse, sh) + ch(d.diffuse, sh)) return false;
        if (ch(a.specular, sh) + ch(c.specular, sh) != ch(b.specular, sh) + ch(d.specular, sh)) return false;
    }
    return sameAttrSum(a.u0, c.u0, b.u0, d.u0) && sameAttrSum(a.v0, c.v0, b.v0, d.v0) &&
           sameAttrSum(a.u1, c.u1, b.u1, d.u1) && sameAttrSum(a.v1, c.v1, b.v1, d.v1);
}

} // namespace

void Clear(const Target& target, Rect rect, uint32_t argb)
{
    rect.x0 = std::max(rect.x0, 0);
    rect.y0 = std::max(rect.y0, 0);
    rect.x1 = std::min(rect.x1, target.width);
    rect.y1 = std::min(rect.y1, target.height);
    if (rect.x0 >= rect.x1 || rect.y0 >= rect.y1) return;
    uint32_t c = quantRuntime(target.quantise, argb | kOpaque);
    for (int y = rect.y0; y < rect.y1; ++y) {
        uint32_t* row = target.pixels + size_t(y) * size_t(target.pitch);
        std::fill(row + rect.x0, row + rect.x1, c);
    }
}

void DrawIndexedTriangles(const Target& target, const State& state, const Vertex* vertices, uint32_t vertexCount,
                          const uint16_t* indices, uint32_t primCount)
{
    if (!target.pixels || !vertices || !indices) return;
    Ctx cx;
    cx.st = &state;
    cx.q = target.quantise;
    cx.stageCount = 0;
    while (cx.stageCount < 2 && state.stages[cx.stageCount].colorOp != kTopDisable) ++cx.stageCount;
    cx.needSpecular = state.fog || state.specularAdd;
    for (int k = 0; k < cx.stageCount; ++k) {
        const Stage& g = state.stages[k];
        for (uint32_t a : {g.colorArg1, g.colorArg2, g.alphaArg1, g.alphaArg2})
            if ((a & 0xF) == kTaSpecular) cx.needSpecular = true;
    }

    for (uint32_t t = 0; t < primCount;) {
        const uint16_t* ix = indices + size_t(t) * 3;
        if (ix[0] >= vertexCount || ix[1] >= vertexCount || ix[2] >= vertexCount) {
            ++t;
            continue;
        }
        const Vertex* v[4] = {&vertices[ix[0]], &vertices[ix[1]], &vertices[ix[2]], nullptr};
        if (t + 1 < primCount && ix[3] == ix[0] && ix[4] == ix[2] && ix[5] < vertexCount) {
            v[3] = &vertices[ix[5]];
            if (isParallelogram(*v[0], *v[1], *v[2], *v[3])) {
                drawPolygon(target, state, cx, v, 4);
                t += 2;
                continue;
            }
        }
        drawPolygon(target, state, cx, v, 3);
        ++t;
    }
}

} // namespace tns::raster
