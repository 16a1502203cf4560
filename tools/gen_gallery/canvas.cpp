// Shapes, blending and PNG output of the gallery texture generator.
#include "tools/gen_gallery/canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gallery {

Rgba hex(unsigned rgb, float a)
{
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f, float(rgb & 0xFF) / 255.0f, a};
}

Rgba mix(const Rgba& x, const Rgba& y, float t)
{
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Shape roundRect(float x, float y, float w, float h, float radius)
{
    const float cx = x + w / 2, cy = y + h / 2, hx = w / 2 - radius, hy = h / 2 - radius;
    return [=](float px, float py) {
        const float qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
        const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Shape circle(float cx, float cy, float r)
{
    return [=](float px, float py) { return std::hypot(px - cx, py - cy) - r; };
}

Shape outline(Shape shape, float halfWidth)
{
    return [=](float px, float py) { return std::fabs(shape(px, py)) - halfWidth; };
}

Paint solid(const Rgba& c)
{
    return [=](float, float) { return c; };
}

Paint vertical(float y0, const Rgba& top, float y1, const Rgba& bottom)
{
    return [=](float, float y) { return mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f)); };
}

Canvas::Canvas(int width, int height, const Rgba& fill)
    : m_w(width), m_h(height), m_px(size_t(width) * size_t(height), fill)
{
}

void Canvas::blend(int x, int y, const Rgba& c, float coverage)
{
    Rgba& d = m_px[size_t(y) * size_t(m_w) + size_t(x)];
    const float a = c.a * coverage;
    const float out = a + d.a * (1.0f - a);
    if (out <= 0.0f) return;
    d.r = (c.r * a + d.r * d.a * (1.0f - a)) / out;
    d.g = (c.g * a + d.g * d.a * (1.0f - a)) / out;
    d.b = (c.b * a + d.b * d.a * (1.0f - a)) / out;
    d.a = out;
}

void Canvas::fill(const Shape& shape, const Paint& paint)
{
    for (int y = 0; y < m_h; ++y) {
        for (int x = 0; x < m_w; ++x) {
            const float px = float(x) + 0.5f, py = float(y) + 0.5f;
            const float coverage = std::clamp(0.5f - shape(px, py), 0.0f, 1.0f);
            if (coverage > 0.0f) blend(x, y, paint(px, py), coverage);
        }
    }
}

bool Canvas::writePng(const std::string& path) const
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(size_t(m_w) * 4);
    bool ok = png && info && !setjmp(png_jmpbuf(png));
    if (ok) {
        png_init_io(png, f);
        png_set_IHDR(png, info, png_uint_32(m_w), png_uint_32(m_h), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        auto byte = [](float v) { return png_byte(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
        for (int y = 0; y < m_h; ++y) {
            for (int x = 0; x < m_w; ++x) {
                const Rgba& p = m_px[size_t(y) * size_t(m_w) + size_t(x)];
                png_byte* o = &row[size_t(x) * 4];
                o[0] = byte(p.r);
                o[1] = byte(p.g);
                o[2] = byte(p.b);
                o[3] = byte(p.a);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return std::fclose(f) == 0 && ok;
}

} // namespace gallery
