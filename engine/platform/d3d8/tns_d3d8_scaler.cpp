// Letterbox scaling of the front buffer: the shown rows that repeat a source
// row are copied from the row above, so an upscale costs one gather per source
// row and memory copies; gamma maps each source row once, before scaling.
#include "engine/platform/d3d8/tns_d3d8_scaler.h"

#include <cstring>

namespace {

// Centre-sampled nearest positions in 16.16 fixed point, as SDL's stretch.
void nearestMap(std::vector<uint32_t>& map, int from, int to)
{
    map.resize(size_t(to));
    const uint32_t step = (uint32_t(from) << 16) / uint32_t(to);
    uint32_t pos = step / 2;
    for (int i = 0; i < to; ++i, pos += step) map[size_t(i)] = pos >> 16;
}

} // namespace

bool TnsScaler::prepare(int srcW, int srcH, int dstX, int dstY, int dstW, int dstH, int areaW, int areaH)
{
    if (srcW <= 0 || srcH <= 0 || dstW <= 0 || dstH <= 0 || srcW > 0x7FFF || srcH > 0x7FFF) return false;
    if (dstX < 0 || dstY < 0 || dstX + dstW > areaW || dstY + dstH > areaH) return false;
    const Place place{srcW, srcH, dstX, dstY, dstW, dstH, areaW, areaH};
    if (place == m_p) return true;
    nearestMap(m_columns, srcW, dstW);
    nearestMap(m_rows, srcH, dstH);
    m_mapped.resize(size_t(srcW));
    m_p = place;
    m_barsDrawn = false;
    return true;
}

void TnsScaler::fillBars(uint32_t* area, int areaPitch) const
{
    for (int y = 0; y < m_p.areaH; ++y) {
        uint32_t* row = area + size_t(y) * size_t(areaPitch);
        if (y < m_p.dstY || y >= m_p.dstY + m_p.dstH) {
            memset(row, 0, size_t(m_p.areaW) * 4);
        } else {
            memset(row, 0, size_t(m_p.dstX) * 4);
            memset(row + m_p.dstX + m_p.dstW, 0, size_t(m_p.areaW - m_p.dstX - m_p.dstW) * 4);
        }
    }
}

void TnsScaler::draw(const uint32_t* src, int srcPitch, uint32_t* area, int areaPitch, const uint8_t* lutR,
                     const uint8_t* lutG, const uint8_t* lutB)
{
    if (m_p.dstW <= 0) return;
    if (!m_barsDrawn) {
        fillBars(area, areaPitch);
        m_barsDrawn = true;
    }
    const bool gamma = lutR && lutG && lutB;
    const uint32_t* cols = m_columns.data();
    uint32_t* previous = nullptr;
    uint32_t previousRow = ~0u;
    for (int y = 0; y < m_p.dstH; ++y) {
        uint32_t* out = area + size_t(m_p.dstY + y) * size_t(areaPitch) + size_t(m_p.dstX);
        const uint32_t sy = m_rows[size_t(y)];
        if (sy == previousRow) {
            memcpy(out, previous, size_t(m_p.dstW) * 4);
            continue;
        }
        const uint32_t* in = src + size_t(sy) * size_t(srcPitch);
        if (gamma) {
            uint32_t* mapped = m_mapped.data();
            for (int x = 0; x < m_p.srcW; ++x) {
                const uint32_t c = in[x];
                mapped[x] = 0xFF000000u | (uint32_t(lutR[(c >> 16) & 0xFF]) << 16) |
                            (uint32_t(lutG[(c >> 8) & 0xFF]) << 8) | lutB[c & 0xFF];
            }
            in = mapped;
        }
        if (m_p.dstW == m_p.srcW) {
            memcpy(out, in, size_t(m_p.dstW) * 4);
        } else {
            for (int x = 0; x < m_p.dstW; ++x) out[x] = in[cols[x]];
        }
        previous = out;
        previousRow = sy;
    }
}
