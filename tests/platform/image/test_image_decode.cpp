// Image decoders: every format and variant the texture loader accepts, the
// exact pixels they produce, and clean refusal of truncated or damaged files.
// Expected pixels are worked out by hand from the bytes each test writes.
#include <png.h>

#include <random>

#include "engine/platform/image/tns_image.h"
#include "tests/platform/image/image_files.h"
#include "tests/support/test_support.h"

using namespace imgtest;
using tns::image::FileFormat;
using tns::image::Image;

namespace {

Image decodeOk(const Bytes& file, FileFormat expected)
{
    Image img;
    FileFormat format;
    EXPECT_TRUE(tns::image::Decode(file.data(), file.size(), img, &format));
    EXPECT_EQ(format, expected);
    return img;
}

using Px = std::vector<uint32_t>;

} // namespace

TEST(ImagePng, ColourTypesDepthsAndTransparencyArriveAsArgb)
{
    PngSpec rgba;
    rgba.width = 2;
    rgba.colorType = PNG_COLOR_TYPE_RGBA;
    rgba.pixels = {255, 0, 0, 128, 0, 255, 0, 255};
    Image a = decodeOk(makePng(rgba), FileFormat::Png);
    EXPECT_EQ(a.argb, (Px{0x80FF0000u, 0xFF00FF00u}));
    EXPECT_TRUE(a.hasAlpha);

    // 4-bit palette, entry 0 made transparent by tRNS.
    PngSpec pal;
    pal.width = pal.height = 2;
    pal.colorType = PNG_COLOR_TYPE_PALETTE;
    pal.bitDepth = 4;
    pal.palette = {10, 20, 30, 40, 50, 60};
    pal.trns = {0};
    pal.pixels = {0x01, 0x10};
    Image p = decodeOk(makePng(pal), FileFormat::Png);
    EXPECT_EQ(p.argb, (Px{0x000A141Eu, 0xFF28323Cu, 0xFF28323Cu, 0x000A141Eu}));
    EXPECT_TRUE(p.hasAlpha);

    PngSpec bits;
    bits.width = 4;
    bits.colorType = PNG_COLOR_TYPE_GRAY;
    bits.bitDepth = 1;
    bits.pixels = {0xA0};
    EXPECT_EQ(decodeOk(makePng(bits), FileFormat::Png).argb,
              (Px{0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu, 0xFF000000u}));

    // 16-bit samples keep their high byte.
    PngSpec deep;
    deep.bitDepth = 16;
    deep.pixels = {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0xFF};
    Image d = decodeOk(makePng(deep), FileFormat::Png);
    EXPECT_EQ(d.argb, (Px{0xFF12ABFFu}));
    EXPECT_FALSE(d.hasAlpha);

    PngSpec greyAlpha;
    greyAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.pixels = {100, 50};
    EXPECT_EQ(decodeOk(makePng(greyAlpha), FileFormat::Png).argb, (Px{0x32646464u}));

    PngSpec greyKey;
    greyKey.width = 2;
    greyKey.colorType = PNG_COLOR_TYPE_GRAY;
    greyKey.pixels = {7, 8};
    greyKey.useTrnsGrey = true;
    greyKey.trnsGrey = 7;
    EXPECT_EQ(decodeOk(makePng(greyKey), FileFormat::Png).argb, (Px{0x00070707u, 0xFF080808u}));

    PngSpec inter;
    inter.width = inter.height = 3;
    inter.interlaced = true;
    for (int i = 0; i < 9; ++i) inter.pixels.insert(inter.pixels.end(), {uint8_t(i), uint8_t(i * 2), uint8_t(i * 3)});
    Image in = decodeOk(makePng(inter), FileFormat::Png);
    ASSERT_EQ(in.argb.size(), 9u);
    EXPECT_EQ(in.at(2, 2), 0xFF081018u);
    EXPECT_EQ(in.at(1, 0), 0xFF010203u);
}

