// One image decoder behind the texture loader (chosen when built): a decoded
// image has the size its header gives and exactly that many pixels.
#include "engine/platform/image/tns_image.h"
#include "fuzz/fuzz_support.h"

namespace {

uint32_t le16(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}
uint32_t le32(const uint8_t* p)
{
    return le16(p) | le16(p + 2) << 16;
}
uint32_t be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Width and height as the header states them; false where the format has no
// fixed place for them (JPEG).
bool headerSize(const uint8_t* d, size_t n, int& w, int& h)
{
    using tns::image::FileFormat;
    switch (FileFormat(TARNIS_FUZZ_IMAGE)) {
    case FileFormat::Png: w = int(be32(d + 16)), h = int(be32(d + 20)); return n >= 24;
    case FileFormat::Tga: w = int(le16(d + 12)), h = int(le16(d + 14)); return n >= 16;
    case FileFormat::Dds: h = int(le32(d + 12)), w = int(le32(d + 16)); return n >= 20;
    case FileFormat::Bmp:
        if (n < 26) return false;
        if (le32(d + 14) == 12) {
            w = int(le16(d + 18)), h = int(le16(d + 20));
        } else {
            if (n < 30) return false;
            w = int(le32(d + 18)), h = int(le32(d + 22));
            if (h < 0) h = -h;
        }
        return true;
    default: return false;
    }
}

bool decode(const uint8_t* data, size_t size, tns::image::Image& out)
{
    using tns::image::FileFormat;
    switch (FileFormat(TARNIS_FUZZ_IMAGE)) {
    case FileFormat::Png: return tns::image::DecodePng(data, size, out);
    case FileFormat::Jpg: return tns::image::DecodeJpeg(data, size, out);
    case FileFormat::Bmp: return tns::image::DecodeBmp(data, size, out);
    case FileFormat::Tga: return tns::image::DecodeTga(data, size, out);
    default: return tns::image::DecodeDds(data, size, out);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (4u << 20)) return 0;
    // An exact-size copy: a read past the end is a read past the allocation.
    std::vector<uint8_t> bytes(data, data + size);
    tns::image::Image img;
    if (!decode(bytes.data(), bytes.size(), img)) {
        FUZZ_CHECK(img.argb.empty());
        return 0;
    }
    FUZZ_CHECK(img.width > 0 && img.height > 0);
    FUZZ_CHECK(img.argb.size() == size_t(img.width) * size_t(img.height));
    int w = 0, h = 0;
    if (headerSize(bytes.data(), bytes.size(), w, h)) FUZZ_CHECK(img.width == w && img.height == h);
    // The mip chain the texture loader builds from it.
    tns::image::Image level;
    if (img.width <= 512 && img.height <= 512) FUZZ_CHECK(tns::image::Reduce(img, tns::image::Filter::Box, level));
    return 0;
}
