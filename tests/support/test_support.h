// Helpers shared by the test programs: a scratch working directory per test,
// reading files and the engine's log back, environment guards, and running code
// in a child process. Engine-free, so the cores' tests link only what they test.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tst {

// Makes a fresh temporary directory the working directory for the test's life.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::string m_previous;
};

// Test fixture that runs every case in its own scratch directory.
class InScratchDir : public ::testing::Test {
protected:
    ScratchDir m_dir;
};

bool fileExists(const std::string& path);
std::string readFile(const std::string& path);
// Lines without their line ends; a last line without an end is kept.
std::vector<std::string> readLines(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

// Lines of the log (gamelog.txt in the working directory) equal to line.
int logCount(const std::string& line);
// The log from its first line equal to from (empty when there is none).
std::vector<std::string> logFrom(const std::string& from);

// Sets (or, for null, removes) an environment variable for its own lifetime.
class EnvGuard {
public:
    EnvGuard(const char* name, const char* value);
    ~EnvGuard();
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    std::string m_name, m_old;
    bool m_had = false;
};

struct ChildResult {
    bool exited = false; // ended by exit(), not by a signal
    int exitCode = -1;
    int signal = 0;
};

// Runs fn in a forked child that exits with fn's result; waits at most timeoutMs.
ChildResult runInChild(const std::function<int()>& fn, int timeoutMs = 20000);

} // namespace tst
