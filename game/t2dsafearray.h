// A two-dimensional array whose reads outside its bounds yield a fixed value
// and whose writes outside land in a scratch slot, so neighbour and path tests
// at the board's edges need no bounds checks of their own.
#pragma once

#include <cstdint>
#include <memory>

template <class T, T tOutOfBoundsValue>
class T2DSafeArray {
public:
    T2DSafeArray() = default;
    T2DSafeArray(const T2DSafeArray&) = delete;
    T2DSafeArray& operator=(const T2DSafeArray&) = delete;

    // Frees what the array held, then allocates w columns of h elements. The
    // sizes are recorded only once the storage exists: a failed allocation
    // leaves an empty array, never sizes that point at freed storage.
    void Create(int32_t w, int32_t h)
    {
        m_iWidth = 0;
        m_iHeight = 0;
        m_pColumns.reset();
        m_pCells.reset();
        if (w <= 0 || h <= 0) return;
        std::unique_ptr<T[]> cells(new T[size_t(w) * size_t(h)]());
        std::unique_ptr<T*[]> columns(new T*[size_t(w)]);
        for (int32_t x = 0; x < w; ++x) columns[x] = cells.get() + size_t(x) * size_t(h);
        m_pCells = std::move(cells);
        m_pColumns = std::move(columns);
        m_iWidth = w;
        m_iHeight = h;
    }

    // The cell, or the out-of-bounds slot (reset before every access, so a
    // stray write outside never shows up in a later read).
    T& At(int32_t x, int32_t y)
    {
        if (!m_pColumns) throw "Error in T2DSafeArray<T, tOutOfBoundsValue>::At";
        m_tOutOfBounds = tOutOfBoundsValue;
        if (x >= 0 && x < m_iWidth && y >= 0 && y < m_iHeight) return m_pColumns[x][y];
        return m_tOutOfBounds;
    }

    int32_t GetWidth() const { return m_iWidth; }
    int32_t GetHeight() const { return m_iHeight; }

private:
    int32_t m_iWidth = 0;
    int32_t m_iHeight = 0;
    T m_tOutOfBounds = tOutOfBoundsValue;
    // storage[x][y]: column pointers into one block of width × height cells.
    std::unique_ptr<T*[]> m_pColumns;
    std::unique_ptr<T[]> m_pCells;
};
