#include <gtest/gtest.h>

#include "model/cube_text.h"
#include "multiout/polarity_estimate.h"
#include "multiout/polarity_search.h"
#include "multiout/polarity_work.h"
#include "multiout_fixtures.h"
#include "report/run_context.h"
#include "report/text_work_area.h"

namespace vormel {
namespace {

using Lines = std::vector<std::string>;

class RecordingWindow : public SilentRunWindow {
public:
    void set_polarity_line(std::string_view text) override { polarity_lines.emplace_back(text); }
    Lines polarity_lines;
};

struct PolarityRig {
    TextWorkArea area;
    RecordingWindow window;
    RunContext ctx{area, window};
    PolarityRig() { ctx.options.page_by_page = 0; }
};

Lines final_lines(const Problem& p) {
    Lines out;
    for (int r = 0; r <= p.final_terms.last; ++r) {
        out.push_back(cube_text(p.final_terms.x(r), p.final_terms.nx) + " " +
                      cube_text_dotted(p.final_terms.y(r), p.final_terms.ny));
    }
    return out;
}

// Two outputs over two inputs: y0 = a, y1 = b, with their inverted covers.
PrimeStore two_output_store() {
    PrimeStore store;
    store.create(2, 2, 4);
    store.maxlpnum = 3;
    test::store_cover(store, 0, 1, {"1-"});
    test::store_cover(store, 0, 0, {"0-"});
    test::store_cover(store, 1, 1, {"-1"});
    test::store_cover(store, 1, 0, {"-0"});
    return store;
}

TEST(MultioutPolarity, CombinationTriesUniformThenMixedVectorsInOrder) {
    PolarityRig rig;
    rig.ctx.options.polarity_mode = polarity_combination;
    Problem problem = test::problem_of(2, 2);
    PrimeStore store = two_output_store();
    polarity_search(rig.ctx, problem, store);
    ASSERT_FALSE(rig.ctx.failed());
    // One bundle optimization per try shows its vector; every vector costs the same, so 11 stays.
    EXPECT_EQ(rig.window.polarity_lines, (Lines{" Polarity = 11", " Polarity = 00", " Polarity = 10", " Polarity = 01",
                                                " Polarity = 11", " Polarity = 11"}));
    EXPECT_EQ(problem.polarity, (std::vector<int>{1, 1}));
    EXPECT_NE(rig.area.text().find("\n ***  1 ROLEXA Variation(s) done.  Optimized Polarity = 11\n"), std::string::npos);
    EXPECT_EQ(final_lines(problem), (Lines{"1- 1.", "-1 .1"}));
}

// Regression: from 32 outputs on the 2^outputs counter of Combination does not fit in 32 bits; the
// search used to end silently after the two uniform vectors.
TEST(MultioutPolarity, CombinationBeyondThirtyOneOutputsSaysItIsNotPossible) {
    PolarityRig rig;
    rig.ctx.options.polarity_mode = polarity_combination;
    rig.ctx.options.rolexa_iterations = 0;
    const int outputs = kMaxCombinationOutputs + 1;
    Problem problem = test::problem_of(2, outputs);
    PrimeStore store;
    store.create(outputs, 2, 4);
    store.maxlpnum = 3;
    for (int j = 0; j < outputs; ++j) {
        test::store_cover(store, j, 1, {"1-"});
        test::store_cover(store, j, 0, {"0-"});
    }
    polarity_search(rig.ctx, problem, store);
    ASSERT_FALSE(rig.ctx.failed());
    EXPECT_NE(rig.area.text().find("\n *** System Warning 9: Combination of all output polarities is not possible for "
                                   "32 outputs (at most 31): only the polarities 1...1 and 0...0 were tried\n"),
              std::string::npos)
        << rig.area.text();
    EXPECT_EQ(problem.polarity, std::vector<int>(outputs, 1));
}

TEST(MultioutPolarity, RequestedPolarityWithoutRolexa) {
    PolarityRig rig;
    rig.ctx.options.polarity_mode = polarity_zero_set;
    rig.ctx.options.rolexa_iterations = 0;
    Problem problem = test::problem_of(2, 2);
    PrimeStore store = two_output_store();
    polarity_search(rig.ctx, problem, store);
    EXPECT_EQ(rig.area.text(), " ***  Requested Polarity = 00\n");
    const std::size_t at = rig.area.text().find("***");
    EXPECT_TRUE(rig.area.format_at(at).bold);
    EXPECT_EQ(rig.window.polarity_lines, (Lines{" Polarity = 00"}));
    EXPECT_EQ(final_lines(problem), (Lines{"0- 0.", "-0 .0"}));
}

TEST(MultioutPolarity, AutomaticWithOneOutputKeepsTheSmallerSolution) {
    PolarityRig rig;
    rig.ctx.options.polarity_mode = polarity_automatic;
    Problem problem = test::problem_of(3, 1);
    PrimeStore store;
    store.create(1, 3, 4);
    store.maxlpnum = 7;
    test::store_cover(store, 0, 1, {"1--", "-1-", "--1"});
    test::store_cover(store, 0, 0, {"000"});
    polarity_search(rig.ctx, problem, store);
    ASSERT_FALSE(rig.ctx.failed());
    EXPECT_EQ(problem.polarity, (std::vector<int>{0}));
    EXPECT_EQ(final_lines(problem), (Lines{"000 0"}));
    EXPECT_NE(rig.area.text().find(" Optimized Polarity = 0\n"), std::string::npos);
    // Both uniform solutions refreshed the store.
    EXPECT_EQ(store.last(0, 1), 2);
    EXPECT_EQ(store.last(0, 0), 0);
}

TEST(MultioutPolarity, AutomaticFullTieKeepsNormalPolarity) {
    PolarityRig rig;
    rig.ctx.options.polarity_mode = polarity_automatic;
    Problem problem = test::problem_of(2, 2);
    PrimeStore store = two_output_store();
    polarity_search(rig.ctx, problem, store);
    EXPECT_EQ(problem.polarity, (std::vector<int>{1, 1}));
}

TEST(MultioutPolarity, AutomaticPrefersTheSharedInvertedOutput) {
    // y0 = a·b (one term normal, two inverted); y1 = /a + /b (two normal, one inverted term a·b):
    // inverting y1 lets both outputs share a·b.
    PolarityRig rig;
    rig.ctx.options.polarity_mode = polarity_automatic;
    Problem problem = test::problem_of(2, 2);
    PrimeStore store;
    store.create(2, 2, 4);
    store.maxlpnum = 3;
    test::store_cover(store, 0, 1, {"11"});
    test::store_cover(store, 0, 0, {"0-", "-0"});
    test::store_cover(store, 1, 1, {"0-", "-0"});
    test::store_cover(store, 1, 0, {"11"});
    polarity_search(rig.ctx, problem, store);
    EXPECT_EQ(problem.polarity, (std::vector<int>{1, 0}));
    EXPECT_EQ(final_lines(problem), (Lines{"11 10"}));
}

TEST(MultioutPolarity, RefreshGrowsTheStoreWithWarning8) {
    PolarityRig rig;
    rig.ctx.options.polarity_mode = polarity_automatic;
    rig.ctx.options.display_level = 4;
    Problem problem = test::problem_of(2, 2);
    PrimeStore store;
    store.create(2, 2, 0);
    store.maxlpnum = 3;
    test::store_cover(store, 0, 1, {"10", "01"});
    test::store_cover(store, 0, 0, {"00", "11"});
    test::store_cover(store, 1, 1, {"1-"});
    test::store_cover(store, 1, 0, {"0-"});
    store.set_capacity(0);
    polarity_search(rig.ctx, problem, store);
    ASSERT_FALSE(rig.ctx.failed());
    EXPECT_NE(rig.area.text().find("\n *** System Warning 8: DIM of allprimes(2) increased from 0 to 1 ...\n"),
              std::string::npos);
    EXPECT_EQ(store.capacity(), 1);
}

TEST(MultioutPolarity, EstimateAvoidsAnUndefinedPolarity) {
    Problem problem = test::problem_of(2, 2);
    PrimeStore store;
    store.create(2, 2, 4);
    test::store_cover(store, 0, 0, {"11", "00"});
    test::store_cover(store, 1, 1, {"1-"});
    test::store_cover(store, 1, 0, {"0-"});
    const SharedTerms shared = find_shared_terms(problem, store);
    estimate_polarity(problem, store, shared, 0.5);
    EXPECT_EQ(problem.polarity, (std::vector<int>{0, 1}));
}

TEST(MultioutPolarity, SharingCountsTermsDifferingInAtMostOneInput) {
    Problem problem = test::problem_of(3, 3);
    PrimeStore store;
    store.create(3, 3, 4);
    test::store_cover(store, 0, 1, {"110"});
    test::store_cover(store, 1, 1, {"11-", "001"});  // one difference; three differences
    test::store_cover(store, 2, 1, {"110", "1-1"});  // equal; two differences
    const SharedTerms shared = find_shared_terms(problem, store);
    // 110~11-, 110=110 and 11-~110; every other pair differs in two or three inputs.
    ASSERT_EQ(shared.pairs.size(), 3u);
    EXPECT_EQ(shared.pairs[0].j * 10 + shared.pairs[0].j2, 1);
    EXPECT_EQ(shared.pairs[1].j * 10 + shared.pairs[1].j2, 2);
    EXPECT_EQ(shared.pairs[2].j * 10 + shared.pairs[2].j2, 12);
}

}  // namespace
}  // namespace vormel
