// Writes the textures of the GUI gallery example (examples/gallery/DATA/gfx):
//   gen_gallery DATA_FOLDER
// Every texture is one row of kTextures: its file name and the function that
// paints it. A new screen of the gallery adds its rows there.
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "tools/gen_gallery/canvas.h"
#include "tools/gen_gallery/controls.h"

namespace {

using namespace gallery;

const Rgba kInk = hex(0x0f1626), kPanel = hex(0x1d2940), kEdge = hex(0x7fd3e8), kGlow = hex(0xc8f2ff);

// The window's backdrop: a dark vertical gradient, opaque.
Canvas backdrop()
{
    Canvas c(64, 256);
    c.fill([](float, float) { return -1.0f; }, vertical(0, hex(0x24385a), 256, kInk));
    return c;
}

// A frame for the nine-part schemes: 16-texel borders of a 64 x 64 texture,
// a rounded edge line and a translucent inside.
Canvas frame()
{
    Canvas c(64, 64);
    c.fill(roundRect(1, 1, 62, 62, 12), vertical(0, hex(0x2c3d5e, 0.92f), 64, hex(0x18223a, 0.92f)));
    c.fill(outline(roundRect(3, 3, 58, 58, 10), 1.2f), solid(kEdge));
    c.fill(roundRect(8, 6, 48, 3, 1.5f), solid(hex(0xffffff, 0.25f)));
    return c;
}

// A bar for the three-part schemes: round ends in the 16-texel borders.
Canvas bar()
{
    Canvas c(64, 32);
    c.fill(roundRect(1, 1, 62, 30, 14), vertical(0, hex(0x5cc8e0), 32, hex(0x2b7fa8)));
    c.fill(outline(roundRect(1.5f, 1.5f, 61, 29, 13.5f), 0.8f), solid(kGlow));
    c.fill(roundRect(10, 5, 44, 6, 3), solid(hex(0xffffff, 0.35f)));
    return c;
}

// A picture for the single quad and its texture coordinates: hills under a sun.
Canvas picture()
{
    Canvas c(128, 128);
    c.fill([](float, float) { return -1.0f; }, vertical(0, hex(0x3d6fb6), 128, hex(0xf2b880)));
    c.fill(circle(88, 46, 18), solid(hex(0xffe7a3)));
    c.fill([](float x, float y) { return (y - (92 + 10 * std::sin(x / 14.0f))) * -1.0f; }, solid(hex(0x35644a)));
    c.fill([](float x, float y) { return (y - (106 + 6 * std::sin(x / 9.0f + 1))) * -1.0f; }, solid(hex(0x1f3d2e)));
    return c;
}

// Four frames of a spinner: a ring with a bright dot a quarter turn further each frame.
Canvas spinner(int frameIndex)
{
    const Rgba hues[4] = {hex(0x7fd3e8), hex(0x9be37f), hex(0xf2d46b), hex(0xef8a7a)};
    Canvas c(64, 64);
    c.fill(outline(circle(32, 32, 22), 3), solid(hex(0xffffff, 0.3f)));
    const float a = float(frameIndex) * 1.5707964f - 1.5707964f;
    c.fill(circle(32 + 22 * std::cos(a), 32 + 22 * std::sin(a), 8), solid(hues[frameIndex]));
    c.fill(circle(32, 32, 6), solid(hues[frameIndex]));
    return c;
}

// The tips' bubble: 8-texel borders of a 32 x 32 texture.
Canvas tipBubble()
{
    Canvas c(32, 32);
    c.fill(roundRect(1, 1, 30, 30, 6), solid(hex(0xfff6d8, 0.96f)));
    c.fill(outline(roundRect(1.5f, 1.5f, 29, 29, 5.5f), 0.7f), solid(hex(0x8a6d2f)));
    return c;
}

// A plain white texel block, tinted by an element's colour.
Canvas white()
{
    return Canvas(8, 8, Rgba{1, 1, 1, 1});
}

struct Texture {
    const char* file; // under DATA/gfx
    Canvas (*paint)();
};

const Texture kTextures[] = {
    {"backdrop.png", backdrop},
    {"frame.png", frame},
    {"bar.png", bar},
    {"picture.png", picture},
    {"spinner0.png", [] { return spinner(0); }},
    {"spinner1.png", [] { return spinner(1); }},
    {"spinner2.png", [] { return spinner(2); }},
    {"spinner3.png", [] { return spinner(3); }},
    {"tip.png", tipBubble},
    {"white.png", white},

    // The second screen: controls (controls.cpp).
    {"button_normal.png", buttonNormal},
    {"button_selected.png", buttonSelected},
    {"button_pressed.png", buttonPressed},
    {"button_disabled.png", buttonDisabled},
    {"check_off.png", checkOff},
    {"check_on.png", checkOn},
    {"check_on_selected.png", checkOnSelected},
    {"radio_off.png", radioOff},
    {"radio_on.png", radioOn},
    {"slider.png", slider},
    {"slider_pressed.png", sliderPressed},
    {"field.png", field},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_gallery DATA_FOLDER\n");
        return 2;
    }
    const std::filesystem::path dir = std::filesystem::path(argv[1]) / "gfx";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    for (const Texture& t : kTextures) {
        const std::string path = (dir / t.file).string();
        try {
            t.paint().writePng(path);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "gen_gallery: %s\n", e.what());
            return 1;
        }
    }
    // The second screen's sounds (controls.cpp) go beside the textures' folder.
    const std::filesystem::path sfx = std::filesystem::path(argv[1]) / "sfx";
    std::filesystem::create_directories(sfx, ec);
    if (!writeControlSounds(sfx.string())) {
        std::fprintf(stderr, "gen_gallery: cannot write the sounds in %s\n", sfx.string().c_str());
        return 1;
    }
    return 0;
}
