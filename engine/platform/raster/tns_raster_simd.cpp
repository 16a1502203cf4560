// The rasterizer's specialised span kernels (SSE2, and AVX2 chosen at run time)
// for the common states, and the choice between them and the general kernel.
// Every rounding is div255's, so they agree with the general kernel bit for bit.
#include "engine/platform/raster/tns_raster_internal.h"

#include <algorithm>
#include <cstring>

namespace tns::raster::detail {

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
        const __m256i alpha = _mm256_set1_epi32(int32_t(kOpaque));
        int i = 0;
        for (; i + 8 <= n; i += 8) {
            const __m256i tv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + i));
            __m256i* out = reinterpret_cast<__m256i*>(d + i);
            if constexpr (!ConstAlpha) {
                // Whole groups of opaque or clear texels (pictures without
                // transparency, the space around glyphs) need no arithmetic:
                // alpha 255 gives the texel, alpha 0 the destination.
                if (!Modulate && _mm256_testc_si256(tv, alpha)) {
                    _mm256_storeu_si256(out, tv);
                    continue;
                }
                if (_mm256_testz_si256(tv, alpha)) {
                    _mm256_storeu_si256(out, _mm256_or_si256(_mm256_loadu_si256(out), alpha));
                    continue;
                }
            }
            const __m256i dv = _mm256_loadu_si256(out);
            _mm256_storeu_si256(out, blend8<Modulate, ConstAlpha>(tv, dv, kRb, kAg, kaBoth));
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

// The pixels [first, last) of a span whose texel coordinate t0 + dt * i (with
// room for a right or lower neighbour: margin) lies inside a level of size texels.
inline void insideRange(int64_t t0, int64_t dt, int size, int margin, int& first, int& last)
{
    const int64_t top = (int64_t(size - margin) << 16) - 1; // the largest coordinate allowed
    int64_t lo = 0, hi = last - 1;
    if (dt == 0) {
        if (t0 < 0 || t0 > top) hi = -1;
    } else if (dt > 0) {
        lo = std::max(lo, ceilDiv(-t0, dt));
        hi = std::min(hi, floorDiv(top - t0, dt));
    } else {
        lo = std::max(lo, ceilDiv(t0 - top, -dt));
        hi = std::min(hi, floorDiv(t0, -dt));
    }
    first = std::max(first, int(std::min<int64_t>(lo, last)));
    last = int(std::max<int64_t>(std::min<int64_t>(hi + 1, last), first));
}

// The span's pixels k onwards.
inline Span advanced(const Span& sp, int k)
{
    Span s = sp;
    s.dst += k;
    s.n -= k;
    for (int j = 0; j < 2; ++j) {
        s.u[j] += s.du[j] * k;
        s.v[j] += s.dv[j] * k;
    }
    // Wrapping arithmetic: planes nothing reads (specular when unused) may hold
    // any value, and the ones that are read stay inside the colour range anyway.
    for (int j = 0; j < 8; ++j) s.c[j] = int32_t(uint32_t(s.c[j]) + uint32_t(s.dc[j]) * uint32_t(k));
    return s;
}

// Runs fast on the pixels whose texels all lie inside the level and the
// general kernel on the rest (a polygon's edge reaching the texture's border
// or beyond): both draw the same pixels, so the split is invisible.
template <bool Linear>
inline void splitAtTextureEdges(const Ctx& cx, const Span& sp, Kernel fast)
{
    const Sampler& s = cx.smp[0];
    const int64_t off = Linear ? 0x8000 : 0;
    const int margin = Linear ? 1 : 0;
    int first = 0, last = sp.n;
    insideRange(sp.u[0] - off, sp.du[0], s.w, margin, first, last);
    insideRange(sp.v[0] - off, sp.dv[0], s.h, margin, first, last);
    Span middle = advanced(sp, first);
    middle.n = last - first;
    if (middle.n < 16 || !spanInside<Linear>(s, middle)) {
        kernelGeneral(cx, sp);
        return;
    }
    if (first > 0) {
        Span head = sp;
        head.n = first;
        kernelGeneral(cx, head);
    }
    fast(cx, middle);
    if (last < sp.n) kernelGeneral(cx, advanced(sp, last));
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

#if defined(TNS_RASTER_AVX2)
// Filtered texels from two rows with constant weights (16-bit lanes): the
// arithmetic of lerpColor, horizontal first, each step truncated.
TNS_AVX2 inline __m256i lerpRows16(__m256i a, __m256i b, __m256i c, __m256i d, __m256i nu, __m256i fu, __m256i nv,
                                   __m256i fv)
{
    const __m256i top = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, nu), _mm256_mullo_epi16(b, fu)), 8);
    const __m256i bot = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(c, nu), _mm256_mullo_epi16(d, fu)), 8);
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(top, nv), _mm256_mullo_epi16(bot, fv)), 8);
}

// Eight filtered texels whose top-left texels start at r0 (r1 the row below).
TNS_AVX2 inline __m256i lerpRows8(const uint32_t* r0, const uint32_t* r1, __m256i nu, __m256i fu, __m256i nv,
                                  __m256i fv)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r0));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r0 + 1));
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r1));
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r1 + 1));
    const __m256i lo = lerpRows16(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero),
                                  _mm256_unpacklo_epi8(c, zero), _mm256_unpacklo_epi8(d, zero), nu, fu, nv, fv);
    const __m256i hi = lerpRows16(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero),
                                  _mm256_unpackhi_epi8(c, zero), _mm256_unpackhi_epi8(d, zero), nu, fu, nv, fv);
    return _mm256_packus_epi16(lo, hi);
}

