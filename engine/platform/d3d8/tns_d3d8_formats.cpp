// Pixel formats of the software Direct3D 8 layer: bytes per pixel and the
// conversions between 32-bit ARGB and the 16/32-bit texture formats.
// Limits: palette, luminance, bump and depth formats are not stored.
#include "engine/platform/d3d8/d3d8.h"

namespace {

// Nearest n-bit level of an 8-bit channel.
inline uint32_t down(uint32_t v, int bits)
{
    uint32_t top = (1u << bits) - 1;
    return (v * top + 127) / 255;
}

// 8-bit value of an n-bit level by repeating its bits (0 stays 0, the top level
// becomes 255), the expansion the 16-bit back buffers use too.
inline uint32_t up(uint32_t v, int bits)
{
    uint32_t r = 0;
    int filled = 0;
    while (filled < 8) {
        r = (r << bits) | v;
        filled += bits;
    }
    return r >> (filled - 8);
}

struct Layout {
    D3DFORMAT format;
    UINT bytes;
    int aBits, rBits, gBits, bBits; // aBits 0: opaque
};

// One table for every stored format: channel widths from the top bit down.
constexpr Layout kLayouts[] = {
    {D3DFMT_A8R8G8B8, 4, 8, 8, 8, 8}, {D3DFMT_X8R8G8B8, 4, 0, 8, 8, 8}, {D3DFMT_R5G6B5, 2, 0, 5, 6, 5},
    {D3DFMT_X1R5G5B5, 2, 0, 5, 5, 5}, {D3DFMT_A1R5G5B5, 2, 1, 5, 5, 5}, {D3DFMT_A4R4G4B4, 2, 4, 4, 4, 4},
    {D3DFMT_X4R4G4B4, 2, 0, 4, 4, 4}, {D3DFMT_A8R3G3B2, 2, 8, 3, 3, 2},
};

const Layout* find(D3DFORMAT format)
{
    for (const Layout& l : kLayouts)
        if (l.format == format) return &l;
    return nullptr;
}

// Bit widths of the padding X formats (the alpha slot that is not used).
int padBits(const Layout& l)
{
    return int(l.bytes) * 8 - l.rBits - l.gBits - l.bBits;
}

} // namespace

UINT TNS_D3DFormatBytes(D3DFORMAT format)
{
    const Layout* l = find(format);
    return l ? l->bytes : 0;
}

uint32_t TNS_D3DPackPixel(D3DFORMAT format, D3DCOLOR argb)
{
    const Layout* l = find(format);
    if (!l) return 0;
    uint32_t a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    int shiftB = 0, shiftG = l->bBits, shiftR = shiftG + l->gBits, shiftA = shiftR + l->rBits;
    uint32_t alpha = l->aBits ? down(a, l->aBits) : (1u << padBits(*l)) - 1;
    return (alpha << shiftA) | (down(r, l->rBits) << shiftR) | (down(g, l->gBits) << shiftG) |
           (down(b, l->bBits) << shiftB);
}

D3DCOLOR TNS_D3DUnpackPixel(D3DFORMAT format, uint32_t pixel)
{
    const Layout* l = find(format);
    if (!l) return 0;
    int shiftG = l->bBits, shiftR = shiftG + l->gBits, shiftA = shiftR + l->rBits;
    auto field = [&](int shift, int bits) { return (pixel >> shift) & ((1u << bits) - 1); };
    uint32_t a = l->aBits ? up(field(shiftA, l->aBits), l->aBits) : 255;
    return (a << 24) | (up(field(shiftR, l->rBits), l->rBits) << 16) | (up(field(shiftG, l->gBits), l->gBits) << 8) |
           up(field(0, l->bBits), l->bBits);
}
