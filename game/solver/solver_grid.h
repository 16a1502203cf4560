// The solver's working board: the cells with a one-cell frame of blocked cells
// around them, so a slide needs no bounds test, and the free cells once more as
// one bit mask per row, for fills a row at a time (boards up to 63 cells wide;
// wider ones keep no masks, for the greedy player only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/solver/quoril_solver.h"

namespace solver {

enum Cell : uint8_t { kFree = 0, kBlocked = 1, kCovered = 2 };

constexpr int32_t kMaxRowCells = 63; // a run filled by addition never carries out of the word

struct Grid {
    Grid(int32_t w, int32_t h)
        : width(w), height(h), pitch(w + 2), cells(size_t((w + 2) * (h + 2)), kBlocked),
          rows(w <= kMaxRowCells ? size_t(h + 2) : 0, 0)
    {
        offset[kUp] = -pitch;
        offset[kRight] = 1;
        offset[kDown] = pitch;
        offset[kLeft] = -1;
    }

    int32_t index(int32_t x, int32_t y) const { return (y + 1) * pitch + x + 1; }
    int32_t xOf(int32_t i) const { return i % pitch - 1; }
    int32_t yOf(int32_t i) const { return i / pitch - 1; }

    // Rebuilds the row masks after cells were written directly.
    void syncRows()
    {
        if (rows.empty()) return;
        for (int32_t y = 0; y < height; ++y) {
            uint64_t m = 0;
            for (int32_t x = 0; x < width; ++x) m |= uint64_t(cells[size_t(index(x, y))] == kFree) << x;
            rows[size_t(y + 1)] = m;
        }
    }
    void setCell(int32_t i, Cell c)
    {
        cells[size_t(i)] = c;
        if (rows.empty()) return;
        const uint64_t bit = uint64_t(1) << (i % pitch - 1);
        rows[size_t(i / pitch)] = c == kFree ? rows[size_t(i / pitch)] | bit : rows[size_t(i / pitch)] & ~bit;
    }

    // Cell where a slide from p in direction d stops (p itself when blocked at once).
    int32_t slideEnd(int32_t p, int32_t d) const
    {
        const int32_t o = offset[d];
        while (cells[size_t(p + o)] == kFree) p += o;
        return p;
    }
    // Covers the cells after p up to end; uncover frees them again.
    void cover(int32_t p, int32_t end, int32_t d) { mark(p, end, d, kCovered); }
    void uncover(int32_t p, int32_t end, int32_t d) { mark(p, end, d, kFree); }

    int32_t width;
    int32_t height;
    int32_t pitch;
    int32_t offset[5] = {0, 0, 0, 0, 0}; // by direction, 1..4
    std::vector<uint8_t> cells;
    std::vector<uint64_t> rows; // framed rows 0 .. height + 1; bit x set while (x, row - 1) is free

private:
    void mark(int32_t p, int32_t end, int32_t d, Cell c)
    {
        const int32_t o = offset[d];
        for (int32_t i = p; i != end;) cells[size_t(i += o)] = c;
        if (rows.empty()) return;
        const int32_t row = p / pitch, col = p % pitch - 1;
        uint64_t* r = rows.data();
        if (d == kLeft || d == kRight) {
            const int32_t n = (end - p) * o; // cells covered: o is +1 or -1
            const int32_t low = d == kRight ? col + 1 : col - n;
            const uint64_t span = ((uint64_t(1) << n) - 1) << low;
            r[row] = c == kFree ? r[row] | span : r[row] & ~span;
        } else {
            const uint64_t bit = uint64_t(1) << col;
            const int32_t step = d == kDown ? 1 : -1, last = end / pitch;
            for (int32_t y = row; y != last;) {
                y += step;
                r[y] = c == kFree ? r[y] | bit : r[y] & ~bit;
            }
        }
    }
};

} // namespace solver
