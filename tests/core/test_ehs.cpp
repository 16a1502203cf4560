// The error report format, type names and the machine-fault translation table.
#include <csignal>

#include "engine/platform/win32/tns_win32_testing.h"
#include "engine/core/ctarnis_ehs.h"
#include "tests/support/engine_checks.h"
#include "tests/support/test_support.h"

namespace {

void fixedLocalTime(SYSTEMTIME* st)
{
    *st = SYSTEMTIME{2005, 12, 1, 5, 17, 5, 0, 0};
}

class ErrorLogTest : public tst::InScratchDir {
protected:
    void SetUp() override { TNS_SetClockSource(nullptr, fixedLocalTime); }
    void TearDown() override { TNS_SetClockSource(nullptr, nullptr); }
};

TEST_F(ErrorLogTest, ReportLinesAreExactAndReportsAccumulate)
{
    tst::writeFile("ehslog.txt", "earlier report\n");
    EHS_SetCheckpoint(121, 77);
    CEHSException e(2, -5, "Invalid sound ID: 9", "engine/sfx/ctarnis_sfx_sound.cpp", 140);
    e.WriteErrorLog();
    e.WriteErrorLog();
    std::vector<std::string> one = {
        "",
        "",
        "",
        "Date: 5.12.2005",
        "Time: 17:5",
        "Exception type: Game.",
        "Exception code: -5",
        "Exception desc: Invalid sound ID: 9",
        "File: engine/sfx/ctarnis_sfx_sound.cpp",
        "Line: 140",
        "Last checkpoint:",
        "   FileID: 121",
        "   Line:   77",
    };
    std::vector<std::string> two = {"earlier report"};
    two.insert(two.end(), one.begin(), one.end());
    two.insert(two.end(), one.begin(), one.end());
    EXPECT_EQ(tst::readLines("ehslog.txt"), two);
}

TEST(EhsException, TypeNamesIncludingOutOfRange)
{
    const char* names[] = {"Unknown.", "General.", "Game.", "Win32.", "Lua.", "Lua glue function.", "In-script."};
    for (int type = 0; type <= 6; ++type) EXPECT_STREQ(CEHSException(type, 0, "", "", 0).GetTypeName(), names[type]);
    EXPECT_STREQ(CEHSException(7, 0, "", "", 0).GetTypeName(), "Undefined type!");
    EXPECT_STREQ(CEHSException(-1, 0, "", "", 0).GetTypeName(), "Undefined type!");
}

TEST(EhsException, AssertRaisesGeneralWithItsLocation)
{
    const int line = __LINE__ + 1;
    const CEHSException e = tst::raised([] { EHS_Assert(1 + 1 == 3); });
    EXPECT_EQ(e.m_iType, 1);
    EXPECT_EQ(e.m_iCode, 0);
    EXPECT_EQ(e.m_strDescription, "EHS Assertion failed.");
    EXPECT_EQ(e.m_strFile, "tests/core/test_ehs.cpp");
    EXPECT_EQ(e.m_iLine, line);
    EXPECT_NO_THROW(EHS_Assert(true));
}

TEST(EhsTranslator, KnownCodesBecomeWin32ExceptionsWithoutLocation)
{
    const CEHSException e = tst::raised([] { EHS_TranslateStructuredException(0xC0000094u, nullptr); });
    EXPECT_EQ(e.m_iType, 3);
    EXPECT_EQ(e.m_iCode, -1073741676);
    EXPECT_EQ(e.m_strDescription, "Divide by zero (int).");
    EXPECT_EQ(e.m_strFile, "");
    EXPECT_EQ(e.m_iLine, 0);
    EXPECT_STREQ(EHS_FaultDescription(0xC0000005u), "Access violation.");
    EXPECT_STREQ(EHS_FaultDescription(0x80000002u), "Data type misalingment.");
    EXPECT_STREQ(EHS_FaultDescription(0xC00000FDu), "Stack overflow.");
    // A guard-page violation is outside the table: not translated.
    EXPECT_NO_THROW(EHS_TranslateStructuredException(0x80000001u, nullptr));
}

TEST(EhsTranslator, SignalsMapToTheirFaultCodes)
{
    EXPECT_EQ(TNS_FaultCodeFromSignal(SIGSEGV, SEGV_MAPERR, false), 0xC0000005u);
    EXPECT_EQ(TNS_FaultCodeFromSignal(SIGSEGV, SEGV_MAPERR, true), 0xC00000FDu);
    EXPECT_EQ(TNS_FaultCodeFromSignal(SIGBUS, BUS_ADRALN, false), 0x80000002u);
    EXPECT_EQ(TNS_FaultCodeFromSignal(SIGBUS, BUS_ADRERR, false), 0xC0000006u);
    EXPECT_EQ(TNS_FaultCodeFromSignal(SIGILL, ILL_ILLOPC, false), 0xC000001Du);
    EXPECT_EQ(TNS_FaultCodeFromSignal(SIGILL, ILL_PRVOPC, false), 0xC0000096u);
    EXPECT_EQ(TNS_FaultCodeFromSignal(SIGTRAP, TRAP_BRKPT, false), 0x80000003u);
    EXPECT_EQ(TNS_FaultCodeFromSignal(SIGFPE, FPE_INTDIV, false), 0xC0000094u);
    EXPECT_EQ(TNS_FaultCodeFromSignal(SIGFPE, FPE_INTOVF, false), 0xC0000095u);
    EXPECT_EQ(TNS_FaultCodeFromSignal(SIGFPE, FPE_FLTDIV, false), 0xC000008Eu);
    EXPECT_EQ(TNS_FaultCodeFromSignal(SIGFPE, FPE_FLTINV, false), 0xC0000090u);
    // Every mapped code has its text.
    for (int sig : {SIGSEGV, SIGBUS, SIGILL, SIGTRAP})
        EXPECT_NE(EHS_FaultDescription(TNS_FaultCodeFromSignal(sig, 0, false)), nullptr);
    for (int c : {FPE_INTDIV, FPE_INTOVF, FPE_FLTDIV, FPE_FLTOVF, FPE_FLTUND, FPE_FLTRES, FPE_FLTINV, FPE_FLTSUB})
        EXPECT_NE(EHS_FaultDescription(TNS_FaultCodeFromSignal(SIGFPE, c, false)), nullptr);
}

} // namespace
