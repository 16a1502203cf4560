// Start-up of the engine's programs, headless: the time from process start
// (just before fork) to the first frame presented to the window, and the peak
// resident memory of the running program, for the tarnis host on its example
// folder, for quoril, and for the floor (an SDL program that only opens a
// window and presents one frame). The first present is stamped by a preloaded
// probe (startup_probe.cpp); the programs themselves are not changed.
//
//   bench_startup [--runs N]
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_peer.h"
#include "bench/bench_process.h"

namespace {

namespace fs = std::filesystem;

// How long a program keeps running after its first frame before it is asked
// to end: long enough for its steady state to count in the peak memory.
constexpr int kRunOnMs = 500;
constexpr int kStartTimeoutMs = 20000;

using bench::nowMs;
using bench::Program;
using bench::reap;
using bench::spawn;

struct Outcome {
    bool ok = false;
    double firstFrameMs = 0.0; // process start to first present
    double endToEndMs = 0.0;   // process start to exit (runs that end by themselves)
    double peakMB = 0.0;
    std::string error;
};

// One run that is ended by us after its first frame.
Outcome firstFrameRun(const Program& p)
{
    Outcome out;
    pid_t pid = -1;
    const double ms = bench::startToFirstFrame(p, kStartTimeoutMs, &pid);
    if (pid < 0) {
        out.error = "fork failed";
        return out;
    }
    const bool stamped = ms >= 0.0;
    if (stamped) {
        out.firstFrameMs = ms;
        usleep(kRunOnMs * 1000);
    }
    rusage usage{};
    int status = 0;
    const bool reaped = reap(pid, true, &usage, &status);
    out.peakMB = double(usage.ru_maxrss) / 1024.0;
    out.ok = stamped && reaped;
    if (!stamped) out.error = "no frame was presented (exit status " + std::to_string(status) + ")";
    return out;
}

// One run that ends by itself (tarnis --frames 1), measured to its exit.
Outcome endToEndRun(const Program& p)
{
    Outcome out;
    const double start = nowMs();
    const pid_t pid = spawn(p, -1);
    if (pid < 0) {
        out.error = "fork failed";
        return out;
    }
    rusage usage{};
    int status = 0;
    if (wait4(pid, &status, 0, &usage) != pid) {
        out.error = strerror(errno);
        return out;
    }
    out.endToEndMs = nowMs() - start;
    out.peakMB = double(usage.ru_maxrss) / 1024.0;
    out.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!out.ok) out.error = "exit status " + std::to_string(status);
    return out;
}

double median(std::vector<double> v)
{
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2.0;
}

struct Figures {
    bool ok = false;
    double ms = 0.0, peakMB = 0.0;
};

// Runs a program the given number of times; medians of the time and the
// largest peak memory seen.
Figures measure(const Program& p, int runs, bool endToEnd)
{
    std::vector<double> times;
    double peak = 0.0;
    for (int i = 0; i < runs; ++i) {
        const Outcome o = endToEnd ? endToEndRun(p) : firstFrameRun(p);
        if (!o.ok) {
            printf("  %s: run %d failed: %s\n", p.name.c_str(), i + 1, o.error.c_str());
            return {};
        }
        times.push_back(endToEnd ? o.endToEndMs : o.firstFrameMs);
        peak = std::max(peak, o.peakMB);
    }
    return {true, median(times), peak};
}

