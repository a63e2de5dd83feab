#include <gtest/gtest.h>

#include "prime_test_support.h"
#include "primes/cube_mask.h"
#include "primes/qmc.h"
#include "primes/temp_dim.h"

namespace vormel::testing {
namespace {

// A window whose query box always answers Break.
class BreakingWindow : public SilentRunWindow {
public:
    QueryAnswer ask_query(QueryKind) override { return QueryAnswer::stop; }
};

TermTable rows_of(int inputs, int count, std::uint8_t fill) {
    TermTable table(inputs, 0, count);
    std::fill(table.xs.begin(), table.xs.end(), fill);
    table.last = count - 1;
    return table;
}

TEST(PrimeStore, EmptyListRecordsMinusOneAndRestoreLeavesTableAlone) {
    PrimeBench bench(1, polarity_one_set);
    bench.store.create(2, 3, 1);
    bench.store.current_output = 1;
    bench.store.current_value = 0;
    store_allprimes(bench.ctx, bench.store, rows_of(3, 0, kOne), -1);
    EXPECT_EQ(bench.store.last(1, 0), -1);
    TermTable table = rows_of(3, 2, kOne);
    EXPECT_EQ(restore_from_allprimes(bench.ctx, bench.store, table), -1);
    EXPECT_EQ(table.last, 1);
    EXPECT_EQ(table.x(1)[2], kOne);
}

TEST(PrimeStore, GrowthKeepsOtherListsInPlaceAndStopsAtTheNeededSize) {
    PrimeBench bench(1, polarity_one_set);
    bench.store.create(2, 2, 1);
    bench.store.current_output = 0;
    bench.store.current_value = 1;
    store_allprimes(bench.ctx, bench.store, rows_of(2, 2, kZero), 1);
    bench.store.current_output = 1;
    bench.store.current_value = 0;
    store_allprimes(bench.ctx, bench.store, rows_of(2, 5, kOne), 4);
    EXPECT_EQ(bench.store.capacity(), 4);
    EXPECT_EQ(bench.stored(0, 1), (std::vector<std::string>{"00", "00"}));
    EXPECT_EQ(bench.stored(1, 0), (std::vector<std::string>(5, "11")));
    // A shorter list leaves the primes beyond it where they were.
    store_allprimes(bench.ctx, bench.store, rows_of(2, 1, kDash), 0);
    EXPECT_EQ(bench.stored(1, 0), (std::vector<std::string>{"--"}));
    EXPECT_EQ(bench.store.prime(1, 0, 3)[0], kOne);
    EXPECT_TRUE(bench.area.text().empty());
}

TEST(PrimeStore, SixtyThousandPrimesOfTenInputsGiveNoWarning) {
    PrimeBench bench(1, polarity_one_set);
    bench.store.create(1, 10, 1);
    store_allprimes(bench.ctx, bench.store, rows_of(10, 60000, kDash), 59999);
    EXPECT_EQ(bench.store.last(0, 1), 59999);
    EXPECT_TRUE(bench.area.text().empty());
}

TEST(PrimeStore, WarnsAboveTwoToThirtyBytesWithTheExactSize) {
    // 500 000 primes x 22 inputs x 2 x 100 outputs = 2 200 000 000 bytes, beyond 32-bit sizes.
    PrimeBench bench(1, polarity_one_set);
    bench.store.create(100, 22, 1);
    store_allprimes(bench.ctx, bench.store, rows_of(22, 500000, kZero), 499999);
    EXPECT_EQ(bench.lines(),
              (std::vector<std::string>{"", " *** System Warning 1: DIM for allprimes = 2200000000/ 1073741824 which may "
                                            "cause swapping to disk. Continue?"}));
    const auto warning = bench.area.format_at(bench.area.text().find("System"));
    EXPECT_EQ(warning.colour, colours::red);
    EXPECT_TRUE(warning.bold);
    EXPECT_EQ(bench.store.last(0, 1), 499999);
}

TEST(PrimeStore, BreakAtTheWarningStoresNothing) {
    TextWorkArea area;
    BreakingWindow window;
    RunContext ctx(area, window);
    ctx.options.page_by_page = 1;
    PrimeStore store;
    store.create(100, 22, 1);
    store_allprimes(ctx, store, rows_of(22, 250000, kZero), 249999);
    EXPECT_TRUE(ctx.failed());
    EXPECT_EQ(store.last(0, 1), -1);
    EXPECT_EQ(store.capacity(), 1);
}

TEST(PrimeStore, RestoreBeyondMaxlpnumRecreatesTheTable) {
    PrimeBench bench(1, polarity_one_set);
    bench.store.create(1, 3, 1);
    bench.store.maxlpnum = 2;
    store_allprimes(bench.ctx, bench.store, rows_of(3, 4, kOne), 3);
    TermTable table = rows_of(3, 2, kZero);
    EXPECT_EQ(restore_from_allprimes(bench.ctx, bench.store, table), 3);
    EXPECT_EQ(table.capacity(), 4);
    EXPECT_EQ(table.last, 3);
    EXPECT_EQ(table.x(3)[0], kOne);
}

// A 4-input problem (16 expanded lines) and a table of 4 rows.
TEST(TempDim, GrowsToTwiceTheLargerOfNeedAndExpandedLines) {
    PrimeBench bench(4, polarity_one_set);
    make_problem(bench.problem, 4, 1);
    TermTable table = rows_of(4, 4, kOne);
    check_temp_DIM(bench.ctx, bench.problem, table, 3, " 1. tempa() in generate_CNS");
    EXPECT_EQ(table.capacity(), 4);
    EXPECT_TRUE(bench.area.text().empty());
    check_temp_DIM(bench.ctx, bench.problem, table, 20, " 1. tempa() in generate_CNS");
    EXPECT_EQ(table.capacity(), 40);
    EXPECT_EQ(table.x(3)[0], kOne);
    TermTable small = rows_of(4, 4, kOne);
    check_temp_DIM(bench.ctx, bench.problem, small, 5, " 1. tempa() in absorption_CNS");
    EXPECT_EQ(small.capacity(), 32);
    std::vector<int> list(4, 7);
    check_temp_DIM(bench.ctx, bench.problem, list, 20, " 1. lused() in absorption_CNS");
    EXPECT_EQ(list.size(), 40u);
    EXPECT_EQ(list[3], 7);
    EXPECT_EQ(bench.lines(),
              (std::vector<std::string>{"", " *** System Warning 6: DIM of  1. tempa() in generate_CNS increased from 3 to 39 ...",
                                        "", " *** System Warning 6: DIM of  1. tempa() in absorption_CNS increased from 3 to 31 ...",
                                        "", " *** System Warning 7: DIM of  1. lused() in absorption_CNS increased from 3 to 39 ..."}));
}

TEST(TempDim, GrowsSilentlyBelowLevelFour) {
    PrimeBench bench(3, polarity_one_set);
    make_problem(bench.problem, 4, 1);
    std::vector<int> list(4, 0);
    check_temp_DIM(bench.ctx, bench.problem, list, 5, "tempb() in fill_temp_arrays");
    EXPECT_EQ(list.size(), 32u);
    EXPECT_TRUE(bench.area.text().empty());
}

TEST(QmcStep, CarriedRowReachingMaxlpnumIsSystemErrorTwo) {
    PrimeBench bench(0, polarity_one_set);
    make_problem(bench.problem, 3, 1);
    bench.store.create(1, 3, 1);
    bench.store.maxlpnum = 1;
    QmcPass pass{bench.ctx, bench.problem, bench.store, 1, false, {}, {}};
    const std::vector<Cube> in = {minterm_cube(3, 0), minterm_cube(3, 1), minterm_cube(3, 6)};
    std::vector<Cube> out;
    bool done = false;
    main_QMC(pass, in, out, done);
    EXPECT_TRUE(bench.ctx.failed());
    EXPECT_FALSE(done);
    EXPECT_EQ(bench.lines(), (std::vector<std::string>{"", "", " *** System Error 2: Index of tempb() array ltempb = 1",
                                                       "                     larger than maxlpnum = 1"}));
}

}  // namespace
}  // namespace vormel::testing
