// Positions already searched, by the hash of (piece cell, covered set): the most
// the position was shown to be worth. A later visit that cannot beat the best
// line with that much is cut at once. One entry per slot, newest wins.
#pragma once

#include <cstdint>
#include <vector>

namespace solver {

class TranspositionTable {
public:
    explicit TranspositionTable(int32_t log2Slots) : m_mask((uint64_t(1) << log2Slots) - 1), m_slots(m_mask + 1) {}

    // The stored bound on the cells still to gain, or -1 when the position is not stored.
    int32_t find(uint64_t key) const
    {
        const Slot& s = m_slots[key & m_mask];
        return s.key == key ? s.gain - 1 : -1;
    }
    void store(uint64_t key, int32_t gain)
    {
        Slot& s = m_slots[key & m_mask];
        s.key = key;
        s.gain = gain + 1; // 0 marks an empty slot
    }

private:
    struct Slot {
        uint64_t key = 0;
        int32_t gain = 0;
    };
    uint64_t m_mask;
    std::vector<Slot> m_slots;
};

} // namespace solver
