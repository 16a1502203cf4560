// The rasterizer core against values worked out by hand: coverage with the
// top-left rule, texture stage operations and arguments, blend factors, fog,
// addressing, filtering, mip selection, clipping and 16-bit quantisation.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/platform/raster/tns_raster.h"
#include "tests/support/test_support.h"

using namespace tns::raster;

namespace {

// Rounded x/255, the arithmetic every expected value below uses.
uint32_t r255(uint32_t x)
{
    return (x * 2 + 255) / 510;
}

struct Canvas {
    Canvas(int w, int h, Quantise q = Quantise::None) : px(size_t(w) * h, 0xFF000000u)
    {
        target = Target{px.data(), w, h, w, q};
    }
    uint32_t at(int x, int y) const { return px[size_t(y) * target.width + x]; }
    std::vector<uint32_t> px;
    Target target;
};

// Every pixel white inside [x0, x1) x [y0, y1) and untouched outside.
void expectWhiteRect(const Canvas& c, int x0, int y0, int x1, int y1)
{
    for (int y = 0; y < c.target.height; ++y)
        for (int x = 0; x < c.target.width; ++x)
            EXPECT_EQ(c.at(x, y) == 0xFFFFFFFFu, x >= x0 && x < x1 && y >= y0 && y < y1) << x << "," << y;
}

struct Tex {
    Tex(int w, int h, std::vector<uint32_t> texels) : data(std::move(texels))
    {
        tex.levelCount = 1;
        tex.levels[0] = {data.data(), w, h};
    }
    std::vector<uint32_t> data;
    Texture tex;
};

State plainState(const Canvas& c)
{
    State s;
    s.stages[0].colorOp = kTopSelect2; // diffuse
    s.stages[0].colorArg1 = kTaTexture;
    s.stages[0].colorArg2 = kTaDiffuse;
    s.stages[0].alphaOp = kTopSelect2;
    s.stages[0].alphaArg1 = kTaTexture;
    s.stages[0].alphaArg2 = kTaDiffuse;
    s.stages[1].colorOp = kTopDisable;
    s.stages[1].alphaOp = kTopDisable;
    s.clip = Rect{0, 0, c.target.width, c.target.height};
    return s;
}

Vertex vtx(float x, float y, uint32_t diffuse, float u = 0, float v = 0, uint32_t specular = 0xFF000000u)
{
    return Vertex{x, y, 0.5f, 0.5f, diffuse, specular, u, v, u, v};
}

// Axis-aligned quad TL, TR, BR, BL drawn as the engine's two triangles.
void quad(Canvas& c, const State& s, float x0, float y0, float x1, float y1, uint32_t diffuse, float u0 = 0,
          float v0 = 0, float u1 = 1, float v1 = 1, uint32_t specular = 0xFF000000u)
{
    Vertex v[4] = {vtx(x0, y0, diffuse, u0, v0, specular), vtx(x1, y0, diffuse, u1, v0, specular),
                   vtx(x1, y1, diffuse, u1, v1, specular), vtx(x0, y1, diffuse, u0, v1, specular)};
    const uint16_t idx[6] = {0, 1, 2, 0, 2, 3};
    DrawIndexedTriangles(c.target, s, v, 4, idx, 2);
}

void triangle(Canvas& c, const State& s, Vertex a, Vertex b, Vertex d)
{
    Vertex v[3] = {a, b, d};
    const uint16_t idx[3] = {0, 1, 2};
    DrawIndexedTriangles(c.target, s, v, 3, idx, 1);
}

// Additive state: every draw adds 1 to the red channel, so a pixel's red value
// counts how many polygons covered it.
State countingState(const Canvas& c)
{
    State s = plainState(c);
    s.blend = true;
    s.srcBlend = kBlendOne;
    s.destBlend = kBlendOne;
    s.cullMode = 1; // none: windings of the test shapes vary
    return s;
}

// One stage-0 operation on a 1x1 white-filled quad over a black pixel.
uint32_t stageResult(uint32_t colorOp, uint32_t arg1, uint32_t arg2, uint32_t texel, uint32_t diffuse,
                     uint32_t tfactor = 0xFFFFFFFFu, uint32_t specular = 0xFF000000u)
{
    Canvas c(1, 1);
    Tex t(1, 1, {texel});
    State s = plainState(c);
    s.stages[0] = Stage{colorOp, arg1, arg2, kTopSelect1, kTaDiffuse, kTaDiffuse};
    s.stages[0].texture = &t.tex;
    s.textureFactor = tfactor;
    quad(c, s, -0.5f, -0.5f, 0.5f, 0.5f, diffuse, 0, 0, 1, 1, specular);
    return c.at(0, 0) & 0xFFFFFFu;
}

// The alpha a stage produces, made visible by kBlendSrcAlpha/kBlendZero blending of white.
uint32_t alphaResult(uint32_t alphaOp, uint32_t arg1, uint32_t arg2, uint32_t texel, uint32_t diffuse)
{
    Canvas c(1, 1);
    Tex t(1, 1, {texel});
    State s = plainState(c);
    s.stages[0] = Stage{kTopSelect1, kTaTFactor, kTaTFactor, alphaOp, arg1, arg2};
    s.stages[0].texture = &t.tex;
    s.blend = true;
    s.srcBlend = kBlendSrcAlpha;
    s.destBlend = kBlendZero;
    quad(c, s, -0.5f, -0.5f, 0.5f, 0.5f, diffuse);
    return c.at(0, 0) & 0xFF;
}

} // namespace

