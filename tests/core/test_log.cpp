// The log file's exact lines: prefixes, separators, header, footer, and the
// rule that logging never fails visibly.
#include <sys/stat.h>

#include "engine/platform/win32/tns_win32_testing.h"
#include "engine/core/ctarnis.h"
#include "tests/support/test_support.h"

namespace {

// Single-digit day, month and minute: written without leading zeros.
void fixedLocalTime(SYSTEMTIME* st)
{
    *st = SYSTEMTIME{2005, 3, 2, 1, 17, 5, 42, 0};
}

class LogTest : public tst::InScratchDir {
protected:
    void TearDown() override { TNS_SetClockSource(nullptr, nullptr); }
};

TEST_F(LogTest, LevelPrefixesAndSeparatorsAreExact)
{
    CTarnis::LOG_AddEntry("plain");
    for (int level = 0; level <= 6; ++level) CTarnis::LOG_AddLevelEntry("x", level);
    for (int kind = 1; kind <= 4; ++kind) CTarnis::LOG_AddSeparator(kind);
    CTarnis::LOG_AddEmptyLines(2);
    std::vector<std::string> expected = {
        "plain",   "? x",     "   =: x", "  -=: x", "--==: x", "   +: x", " !: x", " !!!: x",
        "|---------------------------------------------------|",
        "|===================================================|",
        "|:::::::::::::::::::::::::::::::::::::::::::::::::::|",
        "|!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!|",
        "",        "",
    };
    EXPECT_EQ(tst::readLines("gamelog.txt"), expected);
    // Lines end with LF only.
    EXPECT_EQ(tst::readFile("gamelog.txt").find('\r'), std::string::npos);
}

TEST_F(LogTest, OutOfRangeLevelsKindsAndCountsWriteNothingButCreateTheFile)
{
    CTarnis::LOG_AddLevelEntry("never", 7);
    ASSERT_TRUE(tst::fileExists("gamelog.txt"));
    CTarnis::LOG_AddLevelEntry("never", -1);
    CTarnis::LOG_AddSeparator(0);
    CTarnis::LOG_AddSeparator(5);
    CTarnis::LOG_AddEmptyLines(0);
    CTarnis::LOG_AddEmptyLines(-3);
    EXPECT_EQ(tst::readFile("gamelog.txt"), "");
}

TEST_F(LogTest, ConstructionStartsAFreshLogAndHeaderUsesPlainNumbers)
{
    tst::writeFile("gamelog.txt", "old run\n");
    TNS_SetClockSource(nullptr, fixedLocalTime);
    {
        CTarnis t;
        EXPECT_FALSE(tst::fileExists("gamelog.txt"));
        t.LOG_WriteHeader("Quoril", "v.1.0");
        EXPECT_EQ(t.m_strAppTitle, "Quoril");
        EXPECT_EQ(t.m_strAppVersion, "v.1.0");
    }
    std::vector<std::string> lines = tst::readLines("gamelog.txt");
    ASSERT_EQ(lines.size(), 12u + 7u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "|---------------------------------------------------|");
    EXPECT_EQ(lines[3], "--==: Starting Quoril v.1.0");
    EXPECT_EQ(lines[4], "--==: Powered by Tarnis Engine v.1.0");
    EXPECT_EQ(lines[5].rfind("--==: Built: ", 0), 0u);
    // "Mmm dd yyyy   hh:mm:ss", as the compiler writes its build date and time.
    EXPECT_EQ(lines[5].size(), std::string("--==: Built: Feb 16 2005   20:45:28").size());
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "--==: Execution date: 1.3.2005");
    EXPECT_EQ(lines[8], "--==: Execution time: 17:5");
    EXPECT_EQ(lines[9], "|---------------------------------------------------|");
    EXPECT_EQ(lines[10], "");
    EXPECT_EQ(lines[11], "");
    // Footer from the destructor.
    std::vector<std::string> footer(lines.begin() + 12, lines.end());
    std::vector<std::string> expectedFooter = {
        "",
        "|---------------------------------------------------|",
        "|---------------------------------------------------|",
        "--==: End of log.",
        "|---------------------------------------------------|",
        "|---------------------------------------------------|",
        "",
    };
    EXPECT_EQ(footer, expectedFooter);
}

TEST_F(LogTest, UnwritableLogLosesEntriesSilently)
{
    // A directory in the log's place cannot be opened for appending.
    ASSERT_EQ(mkdir("gamelog.txt", 0755), 0);
    CTarnis::LOG_AddEntry("lost");
    CTarnis::LOG_AddLevelEntry("lost", 3);
    CTarnis::LOG_AddSeparator(1);
    CTarnis::LOG_AddEmptyLines(3);
    SUCCEED();
}

TEST_F(LogTest, RegisterCallbackLogsPerKind)
{
    CTarnis t;
    auto fn = +[] {};
    t.SYS_RegisterCallback(fn, 1);
    t.SYS_RegisterCallback(fn, 2);
    t.SYS_RegisterCallback(fn, 3);
    t.SYS_RegisterCallback(fn, 4);
    EXPECT_EQ(t.m_pfnLostFocus, fn);
    EXPECT_EQ(t.m_pfnRestoredFocus, fn);
    EXPECT_EQ(t.m_pfnTermination, fn);
    const std::string sep = "|---------------------------------------------------|";
    std::vector<std::string> expected = {
        sep, "   +: Callback function for lost focus registered.", sep, "",
        sep, "   +: Callback function for restored focus registered.", sep, "",
        sep, "   +: Callback function for termination registered.", sep, "",
        sep, sep, "",
    };
    EXPECT_EQ(tst::readLines("gamelog.txt"), expected);
}

} // namespace
