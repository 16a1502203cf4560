// Runs the registered benchmarks and then prints, for each pair of ours and a
// peer's benchmark measured in this same run, both figures and their ratio.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace bench {

struct PeerPair {
    std::string ours;
    std::string peer;
};

// Call from main() after the benchmarks are registered; returns the exit code.
int runWithPeers(int argc, char** argv, const std::vector<PeerPair>& pairs);

} // namespace bench
