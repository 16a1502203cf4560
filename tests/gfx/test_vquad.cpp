// The current quad and its batch: placing, rotating, colours and fog factors,
// the half-pixel shift at queue time, one draw per 500 quads, the index
// pattern, and the focus-loss unlock.
#include <cmath>

#include "tests/support/engine_checks.h"
#include "tests/gfx/gfx_test_support.h"

using gfxtest::GfxTest;

namespace {

class VQuadTest : public GfxTest {
protected:
    void SetUp() override
    {
        GfxTest::SetUp();
        start();
    }
};

} // namespace

TEST_F(VQuadTest, FiveHundredthQuadFlushesOnceAndTheNextLandsInSlotZero)
{
    m_t->GFX_SceneBegin();
    for (int i = 0; i < 499; ++i) {
        m_t->GFX_VQuadSetPos(float(i % 40) * 20, float(i / 40) * 20, 10, 10, 0.5f);
        m_t->GFX_SceneRender();
    }
    EXPECT_EQ(draws().calls, 0u);
    EXPECT_EQ(m_t->m_iQuadsInBatch, 499);
    m_t->GFX_SceneRender();
    ASSERT_EQ(draws().calls, 1u);
    EXPECT_EQ(draws().numVertices, 2000u);
    EXPECT_EQ(draws().primCount, 1000u);
    EXPECT_EQ(draws().startIndex, 0u);
    EXPECT_EQ(m_t->m_iQuadsInBatch, 0);
    ASSERT_NE(m_t->m_pQuadLocked, nullptr);

    m_t->GFX_VQuadSetPos(123, 45, 6, 7, 0.5f);
    m_t->GFX_SceneRender();
    EXPECT_EQ(m_t->m_iQuadsInBatch, 1);
    EXPECT_EQ(m_t->m_pQuadLocked[0].x, 122.5f);
    EXPECT_EQ(m_t->m_pQuadLocked[0].y, 44.5f);
    EXPECT_EQ(m_t->m_pQuadLocked[2].x, 128.5f);
    m_t->GFX_SceneEnd();
    ASSERT_EQ(draws().calls, 2u);
    EXPECT_EQ(draws().numVertices, 4u);
    EXPECT_EQ(draws().primCount, 2u);
    EXPECT_EQ(m_t->m_pQuadLocked, nullptr);

    // An empty batch draws nothing at its end; a flush of nothing does nothing.
    m_t->GFX_SceneBegin();
    m_t->GFX_VQuadBatchFlush();
    m_t->GFX_SceneEnd();
    EXPECT_EQ(draws().calls, 2u);
}

TEST_F(VQuadTest, ViewportChangeFlushesTheQueuedQuads)
{
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneRender();
    m_t->GFX_SceneRender();
    m_t->GFX_SceneSetViewport(0, 0, 100, 100);
    ASSERT_EQ(draws().calls, 1u);
    EXPECT_EQ(draws().primCount, 4u);
    m_t->GFX_SceneEnd();
}

TEST_F(VQuadTest, IndexPatternIsTwoTrianglesPerQuad)
{
    BYTE* data = nullptr;
    ASSERT_EQ(m_t->m_pQuadIB->Lock(0, 6000, &data, D3DLOCK_READONLY), D3D_OK);
    const auto* idx = reinterpret_cast<const uint16_t*>(data);
    for (int q = 0; q < 500; ++q) {
        const uint16_t v = uint16_t(q * 4);
        const uint16_t want[6] = {v, uint16_t(v + 1), uint16_t(v + 2), v, uint16_t(v + 2), uint16_t(v + 3)};
        for (int k = 0; k < 6; ++k) ASSERT_EQ(idx[q * 6 + k], want[k]) << q;
    }
    m_t->m_pQuadIB->Unlock();
}

TEST_F(VQuadTest, PlacingAndTheHalfPixelShift)
{
    m_t->GFX_VQuadSetPos(10, 20, 30, 40, 0.5f);
    const float want[4][2] = {{10, 20}, {40, 20}, {40, 60}, {10, 60}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m_t->m_QuadVertices[i].x, want[i][0]);
        EXPECT_EQ(m_t->m_QuadVertices[i].y, want[i][1]);
        EXPECT_EQ(m_t->m_QuadVertices[i].z, 0.5f);
    }
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneRender();
    EXPECT_EQ(m_t->m_QuadVertices[0].x, 9.5f);
    EXPECT_EQ(m_t->m_QuadVertices[2].y, 59.5f);
    // Queuing again without placing shifts again: the current quad keeps the shift.
    m_t->GFX_SceneRender();
    EXPECT_EQ(m_t->m_QuadVertices[0].x, 9.0f);
    EXPECT_EQ(m_t->m_QuadVertices[0].y, 19.0f);
    EXPECT_EQ(m_t->m_pQuadLocked[4].x, 9.0f);
    m_t->GFX_SceneEnd();

    m_t->GFX_VQuadSetPosByVertex(2, 7, 8, 0.25f);
    EXPECT_EQ(m_t->m_QuadVertices[2].x, 7.0f);
    EXPECT_EQ(m_t->m_QuadVertices[2].z, 0.25f);
    m_t->GFX_VQuadSetPosByVertex(4, 1, 1, 1); // outside 0..3: ignored
    m_t->GFX_VQuadMove(1, 2, 0.25f);
    EXPECT_EQ(m_t->m_QuadVertices[2].x, 8.0f);
    EXPECT_EQ(m_t->m_QuadVertices[2].y, 10.0f);
    EXPECT_EQ(m_t->m_QuadVertices[2].z, 0.5f);
}

