// Builders of the test images (see image_files.h).
#include "tests/platform/image/image_files.h"

#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace imgtest {

namespace {

void pngWrite(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void pngFlush(png_structp) {}

} // namespace

Bytes makePng(const PngSpec& s)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, pngWrite, pngFlush);
    png_set_IHDR(png, info, png_uint_32(s.width), png_uint_32(s.height), s.bitDepth, s.colorType,
                 s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> pal;
    for (size_t i = 0; i + 2 < s.palette.size(); i += 3) pal.push_back({s.palette[i], s.palette[i + 1], s.palette[i + 2]});
    if (!pal.empty()) png_set_PLTE(png, info, pal.data(), int(pal.size()));
    png_color_16 trnsColor{};
    trnsColor.gray = s.trnsGrey;
    if (!s.trns.empty() || s.useTrnsGrey)
        png_set_tRNS(png, info, s.trns.empty() ? nullptr : s.trns.data(), int(s.trns.size()),
                     s.useTrnsGrey ? &trnsColor : nullptr);
    png_write_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<png_bytep> rows;
    Bytes pixels = s.pixels;
    pixels.resize(rowBytes * s.height);
    for (int y = 0; y < s.height; ++y) rows.push_back(pixels.data() + rowBytes * y);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes makeJpeg(int width, int height, int components, uint8_t r, uint8_t g, uint8_t b)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* mem = nullptr;
    unsigned long memSize = 0;
    jpeg_mem_dest(&cinfo, &mem, &memSize);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    Bytes row(size_t(width) * components);
    for (int x = 0; x < width; ++x) {
        if (components == 1) {
            row[x] = r;
        } else {
            row[x * 3] = r;
            row[x * 3 + 1] = g;
            row[x * 3 + 2] = b;
        }
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(mem, mem + memSize);
    jpeg_destroy_compress(&cinfo);
    free(mem);
    return out;
}

void put16(Bytes& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void put32(Bytes& b, uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

Bytes makeBmp(int width, int height, int bpp, uint32_t compression, const Bytes& extra, const Bytes& pixels,
              uint32_t colorsUsed)
{
    Bytes b{'B', 'M'};
    const uint32_t offset = 14 + 40 + uint32_t(extra.size());
    for (uint32_t v : {offset + uint32_t(pixels.size()), 0u, offset, 40u, uint32_t(width), uint32_t(height)})
        put32(b, v);
    put16(b, 1);
    put16(b, uint32_t(bpp));
    for (uint32_t v : {compression, uint32_t(pixels.size()), 2835u, 2835u, colorsUsed, 0u}) put32(b, v);
    b.insert(b.end(), extra.begin(), extra.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

Bytes makeTga(int type, int width, int height, int bits, uint8_t descriptor, const Bytes& colourMap, int mapBits,
              const Bytes& pixels)
{
    Bytes b{0, uint8_t(colourMap.empty() ? 0 : 1), uint8_t(type)};
    const int entryBytes = (mapBits + 7) / 8;
    put16(b, 0);
    put16(b, colourMap.empty() ? 0 : uint32_t(colourMap.size() / entryBytes));
    b.push_back(uint8_t(colourMap.empty() ? 0 : mapBits));
    for (uint32_t v : {0u, 0u, uint32_t(width), uint32_t(height)}) put16(b, v); // origin, size
    b.push_back(uint8_t(bits));
    b.push_back(descriptor);
    b.insert(b.end(), colourMap.begin(), colourMap.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

Bytes makeDds(int width, int height, uint32_t pfFlags, uint32_t fourCC, uint32_t bitCount, uint32_t r, uint32_t g,
              uint32_t bl, uint32_t a, const Bytes& data)
{
    Bytes b{'D', 'D', 'S', ' '};
    // Size, flags (caps, height, width, pixel format), height, width, pitch, depth, mip count.
    for (uint32_t v : {124u, 0x1007u, uint32_t(height), uint32_t(width), 0u, 0u, 0u}) put32(b, v);
    for (int i = 0; i < 11; ++i) put32(b, 0);
    // The pixel format, then the caps.
    for (uint32_t v : {32u, pfFlags, fourCC, bitCount, r, g, bl, a, 0x1000u, 0u, 0u, 0u, 0u}) put32(b, v);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

} // namespace imgtest
