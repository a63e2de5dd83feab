#include <gtest/gtest.h>

#include "multiout/polarity_work.h"
#include "multiout/reduction_steps.h"
#include "multiout/rolexa.h"
#include "multiout_fixtures.h"
#include "report/run_context.h"
#include "report/text_work_area.h"

namespace vormel {
namespace {

using Lines = std::vector<std::string>;

struct ReductionRig {
    TextWorkArea area;
    SilentRunWindow window;
    RunContext ctx{area, window};
};

TEST(MultioutReduction, AdjacentRowsWithNestedOutputs) {
    // a·b (y) and a·/b (y, z): the first becomes a for y, the second keeps a·/b for z.
    CubeTable t = test::table_of(2, 2, {"11 1.", "10 11"});
    int count = 0;
    merge_adjacent_terms(t, count);
    EXPECT_EQ(test::lines_of(t), (Lines{"1- 1.", "10 .1"}));
    EXPECT_EQ(count, 1);
    // The other way round the second row grows and the first gives up y.
    t = test::table_of(2, 2, {"10 11", "11 1."});
    merge_adjacent_terms(t, count);
    EXPECT_EQ(test::lines_of(t), (Lines{"10 .1", "1- 1."}));
}

TEST(MultioutReduction, AdjacentRowsWithEqualOutputs) {
    // Both rows take the joined cube; the first is left without outputs for drop_empty_terms.
    CubeTable t = test::table_of(3, 2, {"011 11", "001 11", "1-0 1."});
    int count = 0;
    merge_adjacent_terms(t, count);
    EXPECT_EQ(test::lines_of(t), (Lines{"0-1 ..", "0-1 11", "1-0 1."}));
    EXPECT_EQ(count, 2);
    drop_empty_terms(t, count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(test::lines_of(t), (Lines{"1-0 1.", "0-1 11"}));
}

TEST(MultioutReduction, CrossingOutputSetsAndDashMismatchAreLeft) {
    const Lines lines{"11 1.", "10 .1", "1- 11", "0- .1"};
    CubeTable t = test::table_of(2, 2, lines);
    int count = 0;
    merge_adjacent_terms(t, count);
    // 11/10 feed crossing outputs; 1-/0- are adjacent but feed nested sets: 0- grows to --.
    EXPECT_EQ(test::lines_of(t), (Lines{"11 1.", "10 .1", "1- 1.", "-- .1"}));
}

TEST(MultioutReduction, ContainedRowGivesUpSharedOutputs) {
    // a (y) and a·b (y, z): a·b keeps z only.
    ReductionRig rig;
    CubeTable t = test::table_of(2, 2, {"1- 1.", "11 11"});
    int count = 0;
    absorb_y(rig.ctx, t, count);
    EXPECT_EQ(test::lines_of(t), (Lines{"1- 1.", "11 .1"}));
    EXPECT_EQ(count, 1);
    // Equal cubes and disjoint cubes are no containment.
    t = test::table_of(2, 2, {"1- 1.", "1- 11", "0- 11"});
    absorb_y(rig.ctx, t, count);
    EXPECT_EQ(count, 0);
}

TEST(MultioutReduction, AbsorbJudgesEveryPairOnTheTableAsGiven) {
    // --- ⊃ 1-- ⊃ 11-: the middle row gives up y before the inner row is judged against it.
    ReductionRig rig;
    CubeTable t = test::table_of(3, 1, {"11- 1", "1-- 1", "--- 1"});
    int count = 0;
    absorb_y(rig.ctx, t, count);
    EXPECT_EQ(test::lines_of(t), (Lines{"11- .", "1-- .", "--- 1"}));
    EXPECT_EQ(count, 2);
}

TEST(MultioutReduction, JoinSkipsTheRowMovedIn) {
    // Rows 1 and 3 equal row 0: row 1 is joined, row 3 moves into place 1 and waits for the next
    // call; merge_equal_terms compares the moved row at once.
    CubeTable t = test::table_of(2, 3, {"10 1..", "10 .1.", "01 1..", "10 ..1"});
    CubeTable m = t;
    int count = 0;
    join_equal_terms(t, count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(test::lines_of(t), (Lines{"10 11.", "10 ..1", "01 1.."}));
    merge_equal_terms(m, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(test::lines_of(m), (Lines{"10 111", "01 1.."}));
}

TEST(MultioutReduction, EveryStepKeepsTheFunction) {
    ReductionRig rig;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        const int nx = 2 + static_cast<int>(seed % 6);
        const int ny = 1 + static_cast<int>(seed % 5);
        CubeTable t = test::random_table(seed, nx, ny, 4 + static_cast<int>(seed % 40));
        const auto on = test::coverage(t);
        RolexState rolex;
        rolex.lrolex = t.last();
        RandomGenerator rng;
        rng.seed(1.0f);
        int total = 1;
        for (int pass = 0; pass < 20 && total > 0; ++pass) {
            int c[7] = {};
            expand_x2(rig.ctx, t, rolex, rng, c[0]);
            ASSERT_EQ(test::coverage(t), on) << "expand_x2, seed " << seed;
            join_equal_terms(t, c[1]);
            ASSERT_EQ(test::coverage(t), on) << "join, seed " << seed;
            merge_adjacent_terms(t, c[2]);
            ASSERT_EQ(test::coverage(t), on) << "merge, seed " << seed;
            drop_empty_terms(t, c[3]);
            ASSERT_EQ(test::coverage(t), on) << "drop, seed " << seed;
            absorb_y(rig.ctx, t, c[4]);
            ASSERT_EQ(test::coverage(t), on) << "absorb, seed " << seed;
            total = c[0] + c[1] + c[2] + c[3] + c[4];
        }
        ASSERT_FALSE(rig.ctx.failed());
    }
}

}  // namespace
}  // namespace vormel
