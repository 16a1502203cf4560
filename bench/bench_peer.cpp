#include "bench/bench_peer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace bench {
namespace {

// Keeps every run's time per iteration (ns) and its rate counters, then lets
// the console report them as usual.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.error_occurred) continue;
            m_nsPerIter[r.benchmark_name()] = r.GetAdjustedRealTime() * toNs(r.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> m_nsPerIter;

private:
    static double toNs(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kSecond: return 1e9;
        case benchmark::kMillisecond: return 1e6;
        case benchmark::kMicrosecond: return 1e3;
        default: return 1.0;
        }
    }
};

std::string human(double ns)
{
    char buf[64];
    if (ns >= 1e6)
        snprintf(buf, sizeof(buf), "%.3f ms", ns / 1e6);
    else if (ns >= 1e3)
        snprintf(buf, sizeof(buf), "%.2f us", ns / 1e3);
    else
        snprintf(buf, sizeof(buf), "%.1f ns", ns);
    return buf;
}

} // namespace

int runWithPeers(int argc, char** argv, const std::vector<PeerPair>& pairs)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printf("\n%-44s %14s %14s %9s\n", "ours vs peer (same run, same input)", "ours", "peer", "peer/ours");
    for (const PeerPair& p : pairs) {
        auto o = reporter.m_nsPerIter.find(p.ours);
        auto q = reporter.m_nsPerIter.find(p.peer);
        if (o == reporter.m_nsPerIter.end() || q == reporter.m_nsPerIter.end()) continue;
        printf("%-44s %14s %14s %8.2fx\n", p.ours.c_str(), human(o->second).c_str(), human(q->second).c_str(),
               q->second / o->second);
        printf("%-44s (peer: %s)\n", "", p.peer.c_str());
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
