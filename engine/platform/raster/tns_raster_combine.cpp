// The rasterizer's general kernel: texture stage operations on their arguments,
// specular add and fog, and the blend of the result into the target, a chunk of
// pixels at a time. Every state combination draws correctly here.
#include "engine/platform/raster/tns_raster_internal.h"

#include <algorithm>
#include <cstring>

namespace tns::raster::detail {

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

} // namespace tns::raster::detail
