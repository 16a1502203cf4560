// The real quoril program on its data, headless: it starts, runs its loop, and
// ends in order on SIGINT or SIGTERM; a second copy leaves the first alone; the faults a
// player's machine produces (no log, no data, no sound card, a damaged record)
// end as a report with status 1 or leave a game that plays.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <thread>

#include "tests/e2e/quoril_data.h"
#include "tests/support/test_support.h"

namespace {

using namespace std::chrono_literals;

pid_t startQuoril(const char* audioDriver = "dummy")
{
    pid_t pid = fork();
    if (pid == 0) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", audioDriver, 1);
        execl(QUORIL_PATH, QUORIL_PATH, static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Waits for the process to end; -1 on timeout (then it is killed), else its
// exit code, or 128 + signal.
int waitFor(pid_t pid, std::chrono::milliseconds timeout)
{
    auto until = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (std::chrono::steady_clock::now() < until) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(10ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

bool waitForLogLine(const std::string& line, std::chrono::milliseconds timeout)
{
    auto until = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < until) {
        if (tst::logCount(line) > 0) return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

class QuorilProcess : public tst::InScratchDir {
protected:
    void SetUp() override { e2e::CopyGameData(); }
};

// SIGTERM ends a run in order too: see the faults below.
TEST_F(QuorilProcess, SecondCopyLeavesTheFirstAloneAndSigintEndsTheRunInOrder)
{
    pid_t first = startQuoril();
    ASSERT_GT(first, 0);
    ASSERT_TRUE(waitForLogLine("Loading highscore data...", 30s));
    std::this_thread::sleep_for(200ms); // the last start-up line: let it reach the main loop
    std::string before = tst::readFile("gamelog.txt");

    pid_t second = startQuoril();
    EXPECT_EQ(waitFor(second, 5s), 0);
    EXPECT_EQ(tst::readFile("gamelog.txt"), before);

    kill(first, SIGINT);
    EXPECT_EQ(waitFor(first, 10s), 0);
    auto lines = tst::readLines("gamelog.txt");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 4], "--==: End of log.");
    EXPECT_FALSE(tst::fileExists("ehslog.txt"));
}

namespace fs = std::filesystem;
using namespace std::string_literals;

// A fault set up in the game's folder, and what the player sees: a report in
// ehslog.txt naming the cause and status 1, or a game that runs (its log shows
// `runs`, or nothing when the log cannot be written) until SIGTERM ends it with 0.
struct Fault {
    const char* name;
    std::function<void()> setUp;
    const char* audioDriver;
    const char* report; // in ehslog.txt; null: the game runs
    const char* runs;   // a log line of the running game
};

// Without its data the game finds no resources, and its own XML data first.
constexpr const char* kNoData = "Error in GamePlay_Init: invalid resource ID!";

const Fault kFaults[] = {
    {"log not writable", [] { fs::create_directory("gamelog.txt"); }, "dummy", nullptr, nullptr},
    {"no data folder", [] { fs::remove_all("DATA"); }, "dummy", kNoData, nullptr},
    {"data folder is a file", [] { fs::remove_all("DATA"), tst::writeFile("DATA", "x"); }, "dummy", kNoData, nullptr},
    {"data folder without permission", [] { fs::permissions("DATA", fs::perms::none); }, "dummy", kNoData, nullptr},
    {"resource file gone",
     [] { fs::remove("DATA/gfx/cell_free.png"), fs::create_symlink("gone.png", "DATA/gfx/cell_free.png"); },
     "dummy", "Cannot find file declared in ResPack. Filename = gfx/cell_free.png", nullptr},
    {"every sound driver refuses", [] {}, "no_such_driver", nullptr, " !: No sound card available!"},
    {"record with an empty name", [] { tst::writeFile("DATA/quorilhs.dat", "\0\x19\0\0\0"s); }, "dummy", nullptr,
     " !: Error in LoadFile: Invalid player name!"},
    {"record with a count of 0", [] { tst::writeFile("DATA/quorilhs.dat", "ABC\0\0\0\0\0"s); }, "dummy", nullptr,
     " !: Error in LoadFile: Invalid count moves!"},
    {"record cut in its count", [] { tst::writeFile("DATA/quorilhs.dat", "ABC\0\x19"s); }, "dummy", nullptr,
     " !: Error in LoadFile: Invalid count moves!"},
};

TEST_F(QuorilProcess, FaultsEndInAReportOrLeaveAGameThatPlays)
{
    const std::string scratch = fs::current_path();
    for (const Fault& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        fs::current_path(scratch);
        fs::create_directory(fault.name);
        fs::current_path(fault.name);
        e2e::CopyGameData();
        fault.setUp();
        if (getuid() == 0 && fs::exists("DATA") && fs::status("DATA").permissions() == fs::perms::none) continue;
        pid_t pid = startQuoril(fault.audioDriver);
        ASSERT_GT(pid, 0);
        if (fault.report) {
            EXPECT_EQ(waitFor(pid, 30s), 1);
            EXPECT_NE(tst::readFile("ehslog.txt").find(fault.report), std::string::npos) << tst::readFile("ehslog.txt");
            continue;
        }
        if (fault.runs) {
            ASSERT_TRUE(waitForLogLine("Loading highscore data...", 30s));
            EXPECT_EQ(tst::logCount(fault.runs), 1);
        }
        std::this_thread::sleep_for(fault.runs ? 300ms : 3s);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, WNOHANG), 0) << "ended before SIGTERM; another copy running?";
        kill(pid, SIGTERM);
        EXPECT_EQ(waitFor(pid, 10s), 0);
        EXPECT_FALSE(tst::fileExists("ehslog.txt")) << tst::readFile("ehslog.txt");
        if (fault.runs) {
            EXPECT_EQ(tst::logCount("--==: End of log."), 1);
        }
    }
}

} // namespace
