// Essential primes found by the consensus test must be exactly the primes that own an ON point no
// other prime covers, on random functions whose primes are all known.
#include <gtest/gtest.h>

#include "minimize/essential.h"
#include "minimize/function_oracle.h"

namespace vormel::minimize {
namespace {

using testing::PointFunction;

TEST(EssentialPrimes, MatchPointOwnershipAmongAllPrimes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        const PointFunction fn = testing::random_function(rng, 2 + round % 5, 1 + round % 3);
        const cubes::Cover primes = testing::all_primes(fn);
        cubes::Cover rest = primes;
        StopCheck never;
        const cubes::Cover essentials = take_essential_primes(rest, testing::point_cover(fn, testing::point_dc), fn.space, never);
        ASSERT_EQ(essentials.size() + rest.size(), primes.size());
        for (const cubes::Cube& p : primes) {
            const bool taken = std::find(essentials.begin(), essentials.end(), p) != essentials.end();
            ASSERT_EQ(taken, testing::essential_by_points(p, primes, fn)) << "round " << round;
        }
    }
}

// The test needs only some cover of primes: one that is irredundant, drawn at random.
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
        cubes::Cover rest = cover;
        StopCheck never;
        const cubes::Cover essentials =
            take_essential_primes(rest, testing::point_cover(fn, testing::point_dc), fn.space, never);
        for (const cubes::Cube& p : cover) {
            const bool taken = std::find(essentials.begin(), essentials.end(), p) != essentials.end();
            if (taken != testing::essential_by_points(p, primes, fn)) {
                auto show = [&](const cubes::Cube& c) {
                    std::string s;
                    for (int i = 0; i < fn.space.nx; ++i) s += "01-?"[cubes::input_value(c, i)];
                    s += ' ';
                    for (int j = 0; j < fn.space.ny; ++j) s += cubes::has_output(c, j) ? '1' : '0';
                    return s;
                };
                std::string text = "p " + show(p) + "\ncover:\n";
                for (auto& c : cover) text += show(c) + "\n";
                text += "primes:\n";
                for (auto& c : primes) text += show(c) + "\n";
                text += "dc:\n";
                for (auto& c : testing::point_cover(fn, testing::point_dc)) text += show(c) + "\n";
                FAIL() << text;
            }
        }
    }
}

}  // namespace
}  // namespace vormel::minimize