std::string fixed(double v, const char* unit)
{
    char buf[64];
    snprintf(buf, sizeof(buf), "%.1f %s", v, unit);
    return buf;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 7;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--runs") && i + 1 < argc) {
            runs = std::max(1, atoi(argv[++i]));
        } else {
            fprintf(stderr, "usage: bench_startup [--runs N]\n");
            return 2;
        }
    }
    // Each program runs in a scratch folder whose DATA/ links to its real data,
    // so the logs it writes stay out of the source tree.
    char scratchName[] = "/tmp/tarnis-bench-startup-XXXXXX";
    if (!mkdtemp(scratchName)) {
        perror("mkdtemp");
        return 1;
    }
    const fs::path scratch = scratchName, source = TARNIS_SOURCE_DIR;
    for (const char* sub : {"hello", "quoril", "floor"}) fs::create_directory(scratch / sub);
    fs::create_directory_symlink(source / "examples" / "hello" / "DATA", scratch / "hello" / "DATA");
    fs::create_directory_symlink(source / "DATA", scratch / "quoril" / "DATA");

    // The engine's window shows its black background once before the first
    // frame; the floor's one update is its frame.
    const std::vector<std::string> floorEnv{"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};
    std::vector<std::string> headless = floorEnv;
    headless.push_back("TARNIS_BENCH_PROBE_SKIP=1");
    const Program tarnis{"tarnis examples/hello", {TARNIS_BENCH_TARNIS}, scratch / "hello", headless};
    const Program tarnisOne{"tarnis --frames 1 examples/hello", {TARNIS_BENCH_TARNIS, "--frames", "1"},
                            scratch / "hello", headless};
    const Program quoril{"quoril", {TARNIS_BENCH_QUORIL}, scratch / "quoril", headless};
    const Program floorProg{"SDL floor (window + one frame)", {TARNIS_BENCH_FLOOR}, scratch / "floor", floorEnv};

    printf("Start-up, headless (dummy video and audio drivers), medians of %d runs; peak resident memory is\n"
           "the largest ru_maxrss of the runs, each of which keeps running %d ms after its first frame.\n\n",
           runs, kRunOnMs);
    const Figures fTarnis = measure(tarnis, runs, false);
    const Figures fQuoril = measure(quoril, runs, false);
    const Figures fFloor = measure(floorProg, runs, false);
    const Figures fOne = measure(tarnisOne, runs, true);

    printf("%-44s %16s %14s\n", "program", "to first frame", "peak RSS");
    const auto row = [](const char* name, const Figures& f, const char* note) {
        if (!f.ok) {
            printf("%-44s %16s %14s\n", name, "failed", "-");
            return;
        }
        printf("%-44s %16s %14s%s\n", name, fixed(f.ms, "ms").c_str(), fixed(f.peakMB, "MB").c_str(), note);
    };
    row(tarnis.name.c_str(), fTarnis, "");
    row(quoril.name.c_str(), fQuoril, "");
    row(floorProg.name.c_str(), fFloor, "");
    row(tarnisOne.name.c_str(), fOne, "  (start to exit: one frame plus the whole shutdown)");

    printf("\n%-44s %14s %14s %9s\n", "ours vs peer (same run, medians)", "ours", "peer", "peer/ours");
    for (const auto& [name, f] : {std::pair{tarnis.name, fTarnis}, std::pair{quoril.name, fQuoril}}) {
        if (!f.ok || !fFloor.ok) continue;
        printf("%-44s %14s %14s %8.2fx\n", (name + ", first frame").c_str(), fixed(f.ms, "ms").c_str(),
               fixed(fFloor.ms, "ms").c_str(), fFloor.ms / f.ms);
        printf("%-44s %14s %14s %8.2fx\n", (name + ", peak RSS").c_str(), fixed(f.peakMB, "MB").c_str(),
               fixed(fFloor.peakMB, "MB").c_str(), fFloor.peakMB / f.peakMB);
        printf("%-44s (peer: %s)\n", "", floorProg.name.c_str());
    }

    printf("\nTargets\n");
    for (const auto& [name, f] : {std::pair{tarnis.name, fTarnis}, std::pair{quoril.name, fQuoril}}) {
        if (!f.ok) {
            bench::printTargetLine(name + ": start-up to first frame", "failed", "<= 60 ms", false);
            continue;
        }
        bench::printTargetLine(name + ": start-up to first frame", fixed(f.ms, "ms"), "<= 60 ms", f.ms <= 60.0);
        bench::printTargetLine(name + ": peak resident memory", fixed(f.peakMB, "MB"), "<= 64 MB", f.peakMB <= 64.0);
    }
    fs::remove_all(scratch);
    return 0;
}
