// The process entry in child processes: orderly end, the three fatal handlers,
// machine faults turned into reports, and the single-instance guard.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "engine/core/tns_window.h"
#include "engine/platform/win32/tns_win32_testing.h"
#include "tests/support/test_support.h"

namespace {

std::string uniqueName()
{
    static int counter = 0;
    return "Tarnis Test " + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

void onTermination()
{
    CTarnis::LOG_AddEntry("termination callback");
}

void startGame(CTarnis* t)
{
    t->LOG_WriteHeader("Entry Test", "v.0");
    t->SYS_RegisterCallback(onTermination, TRS_CALLBACK_TERMINATION);
}

int runEntry(TnsGameMainFunc fn)
{
    return TNS_RunEntry(nullptr, uniqueName().c_str(), fn);
}

bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Index of the first line equal to `line`, or -1.
long indexOf(const std::vector<std::string>& lines, const std::string& line)
{
    auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : long(it - lines.begin());
}

int* volatile g_nullPointer = nullptr;
volatile int g_zero = 0;

// The faulting functions are left uninstrumented: the sanitizers would report
// these faults themselves before the hardware raises them.
#define TST_RAW_FAULT __attribute__((no_sanitize("address", "undefined")))

TST_RAW_FAULT void gameWithNullDereference(CTarnis* t)
{
    startGame(t);
    EHS_SetCheckpoint(1011, 4242);
    *g_nullPointer = 42;
}

TST_RAW_FAULT void gameWithDivisionByZero(CTarnis* t)
{
    startGame(t);
    EHS_CHECKPOINT(1025);
    volatile int result = 10 / g_zero;
    (void)result;
}

// Each frame keeps its buffer alive across the call, so the recursion cannot be
// turned into a loop.
int recurse(int depth)
{
    volatile char buffer[4096];
    buffer[0] = char(depth);
    if (g_zero == 1) return 0; // never: g_zero stays 0
    return recurse(depth + 1) + buffer[0];
}

void gameWithStackOverflow(CTarnis* t)
{
    startGame(t);
    EHS_CHECKPOINT(1023);
    recurse(0);
}

class EntryTest : public tst::InScratchDir {};

TEST_F(EntryTest, OrderlyRunWritesHeaderAndFooterOnly)
{
    auto r = tst::runInChild([] { return runEntry(startGame); });
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exitCode, 0);
    auto lines = tst::readLines("gamelog.txt");
    EXPECT_TRUE(contains(lines, "--==: Starting Entry Test v.0"));
    EXPECT_FALSE(contains(lines, "termination callback")) << "only the fatal path calls it";
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 4], "--==: End of log.");
    EXPECT_FALSE(tst::fileExists("ehslog.txt"));
}

TEST_F(EntryTest, EngineErrorWritesBothReportsThenShutsDownInOrder)
{
    auto r = tst::runInChild([] {
        return runEntry([](CTarnis* t) {
            startGame(t);
            EHS_SetCheckpoint(121, 300);
            EHS_THROW(EHS_TYPE_GAME, 7, "Invalid texture ID: 12");
        });
    });
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exitCode, 1) << "a fatal error ends with status 1";

    auto ehs = tst::readLines("ehslog.txt");
    ASSERT_EQ(ehs.size(), 13u);
    EXPECT_EQ(ehs[5], "Exception type: Game.");
    EXPECT_EQ(ehs[6], "Exception code: 7");
    EXPECT_EQ(ehs[7], "Exception desc: Invalid texture ID: 12");
    EXPECT_EQ(ehs[8], "File: tests/core/test_entry.cpp");
    EXPECT_NE(ehs[9], "Line: 0");
    EXPECT_EQ(ehs[11], "   FileID: 121");
    EXPECT_EQ(ehs[12], "   Line:   300");

    auto lines = tst::readLines("gamelog.txt");
    long fatal = indexOf(lines, " !!!: Fatal error!");
    ASSERT_GE(fatal, 3);
    const std::string sep3 = "|:::::::::::::::::::::::::::::::::::::::::::::::::::|";
    std::vector<std::string> block(lines.begin() + fatal - 3, lines.begin() + fatal + 12);
    std::vector<std::string> expected = {
        "", "", sep3,
        " !!!: Fatal error!",
        " !!!: Error type: Game.",
        " !!!: Error code: 7",
        " !!!: Error desc: Invalid texture ID: 12",
        " !!!: Error location: ",
        " !!!:    File: tests/core/test_entry.cpp",
        " !!!:    Line: " + ehs[9].substr(6),
        " !!!: Last called Lua function name: ",
        sep3, "", "",
        "termination callback",
    };
    EXPECT_EQ(block, expected);
    EXPECT_EQ(lines[lines.size() - 4], "--==: End of log.");
}

