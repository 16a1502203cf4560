// Child processes of the benchmarks that measure whole programs: started with
// an environment of our choosing (and optionally the first-frame probe
// preloaded), ended in order with SIGTERM, and their resource usage read.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

double nowMs(); // monotonic

struct Program {
    std::string name;
    std::vector<std::string> argv;
    std::filesystem::path cwd;
    std::vector<std::string> env; // NAME=value, replacing the inherited ones
};

// Starts the program with its output discarded; with probeFd >= 0 the
// first-frame probe is preloaded and writes its stamp there. -1 on failure.
pid_t spawn(const Program& p, int probeFd);

// Waits for the child's end, asking it with SIGTERM first (when ask) and
// forcing it after a grace period; returns its own resource usage.
bool reap(pid_t pid, bool ask, rusage* usage, int* status);

// Starts the program with the probe and waits up to timeoutMs for its first
// frame; the child keeps running. Returns the milliseconds from just before
// the start to the frame, < 0 when none came (the child is still to be reaped).
// With probeFd the probe's descriptor stays open for its later lines; with
// cpuMs the CPU time of the process (all threads) up to the frame is given.
double startToFirstFrame(const Program& p, int timeoutMs, pid_t* pid, int* probeFd = nullptr,
                         double* cpuMs = nullptr);

} // namespace bench
