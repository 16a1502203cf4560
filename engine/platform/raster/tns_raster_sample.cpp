// Texture sampling of the rasterizer: point and bilinear texels along a span,
// in 16.16 texel coordinates, with every addressing mode.
#include "engine/platform/raster/tns_raster_internal.h"

#include <algorithm>

namespace tns::raster::detail {

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

} // namespace tns::raster::detail
