// The search proper. Every value it returns is an upper bound on what the
// position can still gain, so the table may keep it however the search was cut;
// a search stopped by the clock stores nothing.
#include "game/solver/solver_search.h"

#include <algorithm>
#include <chrono>

namespace solver {

namespace {

uint64_t splitMix(uint64_t& state)
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// About a thousand slots per cell, within 64 Ki .. 1 Mi slots (16 MB).
int32_t tableBits(size_t cells)
{
    int32_t bits = 16;
    while (bits < 20 && (size_t(1) << bits) < cells * 1024) ++bits;
    return bits;
}

} // namespace

Search::Search(Grid grid, const Limits& limits)
    // The clock starts before the table is allocated: that time counts too.
    : m_grid(std::move(grid)), m_limits(limits),
      m_deadline(limits.timeLimitMs > 0.0 ? nowMs() + limits.timeLimitMs : 0.0), m_bound(m_grid.height),
      m_table(tableBits(size_t(m_grid.width * m_grid.height))), m_pieceKey(m_grid.cells.size())
{
    uint64_t seed = 0x51A7E5EEDull;
    for (uint64_t& k : m_pieceKey) k = splitMix(seed);
    m_path.reserve(m_grid.cells.size());
}

double Search::nowMs() const
{
    if (m_limits.clockMs) return m_limits.clockMs();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool Search::stopRequested() const
{
    if (m_limits.cancel && m_limits.cancel->load(std::memory_order_relaxed)) return true;
    return m_limits.timeLimitMs > 0.0 && nowMs() >= m_deadline;
}

int32_t Search::measure(int32_t cell, uint64_t& key)
{
    const int32_t bound = m_bound.measure(m_grid, cell, key);
    key ^= m_pieceKey[size_t(cell)];
    return bound;
}

void Search::fromPlacement(const std::vector<int32_t>& starts, int32_t coveredCount)
{
    std::vector<Child> order;
    bool allMeasured = true;
    for (int32_t s : starts) {
        // On a huge board the clock may run out while the starts are measured:
        // search from those measured so far, and claim nothing for the rest.
        if (order.size() % 16 == 15 && stopRequested()) {
            allMeasured = false;
            break;
        }
        m_grid.setCell(s, kCovered);
        uint64_t key = 0;
        const int32_t bound = 1 + measure(s, key);
        order.push_back({kNone, s, 1, bound, key});
        m_grid.setCell(s, kFree);
    }
    std::stable_sort(order.begin(), order.end(), [](const Child& a, const Child& b) { return a.bound > b.bound; });
    m_best = coveredCount;
    m_upper = coveredCount + (order.empty() ? 0 : order.front().bound);
    if (!allMeasured) order.resize(std::min<size_t>(order.size(), 1)); // just one line, then stop
    for (const Child& s : order) {
        if (coveredCount + s.bound <= m_best) break;
        m_grid.setCell(s.end, kCovered);
        m_path.assign(1, {kNone, s.end, 1});
        ++m_nodes;
        dfs(s.end, coveredCount + 1, s.key);
        m_grid.setCell(s.end, kFree);
        if (m_aborted) {
            m_upper = std::max(m_best, coveredCount + s.bound);
            break;
        }
    }
    if (!allMeasured) {
        m_aborted = true;
        m_upper = coveredCount + int32_t(std::count(m_grid.cells.begin(), m_grid.cells.end(), uint8_t(kFree)));
    } else if (!m_aborted) {
        m_upper = m_best;
    }
}

void Search::fromPiece(int32_t piece, int32_t coveredCount)
{
    m_best = coveredCount;
    m_haveLine = true; // standing still is a line: the piece may already be stuck
    uint64_t key = 0;
    m_upper = coveredCount + measure(piece, key);
    m_path.clear();
    dfs(piece, coveredCount, key);
    if (!m_aborted) m_upper = m_best;
}

int32_t Search::dfs(int32_t piece, int32_t covered, uint64_t key)
{
    if ((++m_nodes & 15) == 0 && m_haveLine && stopRequested()) m_aborted = true;
    if (m_aborted) return 0;

    Child kids[4];
    int32_t n = 0;
    for (int32_t d = kUp; d <= kLeft; ++d) {
        const int32_t end = m_grid.slideEnd(piece, d);
        if (end == piece) continue;
        const int32_t gain = (end - piece) / m_grid.offset[d];
        m_grid.cover(piece, end, d);
        uint64_t key = 0;
        const int32_t bound = gain + measure(end, key);
        m_grid.uncover(piece, end, d);
        kids[n++] = {d, end, gain, bound, key};
    }
    if (n == 0) {
        if (covered > m_best || !m_haveLine) {
            m_best = covered;
            m_bestLine = m_path;
            m_haveLine = true;
        }
        return 0;
    }
    // Most promising first: the higher bound, then the longer slide.
    for (int32_t i = 1; i < n; ++i)
        for (int32_t j = i; j > 0 && (kids[j].bound > kids[j - 1].bound ||
                                      (kids[j].bound == kids[j - 1].bound && kids[j].gain > kids[j - 1].gain));
             --j)
            std::swap(kids[j], kids[j - 1]);

    int32_t most = 0;
    for (int32_t i = 0; i < n; ++i) {
        const Child& c = kids[i];
        if (covered + c.bound <= m_best) {
            most = std::max(most, c.bound);
            continue;
        }
        const int32_t known = m_table.find(c.key);
        if (known >= 0 && covered + c.gain + known <= m_best) {
            most = std::max(most, c.gain + known);
            continue;
        }
        m_grid.cover(piece, c.end, c.dir);
        m_path.push_back({c.dir, c.end, c.gain});
        const int32_t value = c.gain + dfs(c.end, covered + c.gain, c.key);
        m_path.pop_back();
        m_grid.uncover(piece, c.end, c.dir);
        if (m_aborted) return 0;
        most = std::max(most, std::min(value, c.bound));
    }
    m_table.store(key, most);
    return most;
}

Result Search::result() const
{
    Result r;
    r.score = m_best;
    r.upperBound = m_upper;
    r.proven = !m_aborted;
    r.nodes = m_nodes;
    for (const Step& s : m_bestLine) r.line.push_back({s.dir, m_grid.xOf(s.cell), m_grid.yOf(s.cell), s.cells});
    return r;
}

} // namespace solver
