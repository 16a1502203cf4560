// Child processes of the benchmarks that measure whole programs.
#include "bench/bench_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

extern char** environ;

namespace bench {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

pid_t spawn(const Program& p, int probeFd)
{
    std::vector<std::string> set = p.env;
    set.push_back("LD_PRELOAD=");
    set.push_back("TARNIS_BENCH_PROBE_FD=");
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string s = *e;
        bool replaced = false;
        for (const std::string& v : set) replaced = replaced || s.compare(0, v.find('=') + 1, v, 0, v.find('=') + 1) == 0;
        if (!replaced) env.push_back(s);
    }
    env.insert(env.end(), p.env.begin(), p.env.end());
    if (probeFd >= 0) {
        env.push_back(std::string("LD_PRELOAD=") + TARNIS_BENCH_PROBE);
        env.push_back("TARNIS_BENCH_PROBE_FD=" + std::to_string(probeFd));
    }
    std::vector<char*> envp, argv;
    for (std::string& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = p.argv;
    for (std::string& s : args) argv.push_back(s.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(p.cwd.c_str()) != 0) _exit(126);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return pid;
}

// Waits for the child's end, asking it with SIGTERM first and forcing it after
// a grace period; returns its own resource usage.
bool reap(pid_t pid, bool ask, rusage* usage, int* status)
{
    if (ask) kill(pid, SIGTERM);
    const double deadline = nowMs() + 5000.0;
    for (;;) {
        const pid_t got = wait4(pid, status, WNOHANG, usage);
        if (got == pid) return true;
        if (got < 0 && errno != EINTR) return false;
        if (nowMs() > deadline) {
            kill(pid, SIGKILL);
            return wait4(pid, status, 0, usage) == pid;
        }
        usleep(2000);
    }
}

double startToFirstFrame(const Program& p, int timeoutMs, pid_t* pid, int* probeFd, double* cpuMs)
{
    *pid = -1;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return -1.0;
    // The write end goes to the child (without close-on-exec); the read end stays here.
    const int childFd = fcntl(fds[1], F_DUPFD, 10);
    const double start = nowMs();
    *pid = spawn(p, childFd);
    close(childFd);
    close(fds[1]);
    pollfd pfd{fds[0], POLLIN, 0};
    char line[96] = {};
    ssize_t n = 0;
    if (*pid >= 0 && poll(&pfd, 1, timeoutMs) > 0) {
        // The stamp line alone, so later lines stay in the pipe.
        while (n < ssize_t(sizeof(line)) - 1 && read(fds[0], line + n, 1) == 1 && line[n] != '\n') ++n;
    }
    if (probeFd) *probeFd = fds[0];
    else close(fds[0]);
    long long sec = 0;
    long nsec = 0;
    double cpu = -1.0;
    if (n <= 0 || sscanf(line, "%lld %ld %lf", &sec, &nsec, &cpu) < 2) return -1.0;
    if (cpuMs) *cpuMs = cpu;
    return double(sec) * 1e3 + double(nsec) / 1e6 - start;
}

} // namespace bench
