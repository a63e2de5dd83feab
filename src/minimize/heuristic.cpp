#include "minimize/heuristic.h"

#include <chrono>
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

// The phases of one run, timed, and told to the observer when the run has one (only the run on
// the calling thread does).
class Run {
public:
    Run(const Cover& dc, const Cover& off, const Space& s, Observer* observer, StopCheck& stop, HeuristicStats& stats)
        : dc_(dc), off_(off), s_(s), observer_(observer), stop_(stop), stats_(stats) {}

    // The first run from the ON cover: primes, then the essential ones set aside, then the loop.
    // Returns the part of the best cover that is not essential, and the essentials.
    std::pair<Cover, Cover> from_on(const Cover& on) {
        Cover f = on;
        cubes::remove_contained(f);
        expand_pass(f, 0);
        irredundant_pass(f, dc_);
        Cover essentials;
        if (!stop_()) {
            phase("Essential Primes");
            PhaseTimer t(stats_.seconds.essential);
            essentials = take_essential_primes(f, dc_, s_, stop_);
            stats_.essential_primes = static_cast<int>(essentials.size());
            done("Essential Primes", essentials);
        }
        improve(f, joined(dc_, essentials));
        return {f, essentials};
    }

    // A restart: the best cover so far shaken by one reduce and expand in seeded orders, then the
    // loop again.
    Cover shaken(const Cover& start, const Cover& essentials, std::uint64_t seed) {
        const Cover d = joined(dc_, essentials);
        Cover f = start;
        reduce_pass(f, d, seed);
        expand_pass(f, seed + 1);
        irredundant_pass(f, d);
        improve(f, d);
        return cover_cost(f, s_) < cover_cost(start, s_) ? f : start;
    }

    void make_sparse_pass(Cover& f) {
        phase("Make Sparse");
        PhaseTimer t(stats_.seconds.make_sparse);
        make_sparse(f, dc_, off_, s_, stop_);
        done("Make Sparse", f);
    }

private:
    // Reduce, expand and irredundant while the cost falls; then LAST_GASP, and again while that
    // helps. f ends as the cheapest cover seen (a valid one also when stopped).
    void improve(Cover& f, const Cover& d) {
        Cover best = f;
        for (CoverCost outer = cover_cost(f, s_); !stop_();) {
            for (CoverCost inner = cover_cost(f, s_); !stop_();) {
                reduce_pass(f, d, 0);
                expand_pass(f, 0);
                irredundant_pass(f, d);
                if (stop_()) break;
                ++stats_.passes;
                const CoverCost now = cover_cost(f, s_);
                if (now < cover_cost(best, s_)) best = f;
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
            const CoverCost now = cover_cost(f, s_);
            if (now < cover_cost(best, s_)) best = f;
            if (!(now < outer)) break;
            outer = now;
        }
        if (!stop_() || cover_cost(best, s_) < cover_cost(f, s_)) f = std::move(best);
    }

    void expand_pass(Cover& f, std::uint64_t seed) {
        if (stop_()) return;
        phase("Expand");
        PhaseTimer t(stats_.seconds.expand);
        expand(f, off_, s_, ExpandParams{false, seed}, stop_);
        done("Expand", f);
    }
    void irredundant_pass(Cover& f, const Cover& d) {
        if (stop_()) return;
        phase("Irredundant");
        PhaseTimer t(stats_.seconds.irredundant);
        irredundant(f, d, s_, stop_);
        done("Irredundant", f);
    }
    void reduce_pass(Cover& f, const Cover& d, std::uint64_t seed) {
        if (stop_()) return;
        phase("Reduce");
        PhaseTimer t(stats_.seconds.reduce);
        reduce(f, d, s_, seed, stop_);
        done("Reduce", f);
    }
    void phase(std::string_view name) {
        if (observer_) observer_->phase(name);
    }
    void done(std::string_view name, const Cover& f) {
        if (observer_) observer_->pass_done(name, f);
    }

    const Cover& dc_;
    const Cover& off_;
    const Space& s_;
    Observer* observer_;
    StopCheck& stop_;
    HeuristicStats& stats_;
};

}  // namespace

HeuristicResult minimize_heuristic(const Cover& on, const Cover& dc, const Cover& off, const Space& space,
                                   const HeuristicParams& params, Observer& observer) {
    HeuristicResult result;
    StopCheck stop(observer);
    for (const cubes::Cube& c : on) result.stats.literals_before += cubes::literal_count(c, space);
    result.stats.terms_before = static_cast<int>(on.size());

    Run first(dc, off, space, &observer, stop, result.stats);
    auto [best, essentials] = first.from_on(on);

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
        const Cover& base = best;
        const Cover& fixed = essentials;
        // The runs go to a thread of their own so that this thread can keep asking the observer.
        std::thread worker([&] {
            try {
                tbb::parallel_for(0, n, [&](int k) {
                    covers[k] = Run(dc, off, space, nullptr, stop, stats[k]).shaken(base, fixed, restart_seed(k + 1));
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
            if (cover_cost(covers[k], space) < cover_cost(best, space)) {
                best = std::move(covers[k]);
                result.stats.best_restart = k + 1;
            }
        result.stats.seconds.restarts = monotonic_seconds() - start;
        observer.pass_done("Restarts", best);
    }
    result.cover = joined(best, essentials);
    if (params.make_sparse && !stop()) first.make_sparse_pass(result.cover);
    result.stopped = stop.stopped();
    result.stats.terms_after = static_cast<int>(result.cover.size());
    for (const cubes::Cube& c : result.cover) result.stats.literals_after += cubes::literal_count(c, space);
    return result;
}

}  // namespace vormel::minimize
