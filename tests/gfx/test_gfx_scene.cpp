// The frame through the engine's own calls, headless: known scenes rendered
// and read back pixel by pixel, clears, viewport clamps, gamma ramps,
// screenshots, and the lost-device and reset cycle.
#include <SDL.h>

#include "engine/platform/d3d8/d3d8_testing.h"
#include "engine/platform/win32/tns_sdl_internal.h"
#include "tests/gfx/gfx_test_support.h"
#include "tests/support/engine_checks.h"
#include "tests/support/sdl_events.h"

using gfxtest::GfxTest;

namespace {

constexpr D3DDISPLAYMODE kTiny[] = {{5, 3, 60, D3DFMT_X8R8G8B8}, {4, 2, 60, D3DFMT_X8R8G8B8}};

uint32_t le32(const std::string& s, size_t at)
{
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 | uint32_t(uint8_t(s[at + 2])) << 16 |
           uint32_t(uint8_t(s[at + 3])) << 24;
}

} // namespace

TEST_F(GfxTest, ColouredQuadCoversExactlyItsPixels)
{
    start();
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneClearScreen(0.0f, 0.0f, 1.0f);
    // With no technique the device defaults modulate a missing texture (white) by the diffuse colour.
    m_t->GFX_VQuadSetPos(10, 20, 30, 40, 0.5f);
    m_t->GFX_VQuadSetColor(1.0f, 0.0f, 0.0f, 1.0f);
    m_t->GFX_SceneRender();
    m_t->GFX_SceneEnd();
    m_t->GFX_ScenePresent();
    std::vector<uint32_t> p = picture();
    ASSERT_EQ(p.size(), 800u * 600u);
    for (int y = 15; y < 65; ++y)
        for (int x = 5; x < 45; ++x) {
            const bool inside = x >= 10 && x < 40 && y >= 20 && y < 60;
            ASSERT_EQ(p[size_t(y) * 800 + x], inside ? 0xFFFF0000u : 0xFF0000FFu) << x << "," << y;
        }
}

TEST_F(GfxTest, ClearColoursPackAndWrap)
{
    start();
    auto clearTo = [&](float r, float g, float b) {
        m_t->GFX_SceneBegin();
        m_t->GFX_SceneClearScreen(r, g, b);
        m_t->GFX_SceneEnd();
        m_t->GFX_ScenePresent();
        return picture()[0];
    };
    EXPECT_EQ(clearTo(1.0f, 0.5f, 0.0f), 0xFFFF7F00u);
    // 1.5 * 255 = 382 keeps its low byte 0x7E: components are not clamped.
    EXPECT_EQ(clearTo(1.5f, 0.0f, 0.0f), 0xFF7E0000u);
}

TEST_F(GfxTest, ViewportIsClampedToTheBackBuffer)
{
    start();
    D3DVIEWPORT8 vp{};
    auto viewport = [&](int32_t x, int32_t y, int32_t w, int32_t h) {
        m_t->GFX_SceneSetViewport(x, y, w, h);
        m_t->m_pD3DDevice->GetViewport(&vp);
        return std::vector<DWORD>{vp.X, vp.Y, vp.Width, vp.Height};
    };
    EXPECT_EQ(viewport(-10, 0, 100, 50), (std::vector<DWORD>{0, 0, 90, 50}));
    EXPECT_EQ(viewport(780, 590, 100, 100), (std::vector<DWORD>{780, 590, 20, 10}));
    EXPECT_EQ(viewport(900, 0, 10, 10), (std::vector<DWORD>{900, 0, 0, 10}));
    EXPECT_EQ(viewport(0, -700, 10, 10), (std::vector<DWORD>{0, 0, 10, 0}));
    EXPECT_EQ(viewport(0, 0, 0x7FFFFFFF, 0x7FFFFFFF), (std::vector<DWORD>{0, 0, 800, 600}));
    EXPECT_EQ(vp.MinZ, 0.0f);
    EXPECT_EQ(vp.MaxZ, 1.0f);

    // Drawing is clipped to the viewport, and so is clearing.
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneSetViewport(0, 0, 800, 600);
    m_t->GFX_SceneClearScreen(0, 0, 0);
    m_t->GFX_SceneSetViewport(10, 10, 5, 5);
    m_t->GFX_SceneClearScreen(0, 1, 0);
    m_t->GFX_VQuadSetPos(0, 0, 800, 600, 0.5f);
    m_t->GFX_VQuadSetColor(1, 0, 0, 1);
    m_t->GFX_SceneSetViewport(12, 12, 1, 1);
    m_t->GFX_SceneRender();
    m_t->GFX_SceneEnd();
    m_t->GFX_ScenePresent();
    std::vector<uint32_t> p = picture();
    EXPECT_EQ(p[size_t(9) * 800 + 9], 0xFF000000u);
    EXPECT_EQ(p[size_t(10) * 800 + 10], 0xFF00FF00u);
    EXPECT_EQ(p[size_t(12) * 800 + 12], 0xFFFF0000u);
    EXPECT_EQ(p[size_t(12) * 800 + 13], 0xFF00FF00u);
    EXPECT_EQ(p[size_t(15) * 800 + 15], 0xFF000000u);
}

