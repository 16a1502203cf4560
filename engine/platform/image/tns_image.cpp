// Image decoding entry: picks the decoder from the file's signature. Stands in
// for the file-format detection of D3DX; TGA has no signature, so it is tried
// last and only accepted when its header is self-consistent.
#include "engine/platform/image/tns_image.h"

#include <cstring>
#include <new>

namespace tns::image {

bool Allocate(Image& image, int width, int height)
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
    if (size_t(width) * size_t(height) > kMaxPixels) return false;
    try {
        image.argb.assign(size_t(width) * size_t(height), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    image.width = width;
    image.height = height;
    return true;
}

int RoundUpPow2(int n)
{
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

bool Decode(const uint8_t* data, size_t size, Image& out, FileFormat* format)
{
    out = Image();
    FileFormat found = FileFormat::Unknown;
    bool ok = false;
    if (data && size >= 4) {
        static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        if (size >= 8 && std::memcmp(data, kPng, 8) == 0) {
            found = FileFormat::Png;
            ok = DecodePng(data, size, out);
        } else if (data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
            found = FileFormat::Jpg;
            ok = DecodeJpeg(data, size, out);
        } else if (data[0] == 'B' && data[1] == 'M') {
            found = FileFormat::Bmp;
            ok = DecodeBmp(data, size, out);
        } else if (std::memcmp(data, "DDS ", 4) == 0) {
            found = FileFormat::Dds;
            ok = DecodeDds(data, size, out);
        } else {
            found = FileFormat::Tga;
            ok = DecodeTga(data, size, out);
        }
    }
    if (!ok) {
        out = Image();
        found = FileFormat::Unknown;
    }
    if (format) *format = found;
    return ok;
}

} // namespace tns::image
