// The level pack loader on any bytes: bad data raises the engine's errors and
// nothing worse, and a pack that loads describes a board of at least 2 × 2
// cells whose barriers all lie on it.
#include <cstdlib>

#include "fuzz/game/fuzz_game_env.h"
#include "game/resload_functions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CTarnis* tarnis = fuzzenv::StartEngine();
    if (!tarnis) abort();
    g_LevelDesc = LevelDescription{};
    try {
        RESLOAD_Level(data, int32_t(size), "LVL_FUZZ", 0, 0, 0, 0);
    } catch (const CEHSException&) {
        return 0;
    } catch (const char*) {
        return 0;
    }
    const LevelDescription& level = g_LevelDesc;
    if (level.m_iSizeX < 2 || level.m_iSizeY < 2) abort();
    for (const LevelBarrier& b : level.m_vecBarriers)
        if (b.x < 1 || b.y < 1 || b.x > level.m_iSizeX || b.y > level.m_iSizeY) abort();
    return 0;
}
