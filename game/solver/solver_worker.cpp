// The worker's thread: takes the newest job, searches with the abandon flag as
// its cancel signal, and publishes the answer only if no newer request came in.
#include "game/solver/solver_worker.h"

#include <stdexcept>
#include <utility>

namespace solver {

SolverWorker::SolverWorker() : m_thread([this] { run(); }) {}

SolverWorker::~SolverWorker()
{
    m_abandon = true;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

uint64_t SolverWorker::request(const Board& board, const Position& from, double timeLimitMs)
{
    m_abandon = true;
    uint64_t serial = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_board = board;
        m_from = from;
        m_timeLimitMs = timeLimitMs;
        serial = ++m_jobSerial;
        m_hasJob = true;
        m_latest = serial;
    }
    m_wake.notify_one();
    return serial;
}

bool SolverWorker::poll(Answer& out) const
{
    const uint64_t latest = m_latest.load(std::memory_order_acquire);
    if (latest == 0 || m_ready.load(std::memory_order_acquire) != latest) return false;
    out = m_answer;
    return true;
}

void SolverWorker::cancel()
{
    m_abandon = true;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hasJob = false;
    m_latest = ++m_jobSerial; // an answer no search will ever publish
}

void SolverWorker::run()
{
    Board board;
    Position from;
    for (;;) {
        Limits limits;
        uint64_t serial = 0;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_hasJob || m_quit; });
            if (m_quit) return;
            std::swap(board, m_board);
            std::swap(from, m_from);
            limits.timeLimitMs = m_timeLimitMs;
            serial = m_jobSerial;
            m_hasJob = false;
            m_abandon = false;
        }
        limits.cancel = &m_abandon;
        Answer a;
        a.serial = serial;
        try {
            const Result r = solve(board, from, limits);
            a.score = r.score;
            a.upperBound = r.upperBound;
            a.proven = r.proven;
            if (!r.line.empty()) a.move = r.line.front();
        } catch (const std::exception&) {
            a.score = a.upperBound = -1;
        }
        // A newer request makes this answer worthless; the frame may read m_answer
        // only after m_ready names its own request, so nobody reads it now.
        if (m_latest.load(std::memory_order_acquire) != serial) continue;
        m_answer = a;
        m_ready.store(serial, std::memory_order_release);
    }
}

} // namespace solver
