#include <gtest/gtest.h>

#include <bit>

#include "prime_test_support.h"
#include "primes/cns.h"
#include "primes/qmc.h"

namespace vormel::testing {
namespace {

// Seeded random functions with don't cares, 1 to 10 inputs, both polarities: both generators find
// exactly the primes, each in the order of the straightforward method on byte rows.
TEST(PrimesProperty, BothGeneratorsFindEveryPrimeInReferenceOrder) {
    std::mt19937 rng(20240521);
    for (int round = 0; round < 300; ++round) {
        const int inputs = 1 + static_cast<int>(rng() % (round < 280 ? 8 : 10));
        const int outputs = 1 + static_cast<int>(rng() % 3);
        const double ones = std::uniform_real_distribution<double>(0.05, 0.8)(rng);
        const double dcs = std::uniform_real_distribution<double>(0.0, 0.4)(rng);
        PrimeBench qmc(0, polarity_automatic);
        make_problem(qmc.problem, inputs, outputs);
        randomize(qmc.problem, rng, ones, dcs);
        PrimeBench cns(0, polarity_automatic);
        cns.problem = qmc.problem;
        Primes_QMC(qmc.ctx, qmc.problem, qmc.store);
        Primes_CNS(cns.ctx, cns.problem, cns.store);
        ASSERT_FALSE(qmc.ctx.failed());
        ASSERT_FALSE(cns.ctx.failed());
        for (int j = 0; j < outputs; ++j) {
            for (int v = 0; v < 2; ++v) {
                SCOPED_TRACE("round " + std::to_string(round) + " inputs " + std::to_string(inputs) + " output " +
                             std::to_string(j) + " value " + std::to_string(v));
                const std::set<std::string> expected = brute_force_primes(qmc.problem, j, v);
                const std::vector<std::string> by_qmc = qmc.stored(j, v);
                const std::vector<std::string> by_cns = cns.stored(j, v);
                EXPECT_EQ(std::set<std::string>(by_qmc.begin(), by_qmc.end()), expected);
                EXPECT_EQ(by_qmc.size(), expected.size());
                EXPECT_EQ(std::set<std::string>(by_cns.begin(), by_cns.end()), expected);
                EXPECT_EQ(by_cns.size(), expected.size());
                EXPECT_EQ(by_qmc, reference_qmc(qmc.problem, j, v));
                EXPECT_EQ(by_cns, reference_cns(cns.problem, j, v));
            }
        }
        if (::testing::Test::HasFailure()) return;
    }
}

// Above the sizes that QMC handles: every stored cube is an implicant, no literal can be dropped,
// and together they cover the set.
TEST(PrimesProperty, ConsensusPrimesAreImplicantsPrimeAndCovering) {
    std::mt19937 rng(77);
    const double densities[] = {0.5, 0.4, 0.3, 0.2};
    for (int round = 0; round < 4; ++round) {
        const int inputs = 11 + round;
        PrimeBench cns(0, polarity_one_set);
        make_problem(cns.problem, inputs, 1);
        randomize(cns.problem, rng, densities[round], 0.1);
        Primes_CNS(cns.ctx, cns.problem, cns.store);
        ASSERT_FALSE(cns.ctx.failed());
        const std::uint32_t full = (1u << inputs) - 1;
        auto in_set = [&](std::uint32_t m) { return cns.problem.extab.y(static_cast<int>(m))[0] != kZero; };
        // Whether every minterm of the cube is in the set.
        auto implicant = [&](std::uint32_t care, std::uint32_t value) {
            const std::uint32_t free_bits = full & ~care;
            for (std::uint32_t sub = free_bits;; sub = (sub - 1) & free_bits) {
                if (!in_set(value | sub)) return false;
                if (sub == 0) return true;
            }
        };
        std::vector<std::uint8_t> covered(std::size_t{1} << inputs, 0);
        for (const std::string& text : cns.stored(0, 1)) {
            std::uint32_t care = 0, value = 0;
            for (int i = 0; i < inputs; ++i) {
                const std::uint32_t bit = 1u << (inputs - 1 - i);
                if (text[static_cast<std::size_t>(i)] != '-') care |= bit;
                if (text[static_cast<std::size_t>(i)] == '1') value |= bit;
            }
            ASSERT_TRUE(implicant(care, value)) << text;
            for (std::uint32_t bits = care; bits != 0; bits &= bits - 1) {
                const std::uint32_t b = bits & (~bits + 1);
                ASSERT_FALSE(implicant(care & ~b, value & ~b)) << text << " keeps an implicant without a literal";
            }
            const std::uint32_t free_bits = full & ~care;
            for (std::uint32_t sub = free_bits;; sub = (sub - 1) & free_bits) {
                covered[value | sub] = 1;
                if (sub == 0) break;
            }
        }
        for (std::uint32_t m = 0; m <= full; ++m) ASSERT_EQ(covered[m] != 0, in_set(m)) << "minterm " << m;
    }
}

}  // namespace
}  // namespace vormel::testing
