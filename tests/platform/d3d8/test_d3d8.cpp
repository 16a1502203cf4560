// The software Direct3D 8 layer on its own: texture formats quantised at
// upload, reference counts of bindings, argument checks of locks and draws, and
// the picture shown in a full-screen window (scaled with letterboxing).
#include <SDL.h>

#include "engine/platform/d3d8/d3d8_testing.h"
#include "engine/platform/d3d8/tns_d3d8_scaler.h"
#include "engine/platform/win32/tns_sdl_internal.h"
#include "tests/gfx/gfx_test_support.h"

using gfxtest::GfxTest;

TEST(D3D8Formats, PackingRoundsToTheFormatsLevelsAndExpansionRepeatsBits)
{
    // A4R4G4B4: 0x80 -> (128 * 15 + 127) / 255 = 8 -> 0x88; 0x40 -> 4 -> 0x44; 0x10 -> 1 -> 0x11.
    EXPECT_EQ(TNS_D3DPackPixel(D3DFMT_A4R4G4B4, 0x80FF4010u), 0x8F41u);
    EXPECT_EQ(TNS_D3DUnpackPixel(D3DFMT_A4R4G4B4, 0x8F41u), 0x88FF4411u);
    // R5G6B5: 0x12 -> 2 -> 0x10, 0x34 -> 13 -> 0x34, 0x56 -> 10 -> 0x52; no alpha.
    EXPECT_EQ(TNS_D3DUnpackPixel(D3DFMT_R5G6B5, TNS_D3DPackPixel(D3DFMT_R5G6B5, 0x00123456u)), 0xFF103452u);
    // A8R3G3B2: green 0x80 -> 4 of 7 -> 100 100 10 = 0x92.
    EXPECT_EQ(TNS_D3DUnpackPixel(D3DFMT_A8R3G3B2, TNS_D3DPackPixel(D3DFMT_A8R3G3B2, 0x7FFF8000u)), 0x7FFF9200u);
    // One alpha bit: 0x7F rounds to transparent, 0x80 to opaque.
    EXPECT_EQ(TNS_D3DUnpackPixel(D3DFMT_A1R5G5B5, TNS_D3DPackPixel(D3DFMT_A1R5G5B5, 0x7FFFFFFFu)), 0x00FFFFFFu);
    EXPECT_EQ(TNS_D3DUnpackPixel(D3DFMT_A1R5G5B5, TNS_D3DPackPixel(D3DFMT_A1R5G5B5, 0x80FFFFFFu)), 0xFFFFFFFFu);
    EXPECT_EQ(TNS_D3DUnpackPixel(D3DFMT_X1R5G5B5, 0x0000u), 0xFF000000u);
    EXPECT_EQ(TNS_D3DUnpackPixel(D3DFMT_X4R4G4B4, 0x0F00u), 0xFFFF0000u);
    EXPECT_EQ(TNS_D3DUnpackPixel(D3DFMT_X8R8G8B8, 0x00123456u), 0xFF123456u);
    EXPECT_EQ(TNS_D3DPackPixel(D3DFMT_A8R8G8B8, 0x12345678u), 0x12345678u);
    EXPECT_EQ(TNS_D3DFormatBytes(D3DFMT_P8), 0u);
    // What a format holds survives another round trip unchanged.
    for (D3DFORMAT f : {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_X4R4G4B4, D3DFMT_A4R4G4B4,
                        D3DFMT_A8R3G3B2, D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8}) {
        for (uint32_t c : {0x00000000u, 0xFFFFFFFFu, 0x80402010u, 0x3FC0A070u}) {
            const uint32_t once = TNS_D3DUnpackPixel(f, TNS_D3DPackPixel(f, c));
            EXPECT_EQ(TNS_D3DUnpackPixel(f, TNS_D3DPackPixel(f, once)), once) << f << " " << c;
        }
    }
}

