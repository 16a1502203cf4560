// JPEG decoding through libjpeg for the D3DX texture loader: grey, YCbCr and
// (Adobe, inverted) CMYK files arrive as opaque ARGB. Limits: a file that ends
// early is refused rather than padded with grey, as no texture beats a broken one.
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include <csetjmp>

#include "engine/platform/image/tns_image.h"

namespace tns::image {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings stay silent, except the one telling that the data ran out.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Long jumps land here; the C++ objects it touches were created by the caller.
bool decode(jpeg_decompress_struct& cinfo, ErrorManager& err, const uint8_t* data, size_t size, Image& out,
            std::vector<uint8_t>& row)
{
    if (setjmp(err.jump)) return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
    // Refuse oversized images before libjpeg sizes its buffers by the header.
    if (cinfo.image_width > unsigned(kMaxSide) || cinfo.image_height > unsigned(kMaxSide) ||
        size_t(cinfo.image_width) * cinfo.image_height > kMaxPixels)
        return false;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const int channels = cinfo.output_components;
    if (channels != (cmyk ? 4 : 3)) return false;
    if (!Allocate(out, int(cinfo.output_width), int(cinfo.output_height))) return false;
    row.resize(size_t(cinfo.output_width) * channels);
    while (cinfo.output_scanline < cinfo.output_height) {
        const size_t y = cinfo.output_scanline;
        JSAMPROW rows[1] = {row.data()};
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) return false;
        uint32_t* dst = &out.argb[y * cinfo.output_width];
        for (size_t x = 0; x < cinfo.output_width; ++x) {
            const uint8_t* s = &row[x * channels];
            uint32_t r = s[0], g = s[1], b = s[2];
            if (cmyk) {
                // Adobe writes CMYK inverted: the stored values are already 255 - ink.
                r = (r * s[3] + 127) / 255;
                g = (g * s[3] + 127) / 255;
                b = (b * s[3] + 127) / 255;
            }
            dst[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

} // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, Image& out)
{
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.emit_message = onMessage;
    std::vector<uint8_t> row;
    const bool ok = decode(cinfo, err, data, size, out, row);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) out = Image();
    return ok;
}

} // namespace tns::image