// A span along one texture row (an axis-aligned quad): the vertical weight is
// the same for every pixel. Returns how many pixels were done.
TNS_AVX2 int gatherLinearRowAvx2(const uint32_t* r0, int w, int32_t u, int32_t du, uint32_t fv, int n,
                                 uint32_t orMask, uint32_t* out)
{
    const __m256i nv = _mm256_set1_epi16(int16_t(256 - fv)), fv16 = _mm256_set1_epi16(int16_t(fv));
    const __m256i mask = _mm256_set1_epi32(int32_t(orMask));
    int i = 0;
    if (du == 0x10000) {
        // One texel per pixel: the horizontal weight is constant too.
        r0 += u >> 16;
        const __m256i fu = _mm256_set1_epi16(int16_t((u >> 8) & 0xFF)), nu = _mm256_sub_epi16(_mm256_set1_epi16(256), fu);
        for (; i + 8 <= n; i += 8)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                                _mm256_or_si256(lerpRows8(r0 + i, r0 + i + w, nu, fu, nv, fv16), mask));
        return i;
    }
    const __m256i zero = _mm256_setzero_si256(), full = _mm256_set1_epi16(256), frac = _mm256_set1_epi32(0xFF);
    if (n < 8) return 0;
    const __m256i step = _mm256_slli_epi32(_mm256_set1_epi32(du), 3);
    __m256i uv = _mm256_add_epi32(_mm256_set1_epi32(u), _mm256_mullo_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7),
                                                                          _mm256_set1_epi32(du)));
    const int* base0 = reinterpret_cast<const int*>(r0);
    const int* base1 = reinterpret_cast<const int*>(r0 + w);
    const bool magnified = du >= 0 && du <= 0x10000;
    for (; i + 8 <= n; i += 8, uv = _mm256_add_epi32(uv, step)) {
        const __m256i x = _mm256_srli_epi32(uv, 16);
        __m256i a, b, c, d;
        const int first = int(uint32_t(_mm256_cvtsi256_si32(x)));
        if (magnified && first + 9 <= w) {
            // Magnified: the eight pixels read at most nine neighbouring texels
            // of each row, so two loads and a lane permute replace the gathers.
            const __m256i a8 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base0 + first));
            const __m256i b8 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base0 + first + 1));
            const __m256i c8 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base1 + first));
            const __m256i d8 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base1 + first + 1));
            const __m256i same = _mm256_and_si256(_mm256_cmpeq_epi32(a8, b8),
                                                  _mm256_and_si256(_mm256_cmpeq_epi32(c8, d8), _mm256_cmpeq_epi32(a8, c8)));
            if (_mm256_movemask_epi8(same) == -1) {
                // One colour under all eight (the inside of a stretched panel):
                // filtering equal texels gives that colour.
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_or_si256(a8, mask));
                continue;
            }
            const __m256i idx = _mm256_sub_epi32(x, _mm256_set1_epi32(first));
            a = _mm256_permutevar8x32_epi32(a8, idx);
            b = _mm256_permutevar8x32_epi32(b8, idx);
            c = _mm256_permutevar8x32_epi32(c8, idx);
            d = _mm256_permutevar8x32_epi32(d8, idx);
        } else {
            a = _mm256_i32gather_epi32(base0, x, 4);
            b = _mm256_i32gather_epi32(base0 + 1, x, 4);
            c = _mm256_i32gather_epi32(base1, x, 4);
            d = _mm256_i32gather_epi32(base1 + 1, x, 4);
        }
        // Each pixel's horizontal weight in the four channel lanes it widens to.
        __m256i f = _mm256_and_si256(_mm256_srli_epi32(uv, 8), frac);
        f = _mm256_or_si256(f, _mm256_slli_epi32(f, 16));
        const __m256i fuLo = _mm256_unpacklo_epi32(f, f), fuHi = _mm256_unpackhi_epi32(f, f);
        const __m256i lo = lerpRows16(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero),
                                      _mm256_unpacklo_epi8(c, zero), _mm256_unpacklo_epi8(d, zero),
                                      _mm256_sub_epi16(full, fuLo), fuLo, nv, fv16);
        const __m256i hi = lerpRows16(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero),
                                      _mm256_unpackhi_epi8(c, zero), _mm256_unpackhi_epi8(d, zero),
                                      _mm256_sub_epi16(full, fuHi), fuHi, nv, fv16);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_or_si256(_mm256_packus_epi16(lo, hi), mask));
    }
    return i;
}
#endif

void gatherLinear(const Sampler& s, int64_t u, int64_t v, int64_t du, int64_t dv, int n, uint32_t orMask,
                  uint32_t* out)
{
    u -= 0x8000;
    v -= 0x8000;
#if defined(TNS_RASTER_AVX2)
    // The caller checked that every texel lies inside the level, so the
    // coordinates fit 32 bits.
    if (dv == 0 && kHasAvx2) {
        const uint32_t* r0 = s.tex + size_t(v >> 16) * size_t(s.w);
        const int done = gatherLinearRowAvx2(r0, s.w, int32_t(u), int32_t(du), uint32_t((v >> 8) & 0xFF), n,
                                             orMask, out);
        out += done;
        n -= done;
        u += du * done;
    }
#endif
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
        splitAtTextureEdges<Linear>(cx, sp, kernelTexture<Modulate, ConstAlpha, Blend, Linear, Q>);
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
    if (!diffuseInRange(sp)) {
        kernelGeneral(cx, sp);
        return;
    }
    if (!spanInside<Linear>(s, sp)) {
        splitAtTextureEdges<Linear>(cx, sp, kernelGouraud<Blend, Linear, Q>);
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

} // namespace tns::raster::detail
