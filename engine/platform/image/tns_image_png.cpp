// PNG decoding through libpng for the D3DX texture loader: palette, grey,
// 16-bit and tRNS images all arrive as 8-bit ARGB. Limits: gamma and colour
// profiles are ignored (pixels are taken as stored).
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "engine/platform/image/tns_image.h"

namespace tns::image {

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void readBytes(png_structp png, png_bytep dst, png_size_t count)
{
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (count > r->size - r->pos) png_error(png, "truncated");
    std::memcpy(dst, r->data + r->pos, count);
    r->pos += count;
}

// libpng reports errors by long-jumping back to decode(); nothing between here
// and there has a destructor to skip.
void onError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Everything that may be interrupted by a long jump lives in this function;
// its only C++ objects (out, rows) are created before setjmp.
bool decode(png_structp png, png_infop info, Reader& reader, Image& out, std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &reader, readBytes);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colorType = png_get_color_type(png, info);
    const bool trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (trns) png_set_tRNS_to_alpha(png);
    png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * 4) return false;
    if (!Allocate(out, int(width), int(height))) return false;
    out.hasAlpha = trns || (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    // Decode RGBA bytes in place over the pixel array, then repack each pixel.
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = reinterpret_cast<png_bytep>(&out.argb[size_t(y) * width]);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    for (uint32_t& p : out.argb) {
        uint8_t b[4];
        std::memcpy(b, &p, 4);
        p = (uint32_t(b[3]) << 24) | (uint32_t(b[0]) << 16) | (uint32_t(b[1]) << 8) | b[2];
    }
    return true;
}

} // namespace

bool DecodePng(const uint8_t* data, size_t size, Image& out)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    Reader reader{data, size, 0};
    std::vector<png_bytep> rows;
    const bool ok = decode(png, info, reader, out, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) out = Image();
    return ok;
}

} // namespace tns::image
