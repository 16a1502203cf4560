// Small image files built in memory for the decoder tests: PNG and JPEG through
// the codec libraries, BMP, TGA and DDS byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imgtest {

using Bytes = std::vector<uint8_t>;

// rows: width * channels * (depth / 8) bytes each (16-bit samples big-endian,
// as PNG stores them); palette RGB triplets; trns as PNG's tRNS chunk.
struct PngSpec {
    int width = 1, height = 1;
    int colorType = 2; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    Bytes pixels; // packed rows as PNG wants them
    Bytes palette;
    Bytes trns;
    uint16_t trnsGrey = 0; // for grey images with tRNS
    bool useTrnsGrey = false;
    bool interlaced = false;
};
Bytes makePng(const PngSpec& image);

// Flat-coloured JPEG (quality 100); grey when components = 1.
Bytes makeJpeg(int width, int height, int components, uint8_t r, uint8_t g, uint8_t b);

// Little-endian writers for hand-built files.
void put16(Bytes& b, uint32_t v);
void put32(Bytes& b, uint32_t v);

// A BMP with a 40-byte info header; extra goes between the header and the
// pixels (palette or masks); height negative for top-down.
Bytes makeBmp(int width, int height, int bpp, uint32_t compression, const Bytes& extra, const Bytes& pixels,
              uint32_t colorsUsed = 0);

Bytes makeTga(int type, int width, int height, int bits, uint8_t descriptor, const Bytes& colourMap, int mapBits,
              const Bytes& pixels);

// DDS header + data; fourCC 0 for uncompressed with the given masks.
Bytes makeDds(int width, int height, uint32_t pfFlags, uint32_t fourCC, uint32_t bitCount, uint32_t r, uint32_t g,
              uint32_t b, uint32_t a, const Bytes& data);

} // namespace imgtest
