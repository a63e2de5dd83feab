#include <gtest/gtest.h>

#include "multiout/rolexa.h"
#include "multiout_fixtures.h"
#include "report/text_work_area.h"
#include "report/run_context.h"
#include "rolexa_reference.h"

namespace vormel {
namespace {

struct RolexaRig {
    TextWorkArea area;
    SilentRunWindow window;
    RunContext ctx{area, window};
};

RolexState state_for(const CubeTable& t) {
    RolexState s;
    s.lrolex = t.last();
    return s;
}

TEST(MultioutRolexa, HalfEqualToARowNeedsNoChain) {
    // Row 0 = a (output y0): its half a·b equals row 1, its half a·/b equals row 2.
    RolexaRig rig;
    CubeTable t = test::table_of(2, 2, {"1- 1.", "11 .1", "10 .1"});
    RolexState s = state_for(t);
    RandomGenerator rng;
    rng.seed(1.0f);
    int count = 0;
    expand_x2(rig.ctx, t, s, rng, count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(test::lines_of(t), (std::vector<std::string>{"10 11", "11 11"}));
}

TEST(MultioutRolexa, OneHalfAloneLeavesTheTable) {
    RolexaRig rig;
    const CubeTable before = test::table_of(3, 1, {"1-0 1", "110 1", "0-1 1"});
    CubeTable t = before;
    RolexState s = state_for(t);
    RandomGenerator rng;
    rng.seed(1.0f);
    int count = 0;
    expand_x2(rig.ctx, t, s, rng, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(test::lines_of(t), test::lines_of(before));
}

TEST(MultioutRolexa, AllDashRowEndsThePass) {
    // The "---" row comes first in the random order of seed 1 for four rows (2 0 3 1 -> row 2).
    RolexaRig rig;
    const CubeTable before = test::table_of(2, 2, {"1- 1.", "11 .1", "-- 11", "10 .1"});
    CubeTable t = before;
    RolexState s = state_for(t);
    RandomGenerator rng;
    rng.seed(1.0f);
    int count = 0;
    expand_x2(rig.ctx, t, s, rng, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(test::lines_of(t), test::lines_of(before));
    // Exactly one shuffle of the rows was drawn.
    RandomGenerator expected;
    expected.seed(1.0f);
    expected.skip(4);
    EXPECT_EQ(rng.state(), expected.state());
}

TEST(MultioutRolexa, MatchesThePlainRecursiveSearch) {
    // Same rows in the same order and the same generator state, on many seeded tables.
    int eliminated = 0;
    for (std::uint32_t seed = 1; seed <= 150; ++seed) {
        // Small tables, and larger ones in few inputs where chains branch and back up often.
        const bool dense = seed % 3 == 0;
        const int nx = dense ? 4 + static_cast<int>(seed % 2) : 3 + static_cast<int>(seed % 5);
        const int ny = 1 + static_cast<int>(seed % 4);
        const int rows = dense ? 24 + static_cast<int>(seed % 16) : 6 + static_cast<int>(seed % 30);
        const CubeTable start = test::random_table(seed, nx, ny, rows);
        RolexaRig rig;
        CubeTable t = start;
        RolexState s = state_for(t);
        RandomGenerator rng;
        rng.seed(1.0f);
        int count = 0;
        expand_x2(rig.ctx, t, s, rng, count);

        test::RefRolex ref(start);
        RandomGenerator ref_rng;
        ref_rng.seed(1.0f);
        const int ref_count = ref.expand_x2(ref_rng);
        ASSERT_EQ(count, ref_count) << seed;
        eliminated += count;
        ASSERT_EQ(test::lines_of(t), test::lines_of(ref.table(nx, ny))) << seed;
        ASSERT_EQ(rng.state(), ref_rng.state()) << seed;
        ASSERT_EQ(test::coverage(t), test::coverage(start)) << seed;
    }
    EXPECT_GT(eliminated, 100);
}

// Rows along a Gray-code walk over the inputs below input nx-1 (which stays free in the term): the
// term is row 0 and its half with input nx-1 = 0 is handed on once per row of the walk.
CubeTable gray_walk(int nx, int links, bool with_end) {
    CubeTable t{nx, 1, {}};
    auto gray = [](std::uint32_t i) { return i ^ (i >> 1); };
    const std::uint32_t full = (1u << nx) - 1;
    const std::uint32_t top = 1u << (nx - 1);
    t.rows.push_back({full & ~top, 0, {}});
    for (int i = 0; i < links; ++i) {
        const std::uint32_t flip = gray(static_cast<std::uint32_t>(i)) ^ gray(static_cast<std::uint32_t>(i) + 1);
        t.rows.push_back({full & ~flip, gray(static_cast<std::uint32_t>(i)) & ~flip, {}});
    }
    if (with_end) t.rows.push_back({full, gray(static_cast<std::uint32_t>(links)), {}});
    for (CubeRow& row : t.rows) row.outs.set(0);
    return t;
}

TEST(MultioutRolexa, DeadEndRoutesTakeOneShuffleOfDrawsPerLevel) {
    // Without an end the search enters one level per route: the start and every row of the walk.
    // Short walks are counted on a compact graph, long ones cube by cube.
    for (int links : {3, 40, 5000}) {
        const CubeTable t = gray_walk(14, links, false);
        RolexaRig rig;
        RolexState s = state_for(t);
        s.prepare(t);
        s.memo_first[0] = kMemoEliminated;
        s.touched.push_back(0);
        RandomGenerator rng;
        rng.seed(1.0f);
        EXPECT_FALSE(rolex_rec(rig.ctx, t, s, rng, (1u << 14) - 1, 0, 0));
        EXPECT_TRUE(s.rolex_stack.empty());
        RandomGenerator expected;
        expected.seed(1.0f);
        for (int level = 0; level <= links; ++level) expected.skip(static_cast<std::uint32_t>(t.last()) + 1);
        EXPECT_EQ(rng.state(), expected.state()) << links;
        for (int r = 1; r <= links; ++r) ASSERT_EQ(s.memo_first[static_cast<std::size_t>(r)], kMemoFree);
    }
}

TEST(MultioutRolexa, LongChainDoesNotExhaustTheStack) {
    // The half of the term is handed on 32767 times before it lands on the last row.
    constexpr int links = (1 << 15) - 1;
    const CubeTable t = gray_walk(16, links, true);
    RolexaRig rig;
    RolexState s = state_for(t);
    s.prepare(t);
    s.memo_first[0] = kMemoEliminated;
    s.touched.push_back(0);
    RandomGenerator rng;
    rng.seed(1.0f);
    EXPECT_TRUE(rolex_rec(rig.ctx, t, s, rng, (1u << 16) - 1, 0, 0));
    EXPECT_EQ(static_cast<int>(s.rolex_stack.size()), links);
    EXPECT_FALSE(rig.ctx.failed());
}

TEST(MultioutRolexa, ChainDeeperThanTheStackIsSystemError5) {
    RolexaRig rig;
    CubeTable t = test::table_of(2, 1, {"-0 1", "0- 1", "11 1", "01 1"});
    RolexState s = state_for(t);
    s.lrolex = 0;  // room for one chain cube only
    s.prepare(t);
    s.memo_first[0] = kMemoEliminated;
    s.touched.push_back(0);
    RandomGenerator rng;
    rng.seed(1.0f);
    // The half 00 goes through row 1 (0-) to 01, which row 3 holds: one link fits.
    EXPECT_TRUE(rolex_rec(rig.ctx, t, s, rng, 0b11, 0b00, 0));
    EXPECT_FALSE(rig.ctx.failed());
    s.lrolex = -1;
    s.free_marks();
    s.rolex_stack.clear();
    s.memo_first[0] = kMemoEliminated;
    s.touched.push_back(0);
    EXPECT_FALSE(rolex_rec(rig.ctx, t, s, rng, 0b11, 0b00, 0));
    EXPECT_TRUE(rig.ctx.failed());
    EXPECT_NE(rig.area.text().find(" *** System Error 5: In rolex_rec: lrolex >-1\n"), std::string::npos);
}

}  // namespace
}  // namespace vormel
