// The gallery texture generator's canvas: float RGBA pixels, shapes given as
// signed distances filled with one pixel of antialiasing, and PNG output that
// is the same bytes for the same pixels.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace gallery {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with an alpha.
Rgba hex(unsigned rgb, float a = 1.0f);
Rgba mix(const Rgba& x, const Rgba& y, float t);

// Signed distance in pixels, negative inside; a paint gives the colour at a point.
using Shape = std::function<float(float x, float y)>;
using Paint = std::function<Rgba(float x, float y)>;

Shape roundRect(float x, float y, float w, float h, float radius);
Shape circle(float cx, float cy, float r);
// The band of the given half width around a shape's outline.
Shape outline(Shape shape, float halfWidth);
Paint solid(const Rgba& c);
Paint vertical(float y0, const Rgba& top, float y1, const Rgba& bottom);

class Canvas {
public:
    Canvas(int width, int height, const Rgba& fill = {0, 0, 0, 0});
    // Source-over blend with pixel centres at +0.5.
    void fill(const Shape& shape, const Paint& paint);
    // Writes an 8-bit RGBA PNG; false when the file cannot be written.
    bool writePng(const std::string& path) const;

private:
    void blend(int x, int y, const Rgba& c, float coverage);
    int m_w, m_h;
    std::vector<Rgba> m_px;
};

} // namespace gallery
