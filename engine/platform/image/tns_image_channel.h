// A colour channel given by a bit mask, as BMP bit fields and DDS pixel
// formats describe them, widened to 8 bits. Internal to the image decoders.
#pragma once

#include <cstdint>

namespace tns::image {

struct Channel {
    int shift = 0, bits = 0;

    explicit Channel(uint32_t mask)
    {
        if (!mask) return;
        while (!(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        while (mask & 1) {
            mask >>= 1;
            ++bits;
        }
    }
    // The channel's value in 0..255; missing when the mask is empty.
    uint32_t get(uint32_t pixel, uint32_t missing) const
    {
        if (!bits) return missing;
        const uint32_t v = (pixel >> shift) & (bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1);
        if (bits >= 8) return v >> (bits - 8);
        return (v * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1);
    }
};

} // namespace tns::image