TEST(ImageJpeg, ColourAndGreyDecodeCloseToTheirSource)
{
    // Quality 100 still rounds through YCbCr: allow a couple of levels.
    Image c = decodeOk(makeJpeg(16, 8, 3, 200, 100, 50), FileFormat::Jpg);
    ASSERT_EQ(c.width, 16);
    ASSERT_EQ(c.height, 8);
    const uint32_t p = c.at(5, 5);
    EXPECT_EQ(p >> 24, 0xFFu);
    EXPECT_NEAR(int((p >> 16) & 0xFF), 200, 3);
    EXPECT_NEAR(int((p >> 8) & 0xFF), 100, 3);
    EXPECT_NEAR(int(p & 0xFF), 50, 3);
    EXPECT_FALSE(c.hasAlpha);

    Image g = decodeOk(makeJpeg(8, 8, 1, 77, 0, 0), FileFormat::Jpg);
    const uint32_t q = g.at(3, 3);
    EXPECT_NEAR(int(q & 0xFF), 77, 1);
    EXPECT_EQ((q >> 16) & 0xFF, q & 0xFF);
}

TEST(ImageBmp, PaletteAndTrueColourDepths)
{
    // 24-bit, 3 x 2 bottom-up: rows padded from 9 to 12 bytes.
    Bytes px24 = {30, 20, 10, 60, 50, 40, 90, 80, 70, 0, 0, 0, 3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0};
    EXPECT_EQ(decodeOk(makeBmp(3, 2, 24, 0, {}, px24), FileFormat::Bmp).argb,
              (Px{0xFF010203u, 0xFF040506u, 0xFF070809u, 0xFF0A141Eu, 0xFF28323Cu, 0xFF46505Au}));
    // Top-down when the height is negative.
    Bytes px24td = {3, 2, 1, 0, 6, 5, 4, 0};
    EXPECT_EQ(decodeOk(makeBmp(1, -2, 24, 0, {}, px24td), FileFormat::Bmp).argb, (Px{0xFF010203u, 0xFF040506u}));

    const Bytes pal4 = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0};
    EXPECT_EQ(decodeOk(makeBmp(3, 1, 1, 0, Bytes(pal4.begin(), pal4.begin() + 8), {0xA0, 0, 0, 0}, 2),
                              FileFormat::Bmp).argb,
              (Px{0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu}));
    EXPECT_EQ(decodeOk(makeBmp(3, 1, 4, 0, pal4, {0x12, 0x30, 0, 0}, 4), FileFormat::Bmp).argb,
              (Px{0xFFFFFFFFu, 0xFFFF0000u, 0xFF00FF00u}));
    EXPECT_EQ(decodeOk(makeBmp(2, 1, 8, 0, pal4, {3, 1, 0, 0}, 4), FileFormat::Bmp).argb,
              (Px{0xFF00FF00u, 0xFFFFFFFFu}));

    // 16-bit: 5-5-5 by default, explicit 5-6-5 masks.
    Bytes px16;
    put16(px16, 0x7C00);
    put16(px16, 0x0001);
    EXPECT_EQ(decodeOk(makeBmp(2, 1, 16, 0, {}, px16), FileFormat::Bmp).argb, (Px{0xFFFF0000u, 0xFF000008u}));
    Bytes masks565;
    for (uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) put32(masks565, m);
    Bytes px565;
    put16(px565, 0x07E0);
    put16(px565, 0);
    EXPECT_EQ(decodeOk(makeBmp(1, 1, 16, 3, masks565, px565), FileFormat::Bmp).argb, (Px{0xFF00FF00u}));

    // 32-bit: the fourth byte is padding unless a mask names alpha.
    Image x = decodeOk(makeBmp(1, 1, 32, 0, {}, {1, 2, 3, 0}), FileFormat::Bmp);
    EXPECT_EQ(x.argb, (Px{0xFF030201u}));
    EXPECT_FALSE(x.hasAlpha);
    Bytes masks8888;
    for (uint32_t m : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) put32(masks8888, m);
    Bytes px32;
    put32(px32, 0x80112233u);
    Image al = decodeOk(makeBmp(1, 1, 32, 6, masks8888, px32), FileFormat::Bmp);
    EXPECT_EQ(al.argb, (Px{0x80112233u}));
    EXPECT_TRUE(al.hasAlpha);
}

