#include <bit>

#include <gtest/gtest.h>

#include "cubes/cover_algebra.h"
#include "cubes/cube_oracle.h"
#include "cubes/input_words.h"
#include "cubes/supercube_complement.h"

namespace vormel::cubes {
namespace {

using testing::cover_has;
using testing::random_cover;

struct Case {
    Space s;
    Cover f;
};

// Seeded random covers from 1 to 10 inputs, sparse to dense.
std::vector<Case> random_cases(unsigned seed, int count) {
    std::mt19937 rng(seed);
    std::vector<Case> cases;
    for (int k = 0; k < count; ++k) {
        const int nx = 1 + static_cast<int>(rng() % 10);
        const int ny = 1 + static_cast<int>(rng() % 4);
        const Space s = Space::of(nx, ny);
        const int cubes = static_cast<int>(rng() % 40);
        const int free_percent = 20 + static_cast<int>(rng() % 70);
        cases.push_back({s, random_cover(rng, s, cubes, free_percent)});
    }
    return cases;
}

bool brute_tautology(const Cover& f, const Space& s) {
    for (int j = 0; j < s.ny; ++j) {
        for (std::uint32_t p = 0; p < (1u << s.nx); ++p) {
            if (!cover_has(f, p, j, s.nx)) return false;
        }
    }
    return true;
}

TEST(CoverAlgebra, ComplementHoldsExactlyThePointsTheCoverLeavesOut) {
    for (const Case& c : random_cases(11, 400)) {
        const Cover g = complement(c.f, c.s);
        for (const Cube& cube : g) EXPECT_FALSE(is_empty(cube, c.s));
        for (int j = 0; j < c.s.ny; ++j) {
            for (std::uint32_t p = 0; p < (1u << c.s.nx); ++p) {
                ASSERT_NE(cover_has(c.f, p, j, c.s.nx), cover_has(g, p, j, c.s.nx))
                    << "nx " << c.s.nx << " output " << j << " point " << p;
            }
        }
    }
}

// The complement splits off the literals every cube shares and merges its halves without a
// general containment pass: its cubes must still hold exactly the points left out, and none may
// lie inside another. Half the covers get literals on the first inputs in every cube.
TEST(CoverAlgebra, InputComplementIsExactAndHasNoCubeInsideAnother) {
    std::mt19937 rng(15);
    for (Case c : random_cases(16, 400)) {
        InputCover f;
        const int shared = c.f.size() % 2 == 0 ? 1 + static_cast<int>(rng() % std::min(3, c.s.nx)) : 0;
        for (const Cube& cube : c.f) {
            InBits in = cube.in;
            for (int i = 0; i < shared; ++i) in &= ~input_bits(i, i % 2);
            if (!is_empty(Cube{in, cube.out}, c.s)) f.push_back(in);
        }
        const InputCover g = input_complement(f, c.s);
        for (std::uint32_t p = 0; p < (1u << c.s.nx); ++p) {
            auto has = [&](const InputCover& cover) {
                return std::any_of(cover.begin(), cover.end(),
                                   [&](const InBits& in) { return testing::cube_has_point(Cube{in, {}}, p, c.s.nx); });
            };
            ASSERT_NE(has(f), has(g)) << "nx " << c.s.nx << " point " << p;
        }
        for (std::size_t a = 0; a < g.size(); ++a) {
            for (std::size_t b = 0; b < g.size(); ++b) {
                const bool inside = a != b && (g[a] & ~g[b]).none();
                ASSERT_FALSE(inside) << "cube " << a << " lies inside cube " << b;
            }
        }
        // Bounded: the same cubes when it gives any (the recursion may pass the bound on the way to a
        // result within it), none when the result passes it.
        for (const std::size_t most : {g.size() + 20, g.size(), std::max<std::size_t>(g.size(), 1) - 1}) {
            const std::optional<InputCover> bounded = input_complement_within(f, c.s, most);
            if (bounded) {
                EXPECT_EQ(*bounded, g);
            }
            if (most < g.size()) {
                EXPECT_FALSE(bounded);
            }
        }
    }
}

TEST(CoverAlgebra, TautologyAgreesWithEveryPoint) {
    int true_cases = 0;
    for (Case c : random_cases(12, 400)) {
        // Half the cases are made tautologies by adding the complement.
        if (c.f.size() % 2 == 0) {
            const Cover g = complement(c.f, c.s);
            c.f.insert(c.f.end(), g.begin(), g.end());
        }
        const bool expected = brute_tautology(c.f, c.s);
        true_cases += expected;
        ASSERT_EQ(tautology(c.f, c.s), expected);
    }
    EXPECT_GT(true_cases, 100);
}

// A union of functions of disjoint inputs is a tautology only if one of them is. Seven groups of
// four inputs, each the parity of its group, and one input on its own: split input by input, the
// search meets the lone input last, after 8^7 open leaves; group by group, after 7 x 16.
TEST(CoverAlgebra, TautologyOfDisjointGroupsIsDecidedGroupByGroup) {
    const Space s = Space::of(29, 1);
    InputCover f;
    for (int g = 0; g < 7; ++g) {
        for (int p = 0; p < 16; ++p) {
            if (std::popcount(static_cast<unsigned>(p)) % 2 == 0) continue;
            InBits in = s.in_full;
            for (int k = 0; k < 4; ++k) in &= ~input_bits(4 * g + k, ((p >> k) & 1) ^ 1);
            f.push_back(in);
        }
    }
    EXPECT_FALSE(input_tautology(f, s));
    EXPECT_EQ(input_supercube_of_complement(f, s), s.in_full);  // the points even in every group
    f.push_back(s.in_full & ~input_bits(28, 1));
    f.push_back(s.in_full & ~input_bits(28, 0));
    EXPECT_TRUE(input_tautology(f, s));
    EXPECT_TRUE(input_supercube_of_complement(f, s).none());

    // Random grouped covers against their points.
    std::mt19937 rng(9);
    for (int round = 0; round < 300; ++round) {
        const Space small = Space::of(4 + round % 9, 1);
        Cover g = testing::random_grouped_cover(rng, small, 10 + static_cast<int>(rng() % 40), 20, 2 + round % 3);
        if (round % 2) {
            const Cover rest = complement(g, small);
            g.insert(g.end(), rest.begin(), rest.end());
        }
        ASSERT_EQ(tautology(g, small), brute_tautology(g, small)) << "round " << round;
    }
}

TEST(CoverAlgebra, CoversSharpAndContainmentKeepTheMeaning) {
    std::mt19937 rng(13);
    for (const Case& c : random_cases(14, 300)) {
        const Cube probe = testing::random_cube(rng, c.s, 60);
        bool inside = true;
        const Cover rest = sharp(probe, c.f, c.s);
        for (int j = 0; j < c.s.ny; ++j) {
            for (std::uint32_t p = 0; p < (1u << c.s.nx); ++p) {
                const bool in_probe = has_output(probe, j) && testing::cube_has_point(probe, p, c.s.nx);
                const bool in_f = cover_has(c.f, p, j, c.s.nx);
                if (in_probe && !in_f) inside = false;
                ASSERT_EQ(cover_has(rest, p, j, c.s.nx), in_probe && !in_f);
            }
        }
        ASSERT_EQ(covers(c.f, probe, c.s), inside);

        Cover reduced = c.f;
        reduced.push_back(c.f.empty() ? probe : c.f.front());
        remove_contained(reduced);
        for (std::size_t a = 0; a < reduced.size(); ++a) {
            for (std::size_t b = 0; b < reduced.size(); ++b) {
                if (a != b) {
                    ASSERT_FALSE(contains(reduced[a], reduced[b]));
                }
            }
        }
        for (int j = 0; j < c.s.ny; ++j) {
            for (std::uint32_t p = 0; p < (1u << c.s.nx); ++p) {
                const bool added = c.f.empty() && has_output(probe, j) && testing::cube_has_point(probe, p, c.s.nx);
                ASSERT_EQ(cover_has(reduced, p, j, c.s.nx), cover_has(c.f, p, j, c.s.nx) || added);
            }
        }
    }
}

TEST(CubeWords, ConsensusAndDistanceFollowTheLiterals) {
    const Space s = Space::of(3, 2);
    // a = x0 x1' (outputs 0), b = x0' x2 (outputs 0,1): distance 1 in input 0.
    Cube a{input_bits(0, 1) | input_bits(1, 0) | input_pair(2), {1, 0}};
    Cube b{input_bits(0, 0) | input_pair(1) | input_bits(2, 1), {3, 0}};
    EXPECT_EQ(distance(a, b, s), 1);
    const Cube c = consensus(a, b, s);
    EXPECT_EQ(c.in, input_pair(0) | input_bits(1, 0) | input_bits(2, 1));
    EXPECT_EQ(c.out.w[0], 1u);
    EXPECT_EQ(literal_count(c, s), 2);
    // Same inputs, disjoint outputs: consensus joins the outputs.
    Cube d{a.in, {2, 0}};
    EXPECT_EQ(distance(a, d, s), 1);
    EXPECT_EQ(consensus(a, d, s).out.w[0], 3u);
    // Distance two gives nothing.
    Cube e{input_bits(0, 0) | input_bits(1, 1) | input_pair(2), {1, 0}};
    EXPECT_EQ(distance(a, e, s), 2);
    EXPECT_TRUE(is_empty(consensus(a, e, s), s));
}

}  // namespace
}  // namespace vormel::cubes
