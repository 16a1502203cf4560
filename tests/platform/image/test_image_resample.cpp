// Scaling filters and mip reduction of the image core. Expected values come
// from the filter definitions worked by hand on grey ramps (all channels equal).
#include "engine/platform/image/tns_image.h"
#include "tests/support/test_support.h"

using tns::image::Filter;
using tns::image::Image;

namespace {

Image greyRow(std::initializer_list<int> values, int width, int height)
{
    Image img;
    EXPECT_TRUE(tns::image::Allocate(img, width, height));
    size_t i = 0;
    for (int v : values) img.argb[i++] = 0xFF000000u | uint32_t(v) * 0x010101u;
    return img;
}

std::vector<int> greys(const Image& img)
{
    std::vector<int> out;
    for (uint32_t p : img.argb) {
        EXPECT_EQ((p >> 16) & 0xFF, p & 0xFF);
        out.push_back(int(p & 0xFF));
    }
    return out;
}

} // namespace

TEST(ImageResample, FiltersShrinkAndEnlargeAsDefined)
{
    const Image ramp = greyRow({0, 100, 200, 255}, 4, 1);
    Image out;
    // Box: each half averages two pixels; 227.5 rounds up.
    ASSERT_TRUE(tns::image::Resample(ramp, 2, 1, Filter::Box, out));
    EXPECT_EQ(greys(out), (std::vector<int>{50, 228}));
    // Triangle at half size widens to radius 2: around centre 0.5 the pixels
    // -1 (clamped to 0), 0, 1, 2 weigh .25 .75 .75 .25, so (75 + 50) / 2 = 62.5;
    // around 2.5: (25 + 150 + 191.25 + 63.75) / 2 = 215.
    ASSERT_TRUE(tns::image::Resample(ramp, 2, 1, Filter::Triangle, out));
    EXPECT_EQ(greys(out), (std::vector<int>{63, 215}));
    // Enlarging two pixels to four: tent of radius 1 around 0, .25, .75, 1.25.
    ASSERT_TRUE(tns::image::Resample(greyRow({0, 200}, 2, 1), 4, 1, Filter::Triangle, out));
    EXPECT_EQ(greys(out), (std::vector<int>{0, 50, 150, 200}));
    ASSERT_TRUE(tns::image::Resample(greyRow({0, 200}, 2, 1), 4, 1, Filter::Point, out));
    EXPECT_EQ(greys(out), (std::vector<int>{0, 0, 200, 200}));
    // Same size is an exact copy whatever the filter.
    for (Filter f : {Filter::Triangle, Filter::Linear, Filter::Box, Filter::Point}) {
        ASSERT_TRUE(tns::image::Resample(ramp, 4, 1, f, out));
        EXPECT_EQ(greys(out), (std::vector<int>{0, 100, 200, 255}));
    }
    // None keeps the pixels where they are and pads with transparent black.
    ASSERT_TRUE(tns::image::Resample(greyRow({9, 10}, 2, 1), 3, 2, Filter::None, out));
    EXPECT_EQ(out.argb, (std::vector<uint32_t>{0xFF090909u, 0xFF0A0A0Au, 0, 0, 0, 0}));
}

TEST(ImageResample, ReductionHalvesDownToOnePixelAndKeepsAlpha)
{
    Image img;
    ASSERT_TRUE(tns::image::Allocate(img, 2, 2));
    img.argb = {0x00000000u, 0xFF000000u, 0xFFFFFFFFu, 0x80808080u};
    Image half;
    ASSERT_TRUE(tns::image::Reduce(img, Filter::Box, half));
    ASSERT_EQ(half.width, 1);
    // Straight averages per channel: a (0+255+255+128)/4 = 159.5, rgb (0+0+255+128)/4 = 95.75.
    EXPECT_EQ(half.argb[0], 0xA0606060u);
    // Odd sides floor, a side of 1 stays 1.
    Image tall = greyRow({10, 20, 30, 40, 50, 60, 70, 80, 90}, 3, 3);
    ASSERT_TRUE(tns::image::Reduce(tall, Filter::Box, half));
    EXPECT_EQ(greys(half), (std::vector<int>{50}));
    Image column = greyRow({0, 10, 20, 30}, 1, 4);
    ASSERT_TRUE(tns::image::Reduce(column, Filter::Box, half));
    EXPECT_EQ(half.width, 1);
    EXPECT_EQ(greys(half), (std::vector<int>{5, 25}));
    EXPECT_EQ(tns::image::RoundUpPow2(1), 1);
    EXPECT_EQ(tns::image::RoundUpPow2(33), 64);
    EXPECT_EQ(tns::image::RoundUpPow2(64), 64);
}
