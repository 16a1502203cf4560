// Helpers shared by the test programs: a scratch working directory per test,
// reading files back, and running code in a child process.
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

struct ChildResult {
    bool exited = false; // ended by exit(), not by a signal
    int exitCode = -1;
    int signal = 0;
};

// Runs fn in a forked child that exits with fn's result; waits at most timeoutMs.
ChildResult runInChild(const std::function<int()>& fn, int timeoutMs = 20000);

// Path of a built program next to the test programs (CMake passes the dir).
std::string builtProgram(const std::string& name);

} // namespace tst
