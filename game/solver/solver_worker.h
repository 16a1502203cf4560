// Runs the solver on a thread of its own, for the game: the frame hands over a
// position (on a key press, say) and then only polls; it never waits for the
// search. One worker answers one question at a time: the next move for a hint,
// or, from a position without a piece, the board's par.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "game/solver/quoril_solver.h"

namespace solver {

// What the frame reads back; plain values, so polling copies without allocating.
struct Answer {
    uint64_t serial = 0;    // the request it answers
    int32_t score = 0;      // best final score found from the position (the par from an empty board)
    int32_t upperBound = 0; // equal to score when proven
    bool proven = false;
    Move move;              // the first move of the best line; dir kNone and x < 0 when none is left
    bool hasMove() const { return move.x >= 0; }
};

class SolverWorker {
public:
    SolverWorker();
    // Abandons the running search and joins the thread.
    ~SolverWorker();
    SolverWorker(const SolverWorker&) = delete;
    SolverWorker& operator=(const SolverWorker&) = delete;

    // Copies board and position and starts on them at once, abandoning any earlier
    // request; returns the serial its answer will carry. A position that does not
    // fit the board is answered with no move and score -1.
    uint64_t request(const Board& board, const Position& from, double timeLimitMs);
    // True when the answer to the latest request is ready; it is then copied to out.
    bool poll(Answer& out) const;
    // Abandons the latest request: poll reports nothing until the next one.
    void cancel();

private:
    void run();

    mutable std::mutex m_mutex; // guards the job below, never held during a search
    std::condition_variable m_wake;
    bool m_hasJob = false;
    bool m_quit = false;
    Board m_board;
    Position m_from;
    double m_timeLimitMs = 0.0;
    uint64_t m_jobSerial = 0;

    std::atomic<bool> m_abandon{false};
    std::atomic<uint64_t> m_latest{0}; // serial of the latest request
    std::atomic<uint64_t> m_ready{0};  // serial of the answer in m_answer
    Answer m_answer;                   // written by the worker only before m_ready names it
    std::thread m_thread;              // last: starts once the rest is built
};

} // namespace solver
