// The high-score file. Reads are bounded (a name of at most 255 bytes, then
// exactly four count bytes); writes go to a temporary file in the same folder
// that is renamed over the record, so a crash or a full disk never loses it.
#include "game/highscore.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "engine/core/ctarnis.h"
#include "game/gameplay_main.h"

std::string g_strBestName;
int32_t g_iBestMoves = 0;

namespace {

struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

constexpr const char* kTempPath = "./DATA/quorilhs.dat.tmp";

// A damaged record must not lock the player out of the game for good: it
// counts as no record (its fault logged), and the next record replaces it.
bool damaged(const char* message)
{
    CTarnis::LOG_AddLevelEntry(message, kLogWarning);
    g_strBestName = "Unknown";
    g_iBestMoves = 0;
    return false;
}

[[noreturn]] void saveFailed()
{
    remove(kTempPath);
    EHS_THROW(EHS_TYPE_GAME, 0, "Can't writing file quorilhs.dat!");
}

} // namespace

bool LoadFile()
{
    EHS_CHECKPOINT(EHS_FILE_HIGHSCORE);
    CTarnis::LOG_AddEntry("Loading highscore data...");
    struct stat info {};
    if (stat(kHighScorePath, &info) != 0) {
        g_strBestName = "Unknown";
        g_iBestMoves = 0;
        return false;
    }
    // A folder of that name opens on Linux but holds no record.
    FilePtr file(S_ISREG(info.st_mode) ? fopen(kHighScorePath, "rb") : nullptr);
    if (!file) EHS_THROW(EHS_TYPE_GAME, 0, "Can't open file quorilhs.dat!");

    std::string name;
    bool terminated = false;
    for (size_t i = 0; i <= kHighScoreMaxName; ++i) {
        int c = fgetc(file.get());
        if (c == EOF) break;
        if (c == 0) {
            terminated = true;
            break;
        }
        name.push_back(char(c));
    }
    if (!terminated || name.empty()) return damaged("Error in LoadFile: Invalid player name!");

    uint8_t bytes[4];
    if (fread(bytes, 1, 4, file.get()) != 4) return damaged("Error in LoadFile: Invalid count moves!");
    int32_t moves = int32_t(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                            uint32_t(bytes[3]) << 24);
    if (moves < 1) return damaged("Error in LoadFile: Invalid count moves!");
    g_strBestName = name;
    g_iBestMoves = moves;
    return true;
}

void SaveFile()
{
    EHS_CHECKPOINT(EHS_FILE_HIGHSCORE);
    // A longer name could not be read back; the text box never gives one.
    std::string name = g_strBestName.substr(0, kHighScoreMaxName);
    uint32_t moves = uint32_t(g_iBestMoves);
    std::string bytes = name;
    bytes.push_back('\0');
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(char((moves >> shift) & 0xFF));

    FILE* file = fopen(kTempPath, "wb");
    if (!file) EHS_THROW(EHS_TYPE_GAME, 0, "Can't writing file quorilhs.dat!");
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = fflush(file) == 0 && written;
    // On disk before the rename, or a crash could leave a renamed empty file.
    written = fsync(fileno(file)) == 0 && written;
    if (fclose(file) != 0 || !written) saveFailed();
    if (rename(kTempPath, kHighScorePath) != 0) saveFailed();
}

void ShowBestResult()
{
    EHS_CHECKPOINT(EHS_FILE_HIGHSCORE);
    if (LoadFile()) {
        ExecuteElementCommand("TILE_MW_BESTRESULT", 1);
        SetElementText("L_MW_BESTRESULT_NAME", g_strBestName);
        SetElementText("L_MW_BESTRESULT_MOVES", std::to_string(g_iBestMoves));
    } else {
        ExecuteElementCommand("TILE_MW_BESTRESULT", 2);
    }
}
