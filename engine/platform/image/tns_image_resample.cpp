// Resampling and mip reduction of decoded images (the scaling filters of D3DX).
// Separable: rows first into a float buffer, then columns, so each result is
// rounded once. Limits: straight (not premultiplied) alpha, no dithering.
#include <algorithm>
#include <cmath>
#include <new>

#include "engine/platform/image/tns_image.h"

namespace tns::image {

namespace {

// The source samples one destination index reads, and how much of each.
struct Taps {
    std::vector<int> first, count; // per destination index
    std::vector<int> index;
    std::vector<float> weight;
};

void addTap(Taps& t, int s, float w, int srcSize)
{
    t.index.push_back(std::clamp(s, 0, srcSize - 1));
    t.weight.push_back(w);
}

Taps buildTaps(int srcSize, int dstSize, Filter filter)
{
    Taps t;
    const double scale = double(srcSize) / double(dstSize);
    for (int x = 0; x < dstSize; ++x) {
        t.first.push_back(int(t.index.size()));
        if (filter == Filter::Point) {
            addTap(t, int(std::floor((x + 0.5) * scale)), 1.0f, srcSize);
        } else if (filter == Filter::Box) {
            // Area average: each source pixel weighs by how much of it the
            // destination pixel covers.
            const double a = x * scale, b = (x + 1) * scale;
            for (int s = int(std::floor(a)); s < int(std::ceil(b)); ++s) {
                double w = std::min(b, s + 1.0) - std::max(a, double(s));
                if (w > 1e-9) addTap(t, s, float(w), srcSize);
            }
        } else {
            // Tent around the sample centre; when shrinking, Triangle widens it
            // to the scale so every source pixel contributes.
            const double c = (x + 0.5) * scale - 0.5;
            const double r = filter == Filter::Triangle ? std::max(1.0, scale) : 1.0;
            for (int s = int(std::ceil(c - r)); s <= int(std::floor(c + r)); ++s) {
                double w = 1.0 - std::fabs(s - c) / r;
                if (w > 1e-9) addTap(t, s, float(w), srcSize);
            }
        }
        t.count.push_back(int(t.index.size()) - t.first.back());
    }
    return t;
}

uint32_t channel(uint32_t argb, int shift)
{
    return (argb >> shift) & 0xFF;
}

} // namespace

bool Resample(const Image& src, int width, int height, Filter filter, Image& out)
{
    Image dst;
    if (src.width < 1 || src.height < 1 || !Allocate(dst, width, height)) return false;
    dst.hasAlpha = src.hasAlpha;
    if (width == src.width && height == src.height) {
        // Every filter's taps at scale 1 are the source pixel alone, weight 1.
        try {
            out = src;
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }
    if (filter == Filter::None) {
        for (int y = 0; y < std::min(height, src.height); ++y)
            for (int x = 0; x < std::min(width, src.width); ++x) dst.argb[size_t(y) * width + x] = src.at(x, y);
        out = std::move(dst);
        return true;
    }
    try {
        const Taps tx = buildTaps(src.width, width, filter);
        const Taps ty = buildTaps(src.height, height, filter);
        // Rows: width x src.height samples of four channels (b, g, r, a).
        std::vector<float> rows(size_t(width) * size_t(src.height) * 4);
        for (int y = 0; y < src.height; ++y) {
            for (int x = 0; x < width; ++x) {
                float acc[4] = {0, 0, 0, 0}, total = 0;
                for (int k = tx.first[x]; k < tx.first[x] + tx.count[x]; ++k) {
                    const uint32_t p = src.at(tx.index[k], y);
                    const float w = tx.weight[k];
                    for (int c = 0; c < 4; ++c) acc[c] += w * float(channel(p, c * 8));
                    total += w;
                }
                float* o = &rows[(size_t(y) * width + x) * 4];
                for (int c = 0; c < 4; ++c) o[c] = acc[c] / total;
            }
        }
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                float acc[4] = {0, 0, 0, 0}, total = 0;
                for (int k = ty.first[y]; k < ty.first[y] + ty.count[y]; ++k) {
                    const float* p = &rows[(size_t(ty.index[k]) * width + x) * 4];
                    const float w = ty.weight[k];
                    for (int c = 0; c < 4; ++c) acc[c] += w * p[c];
                    total += w;
                }
                uint32_t v = 0;
                for (int c = 0; c < 4; ++c) {
                    const float f = std::clamp(acc[c] / total + 0.5f, 0.0f, 255.0f);
                    v |= uint32_t(f) << (c * 8);
                }
                dst.argb[size_t(y) * width + x] = v;
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    out = std::move(dst);
    return true;
}

bool Reduce(const Image& src, Filter filter, Image& out)
{
    return Resample(src, std::max(1, src.width / 2), std::max(1, src.height / 2), filter, out);
}

} // namespace tns::image
