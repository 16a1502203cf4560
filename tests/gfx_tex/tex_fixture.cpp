// Helpers of the texture, technique and font tests (see tex_fixture.h).
#include "tests/gfx_tex/tex_fixture.h"

#include <png.h>

namespace textest {

imgtest::Bytes pngOf(int width, int height, const std::vector<uint32_t>& argb)
{
    imgtest::PngSpec image;
    image.width = width;
    image.height = height;
    image.colorType = PNG_COLOR_TYPE_RGBA;
    for (uint32_t p : argb)
        image.pixels.insert(image.pixels.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)});
    return imgtest::makePng(image);
}

std::string errorOf(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const CEHSException& e) {
        return std::to_string(e.m_iType) + ":" + e.m_strDescription;
    } catch (const char* text) {
        return std::string("text:") + text;
    }
    return "none";
}

std::vector<uint32_t> levelPixels(IDirect3DTexture8* texture, UINT level)
{
    std::vector<uint32_t> out;
    D3DSURFACE_DESC desc{};
    if (FAILED(texture->GetLevelDesc(level, &desc))) return out;
    D3DLOCKED_RECT r{};
    if (FAILED(texture->LockRect(level, &r, nullptr, D3DLOCK_READONLY))) return out;
    const UINT bpp = TNS_D3DFormatBytes(desc.Format);
    for (UINT y = 0; y < desc.Height; ++y) {
        for (UINT x = 0; x < desc.Width; ++x) {
            uint32_t p = 0;
            std::memcpy(&p, static_cast<const uint8_t*>(r.pBits) + y * UINT(r.Pitch) + x * bpp, bpp);
            out.push_back(TNS_D3DUnpackPixel(desc.Format, p));
        }
    }
    texture->UnlockRect(level);
    return out;
}

int32_t TexTest::loadPng(const char* id, int width, int height, int32_t formatClass, int32_t mips, int32_t tag,
                         int32_t dim)
{
    const imgtest::Bytes file = pngOf(width, height, std::vector<uint32_t>(size_t(width) * height, 0xFF336699u));
    return m_t->GFX_TexLoadFromMemory(file.data(), int32_t(file.size()), formatClass, id, mips, tag, dim);
}

} // namespace textest