TEST_F(VQuadTest, RotateAndScaleAboutACentre)
{
    m_t->GFX_VQuadSetPos(1, 0, 0, 0, 0.5f);
    m_t->GFX_VQuadRotate(0, 0, 90);
    EXPECT_NEAR(m_t->m_QuadVertices[0].x, 0.0f, 1e-6f);
    EXPECT_NEAR(m_t->m_QuadVertices[0].y, 1.0f, 1e-6f);
    m_t->GFX_VQuadSetPos(2, 2, 2, 2, 0.5f);
    m_t->GFX_VQuadScale(3, 3, 2);
    EXPECT_EQ(m_t->m_QuadVertices[0].x, 1.0f);
    EXPECT_EQ(m_t->m_QuadVertices[2].y, 5.0f);
    EXPECT_EQ(m_t->m_QuadVertices[2].z, 0.5f);
}

TEST_F(VQuadTest, TextureCoordinateSetsAndColours)
{
    m_t->GFX_VQuadSetTexCoords(1, 0.1f, 0.2f, 0.3f, 0.4f);
    m_t->GFX_VQuadSetTexCoords(2, 0.5f, 0.6f, 0.7f, 0.8f);
    const TRSQUADVERTEX* v = m_t->m_QuadVertices;
    EXPECT_EQ(v[0].tu1, 0.1f);
    EXPECT_EQ(v[1].tu1, 0.3f);
    EXPECT_EQ(v[2].tv1, 0.4f);
    EXPECT_EQ(v[3].tu1, 0.1f);
    EXPECT_EQ(v[3].tv1, 0.4f);
    EXPECT_EQ(v[0].tu2, 0.5f);
    EXPECT_EQ(v[2].tv2, 0.8f);
    EXPECT_EQ(tst::raisedText([&] { m_t->GFX_VQuadSetTexCoords(3, 0, 0, 1, 1); }), "2:Wrong texture coordinates set number: must be 1 or 2");
    m_t->GFX_VQuadSetColor(1.0f, 0.0f, 0.0f, 0.5f);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v[i].diffuse, 0x7FFF0000u);
        EXPECT_EQ(m_t->m_fQuadAlpha[i], 0.5f);
    }
    m_t->GFX_VQuadSetColorByVertex(3, 0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(v[3].diffuse, 0xFF0000FFu);
    EXPECT_EQ(v[2].diffuse, 0x7FFF0000u);
}

TEST_F(VQuadTest, FogFactorsFollowZ)
{
    m_t->m_bFogOn = true;
    m_t->GFX_VQuadSetPos(0, 0, 1, 1, 0.25f);
    EXPECT_EQ(m_t->m_QuadVertices[0].specular, 0x40FFFFFFu); // 0.25 * 255 + 0.5 = 64
    m_t->GFX_VQuadSetPos(0, 0, 1, 1, 1.5f);
    EXPECT_EQ(m_t->m_QuadVertices[1].specular, 0xFFFFFFFFu);
    m_t->GFX_VQuadSetPos(0, 0, 1, 1, -1.0f);
    EXPECT_EQ(m_t->m_QuadVertices[2].specular, 0x00FFFFFFu);
    m_t->GFX_VQuadSetPosByVertex(3, 0, 0, 0.5f);
    EXPECT_EQ(m_t->m_QuadVertices[3].specular, 0x80FFFFFFu);
    EXPECT_EQ(m_t->m_QuadVertices[2].specular, 0x00FFFFFFu);
    m_t->GFX_VQuadMove(0, 0, 1.25f);
    EXPECT_EQ(m_t->m_QuadVertices[0].specular, 0x40FFFFFFu);
    m_t->m_bFogOn = false;
    m_t->GFX_VQuadSetPos(0, 0, 1, 1, 0.75f);
    EXPECT_EQ(m_t->m_QuadVertices[0].specular, 0x40FFFFFFu); // untouched with fog off
}

TEST_F(VQuadTest, FocusLossUnlocksTheBatchUntilTheNextSceneBegin)
{
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneRender();
    m_t->SYS_OnFocusLost();
    EXPECT_EQ(m_t->m_pQuadLocked, nullptr);
    EXPECT_EQ(m_t->m_iQuadsInBatch, 0);
    m_t->GFX_SceneRender();
    EXPECT_EQ(m_t->m_iQuadsInBatch, 0);
    m_t->GFX_SceneEnd();
    EXPECT_EQ(draws().calls, 0u);
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneRender();
    EXPECT_EQ(m_t->m_iQuadsInBatch, 1);
    m_t->GFX_SceneEnd();
    EXPECT_EQ(draws().calls, 1u);
}
