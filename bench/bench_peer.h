// Runs the registered benchmarks and then prints, for each pair of ours and a
// peer's benchmark measured in this same run, both figures and their ratio,
// followed by one summary line per target: the measured value, the target, met or missed.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace bench {

// A comparison; with minRatio > 0 it is also a target: peer time / our time
// must reach minRatio (2.0: we take at most half the peer's time; 0.5: at most twice).
struct PeerPair {
    PeerPair(std::string o, std::string p, double ratio = 0.0, std::string name = {})
        : ours(std::move(o)), peer(std::move(p)), minRatio(ratio), target(std::move(name))
    {
    }
    std::string ours;
    std::string peer;
    double minRatio = 0.0;
    std::string target; // the target's name in the summary
};

// A target on one benchmark's own figure: its least CPU time per iteration (ns)
// times scale, in unit, must not exceed maxValue.
struct FigureTarget {
    std::string name;
    std::string benchmark;
    double scale = 1.0;
    std::string unit;
    double maxValue = 0.0;
};

// Call from main() after the benchmarks are registered; returns the exit code.
// Unless the command line says otherwise, each benchmark runs 24 repetitions of
// at least 0.04 s, interleaved with the others in random order, and the
// figures compared are the minima of the CPU time (the medians are shown too).
int runWithPeers(int argc, char** argv, const std::vector<PeerPair>& pairs,
                 const std::vector<FigureTarget>& figures = {});

// Prints one summary line of a target (also used by programs that measure
// without Google Benchmark, so every summary reads the same).
void printTargetLine(const std::string& name, const std::string& measured, const std::string& target, bool met);

} // namespace bench
