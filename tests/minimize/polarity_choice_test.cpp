// Output phase choice: the estimate from pooled covers on hand-made cases, Automatic and
// Combination on seeded random functions against the point oracle and an exhaustive search.
#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "minimize/function_oracle.h"
#include "minimize/heuristic.h"
#include "minimize/phase_estimate.h"
#include "minimize/polarity_choice.h"

namespace vormel::minimize {
namespace {

using cubes::Cover;
using cubes::Cube;
using cubes::Space;

// A cube of two inputs (pairs as in the cube word) feeding the outputs listed.
Cube cube(std::uint64_t in, std::initializer_list<int> outputs) {
    Cube c{in, {0, 0}};
    for (int j : outputs) cubes::set_output(c, j);
    return c;
}

constexpr std::uint64_t kA = 0b0101, kB = 0b0110, kD = 0b1001, kE = 0b1010, kF = 0b1111;

TEST(PhasePool, OneTermSharedByBothInvertedOutputsWins) {
    const Space s = Space::of(2, 2);
    PhasePool pool(s);
    pool.add({cube(kA, {0}), cube(kB, {1})}, {1, 1});
    pool.add({cube(kD, {0, 1})}, {0, 0});
    EXPECT_EQ(pool.fewest_cubes(), (std::vector<int>{0, 0}));
}

TEST(PhasePool, MixedPhasesFoundByFlipsWhenTheyShareATerm) {
    const Space s = Space::of(2, 2);
    PhasePool pool(s);
    // Output 0 is cheapest normal (A), output 1 inverted; the two covers meet in A only once the
    // terms of both are pooled, which neither uniform assignment sees.
    pool.add({cube(kA, {0}), cube(kB, {1}), cube(kD, {1})}, {1, 1});
    pool.add({cube(kE, {0}), cube(kF, {0})}, {0, 0});
    pool.add_output({cube(kA, {0})}, 1, 0);
    EXPECT_EQ(pool.fewest_cubes(), (std::vector<int>{1, 0}));
}

TEST(PhasePool, OutputsPastTheDoubledWidthKeepTheirNormalPhase) {
    const Space s = Space::of(2, 80);
    PhasePool pool(s);
    std::vector<int> inverted(80, 0);
    Cube all{kA, {0, 0}};
    for (int j = 0; j < 80; ++j) cubes::set_output(all, j);
    pool.add({all}, inverted);
    Cube b{kB, {0, 0}}, d{kD, {0, 0}};
    for (int j = 0; j < 80; ++j) cubes::set_output(b, j), cubes::set_output(d, j);
    pool.add({b, d}, std::vector<int>(80, 1));
    const std::vector<int> phases = pool.fewest_cubes();
    ASSERT_EQ(phases.size(), 80u);
    for (int j = 0; j < 80; ++j) EXPECT_EQ(phases[j], j < 64 ? 0 : 1) << j;
}

// The point function with the outputs of polarity 0 inverted (ON and OFF swapped).
testing::PointFunction inverted_where_zero(testing::PointFunction fn, const std::vector<int>& polarity) {
    for (int j = 0; j < fn.space.ny; ++j) {
        if (polarity[j] == 1) continue;
        for (std::uint32_t p = 0; p < fn.points(); ++p) {
            std::uint8_t& v = fn.values[(static_cast<std::size_t>(j) << fn.space.nx) + p];
            if (v != testing::point_dc) v = v == testing::point_on ? testing::point_off : testing::point_on;
        }
    }
    return fn;
}

TEST(AutomaticPolarity, IsValidAndNoWorseThanEitherUniformPhase) {
    std::mt19937 rng(20261208);
    Observer quiet;
    const PolarityMinimizer minimize = [](const cubes::FunctionCovers& g, const std::function<bool()>&) {
        Observer none;
        return minimize_heuristic(g.on, g.dc, g.off, g.space, HeuristicParams{}, none).cover;
    };
    const auto never = [] { return false; };
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const testing::PointFunction fn = testing::random_function(rng, 3 + round % 6, 1 + round % 7);
        const testing::FunctionCovers t = testing::covers_of(fn, round % 2 == 0);
        const cubes::FunctionCovers f{fn.space, t.on, t.dc, t.off};
        PolarityChoice normal;
        normal.polarity.assign(static_cast<std::size_t>(fn.space.ny), 1);
        normal.cover = minimize(f, never);
        normal.cost = cover_cost(normal.cover, f.space);
        const std::vector<int> zeros(static_cast<std::size_t>(fn.space.ny), 0);
        const CoverCost inverted = cover_cost(minimize(cubes::with_polarity(f, zeros), never), f.space);

        const PolarityChoice best = choose_polarity_automatic(f, normal, minimize, never, quiet);
        EXPECT_EQ(testing::check_valid(best.cover, inverted_where_zero(fn, best.polarity)), "");
        EXPECT_LE(best.cost, normal.cost);
        EXPECT_LE(best.cost, inverted);
        EXPECT_EQ(best.cost, cover_cost(best.cover, f.space));
    }
}

// Every assignment's cost when minimized in full, in the order Combination numbers them.
std::vector<CoverCost> every_assignment(const cubes::FunctionCovers& f, const PolarityMinimizer& minimize) {
    std::vector<CoverCost> costs;
    const auto never = [] { return false; };
    for (unsigned k = 0; k < (1u << f.space.ny); ++k) {
        std::vector<int> polarity(static_cast<std::size_t>(f.space.ny));
        for (int j = 0; j < f.space.ny; ++j) polarity[j] = 1 - static_cast<int>((k >> j) & 1u);
        costs.push_back(cover_cost(minimize(cubes::with_polarity(f, polarity), never), f.space));
    }
    return costs;
}

TEST(CombinationPolarity, RefinesTheBestEstimatesAndKeepsTheCheapest) {
    std::mt19937 rng(1208);
    Observer quiet;
    const PolarityMinimizer full = [](const cubes::FunctionCovers& g, const std::function<bool()>&) {
        Observer none;
        return minimize_heuristic(g.on, g.dc, g.off, g.space, HeuristicParams{}, none).cover;
    };
    // A deliberately poor estimate: the ON cover as it stands.
    const PolarityMinimizer as_given = [](const cubes::FunctionCovers& g, const std::function<bool()>&) { return g.on; };
    const auto never = [] { return false; };
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const testing::PointFunction fn = testing::random_function(rng, 3 + round % 5, 1 + round % 4);
        const testing::FunctionCovers t = testing::covers_of(fn, round % 2 == 0);
        const cubes::FunctionCovers f{fn.space, t.on, t.dc, t.off};
        const std::vector<CoverCost> costs = every_assignment(f, full);
        const int assignments = static_cast<int>(costs.size());
        // Refining all of them is the exhaustive search; refining one still beats its estimate.
        const PolarityChoice all = choose_polarity_combination(f, as_given, full, never, quiet, assignments);
        EXPECT_EQ(all.cost, *std::min_element(costs.begin(), costs.end()));
        EXPECT_EQ(all.tried, assignments);
        const PolarityChoice one = choose_polarity_combination(f, as_given, full, never, quiet, 1);
        for (const PolarityChoice& c : {all, one}) {
            EXPECT_EQ(testing::check_valid(c.cover, inverted_where_zero(fn, c.polarity)), "");
            EXPECT_EQ(c.cost, cover_cost(c.cover, f.space));
        }
    }
}

}  // namespace
}  // namespace vormel::minimize