TEST_F(EntryTest, ThrownTextAndUnknownExceptionsAreLoggedWithoutErrorLog)
{
    const struct {
        TnsGameMainFunc game;
        const char* logged;
    } cases[] = {
        {[](CTarnis* t) { startGame(t), throw "Error in TItemsManager<T>::FreeItem"; },
         " !!!: Error in TItemsManager<T>::FreeItem"},
        {[](CTarnis* t) { startGame(t), throw std::out_of_range("vector"); }, " !!!: EXCEPTION OF UNKNOWN TYPE!"},
    };
    for (const auto& c : cases) {
        auto r = tst::runInChild([&] { return runEntry(c.game); });
        ASSERT_TRUE(r.exited);
        EXPECT_EQ(r.exitCode, 1);
        auto lines = tst::readLines("gamelog.txt");
        long at = indexOf(lines, c.logged);
        ASSERT_GE(at, 0) << c.logged;
        EXPECT_EQ(lines[size_t(at) + 1], "termination callback");
        EXPECT_FALSE(tst::fileExists("ehslog.txt"));
    }
}

// Machine faults become reports with their own code and the last checkpoint.
TEST_F(EntryTest, MachineFaultsAreReportedWithCodeAndCheckpoint)
{
    const struct {
        TnsGameMainFunc game;
        std::string code, desc, fileID;
    } cases[] = {
        {gameWithDivisionByZero, "-1073741676", "Divide by zero (int).", "1025"},
#if !defined(__SANITIZE_ADDRESS__) // AddressSanitizer owns the stack guard region
        {gameWithStackOverflow, "-1073741571", "Stack overflow.", "1023"},
#endif
        {gameWithNullDereference, "-1073741819", "Access violation.", "1011"}, // last: its log is checked below
    };
    for (const auto& c : cases) {
        std::remove("ehslog.txt");
        auto r = tst::runInChild([&] { return runEntry(c.game); });
        ASSERT_TRUE(r.exited) << "signal " << r.signal;
        EXPECT_EQ(r.exitCode, 1);
        auto ehs = tst::readLines("ehslog.txt");
        ASSERT_EQ(ehs.size(), 13u) << c.desc;
        EXPECT_EQ(ehs[5], "Exception type: Win32.");
        EXPECT_EQ(ehs[6], "Exception code: " + c.code);
        EXPECT_EQ(ehs[7], "Exception desc: " + c.desc);
        EXPECT_EQ(ehs[8], "File: ");
        EXPECT_EQ(ehs[9], "Line: 0");
        EXPECT_EQ(ehs[11], "   FileID: " + c.fileID);
    }
    auto lines = tst::readLines("gamelog.txt");
    long loc = indexOf(lines, " !!!: Error location: ");
    ASSERT_GE(loc, 0);
    EXPECT_EQ(lines[size_t(loc) + 1], " !!!:    FileID: 1011");
    EXPECT_EQ(lines[size_t(loc) + 2], " !!!:    Line: 4242");
    EXPECT_TRUE(contains(lines, "termination callback"));
    EXPECT_EQ(lines[lines.size() - 4], "--==: End of log.");

    // Faults are caught again and again, and the reports accumulate.
    std::remove("ehslog.txt");
    auto r = tst::runInChild([] {
        runEntry(gameWithDivisionByZero);
        return runEntry(gameWithNullDereference);
    });
    ASSERT_TRUE(r.exited) << "signal " << r.signal;
    auto ehs = tst::readLines("ehslog.txt");
    ASSERT_EQ(ehs.size(), 26u);
    EXPECT_EQ(ehs[7], "Exception desc: Divide by zero (int).");
    EXPECT_EQ(ehs[20], "Exception desc: Access violation.");
}

