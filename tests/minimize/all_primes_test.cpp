// The primes found on cubes must be exactly the multi-output primes found point by point.
#include <gtest/gtest.h>

#include <algorithm>

#include "cubes/cube_oracle.h"
#include "minimize/all_primes.h"
#include "minimize/minterm_oracle.h"

namespace vormel::minimize {
namespace {

using testing::SmallFunction;

cubes::Cover primes_of(const cubes::Cover& f, const cubes::Space& s) {
    Observer observer;
    WorkBudget budget(observer, 60);
    PrimeStats stats;
    cubes::Cover primes;
    EXPECT_TRUE(all_primes(f, s, budget, primes, stats));
    return primes;
}

TEST(AllPrimes, EqualTheBruteForcePrimesOfRandomFunctions) {
    std::mt19937 rng(20261208);
    for (int k = 0; k < 3000; ++k) {
        const int nx = 1 + static_cast<int>(rng() % 6);
        const int ny = 1 + static_cast<int>(rng() % 5);
        const SmallFunction f =
            k % 3 ? testing::random_small_function(rng, nx, ny) : testing::random_point_function(rng, nx, ny, 40, 15);
        cubes::Cover input = f.on_cubes;
        const cubes::Cover dc = f.dc_cover();
        input.insert(input.end(), dc.begin(), dc.end());
        ASSERT_EQ(primes_of(input, f.space), testing::brute_force_primes(f)) << "case " << k;
    }
}

TEST(AllPrimes, IgnoreEmptyCubesAndOrder) {
    std::mt19937 rng(7);
    const SmallFunction f = testing::random_small_function(rng, 5, 3);
    cubes::Cover shuffled = f.on_cubes;
    shuffled.push_back(cubes::Cube{f.space.in_full, {0, 0}});  // no output
    shuffled.push_back(cubes::Cube{0, {1, 0}});                // no input point
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    EXPECT_EQ(primes_of(shuffled, f.space), primes_of(f.on_cubes, f.space));
}

// The limit on the count ends the search when a cofactor has too many primes: it must fail exactly
// when the function has more primes than allowed, never for a function within the limit.
TEST(AllPrimes, FailOnlyForFunctionsWithMorePrimesThanAllowed) {
    std::mt19937 rng(4242);
    Observer observer;
    for (int k = 0; k < 1500; ++k) {
        const int nx = 2 + static_cast<int>(rng() % 7);
        const int ny = 1 + static_cast<int>(rng() % 4);
        const SmallFunction f = testing::random_small_function(rng, nx, ny);
        const cubes::Cover all = primes_of(f.on_cubes, f.space);
        for (const std::size_t most : {all.size(), all.size() - 1, all.size() / 2}) {
            WorkBudget budget(observer, 60);
            PrimeStats stats;
            cubes::Cover primes;
            const bool found = all_primes(f.on_cubes, f.space, budget, primes, stats, most);
            ASSERT_EQ(found, all.size() <= most) << "case " << k << ", at most " << most;
            if (found) {
                ASSERT_EQ(primes, all) << "case " << k;
            }
        }
    }
}

TEST(AllPrimes, ReportsAnExhaustedBudget) {
    struct Stopped : Observer {
        bool keep_going() override { return false; }
    } observer;
    std::mt19937 rng(3);
    WorkBudget budget(observer, 60);
    PrimeStats stats;
    cubes::Cover primes;
    // The recursion polls the budget every so many nodes: a function with many nodes.
    cubes::Cover big;
    for (int k = 0; k < 4000; ++k) big.push_back(cubes::testing::random_cube(rng, cubes::Space::of(16, 3), 40));
    EXPECT_FALSE(all_primes(big, cubes::Space::of(16, 3), budget, primes, stats));
}

}  // namespace
}  // namespace vormel::minimize
