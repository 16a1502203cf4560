// The real game's data for its tests: the tree's DATA/ folder copied into the
// test's working directory, without a stored record.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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
    std::stringstream in;
    in << std::ifstream(file).rdbuf();
    std::string xml = in.str();
    for (const std::string& id : ids) {
        const size_t at = xml.find("id=\"" + id + "\"");
        if (at == std::string::npos) continue;
        const size_t begin = xml.rfind('<', at), end = xml.find("/>", at) + 2;
        xml.erase(begin, end - begin);
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << xml;
}

} // namespace e2e
