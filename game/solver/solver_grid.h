// The solver's working board: the cells with a one-cell frame of blocked cells
// around them, so a slide needs no bounds test, and the slide itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/solver/quoril_solver.h"

namespace solver {

enum Cell : uint8_t { kFree = 0, kBlocked = 1, kCovered = 2 };

struct Grid {
    Grid(int32_t w, int32_t h) : width(w), height(h), pitch(w + 2), cells(size_t((w + 2) * (h + 2)), kBlocked)
    {
        offset[kUp] = -pitch;
        offset[kRight] = 1;
        offset[kDown] = pitch;
        offset[kLeft] = -1;
    }

    int32_t index(int32_t x, int32_t y) const { return (y + 1) * pitch + x + 1; }
    int32_t xOf(int32_t i) const { return i % pitch - 1; }
    int32_t yOf(int32_t i) const { return i / pitch - 1; }

    // Cell where a slide from p in direction d stops (p itself when blocked at once).
    int32_t slideEnd(int32_t p, int32_t d) const
    {
        const int32_t o = offset[d];
        while (cells[size_t(p + o)] == kFree) p += o;
        return p;
    }
    // Covers the cells after p up to end; the undo frees them again.
    void cover(int32_t p, int32_t end, int32_t d)
    {
        for (const int32_t o = offset[d]; p != end;) cells[size_t(p += o)] = kCovered;
    }
    void uncover(int32_t p, int32_t end, int32_t d)
    {
        for (const int32_t o = offset[d]; p != end;) cells[size_t(p += o)] = kFree;
    }

    int32_t width;
    int32_t height;
    int32_t pitch;
    int32_t offset[5] = {0, 0, 0, 0, 0}; // by direction, 1..4
    std::vector<uint8_t> cells;
};

} // namespace solver
