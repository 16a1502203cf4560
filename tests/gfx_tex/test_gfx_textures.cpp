// The textures manager: loading by string ID, slot reuse, format classes,
// dimensions, identifiers, binding to stages and unloading.
#include "tests/gfx_tex/tex_fixture.h"

using textest::errorOf;
using textest::TexTest;

namespace {

D3DSURFACE_DESC descOf(IDirect3DTexture8* tex)
{
    D3DSURFACE_DESC d{};
    tex->GetLevelDesc(0, &d);
    return d;
}

} // namespace

TEST_F(TexTest, SameStringIDLoadsOnceAndFreedSlotsAreReused)
{
    start();
    CSmartID smart("TEX_D");
    EXPECT_EQ(loadPng("TEX_A"), 0);
    EXPECT_EQ(loadPng("TEX_B"), 1);
    EXPECT_EQ(loadPng("TEX_C"), 2);
    const int loadLines = tst::logCount("   =: Loading texture from memory. ID = TEX_A");
    EXPECT_EQ(loadPng("TEX_A"), 0);
    EXPECT_EQ(tst::logCount("   =: Loading texture from memory. ID = TEX_A"), loadLines) << "second load logs nothing";
    m_t->GFX_TexUnloadByID("TEX_B");
    EXPECT_EQ(loadPng("TEX_D"), 1);
    EXPECT_EQ(smart.GetID(), 1) << "identifiers follow the load";
    EXPECT_EQ(m_t->GFX_TexGetID("TEX_D"), 1);
    EXPECT_EQ(m_t->GFX_TexGetID("TEX_NONE"), -1);
    EXPECT_EQ(tst::logCount(" !: Cannot find iID of texture with strID = TEX_NONE"), 1);
    m_t->GFX_TexUnloadByID(1);
    EXPECT_EQ(smart.GetID(), -1) << "unloading by ID unbinds the identifier";
    EXPECT_FALSE(m_t->m_pTexturesManager->IsValidID(1));
}

TEST_F(TexTest, FormatClassesMipLevelsAndDimensions)
{
    start();
    const TRSDISPLAYMODE& mode = m_t->m_VideoCardCaps.Mode2;
    EXPECT_EQ(descOf(texture(loadPng("TEX_0", 2, 2, 0))).Format, mode.TextureFormat01);
    EXPECT_EQ(descOf(texture(loadPng("TEX_7", 2, 2, 7))).Format, mode.TextureFormat01);
    EXPECT_EQ(descOf(texture(loadPng("TEX_2", 2, 2, 2))).Format, mode.TextureFormat02);
    EXPECT_EQ(descOf(texture(loadPng("TEX_3", 2, 2, 3))).Format, mode.TextureFormat03);
    EXPECT_EQ(descOf(texture(loadPng("TEX_4", 2, 2, 4))).Format, mode.TextureFormat04);
    // Mip levels as asked when the caps offer mip-mapping; 0 means one level.
    ASSERT_TRUE(m_t->m_VideoCardCaps.MipMapping);
    EXPECT_EQ(texture(loadPng("TEX_M3", 8, 8, 3, 3))->GetLevelCount(), 3u);
    EXPECT_EQ(texture(loadPng("TEX_M0", 8, 8, 3, 0))->GetLevelCount(), 1u);
    m_t->m_VideoCardCaps.MipMapping = false;
    EXPECT_EQ(texture(loadPng("TEX_NOMIP", 8, 8, 3, 3))->GetLevelCount(), 1u);
    // A dimension is a square size, capped by the caps; 0 keeps the image's size.
    m_t->m_VideoCardCaps.MaxTextureWidth = 32;
    const D3DSURFACE_DESC capped = descOf(texture(loadPng("TEX_BIG", 2, 2, 3, 1, 0, 4096)));
    EXPECT_EQ(capped.Width, 32u);
    EXPECT_EQ(capped.Height, 32u);
    const D3DSURFACE_DESC square = descOf(texture(loadPng("TEX_SQ", 4, 2, 3, 1, 0, 16)));
    EXPECT_EQ(square.Width, 16u);
    EXPECT_EQ(square.Height, 16u);
    const D3DSURFACE_DESC own = descOf(texture(loadPng("TEX_OWN", 8, 4, 3, 1, 0, 0)));
    EXPECT_EQ(own.Width, 8u);
    EXPECT_EQ(own.Height, 4u);
    EXPECT_EQ(m_t->m_pTexturesManager->GetTag(m_t->GFX_TexGetID("TEX_OWN")), 0);
    loadPng("TEX_TAG", 2, 2, 3, 1, 7);
    EXPECT_EQ(m_t->m_pTexturesManager->GetTag(m_t->GFX_TexGetID("TEX_TAG")), 7);
}

