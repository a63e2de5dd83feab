// Each phase of the heuristic on its own, on seeded random functions, against the point oracle.
#include <gtest/gtest.h>

#include "cubes/cube_oracle.h"
#include "minimize/expand.h"
#include "minimize/function_oracle.h"
#include "minimize/irredundant.h"
#include "minimize/last_gasp.h"
#include "minimize/make_sparse.h"
#include "minimize/reduce.h"

namespace vormel::minimize {
namespace {

using cubes::Cover;
using cubes::Cube;
using testing::FunctionCovers;
using testing::PointFunction;

struct Case {
    PointFunction fn;
    FunctionCovers f;
};

// Functions from 3 to 9 inputs and 1 to 6 outputs; half start from points, half from cubes.
template <typename Check>
void for_random_cases(unsigned seed, int count, Check&& check) {
    std::mt19937 rng(seed);
    for (int round = 0; round < count; ++round) {
        Case c;
        c.fn = testing::random_function(rng, 3 + round % 7, 1 + round % 6);
        c.f = testing::covers_of(c.fn, round % 2 == 0);
        SCOPED_TRACE("round " + std::to_string(round));
        check(c);
    }
}

bool inside_some(const Cube& c, const Cover& f) {
    for (const Cube& d : f)
        if (cubes::contains(d, c)) return true;
    return false;
}

TEST(Expand, GivesPrimesThatContainEveryCubeTheyStartedFrom) {
    for_random_cases(41, 300, [](const Case& c) {
        Cover f = c.f.on;
        StopCheck never;
        expand(f, cubes::CoverColumns(c.f.off, c.fn.space), c.fn.space, ExpandParams{false, 0}, never);
        ASSERT_EQ(testing::check_valid(f, c.fn), "");
        ASSERT_EQ(testing::check_prime(f, c.fn, true), "");
        for (const Cube& start : c.f.on) ASSERT_TRUE(inside_some(start, f));
        // A seeded order gives primes too.
        Cover g = c.f.on;
        expand(g, cubes::CoverColumns(c.f.off, c.fn.space), c.fn.space, ExpandParams{false, 12345}, never);
        ASSERT_EQ(testing::check_prime(g, c.fn, true), "");
    });
}

TEST(Irredundant, KeepsAnIrredundantSubsetThatStillCovers) {
    for_random_cases(43, 300, [](const Case& c) {
        Cover f = c.f.on;
        StopCheck never;
        expand(f, cubes::CoverColumns(c.f.off, c.fn.space), c.fn.space, ExpandParams{false, 0}, never);
        // Doubling the primes with their reductions gives irredundant something to drop.
        Cover g = f;
        reduce(g, c.f.dc, c.fn.space, 0, never);
        f.insert(f.end(), g.begin(), g.end());
        const Cover before = f;
        irredundant(f, c.f.dc, c.fn.space, never);
        ASSERT_EQ(testing::check_valid(f, c.fn), "");
        ASSERT_EQ(testing::check_irredundant(f, c.fn), "");
        for (const Cube& kept : f) ASSERT_TRUE(std::find(before.begin(), before.end(), kept) != before.end());
    });
}

TEST(Reduce, ShrinksEachCubeToTheSupercubeOfWhatOnlyItCovers) {
    for_random_cases(47, 300, [](const Case& c) {
        Cover f = c.f.on;
        StopCheck never;
        expand(f, cubes::CoverColumns(c.f.off, c.fn.space), c.fn.space, ExpandParams{false, 0}, never);
        irredundant(f, c.f.dc, c.fn.space, never);
        const int nx = c.fn.space.nx;
        ReduceWork work;
        IndexedCover fi(f, c.fn.space), di(c.f.dc, c.fn.space);
        for (std::size_t i = 0; i < f.size(); ++i) {
            // The points of f[i] that no other cube and no don't-care covers.
            Cube expected{0, {0, 0}};
            Cover others = f;
            others.erase(others.begin() + static_cast<long>(i));
            testing::for_each_point(f[i], nx, [&](std::uint32_t p) {
                for (int j = 0; j < c.fn.space.ny; ++j) {
                    if (!cubes::has_output(f[i], j) || c.fn.at(j, p) != testing::point_on) continue;
                    if (cubes::testing::cover_has(others, p, j, nx)) continue;
                    for (int k = 0; k < nx; ++k) expected.in |= cubes::input_bits(k, (p >> k) & 1);
                    cubes::set_output(expected, j);
                }
            });
            const Cube r = reduce_cube(fi, i, di, c.fn.space, work);
            ASSERT_EQ(r.out.w[0], expected.out.w[0]);
            if (!cubes::outputs_empty(r)) {
                ASSERT_EQ(r.in, expected.in);
            }
        }
        const Cover before = f;
        reduce(f, c.f.dc, c.fn.space, 0, never);
        ASSERT_EQ(testing::check_valid(f, c.fn), "");
        for (const Cube& r : f) ASSERT_TRUE(inside_some(r, before));
    });
}

TEST(LastGasp, LeavesAValidIrredundantCover) {
    for_random_cases(53, 300, [](const Case& c) {
        Cover f = c.f.on;
        StopCheck never;
        expand(f, cubes::CoverColumns(c.f.off, c.fn.space), c.fn.space, ExpandParams{false, 0}, never);
        irredundant(f, c.f.dc, c.fn.space, never);
        const std::size_t before = f.size();
        last_gasp(f, c.f.dc, cubes::CoverColumns(c.f.off, c.fn.space), c.fn.space, never);
        ASSERT_LE(f.size(), before);
        ASSERT_EQ(testing::check_valid(f, c.fn), "");
        ASSERT_EQ(testing::check_irredundant(f, c.fn), "");
    });
}

TEST(MakeSparse, DropsOnlyWhatTheFunctionAllowsAndNeverAddsTerms) {
    for_random_cases(59, 300, [](const Case& c) {
        Cover f = c.f.on;
        StopCheck never;
        expand(f, cubes::CoverColumns(c.f.off, c.fn.space), c.fn.space, ExpandParams{false, 0}, never);
        irredundant(f, c.f.dc, c.fn.space, never);
        const std::size_t before = f.size();
        make_sparse(f, c.f.dc, cubes::CoverColumns(c.f.off, c.fn.space), c.fn.space, never);
        ASSERT_LE(f.size(), before);
        ASSERT_EQ(testing::check_valid(f, c.fn), "");
        ASSERT_EQ(testing::check_prime(f, c.fn, false), "");
        // Every output connection left is needed: removing it uncovers an ON point.
        for (std::size_t k = 0; k < f.size(); ++k)
            for (int j = 0; j < c.fn.space.ny; ++j) {
                if (!cubes::has_output(f[k], j)) continue;
                Cover without = f;
                cubes::clear_output(without[k], j);
                ASSERT_NE(testing::check_valid(without, c.fn), "") << "cube " << k << " output " << j;
            }
    });
}

}  // namespace
}  // namespace vormel::minimize
