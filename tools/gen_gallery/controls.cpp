// Paints the second screen's control textures and synthesises its sounds.
#include "tools/gen_gallery/controls.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <vector>

namespace gallery {
namespace {

Canvas buttonFace(const Rgba& top, const Rgba& bottom, const Rgba& edge, float sink)
{
    Canvas c(128, 32);
    c.fill(roundRect(1, 1 + sink, 126, 30 - sink, 10), vertical(0, top, 32, bottom));
    c.fill(outline(roundRect(1.5f, 1.5f + sink, 125, 29 - sink, 9.5f), 0.8f), solid(edge));
    if (sink == 0) c.fill(roundRect(12, 5, 104, 5, 2.5f), solid(hex(0xffffff, 0.3f)));
    return c;
}

Canvas box(bool round, const Rgba& fillTop, const Rgba& edge)
{
    Canvas c(32, 32);
    const float r = round ? 14.0f : 6.0f;
    c.fill(roundRect(2, 2, 28, 28, r), vertical(0, fillTop, 32, hex(0x18223a)));
    c.fill(outline(roundRect(2.5f, 2.5f, 27, 27, r - 0.5f), 1.0f), solid(edge));
    return c;
}

Canvas checked(const Rgba& edge)
{
    Canvas c = box(false, hex(0x2c5e7a), edge);
    c.fill(segment(9, 16, 14, 22, 2.2f), solid(hex(0x9be37f)));
    c.fill(segment(14, 22, 24, 9, 2.2f), solid(hex(0x9be37f)));
    return c;
}

Canvas knob(const Rgba& top, const Rgba& bottom)
{
    Canvas c(32, 32);
    c.fill(roundRect(1, 1, 30, 30, 7), vertical(0, top, 32, bottom));
    c.fill(outline(roundRect(1.5f, 1.5f, 29, 29, 6.5f), 0.6f), solid(hex(0xc8f2ff)));
    return c;
}

bool writeWav(const std::string& path, const std::vector<int16_t>& samples)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const uint32_t rate = 22050, bytes = uint32_t(samples.size() * 2);
    auto u32 = [&](uint32_t v) { std::fwrite(&v, 4, 1, f); };
    auto u16 = [&](uint16_t v) { std::fwrite(&v, 2, 1, f); };
    std::fwrite("RIFF", 1, 4, f);
    u32(36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    std::fwrite("data", 1, 4, f);
    u32(bytes);
    const bool ok = std::fwrite(samples.data(), 2, samples.size(), f) == samples.size();
    return std::fclose(f) == 0 && ok;
}

// A decaying tone gliding from f0 to f1 Hz.
std::vector<int16_t> blip(float seconds, float f0, float f1, float volume)
{
    const int n = int(seconds * 22050);
    std::vector<int16_t> s(static_cast<size_t>(n));
    float phase = 0;
    for (int i = 0; i < n; ++i) {
        const float t = float(i) / float(n);
        phase += 6.2831853f * (f0 + (f1 - f0) * t) / 22050.0f;
        const float env = std::exp(-5.0f * t) * std::min(1.0f, float(i) / 60.0f);
        s[size_t(i)] = int16_t(std::sin(phase) * env * volume * 32767.0f);
    }
    return s;
}

} // namespace

Canvas buttonNormal()
{
    return buttonFace(hex(0x5cc8e0), hex(0x2b7fa8), hex(0xc8f2ff), 0);
}
Canvas buttonSelected()
{
    return buttonFace(hex(0x8be0f0), hex(0x3a9cc8), hex(0xffffff), 0);
}
Canvas buttonPressed()
{
    return buttonFace(hex(0x2b7fa8), hex(0x1d5a7c), hex(0x7fd3e8), 2);
}
Canvas buttonDisabled()
{
    return buttonFace(hex(0x59606b), hex(0x3a4049), hex(0x8a929e), 0);
}
Canvas checkOff()
{
    return box(false, hex(0x2c3d5e), hex(0x7fd3e8));
}
Canvas checkOn()
{
    return checked(hex(0x7fd3e8));
}
Canvas checkOnSelected()
{
    return checked(hex(0xffffff));
}
Canvas radioOff()
{
    return box(true, hex(0x2c3d5e), hex(0x7fd3e8));
}
Canvas radioOn()
{
    Canvas c = box(true, hex(0x2c5e7a), hex(0xffffff));
    c.fill(circle(16, 16, 6.5f), solid(hex(0xf2d46b)));
    return c;
}
Canvas slider()
{
    return knob(hex(0x9be3f0), hex(0x3a9cc8));
}
Canvas sliderPressed()
{
    return knob(hex(0xf2d46b), hex(0xc08a2b));
}
Canvas field()
{
    Canvas c(32, 32);
    c.fill(roundRect(1, 1, 30, 30, 5), solid(hex(0x0f1626, 0.9f)));
    c.fill(outline(roundRect(1.5f, 1.5f, 29, 29, 4.5f), 0.7f), solid(hex(0x7fd3e8)));
    return c;
}

bool writeControlSounds(const std::string& dir)
{
    struct {
        const char* file;
        std::vector<int16_t> samples;
    } sounds[] = {
        {"click.wav", blip(0.06f, 1400, 900, 0.5f)},
        {"press.wav", blip(0.12f, 660, 990, 0.5f)},
        {"hover.wav", blip(0.04f, 2200, 2000, 0.15f)},
        {"check.wav", blip(0.10f, 880, 1320, 0.45f)},
        {"uncheck.wav", blip(0.10f, 1100, 660, 0.45f)},
        {"type.wav", blip(0.03f, 3000, 2500, 0.2f)},
    };
    for (const auto& s : sounds)
        if (!writeWav(dir + "/" + s.file, s.samples)) return false;
    return true;
}

} // namespace gallery
