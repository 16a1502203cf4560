// Truevision TGA decoding for the D3DX texture loader: colour-mapped, true-colour
// and grey images of 8, 15/16, 24 and 32 bits, plain or run-length encoded, in
// any of the four origins. Limits: the extension area (gamma, thumbnails) is ignored.
#include <algorithm>

#include "engine/platform/image/tns_image.h"

namespace tns::image {

namespace {

uint32_t le16(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t expand5(uint32_t v)
{
    return (v << 3) | (v >> 2);
}

// One stored pixel (true colour, grey or a colour-map entry) as ARGB. The alpha
// stored is used only when the descriptor announces alpha bits: writers that
// announce none often leave zeros there.
uint32_t toArgb(const uint8_t* p, int bits, bool grey, bool alphaBit)
{
    if (grey) {
        const uint32_t a = bits == 16 && alphaBit ? p[1] : 255;
        return a << 24 | uint32_t(p[0]) * 0x010101u;
    }
    switch (bits) {
    case 15:
    case 16: {
        const uint32_t v = le16(p);
        const uint32_t a = bits == 16 && alphaBit ? (v & 0x8000 ? 255 : 0) : 255;
        return a << 24 | expand5((v >> 10) & 31) << 16 | expand5((v >> 5) & 31) << 8 | expand5(v & 31);
    }
    case 24:
        return 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    default:
        return uint32_t(alphaBit ? p[3] : 255) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
}

} // namespace

bool DecodeTga(const uint8_t* data, size_t size, Image& out)
{
    if (size < 18) return false;
    const uint8_t idLength = data[0], mapType = data[1], type = data[2];
    const uint32_t mapFirst = le16(data + 3), mapLength = le16(data + 5);
    const int mapBits = data[7];
    const int width = int(le16(data + 12)), height = int(le16(data + 14));
    const int bits = data[16];
    const uint8_t descriptor = data[17];
    const bool rle = type >= 9;
    const int kind = rle ? type - 8 : type; // 1 mapped, 2 true colour, 3 grey
    if (kind < 1 || kind > 3 || mapType > 1 || width == 0 || height == 0) return false;
    if (kind == 1 && (mapType != 1 || bits != 8 || mapLength == 0)) return false;
    if (kind == 2 && bits != 15 && bits != 16 && bits != 24 && bits != 32) return false;
    if (kind == 3 && bits != 8 && bits != 16) return false;
    if (mapType == 1 && mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32) return false;
    const int alphaBits = descriptor & 0x0F;

    size_t pos = 18 + size_t(idLength);
    // The colour map, even when a true-colour image carries one it does not use.
    std::vector<uint32_t> map;
    if (mapType == 1) {
        const size_t entryBytes = size_t(mapBits + 7) / 8;
        if (pos > size || mapLength * entryBytes > size - pos) return false;
        map.resize(mapLength);
        for (uint32_t i = 0; i < mapLength; ++i)
            map[i] = toArgb(data + pos + i * entryBytes, mapBits, false, alphaBits > 0);
        pos += mapLength * entryBytes;
    }
    if (pos > size) return false;

    const size_t pixelBytes = size_t(bits + 7) / 8;
    const size_t count = size_t(width) * height;
    // Sizes are checked against the data before the pixels are allocated; a
    // run-length packet covers at most 128 pixels.
    if (!rle && count * pixelBytes > size - pos) return false;
    if (rle && (count + 127) / 128 * (1 + pixelBytes) > size - pos) return false;
    Image img;
    if (!Allocate(img, width, height)) return false;
    const bool grey = kind == 3;
    auto decodeOne = [&](const uint8_t* p) -> uint32_t {
        if (kind != 1) return toArgb(p, bits, grey, alphaBits > 0);
        const uint32_t i = p[0];
        return i >= mapFirst && i - mapFirst < mapLength ? map[i - mapFirst] : 0xFF000000u;
    };
    if (!rle) {
        for (size_t i = 0; i < count; ++i) img.argb[i] = decodeOne(data + pos + i * pixelBytes);
    } else {
        // Packets may run across rows; a packet cut off by the end of the file
        // refuses the image.
        size_t i = 0;
        while (i < count) {
            if (pos >= size) return false;
            const uint8_t header = data[pos++];
            const size_t n = std::min<size_t>((header & 0x7F) + 1, count - i);
            if (header & 0x80) {
                if (pixelBytes > size - pos) return false;
                const uint32_t v = decodeOne(data + pos);
                pos += pixelBytes;
                std::fill_n(img.argb.begin() + ptrdiff_t(i), n, v);
            } else {
                if (n * pixelBytes > size - pos) return false;
                for (size_t k = 0; k < n; ++k) img.argb[i + k] = decodeOne(data + pos + k * pixelBytes);
                pos += ((header & 0x7F) + 1) * pixelBytes;
            }
            i += n;
        }
    }
    // Stored bottom-up unless bit 5 says top-down; bit 4 mirrors the rows.
    const bool topDown = descriptor & 0x20, rightToLeft = descriptor & 0x10;
    if (!topDown)
        for (int y = 0; y < height / 2; ++y)
            std::swap_ranges(img.argb.begin() + ptrdiff_t(y) * width, img.argb.begin() + ptrdiff_t(y + 1) * width,
                             img.argb.begin() + ptrdiff_t(height - 1 - y) * width);
    if (rightToLeft)
        for (int y = 0; y < height; ++y)
            std::reverse(img.argb.begin() + ptrdiff_t(y) * width, img.argb.begin() + ptrdiff_t(y + 1) * width);
    const int alphaCarrier = kind == 1 ? mapBits : bits;
    img.hasAlpha = alphaBits > 0 && (alphaCarrier == 32 || alphaCarrier == 16);
    out = std::move(img);
    return true;
}

} // namespace tns::image
