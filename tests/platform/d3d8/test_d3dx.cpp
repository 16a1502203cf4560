// The D3DX texture loader on the software device: conversion into each texture
// format, sizes, mip chains, colour keys and refusal of undecodable data.
#include "engine/platform/d3d8/d3dx8.h"
#include "tests/gfx_tex/tex_fixture.h"

using textest::levelPixels;
using textest::pngOf;

namespace {

class D3DXTest : public gfxtest::GfxTest {
protected:
    void SetUp() override
    {
        gfxtest::GfxTest::SetUp();
        start();
    }
    HRESULT create(const imgtest::Bytes& file, UINT w, UINT h, UINT mips, D3DFORMAT format,
                   IDirect3DTexture8** tex, D3DCOLOR key = 0, D3DXIMAGE_INFO* info = nullptr)
    {
        return D3DXCreateTextureFromFileInMemoryEx(m_t->m_pD3DDevice, file.data(), UINT(file.size()), w, h, mips, 0,
                                                   format, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_FILTER_BOX, key, info,
                                                   nullptr, tex);
    }
    // The first texel as stored in the texture's own format.
    uint32_t rawTexel(IDirect3DTexture8* tex)
    {
        D3DSURFACE_DESC desc{};
        tex->GetLevelDesc(0, &desc);
        D3DLOCKED_RECT r{};
        EXPECT_EQ(tex->LockRect(0, &r, nullptr, D3DLOCK_READONLY), D3D_OK);
        uint32_t p = 0;
        std::memcpy(&p, r.pBits, TNS_D3DFormatBytes(desc.Format));
        tex->UnlockRect(0);
        return p;
    }
};

} // namespace

// The rounding of each format is the device's (tested with the formats); here
// the loader must store what the device's packing makes of the pixel.
TEST_F(D3DXTest, PixelsAreConvertedIntoEachTextureFormat)
{
    const imgtest::Bytes file = pngOf(1, 1, {0x80FF8040u});
    for (D3DFORMAT format : {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_A4R4G4B4, D3DFMT_X4R4G4B4,
                             D3DFMT_A1R5G5B5, D3DFMT_X1R5G5B5, D3DFMT_A8R3G3B2, D3DFMT_UNKNOWN}) {
        IDirect3DTexture8* tex = nullptr;
        ASSERT_EQ(create(file, D3DX_DEFAULT, D3DX_DEFAULT, 1, format, &tex), D3D_OK);
        D3DSURFACE_DESC desc{};
        tex->GetLevelDesc(0, &desc);
        // No format asked for: the image decides (alpha or not).
        EXPECT_EQ(desc.Format, format == D3DFMT_UNKNOWN ? D3DFMT_A8R8G8B8 : format);
        EXPECT_EQ(rawTexel(tex), TNS_D3DPackPixel(desc.Format, 0x80FF8040u)) << m_t->GFX_GetFormatName(format);
        tex->Release();
    }
}

TEST_F(D3DXTest, DefaultSizeRoundsUpToPowersOfTwoAndAGivenSizeIsKept)
{
    const imgtest::Bytes file = pngOf(3, 5, std::vector<uint32_t>(15, 0xFF204060u));
    IDirect3DTexture8* tex = nullptr;
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(create(file, D3DX_DEFAULT, D3DX_DEFAULT, 1, D3DFMT_A8R8G8B8, &tex, 0, &info), D3D_OK);
    D3DSURFACE_DESC desc{};
    tex->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(desc.Height, 8u);
    EXPECT_EQ(info.Width, 3u);
    EXPECT_EQ(info.Height, 5u);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);
    // A flat image stays flat through the resampling.
    for (uint32_t p : levelPixels(tex, 0)) EXPECT_EQ(p, 0xFF204060u);
    tex->Release();
    ASSERT_EQ(create(file, 6, 6, 1, D3DFMT_A8R8G8B8, &tex), D3D_OK);
    tex->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 6u);
    EXPECT_EQ(desc.Height, 6u);
    tex->Release();
}

TEST_F(D3DXTest, MipChainIsBuiltWithABoxFilter)
{
    // Grey ramp 0, 16, ..., 240 over 4 x 4: each 2 x 2 block averages exactly.
    std::vector<uint32_t> ramp;
    for (uint32_t i = 0; i < 16; ++i) ramp.push_back(0xFF000000u | (i * 16) * 0x010101u);
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(create(pngOf(4, 4, ramp), D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, D3DFMT_A8R8G8B8, &tex), D3D_OK);
    ASSERT_EQ(tex->GetLevelCount(), 3u);
    EXPECT_EQ(levelPixels(tex, 0), ramp);
    const auto grey = [](uint32_t v) { return 0xFF000000u | v * 0x010101u; };
    EXPECT_EQ(levelPixels(tex, 1), (std::vector<uint32_t>{grey(40), grey(72), grey(168), grey(200)}));
    EXPECT_EQ(levelPixels(tex, 2), (std::vector<uint32_t>{grey(120)}));
    tex->Release();
    ASSERT_EQ(create(pngOf(4, 4, ramp), D3DX_DEFAULT, D3DX_DEFAULT, 2, D3DFMT_A8R8G8B8, &tex), D3D_OK);
    EXPECT_EQ(tex->GetLevelCount(), 2u);
    tex->Release();
}

TEST_F(D3DXTest, ColourKeyClearsMatchingPixels)
{
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(create(pngOf(2, 1, {0xFFFF00FFu, 0xFF00FF00u}), D3DX_DEFAULT, D3DX_DEFAULT, 1, D3DFMT_A8R8G8B8, &tex,
                     0xFFFF00FFu),
              D3D_OK);
    EXPECT_EQ(levelPixels(tex, 0), (std::vector<uint32_t>{0x00000000u, 0xFF00FF00u}));
    tex->Release();
}

TEST_F(D3DXTest, UndecodableDataMakesNoTexture)
{
    imgtest::Bytes full = pngOf(2, 2, std::vector<uint32_t>(4, 0xFF000000u));
    const imgtest::Bytes png(full.begin(), full.begin() + ptrdiff_t(full.size() / 2));
    const imgtest::Bytes junk = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    for (const imgtest::Bytes* f : {&png, &junk}) {
        IDirect3DTexture8* tex = reinterpret_cast<IDirect3DTexture8*>(1);
        EXPECT_EQ(create(*f, D3DX_DEFAULT, D3DX_DEFAULT, 1, D3DFMT_A8R8G8B8, &tex), D3DXERR_INVALIDDATA);
        EXPECT_EQ(tex, nullptr);
    }
}
