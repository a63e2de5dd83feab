// The covering solver against trying every subset of columns.
#include <climits>
#include <random>

#include <gtest/gtest.h>

#include "minimize/cover_cost.h"
#include "minimize/min_cover.h"

namespace vormel::minimize {
namespace {

long long cost_of(const CoveringProblem& p, const std::vector<int>& chosen) {
    long long cost = 0;
    for (int c : chosen) cost += p.cost[c];
    return cost;
}

bool satisfies(const CoveringProblem& p, const std::vector<int>& chosen) {
    for (const auto& row : p.rows) {
        if (row.empty()) continue;
        bool hit = false;
        for (int c : row) hit = hit || std::find(chosen.begin(), chosen.end(), c) != chosen.end();
        if (!hit) return false;
    }
    return true;
}

long long brute_force_cost(const CoveringProblem& p) {
    long long best = LLONG_MAX;
    for (std::uint32_t set = 0; set < (1u << p.columns); ++set) {
        std::vector<int> chosen;
        for (int c = 0; c < p.columns; ++c)
            if ((set >> c) & 1) chosen.push_back(c);
        if (satisfies(p, chosen)) best = std::min(best, cost_of(p, chosen));
    }
    return best;
}

TEST(MinCover, FindsTheCheapestCoverWithinItsNodeLimit) {
    std::mt19937 rng(17);
    for (int round = 0; round < 500; ++round) {
        CoveringProblem p;
        p.columns = 1 + static_cast<int>(rng() % 12);
        for (int c = 0; c < p.columns; ++c) p.cost.push_back(round % 2 ? 1 : 1 + static_cast<int>(rng() % 5));
        const int rows = static_cast<int>(rng() % 30);
        for (int r = 0; r < rows; ++r) {
            std::vector<int> row;
            for (int c = 0; c < p.columns; ++c)
                if (rng() % 3 == 0) row.push_back(c);
            p.rows.push_back(row);
        }
        const CoveringResult exact = min_cover(p, {1000000});
        ASSERT_TRUE(exact.exact);
        ASSERT_TRUE(satisfies(p, exact.chosen)) << "round " << round;
        ASSERT_EQ(cost_of(p, exact.chosen), brute_force_cost(p)) << "round " << round;
        // Cut short, the answer is still a cover.
        const CoveringResult rough = min_cover(p, {1});
        ASSERT_TRUE(satisfies(p, rough.chosen)) << "round " << round;
    }
}

// Two wide cubes (32 input literals, 128 outputs each) cover four rows that otherwise take three
// narrow ones. A term weighed as 256 literals chose the three narrow cubes (771 against 832); no
// saving in literals may buy a term.
TEST(MinCover, TermsFirstCostsNeverTradeATermForLiterals) {
    const cubes::Space s = cubes::Space::of(32, 128);
    cubes::Cube wide{cubes::InBits{}, s.out_full};
    for (int i = 0; i < 32; ++i) wide.in |= cubes::input_bits(i, 1);
    const cubes::Cube narrow{s.in_full & ~cubes::input_bits(0, 0), cubes::OutBits::bit(0)};
    const cubes::Cover cubes{wide, wide, narrow, narrow, narrow};  // a1 a2 b1 b2 b3
    CoveringProblem p;
    p.columns = 5;
    p.rows = {{0, 2}, {0, 3}, {1, 4}, {1, 2}};
    p.cost = terms_first_costs(literal_counts(cubes, s));
    EXPECT_EQ(min_cover(p, {1000}).chosen, (std::vector<int>{0, 1}));
}

}  // namespace
}  // namespace vormel::minimize
