// Windows bitmap decoding for the D3DX texture loader: 1, 4 and 8-bit palette
// images (plain or RLE4/RLE8), 16 and 32-bit with default or explicit channel
// masks, 24-bit; OS/2 core headers too. Limits: no embedded JPEG/PNG bitmaps.
#include <algorithm>
#include <cstring>

#include "engine/platform/image/tns_image.h"
#include "engine/platform/image/tns_image_channel.h"

namespace tns::image {

namespace {

uint32_t le16(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t le32(const uint8_t* p)
{
    return le16(p) | le16(p + 2) << 16;
}

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

// RLE streams write palette indices into a zeroed buffer (bottom-up rows);
// pixels the stream skips keep index 0. False when the stream is cut short or
// a run or delta passes the row's end or the last row: the counters never leave
// the image, so they cannot overflow however long the stream is.
bool decodeRle(const uint8_t* p, const uint8_t* end, int width, int height, bool four, std::vector<uint8_t>& idx)
{
    int x = 0, y = 0;
    while (p + 2 <= end) {
        const uint8_t n = p[0], v = p[1];
        p += 2;
        if (n) {
            if (n > width - x) return false;
            uint8_t* row = &idx[size_t(y) * width + x];
            for (int i = 0; i < n; ++i) row[i] = four ? uint8_t(i & 1 ? v & 0x0F : v >> 4) : v;
            x += n;
            continue;
        }
        if (v == 0) {
            x = 0;
            if (++y >= height) return true;
        } else if (v == 1) {
            return true;
        } else if (v == 2) {
            if (p + 2 > end) return false;
            if (p[0] > width - x || p[1] >= height - y) return false;
            x += p[0];
            y += p[1];
            p += 2;
        } else {
            const size_t bytes = four ? (v + 1) / 2 : v;
            if (size_t(end - p) < bytes || v > width - x) return false;
            uint8_t* row = &idx[size_t(y) * width + x];
            for (int i = 0; i < v; ++i) row[i] = four ? uint8_t(i & 1 ? p[i / 2] & 0x0F : p[i / 2] >> 4) : p[i];
            x += v;
            p += bytes + (bytes & 1); // runs are padded to 16 bits
        }
    }
    return false;
}

} // namespace

bool DecodeBmp(const uint8_t* data, size_t size, Image& out)
{
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t pixelOffset = le32(data + 10);
    const uint8_t* h = data + 14;
    const uint32_t headerSize = le32(h);
    if (headerSize < 12 || headerSize > size - 14) return false;
    int32_t width, height;
    uint32_t bpp, compression = kRgb, colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};
    if (headerSize == 12) {
        width = int32_t(le16(h + 4));
        height = int32_t(le16(h + 6));
        bpp = le16(h + 10);
    } else {
        if (headerSize < 40) return false;
        width = int32_t(le32(h + 4));
        height = int32_t(le32(h + 8));
        bpp = le16(h + 14);
        compression = le32(h + 16);
        colorsUsed = le32(h + 32);
        if (compression == kBitFields || compression == kAlphaBitFields) {
            // Masks follow a plain 40-byte header, or sit inside a longer one.
            const uint32_t count = compression == kAlphaBitFields ? 4 : 3;
            if (headerSize >= 52) {
                for (uint32_t i = 0; i < std::min<uint32_t>(headerSize >= 56 ? 4 : 3, 4); ++i)
                    masks[i] = le32(h + 40 + 4 * i);
            } else {
                if (size - 14 - 40 < count * 4) return false;
                for (uint32_t i = 0; i < count; ++i) masks[i] = le32(h + 40 + 4 * i);
            }
        }
    }
    const bool topDown = height < 0;
    if (height == INT32_MIN || width <= 0 || height == 0) return false;
    if (topDown) height = -height;
    if (width > kMaxSide || height > kMaxSide) return false;

    const bool palette = bpp == 1 || bpp == 4 || bpp == 8;
    if (!palette && bpp != 16 && bpp != 24 && bpp != 32) return false;
    if (compression == kRle8 && bpp != 8) return false;
    if (compression == kRle4 && bpp != 4) return false;
    if ((compression == kBitFields || compression == kAlphaBitFields) && bpp != 16 && bpp != 32) return false;
    if (compression > kBitFields && compression != kAlphaBitFields) return false;
    if ((compression == kRle4 || compression == kRle8) && topDown) return false;

    // The palette follows the header (and the masks of a plain 40-byte one).
    uint32_t colors[256] = {};
    uint32_t paletteSize = 0;
    if (palette) {
        const uint32_t entryBytes = headerSize == 12 ? 3 : 4;
        paletteSize = colorsUsed ? std::min<uint32_t>(colorsUsed, 1u << bpp) : 1u << bpp;
        const size_t at = 14 + size_t(headerSize);
        const size_t available = at < size ? (size - at) / entryBytes : 0;
        paletteSize = uint32_t(std::min<size_t>(paletteSize, available));
        for (uint32_t i = 0; i < paletteSize; ++i) {
            const uint8_t* e = data + at + i * entryBytes;
            colors[i] = 0xFF000000u | uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
        }
        if (paletteSize == 0) return false;
    }
    if (pixelOffset >= size) return false;
    const uint8_t* pixels = data + pixelOffset;
    const size_t available = size - pixelOffset;

    const size_t stride = ((size_t(width) * bpp + 31) / 32) * 4;
    const bool rle = compression == kRle4 || compression == kRle8;
    // Plain rows are checked against the data before the pixels are allocated
    // (an RLE stream may legitimately end early, leaving the rest at index 0).
    if (!rle && stride * size_t(height) > available) return false;
    Image img;
    if (!Allocate(img, width, height)) return false;
    auto dstRow = [&](int fileRow) { return &img.argb[size_t(topDown ? fileRow : height - 1 - fileRow) * width]; };

    if (rle) {
        std::vector<uint8_t> idx(size_t(width) * height, 0);
        if (!decodeRle(pixels, pixels + available, width, height, compression == kRle4, idx)) return false;
        for (int y = 0; y < height; ++y) {
            uint32_t* d = dstRow(y);
            for (int x = 0; x < width; ++x) d[x] = colors[idx[size_t(y) * width + x]];
        }
        out = std::move(img);
        return true;
    }

    if (compression == kRgb && bpp == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (compression == kRgb && bpp == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0xFF00;
        masks[2] = 0xFF;
    }
    const Channel r(masks[0]), g(masks[1]), b(masks[2]), a(masks[3]);
    img.hasAlpha = a.bits > 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* s = pixels + stride * y;
        uint32_t* d = dstRow(y);
        for (int x = 0; x < width; ++x) {
            if (palette) {
                const int bit = x * int(bpp);
                const uint32_t v = (s[bit / 8] >> (8 - int(bpp) - bit % 8)) & ((1u << bpp) - 1);
                d[x] = v < paletteSize ? colors[v] : 0xFF000000u;
            } else if (bpp == 24) {
                const uint8_t* q = s + x * 3;
                d[x] = 0xFF000000u | uint32_t(q[2]) << 16 | uint32_t(q[1]) << 8 | q[0];
            } else {
                const uint32_t p = bpp == 16 ? le16(s + x * 2) : le32(s + x * 4);
                d[x] = a.get(p, 255) << 24 | r.get(p, 0) << 16 | g.get(p, 0) << 8 | b.get(p, 0);
            }
        }
    }
    out = std::move(img);
    return true;
}

} // namespace tns::image