TEST(RasterCoverage, PixelCentresAreIntegersAndLeftTopEdgesAreInclusive)
{
    Canvas c(6, 6);
    State s = plainState(c);
    // Edges exactly on pixel centres: x = 1 and y = 1 are inside, x = 4 and y = 3 are not.
    quad(c, s, 1.0f, 1.0f, 4.0f, 3.0f, 0xFFFFFFFFu);
    expectWhiteRect(c, 1, 1, 4, 3);
}

TEST(RasterCoverage, FractionalEdgesCoverTheCentresInside)
{
    Canvas c(6, 6);
    State s = plainState(c);
    // Centres 2 and 3 lie inside [1.6, 3.2); the row centres 1..4 inside [0.9, 4.01).
    quad(c, s, 1.6f, 0.9f, 3.2f, 4.01f, 0xFFFFFFFFu);
    expectWhiteRect(c, 2, 1, 4, 5);
}

TEST(RasterCoverage, NeighbouringQuadsNeitherOverlapNorLeaveGaps)
{
    Canvas c(12, 12);
    State s = countingState(c);
    const float xs[] = {0.0f, 2.3f, 2.5f, 5.0f, 7.75f, 12.0f};
    const float ys[] = {0.0f, 3.5f, 3.51f, 8.2f, 12.0f};
    for (int i = 0; i + 1 < 6; ++i)
        for (int j = 0; j + 1 < 5; ++j) quad(c, s, xs[i], ys[j], xs[i + 1], ys[j + 1], 0x00010000u);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) EXPECT_EQ(c.at(x, y), 0xFF010000u) << x << "," << y;
}

TEST(RasterCoverage, TrianglesSharingEdgesCoverEveryPixelOnce)
{
    // A fan of separate triangles around an off-grid centre, sharing slanted
    // edges, tiles the square [0, 10) x [0, 10).
    Canvas c(10, 10);
    State s = countingState(c);
    const float cx = 4.37f, cy = 5.61f;
    const float ring[][2] = {{0, 0}, {3.3f, 0}, {10, 0}, {10, 4.5f}, {10, 10}, {6.2f, 10}, {0, 10}, {0, 2.25f}};
    for (int i = 0; i < 8; ++i) {
        const float* a = ring[i];
        const float* b = ring[(i + 1) % 8];
        triangle(c, s, vtx(cx, cy, 0x00010000u), vtx(a[0], a[1], 0x00010000u), vtx(b[0], b[1], 0x00010000u));
    }
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(c.at(x, y), 0xFF010000u) << x << "," << y;
}

TEST(RasterCoverage, CullingFollowsTheWinding)
{
    Canvas c(4, 4);
    State s = plainState(c); // counter-clockwise culled, the device default
    triangle(c, s, vtx(0, 0, 0xFFFFFFFFu), vtx(0, 4, 0xFFFFFFFFu), vtx(4, 0, 0xFFFFFFFFu));
    EXPECT_EQ(c.at(0, 0), 0xFF000000u);
    triangle(c, s, vtx(0, 0, 0xFFFFFFFFu), vtx(4, 0, 0xFFFFFFFFu), vtx(0, 4, 0xFFFFFFFFu));
    EXPECT_EQ(c.at(0, 0), 0xFFFFFFFFu);
}

