#include "minimize/heuristic.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "cubes/cover_algebra.h"
#include "cubes/cover_columns.h"
#include "minimize/cover_cost.h"
#include "minimize/essential.h"
#include "minimize/expand.h"
#include "minimize/growth_bound.h"
#include "minimize/irredundant.h"
#include "minimize/last_gasp.h"
#include "minimize/make_sparse.h"
#include "minimize/prime_cover.h"
#include "minimize/reduce.h"
#include "minimize/stop_check.h"
#include "report/clock.h"
#include "report/run_threads.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

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

// How a restart differs from the first two runs (seed 0, the weight orders): its seed shuffles its
// first expansion and the reduce order of every pass; the second pair of restarts, and every other
// pair after it, shuffles the expansions of its passes too.
struct Variation {
    std::uint64_t seed = 0;
    bool shuffle_loop_expand = false;
    bool second_round = true;  // after MAKE_SPARSE freed cubes, or for a seeded run
};

Variation variation(int run) {
    if (run < 2) return {};
    return {restart_seed(run - 1), (run / 2) % 2 == 0};
}

Cover joined(Cover a, const Cover& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Where the first expansion starts: the ON cover as given, or cut into one cube per output. The
// second lets every seed grow as far as its own output allows (strong with many don't-cares); the
// first keeps the sharing the rows already have (strong on tables like ROMs).
enum class Start { as_given, per_output };

Cover starting_cover(const Cover& on, const Space& s, Start start) {
    if (start == Start::as_given) return on;
    Cover split;
    for (const cubes::Cube& c : on)
        for (int j = 0; j < s.ny; ++j)
            if (cubes::has_output(c, j)) {
                cubes::Cube one{c.in, {}};
                cubes::set_output(one, j);
                split.push_back(one);
            }
    return split;
}

// Answers the prime cover's polls from any thread: it only reads the stop flag.
class FlagObserver : public Observer {
public:
    explicit FlagObserver(const StopCheck& stop) : stop_(stop) {}
    bool keep_going() override { return !stop_.stopped(); }

private:
    const StopCheck& stop_;
};

// The cover over all primes, irredundant (a search cut short may keep a cube it no longer needs)
// and made sparse like the runs' covers.
std::optional<Cover> sparse_cover_from_all_primes(const Cover& on, const Cover& dc, const GrowthBound& bound, const Space& s,
                                                  bool sparse, StopCheck& stop) {
    FlagObserver flag(stop);
    std::optional<Cover> f = cover_from_all_primes(on, dc, s, flag);
    if (f && !stop()) irredundant(*f, dc, s, stop);
    if (f && sparse && !stop()) make_sparse(*f, dc, bound, s, stop);
    if (stop()) return std::nullopt;
    return f;
}

// Runs `side` on a thread of its own while `main` runs on this one; then this thread keeps asking
// stop() every few milliseconds until `side` is done. An exception from `side` comes back here.
// A run allowed one thread runs `main`, then `side`, on this one.
template <typename Main, typename Side>
void run_beside(Main&& main, Side&& side, StopCheck& stop) {
    if (threads::available() <= 1) {
        main();
        side();
        return;
    }
    std::exception_ptr failure;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread helper([&] {
        try {
            side();
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard lock(mutex);
        done = true;
        finished.notify_one();
    });
    try {
        main();
    } catch (...) {
        stop.request_stop();
        helper.join();
        throw;
    }
    {
        std::unique_lock lock(mutex);
        while (!done) {
            if (!stop()) finished.wait_for(lock, std::chrono::milliseconds(2));
            else finished.wait(lock);
        }
    }
    helper.join();
    if (failure) std::rethrow_exception(failure);
}

// The phases of one run, timed, and told to the observer when the run has one (only the run on
// the calling thread does).
class Run {
public:
    Run(const Cover& dc, const GrowthBound& bound, const Space& s, const HeuristicParams& params, Observer* observer,
        StopCheck& stop, HeuristicStats& stats)
        : dc_(dc), bound_(bound), s_(s), sparse_(params.make_sparse), loop_(params.loop), observer_(observer),
          stop_(stop), stats_(stats) {}

    // When every prime of an irredundant cover is essential, every prime cover holds them all: that
    // cover is the only one of the fewest terms, and no other run can do better. `others` is then
    // asked to stop.
    void stop_when_settled(StopCheck& others) { others_ = &others; }
    bool settled() const { return settled_; }

    // A run from the ON cover: primes (the first expansion in the order the seed gives), the
    // essential ones set aside, then the loop. Returns the best cover, essentials included.
    Cover from_on(const Cover& on, Start start, Variation variation = {}) {
        Cover f = starting_cover(on, s_, start);
        variation_ = variation;
        expand_pass(f, variation.seed);
        if (!loop_) {
            irredundant_pass(f, dc_);
            return f;
        }
        Cover best = loop_from_primes(f);
        // MAKE_SPARSE may free cubes the loop could not: one more round from its result. When it
        // lowered nothing, an unshuffled round would only repeat the loop it started from.
        if (sparse_ && !stop_() && !settled_ && variation_.second_round && (sparse_changed_ || variation_.seed != 0)) {
            Cover g = best;
            expand_pass(g, 0);
            g = loop_from_primes(g);
            if (cover_cost(g, s_) < cover_cost(best, s_)) best = std::move(g);
        }
        return best;
    }

    // Irredundant primes f: essentials aside, the loop, MAKE_SPARSE.
    Cover loop_from_primes(Cover f) {
        irredundant_pass(f, dc_);
        Cover essentials;
        if (!stop_()) {
            phase("Essential Primes");
            PhaseTimer t(stats_.seconds.essential);
            essentials = take_essential_primes(f, dc_, s_, stop_);
            stats_.essential_primes = static_cast<int>(essentials.size());
            done("Essential Primes", essentials);
            if (others_ && f.empty() && !stop_()) {
                settled_ = true;
                others_->request_stop();
            }
        }
        set_aside_ = &essentials;
        if (!f.empty()) improve(f, joined(dc_, essentials));
        set_aside_ = nullptr;
        f = joined(f, essentials);
        if (sparse_ && !stop_()) {
            const Cover before = f;
            make_sparse_pass(f);
            sparse_changed_ = f != before;
        }
        return f;
    }

    // The cheapest irredundant cover made of the cubes of all `covers`, starting the choice from
    // `best` (one of them); MAKE_SPARSE again since cubes of sparse covers may now drop outputs.
    Cover best_of_union(const std::vector<Cover>& covers, const Cover& best) {
        Cover pool;
        for (const Cover& c : covers) pool.insert(pool.end(), c.begin(), c.end());
        cubes::remove_contained(pool);
        // The cubes standing for best: each of its cubes itself or, where a larger cube of another
        // run swallowed it, the first that holds it. They cover the function, so the choice can
        // only do better than best.
        std::vector<char> known(pool.size(), 0);
        for (const cubes::Cube& b : best) {
            auto holder = std::find(pool.begin(), pool.end(), b);
            if (holder == pool.end())
                holder = std::find_if(pool.begin(), pool.end(), [&b](const cubes::Cube& c) { return cubes::contains(c, b); });
            if (holder != pool.end()) known[static_cast<std::size_t>(holder - pool.begin())] = 1;
        }
        {
            phase("Irredundant");
            PhaseTimer t(stats_.seconds.irredundant);
            irredundant(pool, dc_, s_, stop_, known);
            done("Irredundant", pool);
        }
        if (sparse_ && !stop_()) make_sparse_pass(pool);
        return pool;
    }

    void make_sparse_pass(Cover& f) {
        phase("Make Sparse");
        PhaseTimer t(stats_.seconds.make_sparse);
        make_sparse(f, dc_, bound_, s_, stop_);
        done("Make Sparse", f);
    }

private:
    // Reduce, expand and irredundant while the cost falls; then LAST_GASP, and again while that
    // helps. f ends as the cheapest cover seen (a valid one also when stopped).
    void improve(Cover& f, const Cover& d) {
        Cover best = f;
        for (CoverCost outer = cover_cost(f, s_); !stop_();) {
            for (CoverCost inner = cover_cost(f, s_); !stop_();) {
                const std::uint64_t pass = static_cast<std::uint64_t>(stats_.passes);
                reduce_pass(f, d, variation_.seed == 0 ? 0 : variation_.seed + pass);
                expand_pass(f, variation_.shuffle_loop_expand ? variation_.seed * 3 + pass : 0);
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
                last_gasp(f, d, bound_, s_, stop_);
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
        expand(f, bound_, s_, ExpandParams{false, seed}, stop_);
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
    // The observer sees whole covers: the essential primes set aside during the loop included.
    void done(std::string_view name, const Cover& f) {
        if (!observer_) return;
        if (set_aside_ && !set_aside_->empty())
            observer_->pass_done(name, joined(f, *set_aside_));
        else
            observer_->pass_done(name, f);
    }

    const Cover& dc_;
    const GrowthBound& bound_;
    const Space& s_;
    bool sparse_;
    bool loop_;
    Observer* observer_;
    StopCheck& stop_;
    HeuristicStats& stats_;
    Variation variation_;
    bool sparse_changed_ = false;  // the last MAKE_SPARSE lowered some part
    StopCheck* others_ = nullptr;
    bool settled_ = false;
    const Cover* set_aside_ = nullptr;  // the essential primes while the loop runs without them
};

}  // namespace

HeuristicResult minimize_heuristic(const Cover& on, const Cover& dc, const Cover& off, const Space& space,
                                   const HeuristicParams& params, Observer& observer) {
    HeuristicResult result;
    StopCheck stop(observer);
    for (const cubes::Cube& c : on) result.stats.literals_before += cubes::literal_count(c, space);
    result.stats.terms_before = static_cast<int>(on.size());

    // All runs start at once: the first from the ON cover as given, on this thread, telling the
    // observer; beside it the one from the per-output cover (when both starts are wanted) and the
    // restarts, which alternate the starts and shuffle the first expansion. Each run is a pure
    // function of its number, so the results do not depend on how the threads share the work.
    const int n = 2 + std::max(0, params.restarts);
    std::vector<Cover> covers(n);
    std::vector<HeuristicStats> stats(n);
    // Every expansion of every run reads the OFF-set by columns: transposed once, shared read-only.
    // Without an OFF cover, the cubes grow inside ON and DC.
    const cubes::CoverColumns off_columns(off, space);
    const Cover care = params.off_known ? Cover{} : joined(on, dc);
    const GrowthBound bound = params.off_known ? GrowthBound(off_columns) : GrowthBound::inside(care);
    Run first(dc, bound, space, params, &observer, stop, stats[0]);
    StopCheck side_stop(&stop);  // the other tasks also end when the first run has settled the cover
    first.stop_when_settled(side_stop);
    const int first_side = params.both_starts ? 1 : 2;
    double restarts_start = 0;
    // The cover over all primes (for small functions) is one more task beside the runs.
    const int tasks = n + (params.all_primes ? 1 : 0);
    std::optional<Cover> prime_cover;
    double prime_cover_seconds = 0;
    run_beside(
        [&] {
            covers[0] = first.from_on(on, Start::as_given);
            if (n > 2 && !stop() && !first.settled()) {
                observer.phase("Restarts");
                restarts_start = monotonic_seconds();
            }
        },
        [&] {
            // The cover over all primes first: on small functions it is often the longest task.
            threads::for_each_index(0, tasks - first_side, [&](int i) {
                const int k = params.all_primes ? (i == 0 ? n : first_side + i - 1) : first_side + i;
                if (k == n) {
                    PhaseTimer t(prime_cover_seconds);
                    prime_cover = sparse_cover_from_all_primes(on, dc, bound, space, params.make_sparse, side_stop);
                    return;
                }
                const Start kind = k % 2 == 0 ? Start::as_given : Start::per_output;
                Variation v = variation(k);
                // The per-output start's cubes go into the union, whose IRREDUNDANT and MAKE_SPARSE
                // see every run's cubes: a second round of its own only did that work early (about
                // an eighth of the engine's CPU on the bench files, no term gained).
                if (kind == Start::per_output && n > 2) v.second_round = false;
                covers[k] = Run(dc, bound, space, params, nullptr, side_stop, stats[k]).from_on(on, kind, v);
            });
        },
        stop);
    if (!params.both_starts || first.settled()) covers[1] = covers[0];
    const int ran = first.settled() ? 1 : n > 2 && !stop() ? n : 2;
    if (ran > 2) stats[0].seconds.restarts = monotonic_seconds() - restarts_start;
    const double pool_start = monotonic_seconds();
    int winner = 0;
    for (int k = 1; k < ran; ++k)
        if (cover_cost(covers[k], space) < cover_cost(covers[winner], space)) winner = k;
    result.stats = stats[0];
    result.stats.passes = stats[winner].passes;
    result.stats.essential_primes = stats[winner].essential_primes;
    result.stats.best_restart = std::max(0, winner - 1);
    result.stats.unique_minimum = first.settled();
    result.cover = covers[winner];
    if (ran > 2 && !stop()) {
        // The runs' cubes together may cover the function with fewer than any run alone.
        Cover pool = first.best_of_union(covers, result.cover);
        if (cover_cost(pool, space) < cover_cost(result.cover, space)) {
            result.cover = std::move(pool);
            result.stats.pooled = true;
        }
        observer.pass_done("Restarts", result.cover);
        result.stats.seconds.restarts += monotonic_seconds() - pool_start;
    }
    if (prime_cover && !stop() && !first.settled()) {
        observer.phase("All Primes");
        if (cover_cost(*prime_cover, space) < cover_cost(result.cover, space)) {
            result.cover = std::move(*prime_cover);
            result.stats.from_all_primes = true;
        }
        observer.pass_done("All Primes", result.cover);
    }
    result.stats.seconds.all_primes = prime_cover_seconds;
    result.stopped = stop.stopped();
    result.stats.terms_after = static_cast<int>(result.cover.size());
    for (const cubes::Cube& c : result.cover) result.stats.literals_after += cubes::literal_count(c, space);
    return result;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
