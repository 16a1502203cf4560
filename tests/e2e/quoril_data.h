// The real game's data for its tests: the tree's DATA/ folder copied into the
// test's working directory, without a stored record.
#pragma once

#include <filesystem>

namespace e2e {

inline void CopyGameData()
{
    std::filesystem::copy(GAME_DATA_DIR, "DATA", std::filesystem::copy_options::recursive);
    std::filesystem::remove("DATA/quorilhs.dat");
}

} // namespace e2e