TEST_F(GfxTest, TexturesSampleTheColoursTheirFormatHolds)
{
    start();
    IDirect3DDevice8* dev = m_t->m_pD3DDevice;
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(dev->CreateTexture(2, 1, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &tex), D3D_OK);
    D3DLOCKED_RECT r{};
    ASSERT_EQ(tex->LockRect(0, &r, nullptr, 0), D3D_OK);
    EXPECT_EQ(r.Pitch, 4);
    auto* texels = static_cast<uint16_t*>(r.pBits);
    texels[0] = uint16_t(TNS_D3DPackPixel(D3DFMT_R5G6B5, 0xFF123456u));
    texels[1] = 0xFFFF;
    EXPECT_EQ(tex->LockRect(0, &r, nullptr, 0), D3DERR_INVALIDCALL); // already locked
    ASSERT_EQ(tex->UnlockRect(0), D3D_OK);
    EXPECT_EQ(tex->UnlockRect(0), D3DERR_INVALIDCALL);
    const RECT outside{1, 0, 3, 1};
    EXPECT_EQ(tex->LockRect(0, &r, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(tex->LockRect(1, &r, nullptr, 0), D3DERR_INVALIDCALL);

    dev->SetTexture(0, tex);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    m_t->GFX_SceneBegin();
    m_t->GFX_VQuadSetPos(0, 0, 2, 1, 0.5f);
    m_t->GFX_VQuadSetTexCoords(1, 0, 0, 1, 1);
    m_t->GFX_SceneRender();
    m_t->GFX_SceneEnd();
    m_t->GFX_ScenePresent();
    std::vector<uint32_t> p = picture();
    EXPECT_EQ(p[0], 0xFF103452u);
    EXPECT_EQ(p[1], 0xFFFFFFFFu);
    // Blend states reach the rasterizer: the texel at the diffuse alpha 0x7F over
    // white is (c * 127 + 255 * 128) / 255 rounded, channel by channel.
    dev->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    dev->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    dev->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    dev->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneClearScreen(1.0f, 1.0f, 1.0f);
    m_t->GFX_VQuadSetPos(0, 0, 2, 1, 0.5f);
    m_t->GFX_VQuadSetColor(1.0f, 1.0f, 1.0f, 0.5f);
    m_t->GFX_SceneRender();
    m_t->GFX_SceneEnd();
    m_t->GFX_ScenePresent();
    EXPECT_EQ(picture()[0], 0xFF889AA9u);
    dev->SetTexture(0, nullptr);
    EXPECT_EQ(tex->Release(), 0u);
}

TEST_F(GfxTest, BindingsHoldReferences)
{
    start();
    IDirect3DDevice8* dev = m_t->m_pD3DDevice;
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(dev->CreateTexture(8, 8, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3D_OK);
    EXPECT_EQ(tex->GetLevelCount(), 4u); // 8, 4, 2, 1
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(tex->GetLevelDesc(2, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 2u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    // A stage holds a reference of its own until it is unbound.
    dev->SetTexture(1, tex);
    EXPECT_EQ(tex->AddRef(), 3u) << "the creator's, the stage's and this one";
    dev->SetTexture(1, nullptr);
    EXPECT_EQ(tex->Release(), 1u) << "unbinding gave the stage's back";
    EXPECT_EQ(tex->Release(), 0u);

    // The device keeps the Direct3D object alive.
    EXPECT_EQ(m_t->m_pD3D->AddRef(), 3u);
    EXPECT_EQ(m_t->m_pD3D->Release(), 2u);
    EXPECT_EQ(dev->SetTexture(8, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(GfxTest, LocksAndDrawsCheckTheirArguments)
{
    start();
    IDirect3DDevice8* dev = m_t->m_pD3DDevice;
    BYTE* data = nullptr;
    EXPECT_EQ(m_t->m_pQuadVB->Lock(79960, 40, &data, 0), D3D_OK);
    m_t->m_pQuadVB->Unlock();
    EXPECT_EQ(m_t->m_pQuadVB->Lock(79961, 40, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_t->m_pQuadVB->Lock(0, 0, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_t->m_pQuadVB->Unlock(), D3DERR_INVALIDCALL);
    IDirect3DIndexBuffer8* ib32 = nullptr;
    EXPECT_EQ(dev->CreateIndexBuffer(64, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, &ib32), D3DERR_INVALIDCALL);
    IDirect3DTexture8* tex = nullptr;
    EXPECT_EQ(dev->CreateTexture(8192, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3DERR_INVALIDCALL);
    EXPECT_EQ(dev->CreateTexture(8, 8, 1, 0, D3DFMT_P8, D3DPOOL_MANAGED, &tex), D3DERR_INVALIDCALL);
    EXPECT_EQ(tex, nullptr);

    dev->SetStreamSource(0, m_t->m_pQuadVB, 40);
    // Outside a scene, past the index buffer, or with another vertex format: refused.
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    dev->BeginScene();
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 2997, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    dev->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    dev->EndScene();
    EXPECT_EQ(dev->EndScene(), D3DERR_INVALIDCALL);
    const D3DVIEWPORT8 tooWide{10, 0, 800, 600, 0.0f, 1.0f};
    EXPECT_EQ(dev->SetViewport(&tooWide), D3DERR_INVALIDCALL);
    EXPECT_EQ(dev->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
}

TEST_F(GfxTest, SixteenBitDisplayModeRendersASixteenBitBackBuffer)
{
    start(1, false);
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneClearScreen(float(0x12) / 255.0f + 0.001f, float(0x34) / 255.0f + 0.001f,
                              float(0x56) / 255.0f + 0.001f);
    m_t->GFX_SceneEnd();
    m_t->GFX_ScenePresent();
    EXPECT_EQ(picture()[0], 0xFF103452u);
}

TEST_F(GfxTest, FullScreenPictureIsScaledIntoTheWindowWithBars)
{
    static constexpr D3DDISPLAYMODE kWide[] = {{4, 2, 60, D3DFMT_X8R8G8B8}};
    TnsAdapterDesc d{};
    d.modes = kWide;
    d.modeCount = 1;
    TNS_D3D8SetAdapter(&d);
    start(2, false, 4, 2);
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneClearScreen(0.0f, 1.0f, 0.0f);
    m_t->GFX_SceneEnd();
    m_t->GFX_ScenePresent();
    SDL_Surface* screen = SDL_GetWindowSurface(TnsGetSdlWindow(m_t->m_hGameWindow));
    ASSERT_NE(screen, nullptr);
    SDL_Rect shown{};
    ASSERT_TRUE(TnsGetPresentRect(m_t->m_hGameWindow, &shown));
    auto pixel = [&](int x, int y) {
        Uint8 r = 0, g = 0, b = 0;
        const auto* row = reinterpret_cast<const Uint8*>(screen->pixels) + y * screen->pitch;
        SDL_GetRGB(reinterpret_cast<const Uint32*>(row)[x], screen->format, &r, &g, &b);
        return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
    };
    EXPECT_EQ(pixel(shown.x + shown.w / 2, shown.y + shown.h / 2), 0x00FF00u);
    EXPECT_EQ(pixel(shown.x, shown.y), 0x00FF00u);
    if (shown.y > 0) {
        EXPECT_EQ(pixel(screen->w / 2, shown.y - 1), 0u);
    }
    if (shown.y + shown.h < screen->h) {
        EXPECT_EQ(pixel(screen->w / 2, shown.y + shown.h), 0u);
    }
    // The dummy desktop is 1024 x 768: the 2:1 picture fills 1024 x 512 from row 128.
    EXPECT_GT(shown.y, 0);
}

TEST(D3D8Scaler, PicksSdlsScaledBlitPixelsWithBlackBarsAndGamma)
{
    struct Case {
        int srcW, srcH, areaW, areaH;
        SDL_Rect dst;
    } const cases[] = {{4, 2, 8, 5, {1, 1, 6, 3}}, {5, 3, 17, 9, {2, 0, 13, 9}}, {7, 5, 7, 5, {0, 0, 7, 5}},
                       {9, 6, 9, 4, {2, 0, 5, 4}}, {19, 2, 40, 3, {3, 0, 33, 3}}};
    uint8_t invert[256];
    for (int i = 0; i < 256; ++i) invert[i] = uint8_t(255 - i);
    for (const Case& c : cases) {
        std::vector<uint32_t> src(size_t(c.srcW * c.srcH)), want(size_t(c.areaW * c.areaH), 0);
        for (size_t i = 0; i < src.size(); ++i) src[i] = 0xFF000000u | uint32_t(i * 0x0B1D37u);
        // The reference: SDL's own scaled blit.
        SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(src.data(), c.srcW, c.srcH, 32, c.srcW * 4,
                                                               SDL_PIXELFORMAT_ARGB8888);
        SDL_Surface* to = SDL_CreateRGBSurfaceWithFormatFrom(want.data(), c.areaW, c.areaH, 32, c.areaW * 4,
                                                             SDL_PIXELFORMAT_ARGB8888);
        SDL_SetSurfaceBlendMode(from, SDL_BLENDMODE_NONE);
        SDL_Rect dst = c.dst;
        ASSERT_EQ(SDL_BlitScaled(from, nullptr, to, &dst), 0);
        SDL_FreeSurface(from);
        SDL_FreeSurface(to);
        for (const uint8_t* lut : {static_cast<const uint8_t*>(nullptr), static_cast<const uint8_t*>(invert)}) {
            SCOPED_TRACE(testing::Message() << c.srcW << "x" << c.srcH << " in " << c.areaW << "x" << c.areaH
                                            << (lut ? " with gamma" : ""));
            // Garbage where the bars go, and rows wider than the area.
            const int pitch = c.areaW + 3;
            std::vector<uint32_t> area(size_t(pitch * c.areaH), 0x12345678u);
            TnsScaler scaler;
            ASSERT_TRUE(scaler.prepare(c.srcW, c.srcH, c.dst.x, c.dst.y, c.dst.w, c.dst.h, c.areaW, c.areaH));
            scaler.draw(src.data(), c.srcW, area.data(), pitch, lut, lut, lut);
            for (int y = 0; y < c.areaH; ++y) {
                for (int x = 0; x < c.areaW; ++x) {
                    const uint32_t w = want[size_t(y * c.areaW + x)];
                    const bool shown = w != 0;
                    ASSERT_EQ(area[size_t(y * pitch + x)], lut && shown ? 0xFF000000u | (~w & 0xFFFFFFu) : w)
                        << x << "," << y;
                }
            }
        }
    }
    EXPECT_FALSE(TnsScaler().prepare(4, 2, 5, 0, 6, 3, 10, 3)); // leaves the area
}
