// The real game's data for its tests: the tree's DATA/ folder copied into the
// test's working directory, without a stored record; elements can be taken out.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace e2e {

inline void CopyGameData()
{
    std::filesystem::copy(GAME_DATA_DIR, "DATA", std::filesystem::copy_options::recursive);
    std::filesystem::remove("DATA/quorilhs.dat");
}

// Takes the childless elements with these IDs out of a data file, as if the
// data had been made without them.
inline void RemoveElements(const std::string& file, const std::vector<std::string>& ids)
{
    std::string xml = tst::readFile(file);
    for (const std::string& id : ids) {
        const size_t at = xml.find("id=\"" + id + "\""), begin = xml.rfind('<', at);
        xml.erase(begin, xml.find("/>", at) + 2 - begin);
    }
    tst::writeFile(file, xml);
}

} // namespace e2e