TEST_F(TexTest, LoadFailuresRaiseAndLeaveNothing)
{
    const imgtest::Bytes png = textest::pngOf(1, 1, {0xFFFFFFFFu});
    EXPECT_EQ(errorOf([&] { m_t->GFX_TexLoadFromMemory(png.data(), int32_t(png.size()), 3, "TEX_A", 1, 0, 0); }),
              "1:D3DDevice object was not created!");
    start();
    const uint8_t junk[] = "definitely not an image";
    EXPECT_EQ(errorOf([&] { m_t->GFX_TexLoadFromMemory(junk, sizeof junk, 3, "TEX_J", 1, 0, 0); }),
              "1:Cannot create texture object!");
    EXPECT_EQ(errorOf([&] { m_t->GFX_TexLoadFromMemory(png.data(), 20, 3, "TEX_T", 1, 0, 0); }),
              "1:Cannot create texture object!");
    EXPECT_EQ(m_t->m_pTexturesManager->GetSlotCount(), 0);
}

TEST_F(TexTest, BindingToStagesAndTheUnknownIDRule)
{
    start();
    const int32_t a = loadPng("TEX_A");
    const int32_t b = loadPng("TEX_B");
    // An empty stage asked for an unknown texture stays empty: -1 is current.
    EXPECT_EQ(errorOf([&] { m_t->GFX_TexSet("TEX_NONE", 0); }), "none");
    m_t->GFX_TexSet("TEX_A", 0);
    m_t->GFX_TexSet(b, 1);
    EXPECT_EQ(m_t->m_iCurrentTexture[0], a);
    EXPECT_EQ(m_t->m_iCurrentTexture[1], b);
    IDirect3DBaseTexture8* bound = nullptr;
    m_t->m_pD3DDevice->GetTexture(1, &bound);
    EXPECT_EQ(bound, texture(b));
    bound->Release();
    EXPECT_EQ(errorOf([&] { m_t->GFX_TexSet("TEX_NONE", 0); }), "1:Cannot set texture - invalid ID!");
    EXPECT_EQ(errorOf([&] { m_t->GFX_TexSet(9, 0); }), "1:Cannot set texture - invalid ID!");
    EXPECT_EQ(errorOf([&] { m_t->GFX_TexSet(a, 8); }), "2:Invalid texture stage! Stage = 8");
    CSmartID smart("TEX_B");
    CSmartID::SetIntID("TEX_B", b);
    m_t->GFX_TexSet(smart, 0);
    EXPECT_EQ(m_t->m_iCurrentTexture[0], b);
    m_t->GFX_TexSetNoTexture(1);
    EXPECT_EQ(m_t->m_iCurrentTexture[1], -1);
    m_t->m_pD3DDevice->GetTexture(1, &bound);
    EXPECT_EQ(bound, nullptr);
}

TEST_F(TexTest, SettingTheBoundTextureAgainKeepsTheBatch)
{
    start();
    const int32_t a = loadPng("TEX_A");
    const int32_t b = loadPng("TEX_B");
    m_t->GFX_SceneBegin();
    m_t->GFX_TexSet(a, 0);
    m_t->GFX_VQuadSetPos(0, 0, 4, 4, 0.5f);
    m_t->GFX_SceneRender();
    m_t->GFX_TexSet(a, 0);
    m_t->GFX_SceneRender();
    EXPECT_EQ(draws().calls, 0u);
    m_t->GFX_TexSet(b, 0);
    ASSERT_EQ(draws().calls, 1u) << "a change flushes the two queued quads";
    EXPECT_EQ(draws().primCount, 4u);
    m_t->GFX_SceneEnd();
}

TEST_F(TexTest, UnloadingLogsAndABoundTextureCannotBeReleased)
{
    start();
    m_t->GFX_TexUnloadByID(-5);
    std::vector<std::string> got = tst::logFrom("   =: Unloading texture, iID = -5");
    got.resize(2);
    EXPECT_EQ(got, (std::vector<std::string>{"   =: Unloading texture, iID = -5", " !: Failed."}));
    m_t->GFX_TexUnloadByID("TEX_NONE");
    got = tst::logFrom("   =: Unloading texture, strID = TEX_NONE");
    got.resize(2);
    EXPECT_EQ(got, (std::vector<std::string>{"   =: Unloading texture, strID = TEX_NONE", " !: Failed."}));

    const int32_t a = loadPng("TEX_A");
    m_t->GFX_TexSet(a, 2);
    EXPECT_EQ(errorOf([&] { m_t->GFX_TexUnloadByID(a); }), "text:Unreleased object references left!");
    // The program would end here; its shutdown must still release everything
    // exactly once (the sanitizer build checks the texture is not freed twice).
    m_t->GFX_Deinit();
    EXPECT_EQ(tst::logCount(" !!!: pD3Device references left!"), 0);
}
