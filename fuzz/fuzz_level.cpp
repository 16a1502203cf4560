// Level packs: a pack either loads a board of at least 2 x 2 cells whose
// barriers all lie on it, or is refused.
#include "fuzz/fuzz_support.h"
#include "game/resload_functions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::enterScratchDir();
    if (size > (1u << 20)) return 0;
    g_LevelDesc = LevelDescription{};
    if (!fuzz::refusedOrDone([&] { RESLOAD_Level(data, int32_t(size), "LEVEL", 0, 0, 0, 0); })) return 0;
    FUZZ_CHECK(g_LevelDesc.m_iSizeX >= 2 && g_LevelDesc.m_iSizeY >= 2);
    for (const LevelBarrier& b : g_LevelDesc.m_vecBarriers)
        FUZZ_CHECK(b.x >= 1 && b.x <= g_LevelDesc.m_iSizeX && b.y >= 1 && b.y <= g_LevelDesc.m_iSizeY);
    return 0;
}