TEST(RasterCoverage, ViewportClipsAndBadVerticesAreDropped)
{
    Canvas c(8, 8);
    State s = plainState(c);
    s.clip = Rect{2, 3, 5, 7};
    quad(c, s, -100.0f, -100.0f, 100.0f, 100.0f, 0xFFFFFFFFu);
    expectWhiteRect(c, 2, 3, 5, 7);

    Canvas d(4, 4);
    State t = plainState(d);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    quad(d, t, nan, 0, 4, 4, 0xFFFFFFFFu);
    quad(d, t, -1e30f, 0, 4, 4, 0xFFFFFFFFu);
    // Indices past the vertex count drop their triangle.
    Vertex v[3] = {vtx(0, 0, 0xFFFFFFFFu), vtx(4, 0, 0xFFFFFFFFu), vtx(0, 4, 0xFFFFFFFFu)};
    const uint16_t idx[3] = {0, 1, 7};
    DrawIndexedTriangles(d.target, t, v, 3, idx, 1);
    for (uint32_t p : d.px) EXPECT_EQ(p, 0xFF000000u);
}

TEST(RasterShading, GouraudInterpolatesDiffuseAcrossTheQuad)
{
    Canvas c(4, 1);
    State s = plainState(c);
    // Red runs from 0 at x = -0.5 to 255 at x = 3.5: centre x gets 255 (x + 0.5) / 4, truncated.
    Vertex v[4] = {vtx(-0.5f, -0.5f, 0xFF000000u), vtx(3.5f, -0.5f, 0xFFFF0000u), vtx(3.5f, 0.5f, 0xFFFF0000u),
                   vtx(-0.5f, 0.5f, 0xFF000000u)};
    const uint16_t idx[6] = {0, 1, 2, 0, 2, 3};
    DrawIndexedTriangles(c.target, s, v, 4, idx, 2);
    EXPECT_EQ(c.at(0, 0), 0xFF1F0000u); // 31.875
    EXPECT_EQ(c.at(1, 0), 0xFF5F0000u); // 95.625
    EXPECT_EQ(c.at(2, 0), 0xFF9F0000u); // 159.375
    EXPECT_EQ(c.at(3, 0), 0xFFDF0000u); // 223.125
}

TEST(RasterStages, ColourOperationsAndArguments)
{
    const uint32_t tex = 0x80C04020u, dif = 0xFF808080u;
    EXPECT_EQ(stageResult(kTopSelect1, kTaTexture, kTaDiffuse, tex, dif), 0xC04020u);
    EXPECT_EQ(stageResult(kTopSelect2, kTaTexture, kTaDiffuse, tex, dif), 0x808080u);
    EXPECT_EQ(stageResult(kTopSelect1, kTaCurrent, kTaDiffuse, tex, dif), 0x808080u); // current = diffuse on stage 0
    EXPECT_EQ(stageResult(kTopSelect1, kTaTFactor, kTaDiffuse, tex, dif, 0xFF102030u), 0x102030u);
    EXPECT_EQ(stageResult(kTopSelect1, kTaSpecular, kTaDiffuse, tex, dif, 0, 0xFF0A0B0Cu), 0x0A0B0Cu);
    // Modulate: each channel a*b/255 rounded.
    EXPECT_EQ(stageResult(kTopModulate, kTaTexture, kTaDiffuse, tex, dif),
              (r255(0xC0 * 0x80) << 16) | (r255(0x40 * 0x80) << 8) | r255(0x20 * 0x80));
    // Add saturates, subtract stops at 0.
    EXPECT_EQ(stageResult(kTopAdd, kTaTexture, kTaDiffuse, tex, dif), 0xFFC0A0u);
    EXPECT_EQ(stageResult(kTopSubtract, kTaTexture, kTaDiffuse, tex, dif), 0x400000u);
    // Dot3 of (255, 128, 128) with itself: (255)(255) + 1 + 1 = 65027 -> 255; replicated.
    EXPECT_EQ(stageResult(kTopDot3, kTaTexture, kTaDiffuse, 0xFFFF8080u, 0xFFFF8080u), 0xFFFFFFu);
    // Opposite vectors give 0.
    EXPECT_EQ(stageResult(kTopDot3, kTaTexture, kTaDiffuse, 0xFFFF8080u, 0xFF008080u), 0u);
    // A stage without a texture samples opaque white.
    Canvas c(1, 1);
    State s = plainState(c);
    s.stages[0] = Stage{kTopModulate, kTaTexture, kTaDiffuse, kTopSelect1, kTaTexture, kTaDiffuse};
    quad(c, s, -0.5f, -0.5f, 0.5f, 0.5f, 0xFF336699u);
    EXPECT_EQ(c.at(0, 0), 0xFF336699u);
}

