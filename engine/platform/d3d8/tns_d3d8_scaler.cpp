// Letterbox scaling of the front buffer: the shown rows that repeat a source
// row are copied from the row above, so an upscale costs one gather per source
// row and memory copies; gamma maps each source row once, before scaling.
#include "engine/platform/d3d8/tns_d3d8_scaler.h"

#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TNS_SCALER_AVX2 1
#endif

namespace {

#if defined(TNS_SCALER_AVX2)
const bool kHasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();

// An enlarged row eight pixels at a time: they read at most eight neighbouring
// source pixels, so one load and a lane permute place them. Returns how many.
__attribute__((target("avx2"))) int enlargeRowAvx2(uint32_t* out, const uint32_t* in, const uint32_t* cols, int n,
                                                   int srcW)
{
    int x = 0;
    for (; x + 8 <= n; x += 8) {
        const int first = int(cols[x]);
        if (first + 8 > srcW) break;
        const __m256i idx = _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(cols + x)),
                                             _mm256_set1_epi32(first));
        const __m256i px = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + first));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_permutevar8x32_epi32(px, idx));
    }
    return x;
}
#endif

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
            const int n = m_p.dstW;
            int x = 0;
#if defined(TNS_SCALER_AVX2)
            if (n > m_p.srcW && kHasAvx2) x = enlargeRowAvx2(out, in, cols, n, m_p.srcW);
#endif
            for (; x < n; ++x) out[x] = in[cols[x]];
        }
        previous = out;
        previousRow = sy;
    }
}
