// Essential primes found by the consensus test must be exactly the primes that own an ON point no
// other prime covers, on random functions whose primes are all known.
#include <algorithm>

#include <gtest/gtest.h>

#include "minimize/essential.h"
#include "minimize/function_oracle.h"

namespace vormel::minimize {
namespace {

using testing::PointFunction;

// The essentials taken from `cover` (a cover of primes) against the brute-force ownership test.
void expect_essentials_match(const PointFunction& fn, const cubes::Cover& cover, const cubes::Cover& primes,
                             int round) {
    cubes::Cover rest = cover;
    StopCheck never;
    const cubes::Cover essentials =
        take_essential_primes(rest, testing::point_cover(fn, testing::point_dc), fn.space, never);
    ASSERT_EQ(essentials.size() + rest.size(), cover.size());
    for (const cubes::Cube& p : cover) {
        const bool taken = std::find(essentials.begin(), essentials.end(), p) != essentials.end();
        ASSERT_EQ(taken, testing::essential_by_points(p, primes, fn)) << "round " << round;
    }
}

TEST(EssentialPrimes, MatchPointOwnershipAmongAllPrimes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        const PointFunction fn = testing::random_function(rng, 2 + round % 5, 1 + round % 3);
        const cubes::Cover primes = testing::all_primes(fn);
        expect_essentials_match(fn, primes, primes, round);
    }
}

// A prime that another output's cube makes non-essential (through the outputs the two share) was
// once taken as essential because the consensus only looked at cubes at distance one.
TEST(EssentialPrimes, MatchPointOwnershipFromAnIrredundantPrimeCover) {
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        const PointFunction fn = testing::random_function(rng, 2 + round % 5, 1 + round % 3);
        const cubes::Cover primes = testing::all_primes(fn);
        cubes::Cover cover = primes;
        std::shuffle(cover.begin(), cover.end(), rng);
        for (std::size_t k = cover.size(); k-- > 0;) {
            cubes::Cover without = cover;
            without.erase(without.begin() + static_cast<long>(k));
            if (testing::check_valid(without, fn).empty()) cover = without;
        }
        expect_essentials_match(fn, cover, primes, round);
    }
}

}  // namespace
}  // namespace vormel::minimize
