#include "bench/bench_peer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace bench {
namespace {

// Keeps every run's CPU time per iteration (ns), preferring the median of the
// repetitions, then lets the console report them as usual. CPU time, because
// the machines are shared: a run preempted by another process is not charged
// for the wait (the programs measured are single-threaded).
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.error_occurred) continue;
            const double ns = r.GetAdjustedCPUTime() * toNs(r.time_unit);
            if (r.run_type == Run::RT_Iteration) m_last[key(r)] = ns;
            else if (r.aggregate_name == "median") m_median[key(r)] = ns;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Median when repetitions ran, the single run otherwise; < 0 when absent.
    double nsPerIter(const std::string& name) const
    {
        if (auto m = m_median.find(name); m != m_median.end()) return m->second;
        if (auto l = m_last.find(name); l != m_last.end()) return l->second;
        return -1.0;
    }

private:
    // The name without the run settings (min time, repetitions) a benchmark may carry.
    static std::string key(const Run& r)
    {
        return r.run_name.args.empty() ? r.run_name.function_name
                                       : r.run_name.function_name + "/" + r.run_name.args;
    }
    static double toNs(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kSecond: return 1e9;
        case benchmark::kMillisecond: return 1e6;
        case benchmark::kMicrosecond: return 1e3;
        default: return 1.0;
        }
    }
    std::map<std::string, double> m_last, m_median;
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

std::string number(const char* format, double v)
{
    char buf[64];
    snprintf(buf, sizeof(buf), format, v);
    return buf;
}

} // namespace

void printTargetLine(const std::string& name, const std::string& measured, const std::string& target, bool met)
{
    printf("  %-52s %14s   target %-12s %s\n", name.c_str(), measured.c_str(), target.c_str(),
           met ? "met" : "missed");
}

int runWithPeers(int argc, char** argv, const std::vector<PeerPair>& pairs, const std::vector<FigureTarget>& figures)
{
    // Defaults first, so the command line's own flags win.
    static char repetitions[] = "--benchmark_repetitions=5";
    static char minTime[] = "--benchmark_min_time=0.2";
    static char aggregates[] = "--benchmark_display_aggregates_only=true";
    std::vector<char*> args{argv[0], repetitions, minTime, aggregates};
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    printf("\n%-44s %14s %14s %9s\n", "ours vs peer (same run and input, CPU medians)", "ours", "peer", "peer/ours");
    for (const PeerPair& p : pairs) {
        const double o = reporter.nsPerIter(p.ours), q = reporter.nsPerIter(p.peer);
        if (o <= 0.0 || q < 0.0) continue;
        printf("%-44s %14s %14s %8.2fx\n", p.ours.c_str(), human(o).c_str(), human(q).c_str(), q / o);
        printf("%-44s (peer: %s)\n", "", p.peer.c_str());
    }

    bool header = false;
    auto summaryHeader = [&header] {
        if (!header) printf("\nTargets\n");
        header = true;
    };
    for (const PeerPair& p : pairs) {
        const double o = reporter.nsPerIter(p.ours), q = reporter.nsPerIter(p.peer);
        if (p.minRatio <= 0.0 || o <= 0.0 || q < 0.0) continue;
        summaryHeader();
        printTargetLine(p.target.empty() ? p.ours : p.target, number("%.2fx", q / o), number(">= %.2fx", p.minRatio),
                        q / o >= p.minRatio);
    }
    for (const FigureTarget& f : figures) {
        const double ns = reporter.nsPerIter(f.benchmark);
        if (ns < 0.0) continue;
        summaryHeader();
        const double v = ns * f.scale;
        printTargetLine(f.name, number("%.3f ", v) + f.unit, number("<= %g ", f.maxValue) + f.unit, v <= f.maxValue);
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