TEST(ImageBmp, RunLengthStreamsAndCoreHeaders)
{
    const Bytes pal = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0};
    // RLE8, 4 x 2 bottom-up: run of three 1s, end of line, absolute 2 1 2
    // (padded), end of bitmap. Unwritten pixels keep index 0.
    Bytes rle8 = {3, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 1};
    EXPECT_EQ(decodeOk(makeBmp(4, 2, 8, 1, pal, rle8, 3), FileFormat::Bmp).argb,
              (Px{0xFFFF0000u, 0xFFFFFFFFu, 0xFFFF0000u, 0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu,
                  0xFF000000u}));
    // RLE4: a run alternating both nibbles, then a delta skipping one pixel.
    Bytes rle4 = {3, 0x12, 0, 2, 1, 0, 1, 0x20, 0, 1};
    EXPECT_EQ(decodeOk(makeBmp(5, 1, 4, 2, pal, rle4, 3), FileFormat::Bmp).argb,
              (Px{0xFFFFFFFFu, 0xFFFF0000u, 0xFFFFFFFFu, 0xFF000000u, 0xFFFF0000u}));

    // OS/2 core header: 12 bytes, 16-bit sizes, 3-byte palette entries.
    Bytes core{'B', 'M'};
    for (uint32_t v : {14 + 12 + 6 + 4, 0, 14 + 12 + 6, 12}) put32(core, v);
    for (uint32_t v : {2, 1, 1, 8}) put16(core, v); // width, height, planes, depth
    core.insert(core.end(), {0, 0, 255, 255, 0, 0, 1, 0, 0, 0});
    EXPECT_EQ(decodeOk(core, FileFormat::Bmp).argb, (Px{0xFF0000FFu, 0xFFFF0000u}));
}

TEST(ImageBmp, RunLengthPastTheRowOrTheLastRowIsRefused)
{
    const Bytes pal = {0, 0, 0, 0, 255, 255, 255, 0};
    // Several MB of repeated runs on a 4 x 1 image once overflowed the column counter.
    Bytes flood;
    for (int i = 0; i < (3 << 20); ++i) flood.insert(flood.end(), {0xFF, 0x07});
    const struct {
        int width, height, bpp;
        uint32_t compression;
        Bytes stream;
    } cases[] = {
        {4, 1, 8, 1, flood},
        {4, 1, 8, 1, {5, 1, 0, 1}},                   // run longer than the row
        {4, 1, 8, 1, {3, 1, 0, 3, 1, 1, 0, 0, 0, 1}}, // absolute run past the row end
        {4, 2, 8, 1, {0, 2, 5, 0, 0, 1}},             // delta right past the row end
        {4, 2, 8, 1, {0, 2, 0, 2, 0, 1}},             // delta below the last row
        {5, 1, 4, 2, {6, 0x12, 0, 1}},                // RLE4 run longer than the row
        {3, 1, 4, 2, {0, 4, 0x12, 0x12, 0, 1}},       // RLE4 absolute run past the row end
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const Bytes file = makeBmp(c.width, c.height, c.bpp, c.compression, pal, c.stream, 2);
        Image img;
        EXPECT_FALSE(tns::image::Decode(file.data(), file.size(), img)) << "case " << i;
    }
    // A delta onto the last row and a run ending exactly at the row's end are fine.
    const Bytes exact = makeBmp(4, 2, 8, 1, pal, {2, 1, 0, 2, 0, 1, 2, 1, 0, 1}, 2);
    EXPECT_EQ(decodeOk(exact, FileFormat::Bmp).argb,
              (Px{0xFF000000u, 0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFF000000u,
                  0xFF000000u}));
}

