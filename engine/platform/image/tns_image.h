// Image files decoded into plain 32-bit pixels, resampled and reduced into mip
// levels: the portable core behind the D3DX texture loader (tns_d3dx8.cpp).
// Knows nothing of the device; every decoder reads only inside the given bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tns::image {

// Pixels are D3DCOLOR values (0xAARRGGBB), rows top to bottom, no padding.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
    // The file carried transparency (an alpha channel, tRNS, alpha bits).
    bool hasAlpha = false;

    uint32_t at(int x, int y) const { return argb[size_t(y) * size_t(width) + size_t(x)]; }
};

// Which decoder took the file; the values are D3DXIMAGE_FILEFORMAT's.
enum class FileFormat : int { Bmp = 0, Jpg = 1, Tga = 2, Png = 3, Dds = 4, Unknown = -1 };

// Images claiming more pixels than this are refused before any allocation, so a
// corrupt header cannot ask for gigabytes.
constexpr int kMaxSide = 16384;
constexpr size_t kMaxPixels = size_t(64) << 20;

// Detects the format from the bytes and decodes; false (out left empty) for
// anything truncated, corrupt or unknown.
bool Decode(const uint8_t* data, size_t size, Image& out, FileFormat* format = nullptr);

bool DecodePng(const uint8_t* data, size_t size, Image& out);
bool DecodeJpeg(const uint8_t* data, size_t size, Image& out);
bool DecodeBmp(const uint8_t* data, size_t size, Image& out);
bool DecodeTga(const uint8_t* data, size_t size, Image& out);
bool DecodeDds(const uint8_t* data, size_t size, Image& out);

// Allocates width x height pixels; false when the size is out of bounds.
bool Allocate(Image& image, int width, int height);

enum class Filter { None, Point, Linear, Triangle, Box };

// Scales src to width x height. None copies into the top-left corner and leaves
// the rest transparent black; Box averages the covered area; Linear and
// Triangle weigh by distance (Triangle widens its reach when shrinking).
// Edges clamp.
bool Resample(const Image& src, int width, int height, Filter filter, Image& out);

// The next smaller mip level: halves each side (not below 1) with filter.
bool Reduce(const Image& src, Filter filter, Image& out);

// Smallest power of two not below n (n >= 1).
int RoundUpPow2(int n);

} // namespace tns::image
