#pragma once
#include <chrono>

#include "minimize/observer.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// The time limit and the user's Break, polled by the long loops of the exact method. Once either
// says stop, the budget stays exhausted. Polled only from the calling thread.
class WorkBudget {
public:
    WorkBudget(Observer& observer, double seconds)
        : observer_(observer),
          start_(Clock::now()),
          deadline_(start_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds))) {}

    bool exhausted() {
        if (!exhausted_ && (!observer_.keep_going() || Clock::now() >= deadline_)) {
            exhausted_ = true;
            stopped_by_user_ = !observer_.keep_going();
        }
        return exhausted_;
    }
    // Cheap form for the recursions' nodes: asks at the first call and then once every 64 calls
    // (a node's work dwarfs the poll; a search stopped by a run that settled the cover ends within
    // microseconds). Each call is a unit of work for the work limit.
    bool exhausted_sometimes() {
        spend(1);
        return (ticks_++ & 63) == 0 ? exhausted() : exhausted_;
    }
    // Counts work done between two polls (cubes compared, say) against the work limit.
    bool spend(unsigned long long units) {
        work_ += units;
        if (work_ > work_limit_) exhausted_ = true;
        return exhausted_;
    }
    // A limit that repeats from run to run, unlike the time: at most this many units of work.
    void limit_work(unsigned long long units) { work_limit_ = units; }

    bool stopped_by_user() const { return stopped_by_user_; }

    double elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }
    double remaining() const { return std::chrono::duration<double>(deadline_ - Clock::now()).count(); }

private:
    using Clock = std::chrono::steady_clock;
    Observer& observer_;
    Clock::time_point start_;
    Clock::time_point deadline_;
    unsigned ticks_ = 0;
    unsigned long long work_ = 0;
    unsigned long long work_limit_ = ~0ull;
    bool exhausted_ = false;
    bool stopped_by_user_ = false;
};

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
