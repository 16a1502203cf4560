// The high-score file: its exact bytes, the files a start must refuse, and a
// save that fails never costing the stored record.
#include <filesystem>

#include "engine/core/ctarnis.h"
#include "game/highscore.h"
#include "tests/support/test_support.h"

namespace {

using namespace std::string_literals;

std::string raisedBy(bool (*fn)())
{
    try {
        fn();
    } catch (const CEHSException& e) {
        return e.m_strDescription;
    }
    return "nothing raised";
}

bool save()
{
    return SaveFile(), true;
}

class HighScore : public tst::InScratchDir {
protected:
    void SetUp() override { std::filesystem::create_directory("DATA"); }
};

TEST_F(HighScore, RecordBytesAndReadBack)
{
    EXPECT_FALSE(LoadFile());
    EXPECT_EQ(g_strBestName + std::to_string(g_iBestMoves), "Unknown0");
    g_strBestName = "ABC";
    g_iBestMoves = 25;
    SaveFile();
    EXPECT_EQ(tst::readFile("DATA/quorilhs.dat"), "ABC\0\x19\0\0\0"s);
    std::string longest(kHighScoreMaxName, 'n'); // anything after the count is ignored
    tst::writeFile("DATA/quorilhs.dat", longest + "\0\x01\x01\0\0tail"s);
    EXPECT_TRUE(LoadFile());
    EXPECT_EQ(g_strBestName, longest);
    EXPECT_EQ(g_iBestMoves, 257);
}

TEST_F(HighScore, DamagedFilesCountAsNoRecordAndAnUnreadableOneIsRefused)
{
    const std::string name = " !: Error in LoadFile: Invalid player name!";
    const std::string count = " !: Error in LoadFile: Invalid count moves!";
    const std::pair<std::string, std::string> cases[] = {
        {"\0\x19\0\0\0"s, name}, {"AB"s, name}, {std::string(kHighScoreMaxName + 1, 'A') + "\0\x19\0\0\0"s, name},
        {"ABC\0\0\0\0\0"s, count}, {"ABC\0\xff\xff\xff\xff"s, count}, {"ABC\0\x19\0"s, count},
    };
    for (const auto& [bytes, message] : cases) {
        tst::writeFile("DATA/quorilhs.dat", bytes);
        g_iBestMoves = 9;
        const int before = tst::logCount(message);
        EXPECT_EQ(raisedBy(LoadFile), "nothing raised") << bytes.size() << " bytes";
        EXPECT_EQ(g_strBestName + std::to_string(g_iBestMoves) + std::to_string(tst::logCount(message) - before),
                  "Unknown01");
    }
    std::filesystem::remove("DATA/quorilhs.dat");
    std::filesystem::create_directory("DATA/quorilhs.dat");
    EXPECT_EQ(raisedBy(LoadFile), "Can't open file quorilhs.dat!");
}

TEST_F(HighScore, FailedSaveKeepsTheOldRecord)
{
    const std::string old = "OLD\0\x07\0\0\0"s;
    tst::writeFile("DATA/quorilhs.dat", old);
    g_strBestName = "NEW";
    // The temporary file cannot be opened, then cannot be written (a full disk).
    std::filesystem::create_directory("DATA/quorilhs.dat.tmp");
    EXPECT_EQ(raisedBy(save), "Can't writing file quorilhs.dat!");
    std::filesystem::remove("DATA/quorilhs.dat.tmp");
    std::filesystem::create_symlink("/dev/full", "DATA/quorilhs.dat.tmp");
    EXPECT_EQ(raisedBy(save), "Can't writing file quorilhs.dat!");
    EXPECT_EQ(tst::readFile("DATA/quorilhs.dat"), old);
    EXPECT_FALSE(std::filesystem::is_symlink("DATA/quorilhs.dat.tmp")) << "nothing left behind";
}

} // namespace
