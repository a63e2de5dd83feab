#include "minimize/heuristic.h"

#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include <tbb/parallel_for.h>

#include "cubes/cover_algebra.h"
#include "minimize/cover_cost.h"
#include "minimize/essential.h"
#include "minimize/expand.h"
#include "minimize/irredundant.h"
#include "minimize/last_gasp.h"
#include "minimize/make_sparse.h"
#include "minimize/reduce.h"
#include "minimize/stop_check.h"
#include "report/clock.h"

namespace vormel::minimize {

using cubes::Cover;
using cubes::Space;

namespace {

// Adds the time of one phase into its slot of the statistics.
class PhaseTimer {
public:
    explicit PhaseTimer(double& slot) : slot_(slot), start_(monotonic_seconds()) {}
    ~PhaseTimer() { slot_ += monotonic_seconds() - start_; }
    PhaseTimer(const PhaseTimer&) = delete;
    PhaseTimer& operator=(const PhaseTimer&) = delete;

private:
    double& slot_;
    double start_;
};

std::uint64_t restart_seed(int restart) {
    return restart == 0 ? 0 : 0x5eed0000ull + static_cast<std::uint64_t>(restart) * 0x9e3779b97f4a7c15ull;
}

Cover joined(Cover a, const Cover& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One complete run. Only the run on the calling thread has an observer to tell of its phases.
class Run {
public:
    Run(const Cover& dc, const Cover& off, const Space& s, std::uint64_t seed, Observer* observer, StopCheck& stop,
        HeuristicStats& stats)
        : dc_(dc), off_(off), s_(s), seed_(seed), observer_(observer), stop_(stop), stats_(stats) {}

    Cover minimize(const Cover& on, bool sparse) {
        Cover f = on;
        cubes::remove_contained(f);
        best_ = f;
        {
            phase("Expand");
            PhaseTimer t(stats_.seconds.expand);
            expand(f, off_, s_, ExpandParams{false, seed_}, stop_);
            done("Expand", f);
        }
        if (stop_()) return best_;
        best_ = f;
        {
            phase("Irredundant");
            PhaseTimer t(stats_.seconds.irredundant);
            irredundant(f, dc_, s_, stop_);
            done("Irredundant", f);
        }
        if (stop_()) return best_;
        best_ = f;
        Cover essentials;
        {
            phase("Essential Primes");
            PhaseTimer t(stats_.seconds.essential);
            essentials = take_essential_primes(f, dc_, s_, stop_);
            if (getenv("NOESS")) { f.insert(f.end(), essentials.begin(), essentials.end()); essentials.clear(); }
            stats_.essential_primes = static_cast<int>(essentials.size());
            done("Essential Primes", essentials);
        }
        const Cover d = joined(dc_, essentials);
        for (CoverCost outer = cover_cost(f, s_); !stop_();) {
            for (CoverCost inner = cover_cost(f, s_); !stop_();) {
                {
                    phase("Reduce");
                    PhaseTimer t(stats_.seconds.reduce);
                    reduce(f, d, s_, 0, stop_);
                    done("Reduce", f);
                }
                {
                    phase("Expand");
                    PhaseTimer t(stats_.seconds.expand);
                    expand(f, off_, s_, ExpandParams{false, 0}, stop_);
                    done("Expand", f);
                }
                {
                    phase("Irredundant");
                    PhaseTimer t(stats_.seconds.irredundant);
                    irredundant(f, d, s_, stop_);
                    done("Irredundant", f);
                }
                if (stop_()) break;
                ++stats_.passes;
                keep_if_better(joined(f, essentials));
                const CoverCost now = cover_cost(f, s_);
                if (!(now < inner)) break;
                inner = now;
            }
            if (stop_()) break;
            {
                phase("Last Gasp");
                PhaseTimer t(stats_.seconds.last_gasp);
                last_gasp(f, d, off_, s_, stop_);
                done("Last Gasp", f);
            }
            if (stop_()) break;
            keep_if_better(joined(f, essentials));
            const CoverCost now = cover_cost(f, s_);
            if (!(now < outer)) break;
            outer = now;
        }
        if (stop_()) return best_;
        f = best_;
        if (sparse) {
            phase("Make Sparse");
            PhaseTimer t(stats_.seconds.make_sparse);
            make_sparse(f, dc_, off_, s_, stop_);
            done("Make Sparse", f);
        }
        return f;
    }

private:
    void phase(std::string_view name) {
        if (observer_) observer_->phase(name);
    }
    void done(std::string_view name, const Cover& f) {
        if (observer_) observer_->pass_done(name, f);
    }
    void keep_if_better(Cover f) {
        if (cover_cost(f, s_) < cover_cost(best_, s_)) best_ = std::move(f);
    }

    const Cover& dc_;
    const Cover& off_;
    const Space& s_;
    std::uint64_t seed_;
    Observer* observer_;
    StopCheck& stop_;
    HeuristicStats& stats_;
    Cover best_;
};

}  // namespace

HeuristicResult minimize_heuristic(const Cover& on, const Cover& dc, const Cover& off, const Space& space,
                                   const HeuristicParams& params, Observer& observer) {
    HeuristicResult result;
    StopCheck stop(observer);
    for (const cubes::Cube& c : on) result.stats.literals_before += cubes::literal_count(c, space);
    result.stats.terms_before = static_cast<int>(on.size());

    result.cover = Run(dc, off, space, 0, &observer, stop, result.stats).minimize(on, params.make_sparse);

    if (params.restarts > 0 && !stop()) {
        observer.phase("Restarts");
        const double start = monotonic_seconds();
        const int n = params.restarts;
        std::vector<Cover> covers(n);
        std::vector<HeuristicStats> stats(n);
        std::exception_ptr failure;
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        // The runs go to a thread of their own so that this thread can keep asking the observer.
        std::thread worker([&] {
            try {
                tbb::parallel_for(0, n, [&](int k) {
                    covers[k] = Run(dc, off, space, restart_seed(k + 1), nullptr, stop, stats[k])
                                    .minimize(on, params.make_sparse);
                });
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard lock(mutex);
            done = true;
            finished.notify_one();
        });
        {
            std::unique_lock lock(mutex);
            while (!done) {
                if (!stop()) finished.wait_for(lock, std::chrono::milliseconds(2));
                else finished.wait(lock);
            }
        }
        worker.join();
        if (failure) std::rethrow_exception(failure);
        for (int k = 0; k < n; ++k)
            if (cover_cost(covers[k], space) < cover_cost(result.cover, space)) {
                result.cover = std::move(covers[k]);
                result.stats.passes = stats[k].passes;
                result.stats.essential_primes = stats[k].essential_primes;
                result.stats.best_restart = k + 1;
            }
        result.stats.seconds.restarts = monotonic_seconds() - start;
        observer.pass_done("Restarts", result.cover);
    }
    result.stopped = stop.stopped();
    result.stats.terms_after = static_cast<int>(result.cover.size());
    for (const cubes::Cube& c : result.cover) result.stats.literals_after += cubes::literal_count(c, space);
    return result;
}

}  // namespace vormel::minimize