TEST_F(GfxTest, GammaRampsAreQuadraticCurves)
{
    start();
    D3DGAMMARAMP ramp{};
    m_t->GFX_SceneSetGamma(1.0f, 0.0f);
    m_t->m_pD3DDevice->GetGammaRamp(&ramp);
    for (int i = 0; i < 256; ++i) EXPECT_NEAR(ramp.red[i], i * 257, 1) << i;
    EXPECT_EQ(ramp.red[255], 65535);
    m_t->GFX_SceneSetGamma(0.5f, 0.0f);
    m_t->m_pD3DDevice->GetGammaRamp(&ramp);
    EXPECT_EQ(ramp.green[0], 0);
    EXPECT_EQ(ramp.green[255], 32767);
    m_t->GFX_SceneSetGamma(1.5f, 0.0f);
    m_t->m_pD3DDevice->GetGammaRamp(&ramp);
    EXPECT_EQ(ramp.blue[0], 32767);
    EXPECT_EQ(ramp.blue[255], 65535);
    // Bend 1 pulls the control point to the top: brighter mid-tones.
    m_t->GFX_SceneSetGamma(1.0f, 1.0f);
    m_t->m_pD3DDevice->GetGammaRamp(&ramp);
    EXPECT_GT(ramp.red[128], 128 * 257 + 10000);
}

TEST_F(GfxTest, PresentAppliesTheGammaRampToTheWindowButNotToTheFrontBuffer)
{
    start(3, true);
    m_t->GFX_SceneSetGamma(0.5f, 0.0f);
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneClearScreen(1.0f, 1.0f, 1.0f);
    m_t->GFX_SceneEnd();
    m_t->GFX_ScenePresent();
    SDL_Surface* screen = SDL_GetWindowSurface(TnsGetSdlWindow(m_t->m_hGameWindow));
    ASSERT_NE(screen, nullptr);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(static_cast<const Uint32*>(screen->pixels)[0], screen->format, &r, &g, &b);
    EXPECT_EQ(r, 127); // 32767 >> 8
    EXPECT_EQ(b, 127);
    EXPECT_EQ(picture()[0], 0xFFFFFFFFu);
}

TEST_F(GfxTest, ScreenshotsAreNumberedBottomUpBitmapsWithPaddedRows)
{
    TnsAdapterDesc d{};
    d.modes = kTiny;
    d.modeCount = 2;
    TNS_D3D8SetAdapter(&d);
    start(2, false, 5, 3);
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneClearScreen(1.0f, 0.0f, 0.0f);
    m_t->GFX_SceneSetViewport(0, 0, 5, 1);
    m_t->GFX_SceneClearScreen(0.0f, 0.0f, 1.0f); // top row blue
    m_t->GFX_SceneEnd();
    m_t->GFX_ScenePresent();
    m_t->GFX_SceneMakeScreenshot();
    m_t->GFX_SceneMakeScreenshot();
    ASSERT_TRUE(tst::fileExists("screenshot2.bmp"));
    EXPECT_EQ(tst::logCount("   +: Screenshot saved."), 2);
    std::string f = tst::readFile("screenshot1.bmp");
    // 5 pixels = 15 bytes, padded to 16 per row; the sizes include the padding.
    ASSERT_EQ(f.size(), 54u + 16 * 3);
    EXPECT_EQ(f.substr(0, 2), "BM");
    const uint32_t header[] = {54 + 48, 0, 54, 40, 5, 3, 1u | (24u << 16), 0, 48, 0, 0, 0, 0};
    for (size_t i = 0; i < std::size(header); ++i) EXPECT_EQ(le32(f, 2 + 4 * i), header[i]) << i;
    // Bottom rows first (red: B, G, R = 0, 0, 255), then the top row (blue).
    const std::string red = std::string("\x00\x00\xff", 3), blue = std::string("\xff\x00\x00", 3);
    for (int row = 0; row < 3; ++row) {
        const std::string& c = row < 2 ? red : blue;
        EXPECT_EQ(f.substr(54 + size_t(row) * 16, 16), c + c + c + c + c + '\0') << row;
    }
}