TEST(ImageTga, TrueColourGreyMappedAndRunLength)
{
    // 24-bit, 2 x 2, bottom-up (descriptor 0).
    Bytes t24 = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10};
    EXPECT_EQ(decodeOk(makeTga(2, 2, 2, 24, 0, {}, 0, t24), FileFormat::Tga).argb,
              (Px{0xFF070809u, 0xFF0A0B0Cu, 0xFF010203u, 0xFF040506u}));
    // 32-bit top-down with 8 alpha bits; the same bytes with no alpha bits are opaque.
    Bytes t32 = {0x33, 0x22, 0x11, 0x80};
    Image withAlpha = decodeOk(makeTga(2, 1, 1, 32, 0x28, {}, 0, t32), FileFormat::Tga);
    EXPECT_EQ(withAlpha.argb, (Px{0x80112233u}));
    EXPECT_TRUE(withAlpha.hasAlpha);
    Image noAlpha = decodeOk(makeTga(2, 1, 1, 32, 0x20, {}, 0, t32), FileFormat::Tga);
    EXPECT_EQ(noAlpha.argb, (Px{0xFF112233u}));
    EXPECT_FALSE(noAlpha.hasAlpha);
    // 16-bit with one alpha bit, right to left.
    Bytes t16;
    put16(t16, 0x8000 | (31 << 10));
    put16(t16, 0x001F);
    EXPECT_EQ(decodeOk(makeTga(2, 2, 1, 16, 0x31, {}, 0, t16), FileFormat::Tga).argb,
              (Px{0x000000FFu, 0xFFFF0000u}));
    EXPECT_EQ(decodeOk(makeTga(3, 1, 1, 8, 0x20, {}, 0, {0x40}), FileFormat::Tga).argb, (Px{0xFF404040u}));
    // Colour-mapped through a 24-bit map.
    EXPECT_EQ(decodeOk(makeTga(1, 2, 1, 8, 0x20, {1, 2, 3, 4, 5, 6}, 24, {1, 0}), FileFormat::Tga).argb,
              (Px{0xFF060504u, 0xFF030201u}));
    // RLE 24-bit, 3 x 2 top-down: a run of four crossing the row end, then a raw packet of two.
    Bytes rle = {0x83, 3, 2, 1, 0x01, 6, 5, 4, 9, 8, 7};
    EXPECT_EQ(decodeOk(makeTga(10, 3, 2, 24, 0x20, {}, 0, rle), FileFormat::Tga).argb,
              (Px{0xFF010203u, 0xFF010203u, 0xFF010203u, 0xFF010203u, 0xFF040506u, 0xFF070809u}));
    EXPECT_EQ(decodeOk(makeTga(11, 2, 1, 8, 0x20, {}, 0, {0x81, 0x7F}), FileFormat::Tga).argb,
              (Px{0xFF7F7F7Fu, 0xFF7F7F7Fu}));
}

TEST(ImageDds, UncompressedMasksAndBlockCompression)
{
    Bytes argb;
    put32(argb, 0x80102030u);
    put32(argb, 0xFF405060u);
    Image a = decodeOk(makeDds(2, 1, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, argb), FileFormat::Dds);
    EXPECT_EQ(a.argb, (Px{0x80102030u, 0xFF405060u}));
    EXPECT_TRUE(a.hasAlpha);
    Bytes rgb565;
    put16(rgb565, 0xF800);
    EXPECT_EQ(decodeOk(makeDds(1, 1, 0x40, 0, 16, 0xF800, 0x07E0, 0x1F, 0, rgb565), FileFormat::Dds).argb,
              (Px{0xFFFF0000u}));
    EXPECT_EQ(decodeOk(makeDds(1, 1, 0x20000, 0, 8, 0xFF, 0, 0, 0, {0x80}), FileFormat::Dds).argb,
              (Px{0xFF808080u}));

    const uint32_t dxt1 = 0x31545844, dxt3 = 0x33545844, dxt5 = 0x35545844;
    // Four-colour block red / blue; indices 0 1 2 3 along the first row.
    Bytes four = {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0, 0, 0};
    Image b1 = decodeOk(makeDds(4, 4, 0x4, dxt1, 0, 0, 0, 0, 0, four), FileFormat::Dds);
    EXPECT_EQ(Px(b1.argb.begin(), b1.argb.begin() + 5),
              (Px{0xFFFF0000u, 0xFF0000FFu, 0xFFAA0055u, 0xFF5500AAu, 0xFFFF0000u}));
    // Three-colour mode (c0 <= c1): index 3 is transparent black. A 2 x 2 image
    // uses the top-left corner of its block.
    Bytes three = {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0, 0, 0};
    EXPECT_EQ(decodeOk(makeDds(2, 2, 0x4, dxt1, 0, 0, 0, 0, 0, three), FileFormat::Dds).argb,
              (Px{0xFF0000FFu, 0xFFFF0000u, 0xFF0000FFu, 0xFF0000FFu}));
    Bytes three4 = three;
    Image m = decodeOk(makeDds(4, 1, 0x4, dxt1, 0, 0, 0, 0, 0, three4), FileFormat::Dds);
    EXPECT_EQ(m.at(2, 0), 0xFF800080u);
    EXPECT_EQ(m.at(3, 0), 0x00000000u);

    // DXT3: explicit 4-bit alpha; DXT5: interpolated alpha 255 .. 0.
    Bytes b3 = {0xF0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0xF8, 0x1F, 0x00, 0, 0, 0, 0};
    Image d3 = decodeOk(makeDds(4, 4, 0x4, dxt3, 0, 0, 0, 0, 0, b3), FileFormat::Dds);
    EXPECT_EQ(d3.at(0, 0), 0x00FF0000u);
    EXPECT_EQ(d3.at(1, 0), 0xFFFF0000u);
    Bytes b5 = {255, 0, 0x88, 0, 0, 0, 0, 0, 0x00, 0xF8, 0x1F, 0x00, 0, 0, 0, 0};
    Image d5 = decodeOk(makeDds(4, 4, 0x4, dxt5, 0, 0, 0, 0, 0, b5), FileFormat::Dds);
    EXPECT_EQ(d5.at(0, 0) >> 24, 255u);
    EXPECT_EQ(d5.at(1, 0) >> 24, 0u);
    EXPECT_EQ(d5.at(2, 0) >> 24, 219u); // (6 * 255 + 3) / 7
}

