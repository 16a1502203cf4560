// The game's own pictures: board cells, barrier, piece, cursor, background and
// logo. Cells are drawn at 64 x 64 and shown at the board's cell size; shapes
// keep features at least two texels wide so they survive the scaling.
#include <algorithm>
#include <cmath>

#include "tools/gen_assets/assets.h"

namespace gen {

void saveTexture(Output& out, const std::string& id, const std::string& file, const Image& img)
{
    img.writePng(out.path(file));
    out.declare("graphics", {id, "TEXTURE", file, kTagMedia, img.opaque() ? 4 : 3, 1, 0});
}

namespace {

constexpr int kTex = 64;

// The raised tile every board cell shares: a darker lip below the face.
void raisedTile(Image& img, const Rgba& lip, const Rgba& top, const Rgba& bottom, float inset)
{
    const float s = float(kTex) - 2 * inset;
    img.fill(roundRect(inset, inset, s, s, 10), solid(lip));
    img.fill(roundRect(inset, inset, s, s - 4, 10), vertical(inset, top, inset + s - 4, bottom));
    // A thin light edge along the top catches the light.
    img.fill(subtract(roundRect(inset + 1, inset + 1, s - 2, s - 6, 9), roundRect(inset + 1, inset + 3, s - 2, s - 7, 9)),
             solid(Rgba{1, 1, 1, 0.55f}));
}

Image freeCell()
{
    Image img(kTex, kTex, pal::kNight);
    raisedTile(img, hex(0x8D9CB7), hex(0xE9EFF7), pal::kTile, 3);
    return img;
}

Image coveredCell()
{
    Image img(kTex, kTex, pal::kNight);
    raisedTile(img, hex(0xB96A10), hex(0xFFD56E), pal::kAmber, 3);
    // The trail mark: a small soft gem in the middle.
    img.fill(roundRect(25, 23, 14, 14, 4), solid(Rgba{1, 0.97f, 0.85f, 0.55f}));
    img.fill(roundRect(27, 25, 10, 10, 3), solid(Rgba{1, 1, 1, 0.35f}));
    return img;
}

// Drawn over a free cell where the level has a barrier: a slate brick block.
Image barrier()
{
    Image img(kTex, kTex);
    img.fill(roundRect(2, 2, 60, 60, 10), solid(pal::kSlateDeep));
    img.fill(roundRect(3, 3, 58, 54, 9), vertical(3, hex(0x66718F), 57, pal::kSlate));
    const Rgba groove = hex(0x262C3D), shine = Rgba{1, 1, 1, 0.16f};
    auto joint = [&](float ax, float ay, float bx, float by) {
        img.fill(segment(ax, ay + 1.5f, bx, by + 1.5f, 0.8f), solid(shine));
        img.fill(segment(ax, ay, bx, by, 1.1f), solid(groove));
    };
    joint(5, 21, 59, 21);
    joint(5, 39, 59, 39);
    joint(32, 5, 32, 20);
    joint(19, 22, 19, 38);
    joint(45, 22, 45, 38);
    joint(32, 40, 32, 54);
    img.fill(subtract(roundRect(4, 4, 56, 52, 8), roundRect(4, 6, 56, 51, 8)), solid(Rgba{1, 1, 1, 0.3f}));
    return img;
}

Image piece()
{
    Image img(kTex, kTex);
    img.shadow(circle(32, 33, 25), 0, 3, 5, Rgba{0, 0, 0, 0.55f});
    img.fill(circle(32, 31, 26), solid(pal::kCoralDeep));
    img.fill(circle(32, 30.5f, 24.5f), radial(24, 20, 36, hex(0xFF9A86), pal::kCoral));
    img.fill(circle(32, 31, 24.5f), radial(32, 31, 25, Rgba{0, 0, 0, 0}, Rgba{0.45f, 0.08f, 0.05f, 0.45f}));
    // Glossy highlight: an ellipse made from a scaled circle.
    img.fill([](float x, float y) { return std::hypot((x - 24) / 1.35f, y - 17) - 7.5f; },
             solid(Rgba{1, 1, 1, 0.6f}));
    img.fill(circle(41, 42, 3), solid(Rgba{1, 1, 1, 0.25f}));
    return img;
}

// The hint's target cell, drawn over it: a glowing teal frame with a soft
// tint and a target dot, the cell underneath still readable.
Image hint()
{
    Image img(kTex, kTex);
    const Sdf frame = roundRect(6, 6, 52, 52, 11);
    img.shadow(ring(frame, 3), 0, 0, 3, Rgba{0.2f, 0.95f, 0.85f, 0.9f});
    img.fill(frame, solid(Rgba{0.45f, 0.95f, 0.88f, 0.3f}));
    img.fill(ring(frame, 3), solid(hex(0x22C7B5)));
    img.fill(ring(frame, 1), solid(Rgba{1, 1, 1, 0.85f}));
    img.fill(circle(32, 32, 8), solid(hex(0x22C7B5, 0.9f)));
    img.fill(circle(32, 32, 3.5f), solid(Rgba{1, 1, 1, 0.95f}));
    return img;
}

// Arrow pointer; its tip is the top-left pixel, which is the hot spot.
Image cursor()
{
    Image img(32, 32);
    auto arrow = unite(polygon({{0.5f, 0.5f}, {0.5f, 22}, {17.5f, 16}}), polygon({{5, 15}, {9, 13}, {13.5f, 23.5f}, {9.5f, 25.5f}}));
    img.shadow(arrow, 1.5f, 2, 3, Rgba{0, 0, 0, 0.45f});
    img.fill(arrow, solid(pal::kInk));
    auto inner = [arrow](float x, float y) { return arrow(x, y) + 1.6f; };
    img.fill(inner, vertical(0, hex(0xFFFFFF), 26, hex(0xDCE4F0)));
    return img;
}

// 800 x 600 of picture in a 1024 x 1024 texture (the GUI shows that corner);
// the picture continues past it so filtering at the edge reads the same colours.
Image background()
{
    const int n = 1024;
    Image img(n, n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float fx = float(x) + 0.5f, fy = float(y) + 0.5f;
            Rgba c = mix(pal::kNavy, pal::kDusk, std::clamp(fy / 600.0f, 0.0f, 1.0f));
            const float glowA = std::max(0.0f, 1 - std::hypot(fx - 660, fy - 90) / 420);
            const float glowB = std::max(0.0f, 1 - std::hypot(fx - 90, fy - 610) / 460);
            c = mix(c, hex(0x2FA59A), 0.22f * glowA * glowA);
            c = mix(c, hex(0x6A4C9C), 0.26f * glowB * glowB);
            const float vig = std::hypot((fx - 400) / 400, (fy - 300) / 300);
            c = scaled(c, 1.0f - 0.22f * std::clamp(vig - 0.55f, 0.0f, 1.0f));
            img.at(x, y) = Rgba{c.r, c.g, c.b, 1};
        }
    }
    // A faint lattice of rounded squares, the board's motif, fading downward.
    for (int gy = 0; gy < 20; ++gy) {
        for (int gx = 0; gx < 26; ++gx) {
            const float x0 = float(gx) * 40 + 8, y0 = float(gy) * 40 + 8;
            const float fade = 0.045f * std::clamp(1.0f - y0 / 900.0f, 0.2f, 1.0f);
            const float wobble = float((gx * 7 + gy * 13) % 5) / 4.0f; // a little irregular
            auto sq = roundRect(x0, y0, 24, 24, 6);
            for (int y = int(y0) - 1; y < int(y0) + 26; ++y)
                for (int x = int(x0) - 1; x < int(x0) + 26; ++x)
                    img.blend(x, y, Rgba{1, 1, 1, 1},
                              std::clamp(0.5f - std::fabs(sq(float(x) + 0.5f, float(y) + 0.5f)) + 0.5f, 0.0f, 1.0f) *
                                  fade * (0.6f + 0.4f * wobble));
        }
    }
    return img;
}

Image logo()
{
    Image img(512, 128);
    const TextMask t = renderTextMask(kSansBoldTtf, 84, "Quoril", 2);
    const int tx = 8, ty = (128 - t.height) / 2 - 4;
    // Outline: the mask spread by a blur and boosted.
    std::vector<float> rim(size_t(512) * 128, 0.0f);
    for (int y = 0; y < t.height; ++y)
        for (int x = 0; x < t.width; ++x) rim[size_t(ty + y) * 512 + tx + x] = t.cover[size_t(y) * t.width + x];
    std::vector<float> shadow = rim;
    blurMask(rim, 512, 128, 2);
    for (float& v : rim) v = std::min(1.0f, v * 3.5f);
    blurMask(shadow, 512, 128, 4);
    img.drawMask(shadow, 512, 128, 3, 6, Rgba{0, 0, 0, 0.55f});
    img.drawMask(rim, 512, 128, 0, 0, pal::kSlateDeep);
    Image face(t.width, t.height);
    for (int y = 0; y < t.height; ++y) {
        const Rgba c = mix(hex(0xFFE08A), hex(0xF39A1E), float(y) / float(t.height));
        for (int x = 0; x < t.width; ++x) face.blend(x, y, c, t.cover[size_t(y) * t.width + x]);
    }
    img.draw(face, tx, ty);
    // The piece has rolled to a stop after the name, on its baseline.
    const float r = 13, px = float(tx + t.width) + r + 8, py = float(ty + t.height) - r - 1;
    img.shadow(circle(px, py, r), 0, 2, 4, Rgba{0, 0, 0, 0.5f});
    img.fill(circle(px, py, r + 1), solid(pal::kCoralDeep));
    img.fill(circle(px, py, r), radial(px - 5, py - 6, 20, hex(0xFF9A86), pal::kCoral));
    img.fill([=](float x, float y) { return std::hypot((x - px + 4) / 1.35f, y - py + 6) - 3.5f; }, solid(Rgba{1, 1, 1, 0.6f}));
    return img;
}

} // namespace

void generateGameTextures(Output& out)
{
    saveTexture(out, "TEX_CELL1", "gfx/cell_free.png", freeCell());
    saveTexture(out, "TEX_CELL2", "gfx/cell_covered.png", coveredCell());
    saveTexture(out, "TEX_PIECE1", "gfx/barrier.png", barrier());
    saveTexture(out, "TEX_PIECE2", "gfx/piece.png", piece());
    saveTexture(out, "TEX_HINT", "gfx/hint.png", hint());
    saveTexture(out, "TEX_CURSOR", "gfx/cursor.png", cursor());
    saveTexture(out, "TEX_BG", "gfx/background.png", background());
    saveTexture(out, "TEX_LOGO", "gfx/logo.png", logo());
}

} // namespace gen
