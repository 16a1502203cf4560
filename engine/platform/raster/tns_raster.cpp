// The rasterizer's polygon set-up: vertices snapped to fixed point, edges with
// the top-left fill rule, attribute planes, mip selection per stage, and the
// entry points. The kernels that fill the spans live in the other tns_raster files.
#include "engine/platform/raster/tns_raster_internal.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tns::raster {
namespace detail {

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

} // namespace detail

using namespace detail;

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