TEST_F(GfxTest, WindowedScreenshotIsRefusedAndCountsNothing)
{
    start(3, true);
    m_t->GFX_SceneMakeScreenshot();
    EXPECT_FALSE(tst::fileExists("screenshot1.bmp"));
    EXPECT_EQ(m_t->m_iScreenshotCounter, 0);
    EXPECT_EQ(tst::logCount(" !: Cannot make a screenshot in windowed mode!"), 1);
}

TEST_F(GfxTest, SceneOperationsNeedADevice)
{
    m_t->GFX_Preinit(800, 600);
    EXPECT_EQ(tst::raisedText([&] { m_t->GFX_SceneBegin(); }), "1:D3DDevice object was not created!");
    // Present and render quietly do nothing.
    m_t->GFX_ScenePresent();
    m_t->GFX_SceneRender();
}

TEST_F(GfxTest, MinimisedWindowLosesTheDeviceAndRestoringResetsIt)
{
    start();
    IDirect3DDevice8* dev = m_t->m_pD3DDevice;
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(dev->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3D_OK);
    D3DLOCKED_RECT r{};
    tex->LockRect(0, &r, nullptr, 0);
    *static_cast<uint32_t*>(r.pBits) = 0xFF00FF00u;
    tex->UnlockRect(0);
    m_t->m_pTexturesManager->AddItem(tex, "TEX_KEEP", 0);

    tst::pushWindowEvent(m_t->m_hGameWindow, SDL_WINDOWEVENT_MINIMIZED);
    EXPECT_EQ(m_t->SYS_UpdateAllSystems(), 0);
    EXPECT_EQ(dev->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_FALSE(m_t->GFX_CheckDevice());
    EXPECT_EQ(tst::logCount("   +: Device is lost and currently cannot be restored."), 1);
    EXPECT_EQ(dev->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);

    tst::pushWindowEvent(m_t->m_hGameWindow, SDL_WINDOWEVENT_RESTORED);
    m_t->SYS_ProcessMessages();
    EXPECT_EQ(dev->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    // Reset refuses while the default-pool vertex buffer lives.
    EXPECT_EQ(dev->Reset(&m_t->m_PresentParams), D3DERR_INVALIDCALL);
    m_t->m_iCurrentTexture[0] = 0;
    EXPECT_EQ(m_t->SYS_UpdateAllSystems(), 1);
    EXPECT_EQ(tst::logCount("   =: D3DDevice is lost. Trying to reset..."), 1);
    EXPECT_EQ(dev->TestCooperativeLevel(), D3D_OK);
    EXPECT_NE(m_t->m_pQuadVB, nullptr);
    EXPECT_EQ(m_t->m_iCurrentTexture[0], -1);

    // The managed texture survived the reset with its texels.
    dev->SetTexture(0, tex);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    m_t->GFX_SceneBegin();
    m_t->GFX_SceneClearScreen(0, 0, 0);
    m_t->GFX_VQuadSetPos(0, 0, 2, 2, 0.5f);
    m_t->GFX_VQuadSetTexCoords(1, 0, 0, 1, 1);
    m_t->GFX_SceneRender();
    m_t->GFX_SceneEnd();
    m_t->GFX_ScenePresent();
    EXPECT_EQ(picture()[801], 0xFF00FF00u);
    dev->SetTexture(0, nullptr);
}

TEST_F(GfxTest, PresentsKeepToTheRefreshRateFullScreenAndWindowed)
{
    for (bool windowed : {false, true}) {
        SCOPED_TRACE(windowed ? "windowed" : "full screen");
        if (windowed) {
            TearDown();
            SetUp();
        }
        start(windowed ? 3 : 2, windowed);
        const DWORD begin = timeGetTime();
        for (int i = 0; i < 7; ++i) m_t->GFX_ScenePresent();
        // Paced to a 60 Hz refresh (the dummy display's), seven presents span at
        // least five refresh periods even when the first one finds its deadline
        // already passed; unpaced they would take no time at all.
        EXPECT_GE(timeGetTime() - begin, 66u);
    }
}
