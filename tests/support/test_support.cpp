#include "tests/support/test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tst {

ScratchDir::ScratchDir()
{
    char buf[PATH_MAX];
    m_previous = getcwd(buf, sizeof(buf)) ? buf : "/";
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarnis-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    m_path = tmpl;
    if (chdir(m_path.c_str()) != 0) throw std::runtime_error("chdir failed");
}

ScratchDir::~ScratchDir()
{
    if (chdir(m_previous.c_str()) != 0) {
        // Nothing sensible to do in a destructor; the directory is removed anyway.
    }
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

bool fileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::istringstream in(readFile(path));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out << content;
}

int logCount(const std::string& line)
{
    int n = 0;
    for (const std::string& l : readLines("gamelog.txt")) n += l == line;
    return n;
}

std::vector<std::string> logFrom(const std::string& from)
{
    std::vector<std::string> all = readLines("gamelog.txt");
    auto first = std::find(all.begin(), all.end(), from);
    return std::vector<std::string>(first, all.end());
}

EnvGuard::EnvGuard(const char* name, const char* value) : m_name(name)
{
    const char* old = getenv(name);
    m_had = old != nullptr;
    if (old) m_old = old;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
}

EnvGuard::~EnvGuard()
{
    if (m_had) setenv(m_name.c_str(), m_old.c_str(), 1);
    else unsetenv(m_name.c_str());
}

ChildResult runInChild(const std::function<int()>& fn, int timeoutMs)
{
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        int code = 1;
        try {
            code = fn();
        } catch (...) {
            code = 99;
        }
        fflush(nullptr);
        _exit(code);
    }
    ChildResult r;
    if (pid < 0) return r;
    int status = 0;
    for (int waited = 0;; waited += 10) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (waited >= timeoutMs) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        timespec ts{0, 10 * 1000 * 1000};
        nanosleep(&ts, nullptr);
    }
    if (WIFEXITED(status)) {
        r.exited = true;
        r.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        r.signal = WTERMSIG(status);
    }
    return r;
}

} // namespace tst