TEST(ImageDecode, TruncatedDamagedAndUnknownFilesAreRefused)
{
    PngSpec png;
    png.width = png.height = 3;
    png.colorType = PNG_COLOR_TYPE_PALETTE;
    png.palette = {1, 2, 3, 4, 5, 6};
    png.pixels = {0, 1, 0, 1, 0, 1, 0, 1, 0};
    const Bytes pal = {0, 0, 0, 0, 255, 255, 255, 0};
    const std::vector<Bytes> files = {
        makePng(png),
        makeJpeg(8, 8, 3, 10, 200, 30),
        makeBmp(2, 2, 8, 0, pal, {0, 1, 0, 0, 1, 0, 0, 0}, 2),
        makeBmp(4, 1, 8, 1, pal, {4, 1, 0, 1}, 2),
        makeTga(10, 3, 2, 24, 0x20, {}, 0, {0x83, 3, 2, 1, 0x01, 6, 5, 4, 9, 8, 7}),
        makeTga(1, 2, 1, 8, 0x20, {1, 2, 3, 4, 5, 6}, 24, {1, 0}),
        makeDds(4, 4, 0x4, 0x35545844, 0, 0, 0, 0, 0, Bytes(16, 0x5A)),
        makeDds(2, 2, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, Bytes(16, 0x11)),
    };
    for (size_t f = 0; f < files.size(); ++f) {
        const Bytes& file = files[f];
        Image img;
        ASSERT_TRUE(tns::image::Decode(file.data(), file.size(), img)) << "file " << f;
        // Each cut is copied to a buffer of exactly its length, so the
        // sanitizer sees any read past the end.
        for (size_t cut = 0; cut < file.size(); ++cut) {
            Bytes part(file.begin(), file.begin() + ptrdiff_t(cut));
            EXPECT_FALSE(tns::image::Decode(part.data(), part.size(), img)) << "file " << f << " cut at " << cut;
            EXPECT_TRUE(img.argb.empty());
        }
        // Damaged bytes may still decode, but never outside the buffer and
        // never into a pixel array that disagrees with the size.
        std::mt19937 rng(unsigned(f) * 7919u + 1u);
        for (int round = 0; round < 300; ++round) {
            Bytes bad = file;
            for (int k = 0; k < 3; ++k) bad[rng() % bad.size()] = uint8_t(rng());
            if (tns::image::Decode(bad.data(), bad.size(), img)) {
                EXPECT_EQ(img.argb.size(), size_t(img.width) * size_t(img.height));
            }
        }
    }
    const char text[] = "just some text, not an image at all";
    Image img;
    FileFormat format;
    EXPECT_FALSE(tns::image::Decode(reinterpret_cast<const uint8_t*>(text), sizeof text, img, &format));
    EXPECT_EQ(format, FileFormat::Unknown);
    EXPECT_FALSE(tns::image::Decode(nullptr, 0, img));
    // Headers that claim enormous sizes are refused before allocating.
    Bytes huge = makeTga(2, 1, 1, 24, 0, {}, 0, {1, 2, 3});
    huge[12] = huge[13] = huge[14] = huge[15] = 0xFF;
    EXPECT_FALSE(tns::image::Decode(huge.data(), huge.size(), img));
    const Bytes bigDds = makeDds(8192, 8192, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, Bytes(16, 0));
    EXPECT_FALSE(tns::image::Decode(bigDds.data(), bigDds.size(), img));
}
