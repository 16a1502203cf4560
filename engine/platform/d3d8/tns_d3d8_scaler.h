// Shows a 32-bit picture inside a larger or smaller 32-bit pixel area (a
// window's surface): scaled by nearest neighbour with centre sampling (the
// same pixels SDL's scaled blit picks), the bars around it black, gamma
// tables applied on the way. Free of SDL, so it is measured and tested alone.
#pragma once

#include <cstdint>
#include <vector>

class TnsScaler {
public:
    // Places a srcW x srcH picture at (dstX, dstY, dstW, dstH) of an area of
    // areaW x areaH pixels. False when the place is empty or leaves the area.
    bool prepare(int srcW, int srcH, int dstX, int dstY, int dstW, int dstH, int areaW, int areaH);
    // Draws the picture (and the bars, the first time after prepare); the
    // tables map each channel, or are all null. The alpha byte is copied
    // without tables, set opaque with them.
    void draw(const uint32_t* src, int srcPitch, uint32_t* area, int areaPitch, const uint8_t* lutR,
              const uint8_t* lutG, const uint8_t* lutB);
    // The next draw paints the bars again (the area was replaced).
    void redrawBars() { m_barsDrawn = false; }

private:
    struct Place {
        int srcW, srcH, dstX, dstY, dstW, dstH, areaW, areaH;
        bool operator==(const Place&) const = default;
    };
    void fillBars(uint32_t* area, int areaPitch) const;

    Place m_p{};
    bool m_barsDrawn = false;
    std::vector<uint32_t> m_columns; // source column of each shown column
    std::vector<uint32_t> m_rows;    // source row of each shown row
    std::vector<uint32_t> m_mapped;  // one source row through the gamma tables
};
