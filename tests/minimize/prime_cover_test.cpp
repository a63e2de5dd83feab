// The cover over all primes: the brute-force minimum on small functions, and no answer (rather
// than a late one) when the limits are too tight.
#include <algorithm>

#include <gtest/gtest.h>

#include "cubes/cube_oracle.h"
#include "minimize/prime_cover.h"
#include "minimize/minterm_oracle.h"

namespace vormel::minimize {
namespace {

using testing::SmallFunction;

TEST(PrimeCover, HasTheFewestTermsOnSmallRandomFunctions) {
    std::mt19937 rng(4711);
    for (int k = 0; k < 400; ++k) {
        const int nx = 1 + static_cast<int>(rng() % 6);
        const int ny = 1 + static_cast<int>(rng() % 3);
        const SmallFunction f = k % 2 ? testing::random_small_function(rng, nx, ny)
                                      : testing::random_point_function(rng, std::min(nx, 5), ny, 45, 10);
        Observer observer;
        const std::optional<cubes::Cover> cover = cover_from_all_primes(f.on_cubes, f.dc_cover(), f.space, observer);
        ASSERT_TRUE(cover.has_value()) << "case " << k;
        ASSERT_TRUE(testing::covers_exactly(f, *cover)) << "case " << k;
        const cubes::Cover primes = testing::brute_force_primes(f);
        const testing::BruteForceCost minimum = testing::brute_force_minimum(f, primes);
        EXPECT_EQ(static_cast<int>(cover->size()), minimum.terms) << "case " << k;
        for (const cubes::Cube& c : *cover) EXPECT_NE(std::find(primes.begin(), primes.end(), c), primes.end()) << "case " << k;
    }
}

TEST(PrimeCover, GivesNoCoverBeyondItsLimits) {
    std::mt19937 rng(99);
    const SmallFunction f = testing::random_point_function(rng, 5, 3, 45, 10);
    Observer observer;
    ASSERT_TRUE(cover_from_all_primes(f.on_cubes, f.dc_cover(), f.space, observer).has_value());
    for (PrimeCoverLimits tight : {PrimeCoverLimits{.max_primes = 1}, PrimeCoverLimits{.prime_work = 1},
                                   PrimeCoverLimits{.row_work = 1}}) {
        EXPECT_FALSE(cover_from_all_primes(f.on_cubes, f.dc_cover(), f.space, observer, tight).has_value());
    }
}

}  // namespace
}  // namespace vormel::minimize