TST_RAW_FAULT ssize_t faultingWrite(void*, const char*, size_t)
{
    return *g_nullPointer;
}

// Faults inside the allocator's lock (heap damage looks like this): malloc_stats
// writes to stderr while holding the arena lock, and this stderr faults.
TST_RAW_FAULT void gameFaultingInsideTheAllocator(CTarnis* t)
{
    startGame(t);
    std::thread([] {}).join(); // the allocator locks only once threads exist
    stderr = fopencookie(nullptr, "w", cookie_io_functions_t{nullptr, faultingWrite, nullptr, nullptr});
    setvbuf(stderr, nullptr, _IONBF, 0);
    malloc_stats();
    *g_nullPointer = 1; // where the allocator is not glibc's
}

TST_RAW_FAULT void faultOnThisThread()
{
    *g_nullPointer = 1;
}
void gameFaultingOnAThread(CTarnis* t)
{
    startGame(t);
    EHS_SetCheckpoint(1031, 7);
    std::thread(faultOnThisThread).join();
}

TST_RAW_FAULT void faultsWithoutUnwinding() noexcept
{
    *g_nullPointer = 1;
}
void gameFaultingInNoexcept(CTarnis* t)
{
    startGame(t);
    EHS_SetCheckpoint(1032, 8);
    faultsWithoutUnwinding();
}

TST_RAW_FAULT void faultingTermination()
{
    *g_nullPointer = 2;
}
TST_RAW_FAULT void gameFaultingTwice(CTarnis* t)
{
    startGame(t);
    t->SYS_RegisterCallback(faultingTermination, TRS_CALLBACK_TERMINATION);
    *g_nullPointer = 1;
}

TEST_F(EntryTest, FaultsThatCannotBeThrownEndWithAReportAndStatusOne)
{
    const struct {
        TnsGameMainFunc game;
        size_t ehsLines; // 0: no report can be written
    } cases[] = {
        {gameFaultingInsideTheAllocator, 0},
        {gameFaultingOnAThread, 13},
        {gameFaultingInNoexcept, 13},
        {gameFaultingTwice, 26},
    };
    for (const auto& c : cases) {
        std::remove("ehslog.txt");
        auto r = tst::runInChild([&] {
            TNS_SetFaultWatchdogSeconds(2);
            return runEntry(c.game);
        });
        ASSERT_TRUE(r.exited) << "signal " << r.signal; // never a hang, never a kill
        EXPECT_EQ(r.exitCode, 1);
        if (c.ehsLines == 0) continue; // a sanitizer's allocator may let the report through
        auto ehs = tst::readLines("ehslog.txt");
        ASSERT_EQ(ehs.size(), c.ehsLines);
        EXPECT_EQ(ehs[7], "Exception desc: Access violation.");
        EXPECT_EQ(ehs.back().substr(0, 11), "   Line:   ");
    }
}

TEST_F(EntryTest, SecondInstanceReturnsAtOnceAndLeavesTheLogAlone)
{
    tst::writeFile("gamelog.txt", "first instance's log\n");
    auto r = tst::runInChild([] {
        std::string name = uniqueName();
        HANDLE first = CreateMutex(nullptr, TRUE, name.c_str());
        if (!first || GetLastError() != ERROR_SUCCESS) return 3;
        static bool called = false;
        int result = TNS_RunEntry(nullptr, name.c_str(), [](CTarnis*) { called = true; });
        CloseHandle(first);
        return called ? 4 : result;
    });
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(tst::readFile("gamelog.txt"), "first instance's log\n");
}

TEST_F(EntryTest, GuardIsReleasedWhenItsOwnerDies)
{
    std::string name = uniqueName();
    auto owner = tst::runInChild([&] {
        CreateMutex(nullptr, TRUE, name.c_str());
        raise(SIGKILL);
        return 0;
    });
    EXPECT_EQ(owner.signal, SIGKILL);
    HANDLE again = CreateMutex(nullptr, TRUE, name.c_str());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    // While held, the same name is reported as existing.
    HANDLE second = CreateMutex(nullptr, TRUE, name.c_str());
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    CloseHandle(second);
    CloseHandle(again);
}

} // namespace
