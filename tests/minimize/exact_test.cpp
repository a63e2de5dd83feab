// The exact method end to end: the minimum of brute force on random functions, a valid cover with
// a sound bound whenever it is stopped, at any phase.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "cubes/cover_algebra.h"
#include "cubes/cube_oracle.h"
#include "minimize/exact.h"
#include "minimize/minterm_oracle.h"

namespace vormel::minimize {
namespace {

using testing::BruteForceCost;
using testing::SmallFunction;

// Says stop from the start of the named phase on.
class StopAtPhase : public Observer {
public:
    explicit StopAtPhase(std::string phase) : phase_(std::move(phase)) {}
    void phase(std::string_view name) override { stopping_ = stopping_ || name == phase_; }
    bool keep_going() override { return !stopping_; }

private:
    std::string phase_;
    bool stopping_ = false;
};

ExactResult run(const SmallFunction& f, Observer& observer, double limit = 60) {
    return minimize_exact(f.on_cubes, f.dc_cover(), f.off_cover(), f.space, ExactParams{limit}, observer);
}

TEST(ExactMethod, MatchesTheBruteForceMinimumOfRandomFunctions) {
    std::mt19937 rng(8128);
    int solved_by_solver = 0;
    for (int k = 0; k < 1500; ++k) {
        const int nx = 1 + static_cast<int>(rng() % 6);
        const int ny = 1 + static_cast<int>(rng() % 3);
        // Every other function drawn point by point, which leaves cyclic cores for the solver.
        const SmallFunction f = k % 2 ? testing::random_small_function(rng, nx, ny)
                                      : testing::random_point_function(rng, std::min(nx, 5), ny, 45, 10);
        Observer observer;
        const ExactResult r = run(f, observer);
        ASSERT_TRUE(testing::covers_exactly(f, r.cover)) << "case " << k;
        const cubes::Cover primes = testing::brute_force_primes(f);
        EXPECT_EQ(r.prime_count, static_cast<int>(primes.size())) << "case " << k;
        for (const cubes::Cube& c : r.cover)
            EXPECT_TRUE(std::any_of(primes.begin(), primes.end(), [&](const cubes::Cube& p) { return cubes::contains(p, c); }))
                << "case " << k;
        // The connections a term does not need are gone (it then may lose literals, never terms).
        const BruteForceCost minimum = testing::brute_force_minimum(f, primes);
        EXPECT_EQ(r.terms, minimum.terms) << "case " << k;
        EXPECT_LE(r.literals, minimum.literals) << "case " << k;
        for (std::size_t t = 0; t < r.cover.size(); ++t) {
            for (int j = 0; j < f.space.ny; ++j) {
                if (!r.cover[t].out.test(j)) continue;
                cubes::Cover fewer = r.cover;
                cubes::clear_output(fewer[t], j);
                EXPECT_FALSE(testing::covers_exactly(f, fewer)) << "case " << k << ": needless connection";
            }
        }
        EXPECT_TRUE(r.proven && r.literals_proven && !r.stopped && !r.fallback) << "case " << k;
        EXPECT_EQ(r.lower_bound, r.terms);
        solved_by_solver += r.core_rows > 0;
    }
    EXPECT_GT(solved_by_solver, 100);  // the cases reach the solver, not only the reductions
}

TEST(ExactMethod, StoppedInAnyPhaseGivesAValidCoverAndASoundBound) {
    for (const char* phase : {"Primes", "Covering Rows", "Minimum Cover"}) {
        std::mt19937 rng(31337);
        for (int k = 0; k < 60; ++k) {
            const SmallFunction f =
                k % 2 ? testing::random_small_function(rng, 6, 3) : testing::random_point_function(rng, 5, 2, 45, 10);
            StopAtPhase observer(phase);
            const ExactResult r = run(f, observer);
            ASSERT_TRUE(testing::covers_exactly(f, r.cover)) << phase << " case " << k;
            const BruteForceCost least = testing::brute_force_minimum(f, testing::brute_force_primes(f));
            EXPECT_LE(r.lower_bound, least.terms) << phase << " case " << k;
            EXPECT_GE(r.terms, least.terms) << phase << " case " << k;
            EXPECT_EQ(r.proven, r.terms == r.lower_bound) << phase << " case " << k;
            // A solver that finished anyway (nothing to branch on) must have the true minimum.
            if (!r.stopped) {
                EXPECT_EQ((BruteForceCost{r.terms, r.literals}), least) << phase << " case " << k;
            }
            EXPECT_EQ(r.fallback, std::string(phase) != "Minimum Cover") << phase << " case " << k;
        }
    }
}

TEST(ExactMethod, TinyTimeLimitOnALargerFunctionStillCovers) {
    std::mt19937 rng(2718);
    const cubes::Space s = cubes::Space::of(14, 6);
    const cubes::Cover on = cubes::testing::random_cover(rng, s, 120, 45);
    cubes::Cover off = cubes::complement(on, s);
    Observer observer;
    const ExactResult r = minimize_exact(on, {}, off, s, ExactParams{0.0}, observer);
    EXPECT_TRUE(r.stopped && r.fallback);
    EXPECT_FALSE(r.cover.empty());
    for (const cubes::Cube& c : on) EXPECT_TRUE(cubes::covers(r.cover, c, s));
    for (const cubes::Cube& d : off)
        for (const cubes::Cube& c : r.cover) ASSERT_FALSE(cubes::intersects(c, d, s));
    EXPECT_GE(r.lower_bound, 1);
    EXPECT_LE(r.lower_bound, r.terms);
    EXPECT_EQ(r.terms, static_cast<int>(r.cover.size()));
}

}  // namespace
}  // namespace vormel::minimize
