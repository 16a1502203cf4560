// DirectDraw Surface decoding for the D3DX texture loader: the top level of
// uncompressed (RGB, luminance, alpha masks of 8 to 32 bits) and DXT1/DXT3/DXT5
// files; the mip chain is rebuilt by the caller. Limits: no cube maps, volumes,
// DX10 headers or the premultiplied DXT2/DXT4.
#include <cstring>

#include "engine/platform/image/tns_image.h"
#include "engine/platform/image/tns_image_channel.h"

namespace tns::image {

namespace {

uint32_t le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

constexpr uint32_t kAlphaPixels = 0x1, kAlphaOnly = 0x2, kFourCC = 0x4, kRgb = 0x40, kLuminance = 0x20000;
constexpr uint32_t kHeaderBytes = 4 + 124;

constexpr uint32_t fourCC(const char (&s)[5])
{
    return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
           uint32_t(uint8_t(s[3])) << 24;
}

uint32_t from565(uint32_t c)
{
    const uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}

uint32_t mix(uint32_t a, uint32_t b, uint32_t wa, uint32_t wb, uint32_t div)
{
    uint32_t r = 0;
    for (int s = 0; s < 24; s += 8)
        r |= (((a >> s & 0xFF) * wa + (b >> s & 0xFF) * wb + div / 2) / div) << s;
    return r;
}

// One 4x4 colour block; DXT1 blocks with c0 <= c1 have three colours and
// transparent black (only DXT1 honours that mode).
void colourBlock(const uint8_t* p, bool dxt1, uint32_t out[16])
{
    const uint32_t c0 = uint32_t(p[0]) | uint32_t(p[1]) << 8, c1 = uint32_t(p[2]) | uint32_t(p[3]) << 8;
    uint32_t pal[4] = {from565(c0) | 0xFF000000u, from565(c1) | 0xFF000000u, 0, 0};
    if (c0 > c1 || !dxt1) {
        pal[2] = mix(pal[0], pal[1], 2, 1, 3) | 0xFF000000u;
        pal[3] = mix(pal[0], pal[1], 1, 2, 3) | 0xFF000000u;
    } else {
        pal[2] = mix(pal[0], pal[1], 1, 1, 2) | 0xFF000000u;
        pal[3] = 0;
    }
    const uint32_t bits = le32(p + 4);
    for (int i = 0; i < 16; ++i) out[i] = pal[(bits >> (2 * i)) & 3];
}

void alphaBlock3(const uint8_t* p, uint32_t px[16])
{
    for (int i = 0; i < 16; ++i) {
        const uint32_t a = (p[i / 2] >> (4 * (i & 1))) & 0xF;
        px[i] = (px[i] & 0xFFFFFF) | (a * 17) << 24;
    }
}

void alphaBlock5(const uint8_t* p, uint32_t px[16])
{
    uint32_t a[8] = {p[0], p[1]};
    if (a[0] > a[1]) {
        for (int i = 1; i < 7; ++i) a[i + 1] = ((7 - i) * a[0] + i * a[1] + 3) / 7;
    } else {
        for (int i = 1; i < 5; ++i) a[i + 1] = ((5 - i) * a[0] + i * a[1] + 2) / 5;
        a[6] = 0;
        a[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) bits |= uint64_t(p[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i) px[i] = (px[i] & 0xFFFFFF) | a[(bits >> (3 * i)) & 7] << 24;
}

} // namespace

bool DecodeDds(const uint8_t* data, size_t size, Image& out)
{
    if (size < kHeaderBytes || std::memcmp(data, "DDS ", 4) != 0 || le32(data + 4) != 124) return false;
    const uint32_t height = le32(data + 12), width = le32(data + 16);
    const uint8_t* pf = data + 4 + 72;
    if (le32(pf) != 32) return false;
    const uint32_t flags = le32(pf + 4), code = le32(pf + 8), bitCount = le32(pf + 12);
    const uint32_t masks[4] = {le32(pf + 16), le32(pf + 20), le32(pf + 24), le32(pf + 28)};
    if (width == 0 || height == 0 || width > uint32_t(kMaxSide) || height > uint32_t(kMaxSide)) return false;
    const uint8_t* pixels = data + kHeaderBytes;
    const size_t available = size - kHeaderBytes;
    // Sizes are checked against the data before the pixels are allocated.
    Image img;

    if (flags & kFourCC) {
        const bool dxt1 = code == fourCC("DXT1"), dxt3 = code == fourCC("DXT3"), dxt5 = code == fourCC("DXT5");
        if (!dxt1 && !dxt3 && !dxt5) return false;
        const size_t blockBytes = dxt1 ? 8 : 16;
        const size_t bw = (width + 3) / 4, bh = (height + 3) / 4;
        if (bw * bh * blockBytes > available) return false;
        if (!Allocate(img, int(width), int(height))) return false;
        for (size_t by = 0; by < bh; ++by) {
            for (size_t bx = 0; bx < bw; ++bx) {
                const uint8_t* b = pixels + (by * bw + bx) * blockBytes;
                uint32_t px[16];
                colourBlock(dxt1 ? b : b + 8, dxt1, px);
                if (dxt3) alphaBlock3(b, px);
                if (dxt5) alphaBlock5(b, px);
                for (size_t i = 0; i < 16; ++i) {
                    const size_t x = bx * 4 + i % 4, y = by * 4 + i / 4;
                    if (x < width && y < height) img.argb[y * width + x] = px[i];
                }
            }
        }
        img.hasAlpha = true;
        out = std::move(img);
        return true;
    }

    if (!(flags & (kRgb | kLuminance | kAlphaOnly)) || bitCount % 8 != 0 || bitCount < 8 || bitCount > 32)
        return false;
    const size_t bpp = bitCount / 8;
    if (size_t(width) * height * bpp > available) return false;
    if (!Allocate(img, int(width), int(height))) return false;
    const bool alpha = (flags & (kAlphaPixels | kAlphaOnly)) != 0;
    const Channel r(masks[0]), g(masks[1]), b(masks[2]), a(masks[3]);
    for (size_t i = 0; i < size_t(width) * height; ++i) {
        uint32_t p = 0;
        for (size_t k = 0; k < bpp; ++k) p |= uint32_t(pixels[i * bpp + k]) << (8 * k);
        const uint32_t alphaValue = alpha ? a.get(p, 0) : 255;
        uint32_t rgb;
        if (flags & kLuminance) {
            rgb = r.get(p, 0) * 0x010101u;
        } else if (flags & kRgb) {
            rgb = r.get(p, 0) << 16 | g.get(p, 0) << 8 | b.get(p, 0);
        } else {
            rgb = 0; // alpha-only surfaces sample as black with alpha
        }
        img.argb[i] = alphaValue << 24 | rgb;
    }
    img.hasAlpha = alpha;
    out = std::move(img);
    return true;
}

} // namespace tns::image
