// Pictures of the screens: frames and panels drawn as nine-part tiles, buttons
// in their four states, the text field, the tip box and small icons. Nine-part
// pictures keep their corners inside the border size the GUI data gives them.
#include <cmath>

#include "tools/gen_assets/assets.h"

namespace gen {

namespace {

Image whiteTexture()
{
    return Image(8, 8, Rgba{1, 1, 1, 1});
}

// Rim around the board's cells: 12 pixels of raised edge, dark inside.
Image boardFrame()
{
    Image img(64, 64);
    img.fill(roundRect(0, 0, 64, 64, 14), vertical(0, hex(0x3B5183), 64, hex(0x223357)));
    img.fill(subtract(roundRect(0.5f, 0.5f, 63, 63, 13.5f), roundRect(0.5f, 2, 63, 62, 13.5f)),
             solid(Rgba{1, 1, 1, 0.35f}));
    img.fill(roundRect(10, 10, 44, 44, 4), solid(hex(0x0B1122)));
    img.fill(roundRect(12, 12, 40, 40, 2), solid(pal::kNight));
    return img;
}

// Smoked glass panel for the score tiles.
Image glass()
{
    Image img(64, 64);
    img.fill(roundRect(0, 0, 64, 64, 12), vertical(0, Rgba{0.06f, 0.09f, 0.18f, 0.62f}, 64, Rgba{0.04f, 0.06f, 0.13f, 0.72f}));
    img.fill(ring(roundRect(0.75f, 0.75f, 62.5f, 62.5f, 11.25f), 0.75f), solid(Rgba{1, 1, 1, 0.16f}));
    img.fill(subtract(roundRect(1.5f, 1.5f, 61, 61, 10.5f), roundRect(1.5f, 3, 61, 61, 10.5f)), solid(Rgba{1, 1, 1, 0.12f}));
    return img;
}

// Dialog card: cream, rounded, with its shadow inside the picture (12 pixels
// of margin), so the GUI places the tile 12 pixels outside the visible card.
Image card()
{
    Image img(128, 128);
    auto shape = roundRect(12, 10, 104, 104, 20);
    img.shadow(shape, 0, 4, 10, Rgba{0, 0, 0, 0.55f});
    img.fill(shape, vertical(10, pal::kCream, 114, hex(0xF1E8D3)));
    img.fill(ring(roundRect(12.5f, 10.5f, 103, 103, 19.5f), 0.6f), solid(hex(0xD8C9A8)));
    return img;
}

// Title band across the top of a card: rounded top corners, square bottom.
Image header()
{
    Image img(64, 64);
    img.fill(roundRect(0, 0, 64, 90, 20), vertical(0, hex(0x2DBBAD), 64, pal::kTeal));
    img.fill(subtract(roundRect(0.5f, 0.5f, 63, 90, 19.5f), roundRect(0.5f, 2, 63, 90, 19.5f)), solid(Rgba{1, 1, 1, 0.35f}));
    img.fill(roundRect(0, 61, 64, 3, 0), solid(Rgba{0, 0, 0, 0.12f}));
    return img;
}

struct ButtonColours {
    Rgba top, bottom, lip;
};

// pressed: the face sits lower and the lip is gone, as if pushed in.
Image button(const ButtonColours& c, bool pressed, bool glow)
{
    Image img(128, 64);
    if (glow) img.fill(ring(roundRect(2, 2, 124, 60, 15), 1.2f), solid(Rgba{1, 1, 1, 0.35f}));
    const float faceY = pressed ? 5 : 2, faceH = pressed ? 57 : 56;
    if (!pressed) img.fill(roundRect(3, 3, 122, 59, 14), solid(c.lip));
    img.fill(roundRect(3, faceY, 122, faceH, 14), vertical(faceY, c.top, faceY + faceH, c.bottom));
    if (!pressed)
        img.fill(subtract(roundRect(4, faceY + 1, 120, faceH - 2, 13), roundRect(4, faceY + 3, 120, faceH - 3, 13)),
                 solid(Rgba{1, 1, 1, 0.45f}));
    else
        img.fill(subtract(roundRect(4, faceY, 120, faceH, 13), roundRect(4, faceY + 2, 120, faceH - 2, 13)),
                 solid(Rgba{0, 0, 0, 0.18f}));
    return img;
}

void buttonSet(Output& out, const std::string& idBase, const std::string& fileBase, const Rgba& base, const Rgba& deep)
{
    const ButtonColours normal{scaled(base, 1.18f), base, deep};
    const ButtonColours hover{scaled(base, 1.38f), scaled(base, 1.15f), deep};
    const ButtonColours pressed{scaled(deep, 0.95f), scaled(base, 0.92f), deep};
    const ButtonColours disabled{hex(0x9AA3B3), hex(0x7D8798), hex(0x5E6677)};
    saveTexture(out, idBase + "NORMAL", fileBase + "_normal.png", button(normal, false, false));
    saveTexture(out, idBase + "HOVER", fileBase + "_hover.png", button(hover, false, true));
    saveTexture(out, idBase + "PRESSED", fileBase + "_pressed.png", button(pressed, true, false));
    saveTexture(out, idBase + "DISABLED", fileBase + "_disabled.png", button(disabled, false, false));
}

Image field()
{
    Image img(64, 64);
    img.fill(roundRect(0, 0, 64, 64, 10), solid(hex(0x9FB0CA)));
    img.fill(roundRect(2, 2, 60, 60, 8), solid(hex(0xFFFFFF)));
    img.fill(subtract(roundRect(2, 2, 60, 60, 8), roundRect(2, 5, 60, 60, 8)), solid(Rgba{0.1f, 0.15f, 0.3f, 0.12f}));
    return img;
}

Image tipBox()
{
    Image img(64, 64);
    img.fill(roundRect(0, 0, 64, 64, 10), solid(Rgba{0.06f, 0.09f, 0.17f, 0.94f}));
    img.fill(ring(roundRect(0.75f, 0.75f, 62.5f, 62.5f, 9.25f), 0.75f), solid(Rgba{0.4f, 0.85f, 0.8f, 0.7f}));
    return img;
}

// Icons are white so that the button's children colour tints them.
Image iconPlay()
{
    Image img(32, 32);
    img.fill(polygon({{10, 6}, {10, 26}, {26, 16}}), solid(Rgba{1, 1, 1, 1}));
    return img;
}

Image iconHelp()
{
    Image img(32, 32);
    img.fill(ring(circle(16, 16, 13), 1.6f), solid(Rgba{1, 1, 1, 1}));
    const TextMask q = renderTextMask(kSansBoldTtf, 20, "?");
    img.drawMask(q.cover, q.width, q.height, 16 - q.width / 2, 16 - q.height / 2, Rgba{1, 1, 1, 1});
    return img;
}

Image iconExit()
{
    Image img(32, 32);
    // A power symbol: a ring open at the top and a bar through the gap.
    auto openRing = subtract(ring(circle(16, 17, 10), 1.8f), polygon({{16, 17}, {6, 0}, {26, 0}}));
    img.fill(openRing, solid(Rgba{1, 1, 1, 1}));
    img.fill(segment(16, 4, 16, 15, 1.8f), solid(Rgba{1, 1, 1, 1}));
    return img;
}

Image iconOk()
{
    Image img(32, 32);
    Sdf tick = unite(segment(7, 17, 13, 23, 2.2f), segment(13, 23, 25, 9, 2.2f));
    img.fill(tick, solid(Rgba{1, 1, 1, 1}));
    return img;
}

// Round amber badge for numbered steps (the colour of covered cells).
Image badge()
{
    Image img(32, 32);
    img.fill(circle(16, 16.5f, 15), solid(hex(0xB96A10)));
    img.fill(circle(16, 15.5f, 14), vertical(2, hex(0xFFD56E), 30, pal::kAmber));
    img.fill(subtract(circle(16, 15.5f, 13.5f), circle(16, 17, 13.5f)), solid(Rgba{1, 1, 1, 0.5f}));
    return img;
}

Image star()
{
    Image img(64, 64);
    std::vector<std::pair<float, float>> pts;
    for (int i = 0; i < 10; ++i) {
        const float a = float(i) * 3.14159265f / 5 - 3.14159265f / 2, r = (i % 2) ? 11.5f : 27;
        pts.push_back({32 + r * std::cos(a), 34 + r * std::sin(a)});
    }
    // A star is not convex: build it from the centre pentagon and five tips.
    Sdf shape = polygon({pts[1], pts[3], pts[5], pts[7], pts[9]});
    for (int i = 0; i < 10; i += 2) shape = unite(shape, polygon({pts[size_t(i)], pts[size_t((i + 1) % 10)], pts[size_t((i + 9) % 10)]}));
    auto rounded = [shape](float x, float y) { return shape(x, y) - 1.5f; };
    img.shadow(rounded, 0, 3, 5, Rgba{0, 0, 0, 0.45f});
    img.fill(rounded, solid(hex(0xC7780A)));
    img.fill([shape](float x, float y) { return shape(x, y) + 0.5f; }, vertical(8, hex(0xFFE9A0), 58, hex(0xF6A821)));
    img.fill(circle(26, 24, 4), solid(Rgba{1, 1, 1, 0.45f}));
    return img;
}

Image trophy()
{
    Image img(64, 64);
    Sdf cup = unite(polygon({{16, 8}, {48, 8}, {44, 30}, {20, 30}}), circle(32, 27, 12));
    Sdf handles = unite(ring(circle(16, 19, 7), 2.2f), ring(circle(48, 19, 7), 2.2f));
    Sdf body = unite(unite(cup, handles), unite(roundRect(29, 36, 6, 12, 1), roundRect(20, 47, 24, 8, 3)));
    img.shadow(body, 0, 3, 5, Rgba{0, 0, 0, 0.45f});
    img.fill(body, solid(hex(0xC7780A)));
    img.fill([body](float x, float y) { return body(x, y) + 1.2f; }, vertical(6, hex(0xFFE9A0), 56, hex(0xF6A821)));
    img.fill(roundRect(22, 12, 5, 14, 2.5f), solid(Rgba{1, 1, 1, 0.45f}));
    return img;
}

} // namespace

void generateGuiTextures(Output& out)
{
    saveTexture(out, "TEX_WHITE", "gui/white.png", whiteTexture());
    saveTexture(out, "TEX_BOARDFRAME", "gui/board_frame.png", boardFrame());
    saveTexture(out, "TEX_GLASS", "gui/glass.png", glass());
    saveTexture(out, "TEX_CARD", "gui/card.png", card());
    saveTexture(out, "TEX_HEADER", "gui/header.png", header());
    buttonSet(out, "TEX_BTN_", "gui/button", pal::kTeal, pal::kTealDeep);
    buttonSet(out, "TEX_BTN2_", "gui/button2", pal::kIndigo, pal::kIndigoDeep);
    saveTexture(out, "TEX_FIELD", "gui/field.png", field());
    saveTexture(out, "TEX_TIP", "gui/tip.png", tipBox());
    saveTexture(out, "TEX_ICON_PLAY", "gui/icon_play.png", iconPlay());
    saveTexture(out, "TEX_ICON_HELP", "gui/icon_help.png", iconHelp());
    saveTexture(out, "TEX_ICON_EXIT", "gui/icon_exit.png", iconExit());
    saveTexture(out, "TEX_ICON_OK", "gui/icon_ok.png", iconOk());
    saveTexture(out, "TEX_BADGE", "gui/badge.png", badge());
    saveTexture(out, "TEX_STAR", "gui/star.png", star());
    saveTexture(out, "TEX_TROPHY", "gui/trophy.png", trophy());
}

} // namespace gen
