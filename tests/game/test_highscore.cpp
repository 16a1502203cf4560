// The high-score file: its exact bytes, the files a start must refuse, and a
// save that fails or is cut short never costing the stored record.
#include <filesystem>
#include <string>

#include "engine/core/ctarnis.h"
#include "game/highscore.h"
#include "tests/support/test_support.h"

namespace {

using namespace std::string_literals;

CEHSException raisedBy(void (*fn)())
{
    try {
        fn();
    } catch (const CEHSException& e) {
        return e;
    }
    return CEHSException(-1, -1, "nothing raised", "", 0);
}

class HighScore : public tst::InScratchDir {
protected:
    void SetUp() override { std::filesystem::create_directory("DATA"); }
    static void load() { LoadFile(); }
};

TEST_F(HighScore, RecordBytesAndReadBack)
{
    g_strBestName = "ABC";
    g_iBestMoves = 25;
    SaveFile();
    EXPECT_EQ(tst::readFile("DATA/quorilhs.dat"), "ABC\0\x19\0\0\0"s);
    EXPECT_FALSE(tst::fileExists("DATA/quorilhs.dat.tmp"));
    g_strBestName.clear();
    g_iBestMoves = 0;
    EXPECT_TRUE(LoadFile());
    EXPECT_EQ(g_strBestName, "ABC");
    EXPECT_EQ(g_iBestMoves, 25);

    // Anything after the count is ignored; the longest name still reads.
    std::string longest(kHighScoreMaxName, 'n');
    tst::writeFile("DATA/quorilhs.dat", longest + "\0\x01\x01\0\0tail"s);
    EXPECT_TRUE(LoadFile());
    EXPECT_EQ(g_strBestName, longest);
    EXPECT_EQ(g_iBestMoves, 257);
}

TEST_F(HighScore, NoFileIsNoRecord)
{
    g_strBestName = "X";
    g_iBestMoves = 9;
    EXPECT_FALSE(LoadFile());
    EXPECT_EQ(g_strBestName, "Unknown");
    EXPECT_EQ(g_iBestMoves, 0);
}

TEST_F(HighScore, DamagedFilesAreRefused)
{
    const std::string name = "Error in LoadFile: Invalid player name!";
    const std::string count = "Error in LoadFile: Invalid count moves!";
    const struct {
        std::string bytes;
        std::string message;
    } cases[] = {
        {"\0\x19\0\0\0"s, name},
        {"AB"s, name},                                  // ends inside the name
        {std::string(kHighScoreMaxName + 1, 'A') + "\0\x19\0\0\0"s, name}, // no end among the name bytes
        {"ABC\0\0\0\0\0"s, count},
        {"ABC\0\xff\xff\xff\xff"s, count},              // -1
        {"ABC\0\x19\0"s, count},                        // count cut short
        {"ABC\0"s, count},
    };
    for (const auto& c : cases) {
        tst::writeFile("DATA/quorilhs.dat", c.bytes);
        CEHSException e = raisedBy(load);
        EXPECT_EQ(e.m_iType, EHS_TYPE_GAME);
        EXPECT_EQ(e.m_strDescription, c.message) << c.bytes.size() << " bytes";
    }
}

TEST_F(HighScore, FailedSaveKeepsTheOldRecord)
{
    const std::string old = "OLD\0\x07\0\0\0"s;
    tst::writeFile("DATA/quorilhs.dat", old);
    g_strBestName = "NEW";
    g_iBestMoves = 30;
    // The temporary file cannot be made: a folder stands in its place.
    std::filesystem::create_directory("DATA/quorilhs.dat.tmp");
    CEHSException e = raisedBy(SaveFile);
    EXPECT_EQ(e.m_iType, EHS_TYPE_GAME);
    EXPECT_EQ(e.m_strDescription, "Can't writing file quorilhs.dat!");
    EXPECT_EQ(tst::readFile("DATA/quorilhs.dat"), old);
    std::filesystem::remove("DATA/quorilhs.dat.tmp");

    // A full disk: the write fails, the record stays, nothing is left behind.
    if (tst::fileExists("/dev/full")) {
        std::filesystem::create_symlink("/dev/full", "DATA/quorilhs.dat.tmp");
        EXPECT_EQ(raisedBy(SaveFile).m_strDescription, "Can't writing file quorilhs.dat!");
        EXPECT_EQ(tst::readFile("DATA/quorilhs.dat"), old);
        EXPECT_FALSE(std::filesystem::is_symlink("DATA/quorilhs.dat.tmp"));
    }

    std::filesystem::remove_all("DATA");
    EXPECT_EQ(raisedBy(SaveFile).m_strDescription, "Can't writing file quorilhs.dat!") << "no data folder";
}

} // namespace
