// Canvas, shapes and PNG output of the texture generator (see image.h).
#include "tools/gen_assets/image.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace gen {

Rgba hex(uint32_t rgb, float a)
{
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f, float(rgb & 0xFF) / 255.0f, a};
}

Rgba mix(const Rgba& x, const Rgba& y, float t)
{
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Rgba scaled(const Rgba& c, float k)
{
    return {std::min(1.0f, c.r * k), std::min(1.0f, c.g * k), std::min(1.0f, c.b * k), c.a};
}

Sdf roundRect(float x, float y, float w, float h, float radius)
{
    const float cx = x + w / 2, cy = y + h / 2, hx = w / 2 - radius, hy = h / 2 - radius;
    return [=](float px, float py) {
        const float qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
        const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Sdf circle(float cx, float cy, float r)
{
    return [=](float px, float py) { return std::hypot(px - cx, py - cy) - r; };
}

Sdf segment(float ax, float ay, float bx, float by, float halfWidth)
{
    return [=](float px, float py) {
        const float dx = bx - ax, dy = by - ay;
        const float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
        return std::hypot(px - ax - dx * t, py - ay - dy * t) - halfWidth;
    };
}

Sdf polygon(std::vector<std::pair<float, float>> pts)
{
    // Orient counter-clockwise in y-down coordinates so that every edge's
    // outward normal points the same way.
    float area = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const auto& [x0, y0] = pts[i];
        const auto& [x1, y1] = pts[(i + 1) % pts.size()];
        area += x0 * y1 - x1 * y0;
    }
    if (area < 0) std::reverse(pts.begin(), pts.end());
    return [pts](float px, float py) {
        float inside = -1e9f, outside = 1e9f;
        bool in = true;
        for (size_t i = 0; i < pts.size(); ++i) {
            const auto& [x0, y0] = pts[i];
            const auto& [x1, y1] = pts[(i + 1) % pts.size()];
            const float ex = x1 - x0, ey = y1 - y0, len = std::hypot(ex, ey);
            const float d = ((px - x0) * ey - (py - y0) * ex) / len; // > 0 outside
            if (d > 0) in = false;
            inside = std::max(inside, d);
            const float t = std::clamp(((px - x0) * ex + (py - y0) * ey) / (len * len), 0.0f, 1.0f);
            outside = std::min(outside, std::hypot(px - x0 - ex * t, py - y0 - ey * t));
        }
        return in ? inside : outside;
    };
}

Sdf ring(Sdf shape, float halfWidth)
{
    return [=](float x, float y) { return std::fabs(shape(x, y)) - halfWidth; };
}

Sdf unite(Sdf a, Sdf b)
{
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Sdf subtract(Sdf a, Sdf b)
{
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Paint solid(const Rgba& c)
{
    return [=](float, float) { return c; };
}

Paint vertical(float y0, const Rgba& top, float y1, const Rgba& bottom)
{
    return [=](float, float y) { return mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f)); };
}

Paint radial(float cx, float cy, float r, const Rgba& inner, const Rgba& outer)
{
    return [=](float x, float y) { return mix(inner, outer, std::clamp(std::hypot(x - cx, y - cy) / r, 0.0f, 1.0f)); };
}

Image::Image(int width, int height, const Rgba& fill) : m_w(width), m_h(height), m_px(size_t(width) * height, fill) {}

void Image::blend(int x, int y, const Rgba& c, float coverage)
{
    if (x < 0 || y < 0 || x >= m_w || y >= m_h) return;
    const float sa = std::clamp(c.a * coverage, 0.0f, 1.0f);
    if (sa <= 0) return;
    Rgba& d = at(x, y);
    const float oa = sa + d.a * (1 - sa);
    if (oa <= 0) return;
    d.r = (c.r * sa + d.r * d.a * (1 - sa)) / oa;
    d.g = (c.g * sa + d.g * d.a * (1 - sa)) / oa;
    d.b = (c.b * sa + d.b * d.a * (1 - sa)) / oa;
    d.a = oa;
}

void Image::fill(const Sdf& shape, const Paint& paint, float opacity)
{
    for (int y = 0; y < m_h; ++y) {
        for (int x = 0; x < m_w; ++x) {
            const float px = float(x) + 0.5f, py = float(y) + 0.5f;
            const float cover = std::clamp(0.5f - shape(px, py), 0.0f, 1.0f);
            if (cover > 0) blend(x, y, paint(px, py), cover * opacity);
        }
    }
}

void blurMask(std::vector<float>& mask, int w, int h, int radius)
{
    if (radius <= 0) return;
    std::vector<float> tmp(mask.size());
    const float norm = 1.0f / float(2 * radius + 1);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k) s += mask[size_t(y) * w + std::clamp(x + k, 0, w - 1)];
                tmp[size_t(y) * w + x] = s * norm;
            }
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k) s += tmp[size_t(std::clamp(y + k, 0, h - 1)) * w + x];
                mask[size_t(y) * w + x] = s * norm;
            }
        }
    }
}

void Image::shadow(const Sdf& shape, float dx, float dy, float radius, const Rgba& c)
{
    std::vector<float> mask(size_t(m_w) * m_h);
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x)
            mask[size_t(y) * m_w + x] = std::clamp(0.5f - shape(float(x) + 0.5f - dx, float(y) + 0.5f - dy), 0.0f, 1.0f);
    blurMask(mask, m_w, m_h, int(radius / 2 + 0.5f));
    drawMask(mask, m_w, m_h, 0, 0, c);
}

void Image::draw(const Image& src, int x, int y, float opacity)
{
    for (int sy = 0; sy < src.m_h; ++sy)
        for (int sx = 0; sx < src.m_w; ++sx) blend(x + sx, y + sy, src.at(sx, sy), opacity);
}

void Image::drawMask(const std::vector<float>& mask, int mw, int mh, int x, int y, const Rgba& c)
{
    for (int my = 0; my < mh; ++my)
        for (int mx = 0; mx < mw; ++mx) blend(x + mx, y + my, c, mask[size_t(my) * mw + mx]);
}

bool Image::opaque() const
{
    return std::all_of(m_px.begin(), m_px.end(), [](const Rgba& p) { return p.a >= 1.0f - 0.5f / 255.0f; });
}

namespace {

uint8_t byteOf(float v)
{
    return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

} // namespace

void Image::writePng(const std::string& path) const
{
    const bool rgb = opaque();
    const int channels = rgb ? 3 : 4;
    std::vector<uint8_t> bytes(size_t(m_w) * m_h * channels);
    for (size_t i = 0; i < m_px.size(); ++i) {
        const Rgba& p = m_px[i];
        // Fully transparent pixels carry no colour: zeroing it keeps the files
        // small and the bytes independent of how the shapes were layered.
        const bool clear = !rgb && byteOf(p.a) == 0;
        bytes[i * channels + 0] = clear ? 0 : byteOf(p.r);
        bytes[i * channels + 1] = clear ? 0 : byteOf(p.g);
        bytes[i * channels + 2] = clear ? 0 : byteOf(p.b);
        if (!rgb) bytes[i * channels + 3] = byteOf(p.a);
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder);
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        throw std::runtime_error("PNG encoding failed: " + path);
    }
    png_init_io(png, f);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(m_w), png_uint_32(m_h), 8, rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < m_h; ++y) png_write_row(png, bytes.data() + size_t(y) * m_w * channels);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (fclose(f) != 0) throw std::runtime_error("cannot write " + path);
}

} // namespace gen
