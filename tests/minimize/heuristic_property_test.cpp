// The whole engine on seeded random multi-output functions with don't-cares, each result checked
// point by point: every ON point covered, no OFF point touched, every cube prime, no cube redundant.
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <oneapi/tbb/global_control.h>
#include <oneapi/tbb/task_arena.h>

#include "minimize/exact.h"
#include "minimize/function_oracle.h"
#include "minimize/heuristic.h"

namespace vormel::minimize {
namespace {

using testing::FunctionCovers;
using testing::PointFunction;

HeuristicResult minimize(const FunctionCovers& f, const cubes::Space& s, const HeuristicParams& params) {
    Observer quiet;
    return minimize_heuristic(f.on, f.dc, f.off, s, params, quiet);
}

// Every round also runs without the OFF cover (as for functions whose OFF cover is too large to
// build): the cubes then grow inside ON and DC, and the covers must be just as valid, prime and
// irredundant, and nearly as small.
TEST(HeuristicMinimizer, ThousandRandomFunctionsGiveValidPrimeIrredundantCovers) {
    std::mt19937 rng(2024);
    int terms_with_off = 0, terms_without = 0;
    for (int round = 0; round < 1000; ++round) {
        const int nx = 3 + round % 10;
        const int ny = 1 + (round / 10) % 8;
        const PointFunction fn = testing::random_function(rng, nx, ny);
        // Small functions start from their points, large ones from the cubes they were drawn as.
        const FunctionCovers f = testing::covers_of(fn, nx <= 7);
        HeuristicParams params;
        params.make_sparse = round % 2 == 0;
        params.both_starts = round % 4 < 2;
        for (const bool off_known : {true, false}) {
            params.off_known = off_known;
            const HeuristicResult r = minimize(off_known ? f : FunctionCovers{f.on, f.dc, {}}, fn.space, params);
            ASSERT_FALSE(r.stopped);
            ASSERT_EQ(testing::check_valid(r.cover, fn), "") << "round " << round << " off " << off_known;
            // Sparse covers drop output bits on purpose; their input parts stay prime.
            ASSERT_EQ(testing::check_prime(r.cover, fn, !params.make_sparse), "") << "round " << round << " off " << off_known;
            ASSERT_EQ(testing::check_irredundant(r.cover, fn), "") << "round " << round << " off " << off_known;
            ASSERT_EQ(r.stats.terms_after, static_cast<int>(r.cover.size()));
            ASSERT_LE(r.stats.terms_after, static_cast<int>(fn.values.size()));
            (off_known ? terms_with_off : terms_without) += r.stats.terms_after;
        }
    }
    EXPECT_LE(terms_without, terms_with_off * 21 / 20);
}

TEST(HeuristicMinimizer, RestartsNeverLoseAndDoNotDependOnTheThreadCount) {
    std::mt19937 rng(99);
    for (int round = 0; round < 40; ++round) {
        const PointFunction fn = testing::random_function(rng, 6 + round % 5, 1 + round % 6);
        const FunctionCovers f = testing::covers_of(fn, false);
        HeuristicParams once;
        HeuristicParams restarted;
        restarted.restarts = 4;
        const HeuristicResult base = minimize(f, fn.space, once);
        HeuristicResult serial, parallel;
        {
            tbb::global_control one(tbb::global_control::max_allowed_parallelism, 1);
            serial = minimize(f, fn.space, restarted);
        }
        {
            tbb::global_control many(tbb::global_control::max_allowed_parallelism, 4);
            parallel = minimize(f, fn.space, restarted);
        }
        ASSERT_EQ(serial.cover, parallel.cover) << "round " << round;
        ASSERT_EQ(serial.stats.best_restart, parallel.stats.best_restart);
        ASSERT_LE(serial.stats.terms_after, base.stats.terms_after);
        ASSERT_EQ(testing::check_valid(serial.cover, fn), "") << "round " << round;
        ASSERT_EQ(testing::check_irredundant(serial.cover, fn), "") << "round " << round;
    }
}

// Remembers the phases the engine announces.
class PhaseRecorder : public Observer {
public:
    void phase(std::string_view name) override { phases.emplace_back(name); }
    bool saw(std::string_view name) const { return std::find(phases.begin(), phases.end(), name) != phases.end(); }
    std::vector<std::string> phases;
};

// When the first run's cover is all essential primes it is the only minimum: the restarts and the
// all-primes search end unused, and the exact method finds that very cover.
TEST(HeuristicMinimizer, CoverOfEssentialPrimesEndsTheSearchAtTheMinimum) {
    std::mt19937 rng(808);
    int settled = 0;
    int searched = 0;
    for (int round = 0; round < 200; ++round) {
        const PointFunction fn = testing::random_function(rng, 3 + round % 6, 1 + round % 4);
        const FunctionCovers f = testing::covers_of(fn, round % 2 == 0);
        HeuristicParams params;
        params.restarts = 2;
        params.make_sparse = false;  // the exact method's cubes are whole primes
        PhaseRecorder observer;
        const HeuristicResult r = minimize_heuristic(f.on, f.dc, f.off, fn.space, params, observer);
        ASSERT_EQ(testing::check_valid(r.cover, fn), "") << "round " << round;
        if (!r.stats.unique_minimum) {
            ++searched;
            ASSERT_TRUE(observer.saw("Restarts")) << "round " << round;
            continue;
        }
        ++settled;
        ASSERT_FALSE(observer.saw("Restarts")) << "round " << round;
        ASSERT_FALSE(observer.saw("All Primes")) << "round " << round;
        Observer quiet;
        const ExactResult exact = minimize_exact(f.on, f.dc, f.off, fn.space, ExactParams{}, quiet);
        ASSERT_TRUE(exact.proven);
        // The same primes; the exact method then drops the connections the others make needless
        // (and a term that lost one may grow): each of its terms comes from one of ours.
        ASSERT_EQ(r.cover.size(), exact.cover.size()) << "round " << round;
        for (const cubes::Cube& e : exact.cover) {
            const bool from_ours = std::any_of(r.cover.begin(), r.cover.end(), [&](const cubes::Cube& h) {
                return (h.in & ~e.in).none() && (e.out & ~h.out).none();
            });
            ASSERT_TRUE(from_ours) << "round " << round;
        }
    }
    EXPECT_GT(settled, 10);
    EXPECT_GT(searched, 10);
}

// Says stop after a given number of questions.
class StoppingObserver : public Observer {
public:
    explicit StoppingObserver(int answers) : left_(answers) {}
    bool keep_going() override { return left_-- > 0; }

private:
    int left_;
};

// A restart that never ran once left an empty cover behind, which then won as the cheapest.
TEST(HeuristicMinimizer, StoppedRunsReturnAValidCover) {
    std::mt19937 rng(5);
    for (int round = 0; round < 60; ++round) {
        const PointFunction fn = testing::random_function(rng, 5 + round % 6, 1 + round % 5);
        const FunctionCovers f = testing::covers_of(fn, round % 2 == 0);
        HeuristicParams params;
        params.restarts = round % 3;
        StoppingObserver observer(round * 3);
        const HeuristicResult r = minimize_heuristic(f.on, f.dc, f.off, fn.space, params, observer);
        ASSERT_EQ(testing::check_valid(r.cover, fn), "") << "round " << round;
        if (round == 0) {
            ASSERT_TRUE(r.stopped);
        }
    }
}

// Counts the process's threads each time the engine asks whether to go on.
class ThreadCountingObserver : public Observer {
public:
    static int threads_now() {
        const std::filesystem::directory_iterator tasks("/proc/self/task");
        return static_cast<int>(std::distance(begin(tasks), end(tasks)));
    }
    bool keep_going() override {
        ++questions;
        most = std::max(most, threads_now());
        return true;
    }
    int questions = 0;
    int most = 0;
};

// --threads 1 still ran the other starts and the restarts on a thread of their own.
TEST(HeuristicMinimizer, RunAllowedOneThreadStartsNoOther) {
    std::mt19937 rng(31);
    const PointFunction fn = testing::random_function(rng, 9, 4);
    const FunctionCovers f = testing::covers_of(fn, false);
    HeuristicParams params;
    params.restarts = 2;
    const HeuristicResult beside = minimize(f, fn.space, params);
    ThreadCountingObserver observer;
    HeuristicResult alone;
    tbb::task_arena one(1);
    const int before = ThreadCountingObserver::threads_now();
    one.execute([&] { alone = minimize_heuristic(f.on, f.dc, f.off, fn.space, params, observer); });
    EXPECT_GT(observer.questions, 0);
    EXPECT_EQ(observer.most, before);
    EXPECT_EQ(alone.cover, beside.cover);
}

}  // namespace
}  // namespace vormel::minimize
