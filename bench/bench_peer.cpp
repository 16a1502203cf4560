#include "bench/bench_peer.h"

#include <benchmark/benchmark.h>

#include <sched.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace bench {
namespace {

// Keeps every repetition's CPU time per iteration (ns) and shows only the
// aggregates. CPU time, because the machines are shared: a run preempted by
// another process is not charged for the wait (the programs measured are
// single-threaded). The figure compared is the minimum of the repetitions,
// the one least disturbed by other processes; the median shows the spread.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        std::vector<Run> shown;
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration) {
                shown.push_back(r);
                continue;
            }
            if (!r.error_occurred) m_samples[key(r)].push_back(r.GetAdjustedCPUTime() * toNs(r.time_unit));
        }
        if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
    }
    // The least of the repetitions; < 0 when absent.
    double nsPerIter(const std::string& name) const
    {
        auto s = m_samples.find(name);
        return s == m_samples.end() || s->second.empty() ? -1.0 : *std::min_element(s->second.begin(), s->second.end());
    }
    // The median of the repetitions; < 0 when absent.
    double median(const std::string& name) const
    {
        auto s = m_samples.find(name);
        if (s == m_samples.end() || s->second.empty()) return -1.0;
        std::vector<double> v = s->second;
        std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
        return v[v.size() / 2];
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
    std::map<std::string, std::vector<double>> m_samples;
};

// Keeps the process on the core it starts on: no migrations (and cold caches)
// in the middle of a measurement.
void pinToCurrentCore()
{
    const int cpu = sched_getcpu();
    if (cpu < 0) return;
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    sched_setaffinity(0, sizeof(set), &set);
}

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
    printf("  %-60s %12s   target %-12s %s\n", name.c_str(), measured.c_str(), target.c_str(),
           met ? "met" : "missed");
}

int runWithPeers(int argc, char** argv, const std::vector<PeerPair>& pairs, const std::vector<FigureTarget>& figures)
{
    // Defaults first, so the command line's own flags win: many short
    // repetitions, ours and the peers' interleaved in random order, so a busy
    // spell of the machine falls on both sides alike.
    static char repetitions[] = "--benchmark_repetitions=24";
    static char minTime[] = "--benchmark_min_time=0.04";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args{argv[0], repetitions, minTime, interleave};
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    pinToCurrentCore();
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    printf("\n%-44s %14s %14s %9s %9s\n", "ours vs peer (same run, interleaved, CPU)", "ours (min)", "peer (min)",
           "peer/ours", "medians");
    for (const PeerPair& p : pairs) {
        const double o = reporter.nsPerIter(p.ours), q = reporter.nsPerIter(p.peer);
        if (o <= 0.0 || q < 0.0) continue;
        const double om = reporter.median(p.ours), qm = reporter.median(p.peer);
        printf("%-44s %14s %14s %8.2fx %8.2fx\n", p.ours.c_str(), human(o).c_str(), human(q).c_str(), q / o,
               qm / om);
        printf("%-44s (peer: %s; medians %s / %s)\n", "", p.peer.c_str(), human(om).c_str(), human(qm).c_str());
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
