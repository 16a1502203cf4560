// The real quoril program on its data, headless: it starts, runs its loop, and
// ends in order on SIGTERM; a second copy leaves the first alone.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "tests/e2e/quoril_data.h"
#include "tests/support/test_support.h"

namespace {

using namespace std::chrono_literals;

pid_t startQuoril()
{
    pid_t pid = fork();
    if (pid == 0) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
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
        for (const auto& l : tst::readLines("gamelog.txt"))
            if (l == line) return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

class QuorilProcess : public tst::InScratchDir {
protected:
    void SetUp() override { e2e::CopyGameData(); }
};

TEST_F(QuorilProcess, SigtermEndsTheRunInOrder)
{
    pid_t pid = startQuoril();
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(waitForLogLine("Loading highscore data...", 30s));
    std::this_thread::sleep_for(200ms); // the last start-up line: let it reach the main loop
    kill(pid, SIGTERM);
    EXPECT_EQ(waitFor(pid, 10s), 0);
    auto lines = tst::readLines("gamelog.txt");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 4], "--==: End of log.");
    EXPECT_FALSE(tst::fileExists("ehslog.txt"));
}

TEST_F(QuorilProcess, SecondCopyExitsAtOnceAndLeavesTheFirstOnesLog)
{
    pid_t first = startQuoril();
    ASSERT_GT(first, 0);
    ASSERT_TRUE(waitForLogLine("Loading highscore data...", 30s));
    std::this_thread::sleep_for(200ms);
    std::string before = tst::readFile("gamelog.txt");

    pid_t second = startQuoril();
    EXPECT_EQ(waitFor(second, 5s), 0);
    EXPECT_EQ(tst::readFile("gamelog.txt"), before);

    kill(first, SIGINT);
    EXPECT_EQ(waitFor(first, 10s), 0);
}

} // namespace