TEST(RasterStages, AlphaOperations)
{
    const uint32_t tex = 0x80FFFFFFu, dif = 0x40FFFFFFu;
    EXPECT_EQ(alphaResult(kTopSelect1, kTaTexture, kTaDiffuse, tex, dif), 0x80u);
    EXPECT_EQ(alphaResult(kTopSelect2, kTaTexture, kTaDiffuse, tex, dif), 0x40u);
    EXPECT_EQ(alphaResult(kTopModulate, kTaTexture, kTaDiffuse, tex, dif), r255(0x80 * 0x40));
    EXPECT_EQ(alphaResult(kTopAdd, kTaTexture, kTaDiffuse, tex, dif), 0xC0u);
    EXPECT_EQ(alphaResult(kTopSubtract, kTaTexture, kTaDiffuse, tex, dif), 0x40u);
}

TEST(RasterStages, SecondStageWorksOnTheFirstStagesResult)
{
    Canvas c(1, 1);
    Tex t0(1, 1, {0xFF808080u}), t1(1, 1, {0xFF204060u});
    State s = plainState(c);
    s.stages[0] = Stage{kTopModulate, kTaTexture, kTaDiffuse, kTopSelect1, kTaTexture, kTaDiffuse};
    s.stages[0].texture = &t0.tex;
    s.stages[1] = Stage{kTopAdd, kTaTexture, kTaCurrent, kTopSelect1, kTaCurrent, kTaCurrent};
    s.stages[1].texture = &t1.tex;
    s.stages[1].texCoordIndex = 1;
    quad(c, s, -0.5f, -0.5f, 0.5f, 0.5f, 0xFFFF8000u);
    // Stage 0: (128, 64, 0) after modulating (255, 128, 0) by 128; stage 1 adds (32, 64, 96).
    EXPECT_EQ(c.at(0, 0), 0xFF000000u | ((0x80 + 0x20) << 16) | ((r255(128 * 128) + 0x40) << 8) | 0x60);
}

TEST(RasterBlend, EveryBlendFactor)
{
    // Source (200, 100, 50) alpha 128 over destination (40, 80, 160).
    const uint32_t src = 0x80C86432u, dst = 0xFF2850A0u;
    auto run = [&](uint32_t sb, uint32_t db) {
        Canvas c(1, 1);
        c.px[0] = dst;
        State s = plainState(c);
        s.blend = true;
        s.srcBlend = sb;
        s.destBlend = db;
        quad(c, s, -0.5f, -0.5f, 0.5f, 0.5f, src);
        return c.at(0, 0);
    };
    auto expect = [&](uint32_t fsR, uint32_t fsG, uint32_t fsB, uint32_t fdR, uint32_t fdG, uint32_t fdB) {
        auto chn = [](uint32_t s, uint32_t fs, uint32_t d, uint32_t fd) { return std::min(r255(s * fs + d * fd), 255u); };
        return 0xFF000000u | (chn(200, fsR, 40, fdR) << 16) | (chn(100, fsG, 80, fdG) << 8) | chn(50, fsB, 160, fdB);
    };
    EXPECT_EQ(run(kBlendZero, kBlendOne), dst);
    EXPECT_EQ(run(kBlendOne, kBlendZero), 0xFFC86432u);
    EXPECT_EQ(run(kBlendSrcColor, kBlendZero), expect(200, 100, 50, 0, 0, 0));
    EXPECT_EQ(run(kBlendInvSrcColor, kBlendZero), expect(55, 155, 205, 0, 0, 0));
    EXPECT_EQ(run(kBlendSrcAlpha, kBlendInvSrcAlpha), expect(128, 128, 128, 127, 127, 127));
    EXPECT_EQ(run(kBlendOne, kBlendDestColor), expect(255, 255, 255, 40, 80, 160));
    EXPECT_EQ(run(kBlendOne, kBlendInvDestColor), expect(255, 255, 255, 215, 175, 95));
    // The back buffer has no alpha: destination alpha reads as full.
    EXPECT_EQ(run(kBlendDestAlpha, kBlendZero), 0xFFC86432u);
    EXPECT_EQ(run(kBlendInvDestAlpha, kBlendOne), dst);
    // min(source alpha, 1 - destination alpha) = 0.
    EXPECT_EQ(run(kBlendSrcAlphaSat, kBlendOne), dst);
    // Saturation: one plus one.
    EXPECT_EQ(run(kBlendOne, kBlendOne), 0xFFF0B4D2u);
}

