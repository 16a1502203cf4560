// Graphics start and end through the engine's calls: the adapter survey and its
// log, the display-mode rules of the initialisation, the end's log and references.
#include <functional>

#include "engine/platform/d3d8/d3d8_testing.h"
#include "tests/gfx/gfx_test_support.h"
#include "tests/support/engine_checks.h"

using gfxtest::GfxTest;

namespace {

constexpr D3DDISPLAYMODE kOnly32[] = {{640, 480, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_X8R8G8B8},
                                      {800, 600, 75, D3DFMT_A8R8G8B8}};
constexpr D3DDISPLAYMODE kDesktop{1024, 768, 60, D3DFMT_X8R8G8B8};

TnsAdapterDesc only32Adapter()
{
    TnsAdapterDesc d{};
    d.description = "Test Card 32";
    d.vendorId = 0x10DE;
    d.deviceId = 0x0200;
    d.modes = kOnly32;
    d.modeCount = 3;
    d.desktop = &kDesktop;
    return d;
}

} // namespace

TEST_F(GfxTest, SurveyOfA32BitOnlyAdapterLogsEveryLine)
{
    TnsAdapterDesc d = only32Adapter();
    TNS_D3D8SetAdapter(&d);
    m_t->GFX_Preinit(800, 600);
    // The key lines; the log's own layout is tested with the log.
    for (const char* line : {"     Videocard: Test Card 32", "       VendorID: 4318", "       DeviceID: 512",
                             "       Rating: 4", "               Surface format: D3DFMT_UNKNOWN",
                             "          Display Mode 2 is valid.", "          Display Mode 3 is valid.",
                             "          Device can render in windowed mode", "     MaxTextureWidth         = 4096",
                             "     Gamma calibrating is not supported."})
        EXPECT_EQ(tst::logCount(line), 1) << line;
    // The first 32-bit match wins over the later one with another refresh rate.
    EXPECT_EQ(tst::logCount("                 Refresh Rate: 60"), 2);
    EXPECT_EQ(tst::logCount("               Surface format: D3DFMT_X8R8G8B8"), 2);
    TRSVIDEOCARDCAPS caps{};
    m_t->GFX_GetVideoCardCaps(&caps);
    EXPECT_FALSE(caps.Mode1.valid);
    EXPECT_TRUE(caps.Mode2.valid);
    EXPECT_EQ(caps.Rating, 4);
    // The game then picks display mode 2: an 800 x 600 back buffer.
    m_t->GFX_Init(2, false);
    EXPECT_EQ(m_t->m_PresentParams.BackBufferWidth, 800u);
    EXPECT_EQ(m_t->m_PresentParams.BackBufferHeight, 600u);
    EXPECT_EQ(m_t->m_PresentParams.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(m_t->m_PresentParams.SwapEffect, D3DSWAPEFFECT_FLIP);
}

TEST_F(GfxTest, BuiltInAdapterIsUnratedAndOffersBothDepths)
{
    m_t->GFX_Preinit(800, 600);
    EXPECT_EQ(tst::logCount("     Videocard: Tarnis software rasterizer"), 1);
    EXPECT_EQ(tst::logCount("       Rating: Unknown"), 1);
    TRSVIDEOCARDCAPS caps{};
    m_t->GFX_GetVideoCardCaps(&caps);
    EXPECT_TRUE(caps.Mode1.valid);
    EXPECT_EQ(caps.Mode1.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(caps.Mode1.TextureFormat01, D3DFMT_R5G6B5);
    EXPECT_EQ(caps.Mode1.TextureFormat02, D3DFMT_A4R4G4B4);
    EXPECT_TRUE(caps.Mode2.valid);
    EXPECT_EQ(caps.Mode2.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(caps.Mode3.Width, 1024u); // the dummy video driver's desktop
    EXPECT_TRUE(caps.CanRenderWindowed);
}

TEST_F(GfxTest, WindowedRenderingNeedsADesktopLargerThanTheRequestAndNoPalette)
{
    TnsAdapterDesc d = only32Adapter();
    const D3DDISPLAYMODE palette{1024, 768, 60, D3DFMT_P8};
    d.desktop = &palette;
    TNS_D3D8SetAdapter(&d);
    m_t->GFX_Preinit(800, 600);
    EXPECT_EQ(tst::logCount("          Device cannot render in windowed mode"), 1);
    EXPECT_EQ(tst::raisedText([&] { m_t->GFX_Init(3, true); }), "2:Cannot switch to windowed rendering.");
}

TEST_F(GfxTest, DesktopOfTheRequestedSizeCannotHostAWindow)
{
    TnsAdapterDesc d = only32Adapter();
    const D3DDISPLAYMODE same{800, 600, 60, D3DFMT_X8R8G8B8};
    d.desktop = &same;
    TNS_D3D8SetAdapter(&d);
    m_t->GFX_Preinit(800, 600);
    TRSVIDEOCARDCAPS caps{};
    m_t->GFX_GetVideoCardCaps(&caps);
    EXPECT_FALSE(caps.CanRenderWindowed);
}

TEST_F(GfxTest, DisplayModeRulesOfTheInitialisation)
{
    EXPECT_EQ(tst::raisedText([&] {
                  TRSVIDEOCARDCAPS c;
                  m_t->GFX_GetVideoCardCaps(&c);
              }),
              "2:Cannot provide videocard caps - GFX system was not initialized!");
    EXPECT_EQ(tst::raisedText([&] { m_t->GFX_Init(2, false); }), "1:Direct3D object was not created!");
    m_t->GFX_Preinit(800, 600);
    EXPECT_EQ(tst::raisedText([&] { m_t->GFX_Init(1, true); }), "2:Wrong combination of display mode params.");
    EXPECT_EQ(tst::raisedText([&] { m_t->GFX_Init(2, true); }), "2:Wrong combination of display mode params.");
    EXPECT_EQ(tst::raisedText([&] { m_t->GFX_Init(7, false); }), "2:Wrong combination of display mode params.");
}

TEST_F(GfxTest, DisplayModeThreeUsesTheDesktopFullScreenAndTheRequestWindowed)
{
    TnsAdapterDesc d = only32Adapter();
    TNS_D3D8SetAdapter(&d);
    start(3, false);
    int32_t w = 0, h = 0;
    m_t->GFX_GetResolution(&w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    EXPECT_EQ(m_t->m_PresentParams.BackBufferFormat, D3DFMT_X8R8G8B8);
    m_t->GFX_Deinit();

    start(3, true);
    m_t->GFX_GetResolution(&w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(m_t->m_PresentParams.BackBufferWidth, 800u);
    EXPECT_EQ(m_t->m_PresentParams.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(m_t->m_PresentParams.SwapEffect, D3DSWAPEFFECT_COPY);
    EXPECT_TRUE(m_t->m_PresentParams.Windowed);
}

TEST_F(GfxTest, InitialisationSetsUpTheDeviceAndTheManagers)
{
    start(1, false);
    EXPECT_TRUE(m_t->m_bGraphicsDeviceReady);
    EXPECT_TRUE(m_t->GFX_DeviceExists());
    EXPECT_EQ(m_t->m_PresentParams.BackBufferFormat, D3DFMT_R5G6B5);
    DWORD lighting = 1;
    m_t->m_pD3DDevice->GetRenderState(D3DRS_LIGHTING, &lighting);
    EXPECT_EQ(lighting, 0u);
    EXPECT_EQ(m_t->m_QuadVertices[2].rhw, 0.5f);
    for (const char* manager : {"Textures", "Lights", "Techniques", "Fonts"})
        EXPECT_EQ(tst::logCount(std::string("   =: Creating ") + manager + " Manager..."), 1) << manager;
}

TEST_F(GfxTest, EndReleasesEverythingEvenWithATextureStillBound)
{
    start();
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(m_t->m_pD3DDevice->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3D_OK);
    m_t->m_pTexturesManager->AddItem(tex, "TEX_A", 0);
    m_t->m_pD3DDevice->SetTexture(0, tex);
    m_t->m_iCurrentTexture[0] = 0;
    m_t->GFX_Deinit();
    EXPECT_FALSE(m_t->m_bGraphicsCreated);
    EXPECT_EQ(m_t->m_pD3DDevice, nullptr);
    EXPECT_EQ(tst::logCount(" !!!: pD3Device references left!"), 0);
    EXPECT_EQ(tst::logCount(" !!!: pD3D references left!"), 0);
    for (const char* manager : {"Textures", "Lights", "Techniques", "Fonts"})
        EXPECT_EQ(tst::logCount(std::string("   =: Destroying ") + manager + " Manager..."), 1) << manager;
    EXPECT_EQ(tst::logFrom("   =: Destroying Fonts Manager...").at(2), "--==: Done.");
}

// One check of the rating table (it is data): a band edge and an unknown card.
TEST(GfxRating, AdapterTable)
{
    EXPECT_EQ(CTarnis::GFX_RateAdapter(0x10DE, 0x16F), 3);
    EXPECT_EQ(CTarnis::GFX_RateAdapter(0x10DE, 0x170), 4);
    EXPECT_EQ(CTarnis::GFX_RateAdapter(0x1002, 0x1234), 0);
}

TEST(GfxFormatNames, ConstantNamesAndUnknown)
{
    EXPECT_STREQ(CTarnis::GFX_GetFormatName(D3DFMT_UNKNOWN), "D3DFMT_UNKNOWN");
    EXPECT_STREQ(CTarnis::GFX_GetFormatName(D3DFMT_INDEX32), "D3DFMT_INDEX32");
    EXPECT_STREQ(CTarnis::GFX_GetFormatName(D3DFORMAT(72)), "Unknown format!");
    EXPECT_STREQ(CTarnis::GFX_GetFormatName(D3DFORMAT(31)), "Unknown format!");
}
