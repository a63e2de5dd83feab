#include <gtest/gtest.h>

#include "multiout/random_generator.h"

using vormel::RandomGenerator;

TEST(MultioutRandom, SeedOneGivesTheKnownSequence) {
    RandomGenerator rng;
    rng.seed(1.0f);
    EXPECT_EQ(rng.state(), 1065353216u);
    EXPECT_DOUBLE_EQ(rng.draw(), 0.240234375);
    EXPECT_EQ(rng.state(), 1031798785u);
    EXPECT_NEAR(rng.draw(), 0.2325518145, 1e-10);
    EXPECT_EQ(rng.state(), 998802438u);
    EXPECT_NEAR(rng.draw(), 0.8669078420, 1e-10);
    EXPECT_EQ(rng.state(), 3723340831u);

    rng.seed(1.0f);
    EXPECT_EQ(rng.random_integer(0, 3), 0);
    EXPECT_EQ(rng.random_integer(5, 8), 5);   // u = 0.2325...
    EXPECT_EQ(rng.random_integer(0, 9), 8);   // u = 0.8669...
}

TEST(MultioutRandom, SkipEqualsThatManyDraws) {
    for (std::uint32_t n : {0u, 1u, 2u, 7u, 1000u, 65537u}) {
        RandomGenerator a, b;
        a.seed(1.0f);
        b.seed(1.0f);
        for (std::uint32_t i = 0; i < n; ++i) a.draw();
        b.skip(n);
        b.skip(n);  // the cached coefficients are reused
        for (std::uint32_t i = 0; i < n; ++i) a.draw();
        EXPECT_EQ(a.state(), b.state()) << n;
    }
}

TEST(MultioutRandom, ShuffleSwapsEachPositionWithADrawnOne) {
    RandomGenerator rng;
    rng.seed(1.0f);
    std::vector<int> order;
    // Draws give positions 0, 0, 3, 0: swaps (1,0), (2,3), (3,0) from 0 1 2 3.
    vormel::shuffle_indices(rng, 3, order);
    EXPECT_EQ(order, (std::vector<int>{2, 0, 3, 1}));
    vormel::shuffle_indices(rng, 0, order);
    EXPECT_EQ(order, (std::vector<int>{0}));
}