TEST(RasterFog, SpecularAlphaBlendsTowardTheFogColour)
{
    Canvas c(3, 1);
    State s = plainState(c);
    s.fog = true;
    s.fogColor = 0xFF0000FFu;
    // Factor 255 keeps the colour, 0 gives the fog colour, 64 mixes 64/255 of the colour.
    quad(c, s, -0.5f, -0.5f, 0.5f, 0.5f, 0xFFFFFFFFu, 0, 0, 1, 1, 0xFFFFFFFFu);
    quad(c, s, 0.5f, -0.5f, 1.5f, 0.5f, 0xFFFFFFFFu, 0, 0, 1, 1, 0x00FFFFFFu);
    quad(c, s, 1.5f, -0.5f, 2.5f, 0.5f, 0xFFFFFFFFu, 0, 0, 1, 1, 0x40FFFFFFu);
    EXPECT_EQ(c.at(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(c.at(1, 0), 0xFF0000FFu);
    const uint32_t mix = r255(255 * 64);
    EXPECT_EQ(c.at(2, 0), 0xFF000000u | (mix << 16) | (mix << 8) | r255(255 * 64 + 255 * 191));
}

TEST(RasterTexture, WrapAndClampAddressing)
{
    Tex t(2, 1, {0xFFFF0000u, 0xFF00FF00u});
    for (uint32_t mode : {1u, 3u}) {
        Canvas c(4, 1);
        State s = plainState(c);
        s.stages[0] = Stage{kTopSelect1, kTaTexture, kTaDiffuse, kTopSelect1, kTaTexture, kTaDiffuse};
        s.stages[0].texture = &t.tex;
        s.stages[0].addressU = s.stages[0].addressV = mode;
        // u runs 0..2 over four pixels: texel coordinates 0.5, 1.5, 2.5, 3.5.
        quad(c, s, -0.5f, -0.5f, 3.5f, 0.5f, 0xFFFFFFFFu, 0, 0, 2, 1);
        const bool wrap = mode == 1;
        EXPECT_EQ(c.at(0, 0), 0xFFFF0000u);
        EXPECT_EQ(c.at(1, 0), 0xFF00FF00u);
        EXPECT_EQ(c.at(2, 0), wrap ? 0xFFFF0000u : 0xFF00FF00u);
        EXPECT_EQ(c.at(3, 0), 0xFF00FF00u);
    }
}

TEST(RasterTexture, PointAndLinearSampling)
{
    Tex t(2, 1, {0xFF000000u, 0xFFFFFFFFu});
    auto draw = [&](uint32_t filter) {
        Canvas c(4, 1);
        State s = plainState(c);
        s.stages[0] = Stage{kTopSelect1, kTaTexture, kTaDiffuse, kTopSelect1, kTaTexture, kTaDiffuse};
        s.stages[0].texture = &t.tex;
        s.stages[0].addressU = s.stages[0].addressV = 3;
        s.stages[0].magFilter = s.stages[0].minFilter = filter;
        quad(c, s, -0.5f, -0.5f, 3.5f, 0.5f, 0xFFFFFFFFu);
        return c;
    };
    Canvas p = draw(1);
    EXPECT_EQ(p.at(0, 0), 0xFF000000u);
    EXPECT_EQ(p.at(1, 0), 0xFF000000u);
    EXPECT_EQ(p.at(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(p.at(3, 0), 0xFFFFFFFFu);
    // Linear: texel coordinates 0.25, 0.75, 1.25, 1.75 less the half-texel centre
    // offset give weights 0, 64/256, 192/256 and 1 (clamped) of white.
    Canvas l = draw(2);
    EXPECT_EQ(l.at(0, 0), 0xFF000000u);
    EXPECT_EQ(l.at(1, 0), 0xFF3F3F3Fu); // 255 * 64 >> 8
    EXPECT_EQ(l.at(2, 0), 0xFFBFBFBFu); // 255 * 192 >> 8
    EXPECT_EQ(l.at(3, 0), 0xFFFFFFFFu);
}

TEST(RasterTexture, LinearAtTexelCentresEqualsPoint)
{
    std::vector<uint32_t> texels(16 * 16);
    for (size_t i = 0; i < texels.size(); ++i) texels[i] = 0xFF000000u | uint32_t(i * 0x010305u);
    Tex t(16, 16, texels);
    Canvas c(20, 20);
    State s = plainState(c);
    s.stages[0] = Stage{kTopSelect1, kTaTexture, kTaDiffuse, kTopSelect1, kTaTexture, kTaDiffuse};
    s.stages[0].texture = &t.tex;
    s.stages[0].magFilter = s.stages[0].minFilter = 2;
    // The engine's half-pixel shift: a 16x16 quad at (2, 3) is queued at (1.5, 2.5).
    quad(c, s, 1.5f, 2.5f, 17.5f, 18.5f, 0xFFFFFFFFu);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(c.at(x + 2, y + 3), texels[size_t(y) * 16 + x]) << x << "," << y;
}

TEST(RasterTexture, MipLevelFollowsTheMinification)
{
    std::vector<uint32_t> l0(4 * 4, 0xFFFF0000u), l1(2 * 2, 0xFF00FF00u), l2(1, 0xFF0000FFu);
    Texture tex;
    tex.levelCount = 3;
    tex.levels[0] = {l0.data(), 4, 4};
    tex.levels[1] = {l1.data(), 2, 2};
    tex.levels[2] = {l2.data(), 1, 1};
    auto draw = [&](uint32_t mipFilter, float size) {
        Canvas c(4, 4);
        State s = plainState(c);
        s.stages[0] = Stage{kTopSelect1, kTaTexture, kTaDiffuse, kTopSelect1, kTaTexture, kTaDiffuse};
        s.stages[0].texture = &tex;
        s.stages[0].mipFilter = mipFilter;
        quad(c, s, -0.5f, -0.5f, size - 0.5f, size - 0.5f, 0xFFFFFFFFu);
        return c.at(0, 0);
    };
    EXPECT_EQ(draw(0, 2), 0xFFFF0000u); // no mip filter: level 0
    EXPECT_EQ(draw(1, 4), 0xFFFF0000u); // 1:1
    EXPECT_EQ(draw(1, 2), 0xFF00FF00u); // 2 texels per pixel: level 1
    EXPECT_EQ(draw(1, 1), 0xFF0000FFu); // 4 texels per pixel: level 2
}

TEST(RasterTexture, SourceOverMatchesTheBlendFormulaOnEveryPixel)
{
    // The specialised source-over path against the formula, texel by texel,
    // including alpha 0 and 255 and a tinted diffuse.
    std::vector<uint32_t> texels(8 * 8);
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = (uint32_t(i * 37 % 256) << 24) | uint32_t(i * 0x0B1D07u & 0xFFFFFFu);
    texels[0] = 0x00FFFFFFu;
    texels[1] = 0xFF123456u;
    Tex t(8, 8, texels);
    for (uint32_t diffuse : {0xFFFFFFFFu, 0xC080FF40u}) {
        Canvas c(8, 8);
        for (size_t i = 0; i < c.px.size(); ++i) c.px[i] = 0xFF000000u | uint32_t(i * 0x030507u & 0xFFFFFFu);
        const std::vector<uint32_t> before = c.px;
        State s = plainState(c);
        s.stages[0] = Stage{kTopModulate, kTaTexture, kTaDiffuse, kTopModulate, kTaTexture, kTaDiffuse};
        s.stages[0].texture = &t.tex;
        s.blend = true;
        s.srcBlend = kBlendSrcAlpha;
        s.destBlend = kBlendInvSrcAlpha;
        quad(c, s, -0.5f, -0.5f, 7.5f, 7.5f, diffuse);
        for (size_t i = 0; i < texels.size(); ++i) {
            uint32_t tx = texels[i], d = before[i];
            uint32_t a = r255((tx >> 24) * (diffuse >> 24));
            uint32_t out = 0xFF000000u;
            for (int sh = 0; sh <= 16; sh += 8) {
                uint32_t sc = r255(((tx >> sh) & 0xFF) * ((diffuse >> sh) & 0xFF));
                out |= r255(sc * a + ((d >> sh) & 0xFF) * (255 - a)) << sh;
            }
            ASSERT_EQ(c.px[i], out) << i;
        }
    }
}

TEST(RasterTarget, SixteenBitTargetsHoldOnlyTheirLevels)
{
    // Each channel keeps its top 5 (green 6) bits and repeats their top bits
    // below: 0x12 -> 0x10, 0x34 -> 0x34, 0x56 -> 0x50 | 0x02 = 0x52.
    Canvas a(2, 1, Quantise::R5G6B5);
    Clear(a.target, Rect{0, 0, 1, 1}, 0xFF123456u);
    EXPECT_EQ(a.at(0, 0), 0xFF103452u);
    // X1R5G5B5: green has 5 bits too, 0x34 -> 0x06 -> 0x31.
    Canvas b(1, 1, Quantise::X1R5G5B5);
    Clear(b.target, Rect{0, 0, 1, 1}, 0xFF123456u);
    EXPECT_EQ(b.at(0, 0), 0xFF103152u);
    // Blending reads back the quantised value and writes a quantised one.
    State s = plainState(a);
    s.blend = true;
    s.srcBlend = kBlendOne;
    s.destBlend = kBlendOne;
    quad(a, s, -0.5f, -0.5f, 0.5f, 0.5f, 0xFF010101u);
    EXPECT_EQ(a.at(0, 0), 0xFF103452u); // 0x11 truncates back to 0x10, 0x35 to 0x34, 0x53 to 0x52
    EXPECT_EQ(Mul255(255, 77), 77u);
    EXPECT_EQ(Mul255(128, 128), 64u);
}

TEST(RasterKernels, SpecialisedPathsDrawWhatTheGeneralPathDraws)
{
    // Fog with a factor of 255 changes no colour but forces the general kernel,
    // so each case is drawn twice and compared pixel by pixel.
    std::vector<uint32_t> texels(16 * 16);
    // Runs of eight opaque and eight clear texels among varied alphas,
    const uint32_t runAlpha[4] = {255, 0, 1, 1};
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = (runAlpha[i / 8 % 4] == 1 ? uint32_t((i * 53) % 256) << 24 : runAlpha[i / 8 % 4] << 24) |
                    uint32_t((i * 0x2F1B07u) & 0xFFFFFFu);
    // And two rows of one colour, the inside of a stretched panel.
    std::fill(texels.begin() + 8 * 16, texels.begin() + 10 * 16, 0xA0204060u);
    Tex t(16, 16, texels);
    struct Case {
        uint32_t filter;
        bool blend;
        uint32_t diffuse;
        uint32_t colorOp, alphaOp, alphaArg1;
        float x0, y0, x1, y1, rotate, uv0, uv1;
    };
    const Case cases[] = {
        {1, true, 0xFFFFFFFFu, kTopModulate, kTopModulate, kTaTexture, 3.5f, 2.5f, 19.5f, 18.5f, 0, 0, 1},
        {1, true, 0x80FF8040u, kTopModulate, kTopModulate, kTaTexture, 3.5f, 2.5f, 27.5f, 26.5f, 0, 0, 1},
        {2, true, 0xFFFFFFFFu, kTopModulate, kTopModulate, kTaTexture, 1.2f, 2.7f, 30.1f, 25.3f, 0, 0, 1},
        {2, true, 0xC0C0C0C0u, kTopModulate, kTopSelect1, kTaDiffuse, 0.5f, 0.5f, 12.5f, 30.5f, 0, 0, 1},
        {2, false, 0xFF8080FFu, kTopModulate, kTopModulate, kTaTexture, 2.0f, 3.0f, 29.0f, 20.0f, 0, 0, 1},
        {1, false, 0xFFFFFFFFu, kTopSelect1, kTopSelect1, kTaTexture, 4.5f, 4.5f, 20.5f, 20.5f, 0, 0, 1},
        {2, true, 0xFFFFFFFFu, kTopModulate, kTopModulate, kTaTexture, 8.0f, 8.0f, 24.0f, 24.0f, 30, 0, 1},
        {1, true, 0xFF40FF40u, kTopSelect2, kTopModulate, kTaTexture, 2.5f, 2.5f, 18.5f, 18.5f, 0, 0, 1},
        {1, true, 0xFFFFFFFFu, kTopSelect2, kTopModulate, kTaTexture, 2.5f, 2.5f, 18.5f, 18.5f, 0, 0, 1},
        {2, true, 0xA0FF2040u, kTopSelect2, kTopModulate, kTaTexture, 1.3f, 2.2f, 29.5f, 27.0f, 0, 0, 1},
        {1, false, 0xFF80C0FFu, kTopModulate, kTopModulate, kTaTexture, 3.5f, 2.5f, 19.5f, 18.5f, 0, 0, 1},
        {1, true, 0xFFFFFFFFu, kTopModulate, kTopModulate, kTaTexture, 2.0f, 1.0f, 30.0f, 31.0f, 20, 0, 1},
        // Magnified and opaque: texture rows repeat on the screen.
        {1, false, 0xFFFFFFFFu, kTopSelect1, kTopSelect1, kTaTexture, 0.5f, 0.5f, 31.5f, 31.5f, 0, 0, 1},
        {1, false, 0xFF80C0FFu, kTopModulate, kTopModulate, kTaTexture, 1.3f, 0.2f, 30.6f, 31.7f, 0, 0, 1},
        {1, false, 0x80FF8040u, kTopSelect2, kTopModulate, kTaTexture, 0.0f, 0.0f, 32.0f, 32.0f, 0, 0, 1},
        // Unscaled and filtered, the weights the same on every pixel.
        {2, true, 0xFFFFFFFFu, kTopModulate, kTopModulate, kTaTexture, 2.25f, 3.7f, 16.25f, 17.7f, 0, 0.0625f, 0.9375f},
        {2, false, 0xFF80C0FFu, kTopModulate, kTopModulate, kTaTexture, 2.0f, 3.0f, 16.0f, 17.0f, 0, 0.0625f, 0.9375f},
    };
    // Per-vertex colours (a different colour and alpha at each corner) run the
    // Gouraud kernels where the stage is texel times diffuse.
    const uint32_t corners[4] = {0xFFFFFFFFu, 0xE6FFA060u, 0xC860C8FFu, 0x40C8FF80u};
    for (bool gouraud : {false, true})
    for (Quantise q : {Quantise::None, Quantise::R5G6B5}) {
        for (const Case& k : cases) {
            Canvas fast(32, 32, q), general(32, 32, q);
            for (size_t i = 0; i < fast.px.size(); ++i) fast.px[i] = general.px[i] = 0xFF000000u | uint32_t(i * 0x050301u);
            for (Canvas* c : {&fast, &general}) {
                State s = plainState(*c);
                s.stages[0] = Stage{k.colorOp, kTaTexture, kTaDiffuse, k.alphaOp, k.alphaArg1, kTaDiffuse};
                s.stages[0].texture = &t.tex;
                s.stages[0].addressU = s.stages[0].addressV = 3;
                s.stages[0].magFilter = s.stages[0].minFilter = k.filter;
                s.blend = k.blend;
                s.srcBlend = kBlendSrcAlpha;
                s.destBlend = kBlendInvSrcAlpha;
                s.cullMode = 1;
                s.fog = c == &general;
                const float cx = (k.x0 + k.x1) / 2, cy = (k.y0 + k.y1) / 2;
                const float a = k.rotate * 0.017453292f, cs = std::cos(a), sn = std::sin(a);
                auto rot = [&](float x, float y, float u, float v, int corner) {
                    float dx = x - cx, dy = y - cy;
                    return vtx(dx * cs - dy * sn + cx, dy * cs + dx * sn + cy, gouraud ? corners[corner] : k.diffuse,
                               u, v, 0xFFFFFFFFu);
                };
                Vertex v[4] = {rot(k.x0, k.y0, k.uv0, k.uv0, 0), rot(k.x1, k.y0, k.uv1, k.uv0, 1),
                               rot(k.x1, k.y1, k.uv1, k.uv1, 2), rot(k.x0, k.y1, k.uv0, k.uv1, 3)};
                const uint16_t idx[6] = {0, 1, 2, 0, 2, 3};
                DrawIndexedTriangles(c->target, s, v, 4, idx, 2);
            }
            for (size_t i = 0; i < fast.px.size(); ++i)
                ASSERT_EQ(fast.px[i], general.px[i])
                    << "case " << (&k - cases) << (gouraud ? " per-vertex" : "") << " pixel " << i;
        }
    }
}

TEST(RasterCoverage, SliversAndExtremeCoordinatesDrawWithoutFaults)
{
    // Run under the sanitizers: nothing may overflow or read outside a buffer.
    Canvas c(64, 64);
    Tex t(3, 5, std::vector<uint32_t>(15, 0x80FF00FFu));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (uint32_t filter : {1u, 2u}) {
        for (uint32_t address : {1u, 2u, 3u}) {
            State s = plainState(c);
            s.stages[0] = Stage{kTopModulate, kTaTexture, kTaDiffuse, kTopModulate, kTaTexture, kTaDiffuse};
            s.stages[0].texture = &t.tex;
            s.stages[0].addressU = s.stages[0].addressV = address;
            s.stages[0].magFilter = s.stages[0].minFilter = filter;
            s.blend = true;
            s.srcBlend = kBlendSrcAlpha;
            s.destBlend = kBlendInvSrcAlpha;
            s.cullMode = 1;
            // A long sliver with steep colour and texture gradients.
            triangle(c, s, Vertex{-1000, 10, 0, 1, 0xFF000000u, 0, -1e6f, 1e6f, 0, 0},
                     Vertex{1000, 10.004f, 0, 1, 0xFFFFFFFFu, 0, 1e6f, -1e6f, 0, 0},
                     Vertex{0, 10.01f, 0, 1, 0x00FF00FFu, 0, nan, 3e5f, 0, 0});
            // Huge coordinates inside the guard band, and a quad far outside it.
            quad(c, s, -16000, -16000, 16000, 16000, 0xFFFFFFFFu, -5e5f, 7e5f, 9e5f, -1e6f);
            quad(c, s, 1e9f, 1e9f, 2e9f, 2e9f, 0xFFFFFFFFu);
        }
    }
    for (uint32_t p : c.px) EXPECT_EQ(p >> 24, 0xFFu);
}
