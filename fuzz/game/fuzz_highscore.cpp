// The high-score reader on any file: it never raises for a damaged record, and
// a record it accepts comes back byte for byte from SaveFile (anything after
// the count is not part of the record).
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz/game/fuzz_game_env.h"
#include "game/highscore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CTarnis* tarnis = fuzzenv::StartEngine();
    if (!tarnis) abort();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(kHighScorePath, std::ios::binary | std::ios::trunc) << bytes;
    if (!LoadFile()) return 0;
    SaveFile();
    std::ostringstream saved;
    saved << std::ifstream(kHighScorePath, std::ios::binary).rdbuf();
    if (saved.str() != bytes.substr(0, g_strBestName.size() + 5)) abort();
    return 0;
}
