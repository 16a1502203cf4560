// Float RGBA canvas of the texture generator: anti-aliased shapes from signed
// distances, gradients, blurred shadows, and deterministic PNG output (the same
// pixels always give the same file bytes).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gen {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

// Colour from 0xRRGGBB with an alpha.
Rgba hex(uint32_t rgb, float a = 1.0f);
Rgba mix(const Rgba& x, const Rgba& y, float t);
Rgba scaled(const Rgba& c, float k); // rgb times k, alpha kept

// Signed distance in pixels: negative inside the shape.
using Sdf = std::function<float(float x, float y)>;
using Paint = std::function<Rgba(float x, float y)>;

Sdf roundRect(float x, float y, float w, float h, float radius);
Sdf circle(float cx, float cy, float r);
Sdf segment(float ax, float ay, float bx, float by, float halfWidth);
// Convex polygon, vertices in either winding order.
Sdf polygon(std::vector<std::pair<float, float>> pts);
Sdf ring(Sdf shape, float halfWidth); // the band |d| < halfWidth around the outline
Sdf unite(Sdf a, Sdf b);
Sdf subtract(Sdf a, Sdf b);

Paint solid(const Rgba& c);
Paint vertical(float y0, const Rgba& top, float y1, const Rgba& bottom);
Paint radial(float cx, float cy, float r, const Rgba& inner, const Rgba& outer);

class Image {
public:
    Image(int width, int height, const Rgba& fill = {0, 0, 0, 0});
    int width() const { return m_w; }
    int height() const { return m_h; }
    Rgba& at(int x, int y) { return m_px[size_t(y) * m_w + x]; }
    const Rgba& at(int x, int y) const { return m_px[size_t(y) * m_w + x]; }

    // Source-over blend of one pixel with an extra coverage factor.
    void blend(int x, int y, const Rgba& c, float coverage);
    // Fills a shape with a paint; pixel centres at +0.5, one-pixel antialiasing.
    void fill(const Sdf& shape, const Paint& paint, float opacity = 1.0f);
    // A soft shadow of the shape: its mask blurred by radius, offset, in colour c.
    void shadow(const Sdf& shape, float dx, float dy, float radius, const Rgba& c);
    // Draws another image over this one with its top-left at (x, y).
    void draw(const Image& src, int x, int y, float opacity = 1.0f);
    // Alpha coverage (0..1) of a mask drawn at (x, y) in colour c.
    void drawMask(const std::vector<float>& mask, int mw, int mh, int x, int y, const Rgba& c);

    bool opaque() const;
    // Writes an 8-bit PNG, RGB when every pixel is opaque, else RGBA.
    void writePng(const std::string& path) const;

private:
    int m_w, m_h;
    std::vector<Rgba> m_px;
};

// Box blur applied three times (close to a Gaussian), in place.
void blurMask(std::vector<float>& mask, int w, int h, int radius);

} // namespace gen
