#include <gtest/gtest.h>

#include "cubes/cover_columns.h"
#include "cubes/cube_oracle.h"

namespace vormel::cubes {
namespace {

using testing::random_cover;
using testing::random_cube;

// The rows the columns name for `c`, against a pass over the cubes.
void expect_same_rows(CoverColumns& columns, const Cover& f, const Cube& c, const Space& s) {
    std::vector<std::size_t> meeting, near, want_meeting, want_near;
    columns.for_each_meeting(c, [&](std::size_t r) { meeting.push_back(r); });
    columns.for_each_near(c, [&](std::size_t r) { near.push_back(r); });
    for (std::size_t r = 0; r < f.size(); ++r) {
        if (is_empty(f[r], s)) continue;
        if (intersects(f[r], c, s)) want_meeting.push_back(r);
        if (input_distance(f[r], c, s) <= 1) want_near.push_back(r);
    }
    ASSERT_EQ(meeting, want_meeting);
    ASSERT_EQ(near, want_near);
}

// Covers past one word of rows, with cubes whose outputs were cleared (as reduce leaves them).
TEST(CoverColumns, NameExactlyTheCubesThatMeetOrLieNextToACube) {
    std::mt19937 rng(71);
    for (int round = 0; round < 200; ++round) {
        const Space s = Space::of(1 + round % 12, 1 + round % 5);
        Cover f = random_cover(rng, s, static_cast<int>(rng() % 200), 20 + static_cast<int>(rng() % 60));
        for (Cube& c : f)
            if (rng() % 10 == 0) c.out = {};
        CoverColumns columns(f, s);
        for (int q = 0; q < 10; ++q) expect_same_rows(columns, f, random_cube(rng, s, 40), s);
    }
}

TEST(CoverColumns, FollowRowsReplacedOneByOne) {
    std::mt19937 rng(72);
    for (int round = 0; round < 100; ++round) {
        const Space s = Space::of(2 + round % 9, 1 + round % 4);
        Cover f = random_cover(rng, s, 70 + static_cast<int>(rng() % 100), 50);
        CoverColumns columns(f, s);
        for (int step = 0; step < 30; ++step) {
            const std::size_t r = rng() % f.size();
            const Cube before = f[r];
            // Shrunk, grown, or without outputs.
            f[r] = rng() % 3 == 0 ? Cube{before.in, {}} : random_cube(rng, s, 50);
            columns.replace(r, before, f[r]);
            expect_same_rows(columns, f, random_cube(rng, s, 50), s);
        }
    }
}

}  // namespace
}  // namespace vormel::cubes
