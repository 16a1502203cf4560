// The game's resource loader for level packs ("LEVEL") and the level
// description it fills: the board size in cells and the barrier cells, which
// the board is built from at the start of every game.
#pragma once

#include <cstdint>
#include <vector>

struct LevelBarrier {
    int32_t x; // 1-based column, 1 is the leftmost
    int32_t y; // 1-based row, 1 is the topmost
};

// Process-wide, owned by the game. Both sizes are 0 until a level pack loads,
// then at least 2. A second level pack overwrites the sizes and appends its
// barriers: the list is never cleared.
struct LevelDescription {
    int32_t m_iSizeX = 0;
    int32_t m_iSizeY = 0;
    // Exactly as written in the file, in document order, each within the size.
    std::vector<LevelBarrier> m_vecBarriers;
};

extern LevelDescription g_LevelDesc;

// Checkpoint file ID of the game's resource loaders.
constexpr int32_t EHS_FILE_RESLOAD_FUNCTIONS = 1007;

// The LoadResFunc registered as "LEVEL": reads <boarddata sizex sizey> with
// <barier x y> children, in the current XML encrypt mode.
void RESLOAD_Level(const uint8_t* data, int32_t size, const char* id, int32_t tag, int32_t data1, int32_t data2,
                   int32_t data3);
