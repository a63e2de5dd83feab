// keep_maximal and remove_contained against the definition, on covers small enough for the plain
// scan and large enough for the trie, full of duplicates and nested cubes.
#include <algorithm>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

#include "cubes/cover_algebra.h"
#include "cubes/cube_oracle.h"
#include "cubes/maximal_cubes.h"

namespace vormel::cubes {
namespace {

using Key = std::tuple<InBits, OutBits>;
Key key(const Cube& c) { return {c.in, c.out}; }

std::set<Key> maximal_by_definition(const Cover& f) {
    std::set<Key> out;
    for (const Cube& c : f) {
        const bool inside_other = std::any_of(f.begin(), f.end(), [&](const Cube& d) { return d != c && contains(d, c); });
        if (!inside_other) out.insert(key(c));
    }
    return out;
}

// Random cubes plus copies and shrunken copies of some of them; outputs beyond 64 sometimes.
Cover nested_cover(std::mt19937& rng, const Space& s, int count) {
    Cover f = testing::random_cover(rng, s, count, 30 + static_cast<int>(rng() % 50));
    const std::size_t drawn = f.size();
    for (std::size_t k = 0; k < drawn; ++k) {
        if (rng() % 3 == 0) f.push_back(f[k]);
        if (rng() % 3 == 0) {
            Cube smaller = f[k];
            for (int i = 0; i < s.nx; ++i)
                if (input_value(smaller, i) == 2 && rng() % 2) smaller.in &= ~input_bits(i, static_cast<int>(rng() % 2));
            f.push_back(smaller);
        }
    }
    std::shuffle(f.begin(), f.end(), rng);
    return f;
}

TEST(MaximalCubes, KeepExactlyTheCubesInsideNoOther) {
    std::mt19937 rng(4711);
    for (int k = 0; k < 300; ++k) {
        const Space s = Space::of(1 + static_cast<int>(rng() % 12), 1 + static_cast<int>(rng() % 70));
        Cover f = nested_cover(rng, s, 1 + static_cast<int>(rng() % 150));
        const std::set<Key> expected = maximal_by_definition(f);
        Cover kept = f;
        keep_maximal(kept);
        std::set<Key> got;
        for (const Cube& c : kept) got.insert(key(c));
        ASSERT_EQ(got.size(), kept.size()) << "duplicates left, case " << k;
        ASSERT_EQ(got, expected) << "case " << k;
        // The order does not depend on the input order.
        std::shuffle(f.begin(), f.end(), rng);
        keep_maximal(f);
        EXPECT_EQ(f, kept) << "case " << k;
    }
}

// remove_contained keeps the input order and, of equal cubes, the first.
TEST(MaximalCubes, RemoveContainedKeepsTheFirstOfEachMaximalCubeInPlace) {
    std::mt19937 rng(815);
    for (int k = 0; k < 300; ++k) {
        const Space s = Space::of(1 + static_cast<int>(rng() % 12), 1 + static_cast<int>(rng() % 70));
        Cover f = nested_cover(rng, s, 1 + static_cast<int>(rng() % 150));
        const std::set<Key> maximal = maximal_by_definition(f);
        Cover expected;
        std::set<Key> seen;
        for (const Cube& c : f)
            if (maximal.count(key(c)) && seen.insert(key(c)).second) expected.push_back(c);
        remove_contained(f);
        ASSERT_EQ(f, expected) << "case " << k;
    }
}

}  // namespace
}  // namespace vormel::cubes
