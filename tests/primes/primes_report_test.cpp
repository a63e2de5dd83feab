#include <gtest/gtest.h>

#include "prime_test_support.h"
#include "primes/cns.h"
#include "primes/qmc.h"

namespace vormel::testing {
namespace {

std::string rule(const std::string& title) { return std::string(title.size() + 1, '_'); }

std::vector<std::string> heading(const std::string& title) { return {rule(title), "", title, rule(title), ""}; }

std::vector<std::string> join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A window that keeps the last status and polarity lines.
class StatusWindow : public SilentRunWindow {
public:
    void set_status_line(std::string_view text) override { status = text; }
    void set_polarity_line(std::string_view text) override { polarity = text; }
    std::string status;
    std::string polarity;
};

TextWorkArea::Run format_of(const PrimeBench& bench, const std::string& text) {
    const auto at = bench.area.text().find(text);
    EXPECT_NE(at, std::string::npos) << text;
    return bench.area.format_at(at == std::string::npos ? 0 : at);
}

// f(x0, x1) = 1 on minterms 01 and 11: the two merge into -1.
void two_merging_minterms(Problem& problem) {
    make_problem(problem, 2, 1);
    set_y(problem, 1, 0, kOne);
    set_y(problem, 3, 0, kOne);
}

// f = 1 on 01 and 11; g = 1 on 00, don't care on 11.
void two_outputs(Problem& problem) {
    make_problem(problem, 2, 2);
    set_y(problem, 1, 0, kOne);
    set_y(problem, 3, 0, kOne);
    set_y(problem, 0, 1, kOne);
    set_y(problem, 3, 1, kDash);
}

TEST(PrimesReport, QmcLevelOneLinesPerOutputAndPass) {
    PrimeBench bench(1, polarity_automatic);
    two_outputs(bench.problem);
    Primes_QMC(bench.ctx, bench.problem, bench.store);
    const std::string title = " *** QMC Primes (5):  Results of QMC Generation of Prime Implicants (MT incl. DC-Set)";
    EXPECT_EQ(bench.lines(),
              join({{" Prime Generation    : Quine-McCluskey - QMC "},
                    heading(title),
                    {" *** Output Function  y( 0) : f = 0       2  MT (incl. DC-Set) generate      1  Prime Implicants",
                     " *** Output Function  y( 1) : g = 0       3  MT (incl. DC-Set) generate      2  Prime Implicants",
                     "",
                     " *** Output Function  y( 0) : f = 1       2  MT (incl. DC-Set) generate      1  Prime Implicants",
                     " *** Output Function  y( 1) : g = 1       2  MT (incl. DC-Set) generate      2  Prime Implicants",
                     "", " *** Primes Generation done", ""}}));
    EXPECT_EQ(bench.stored(0, 0), (std::vector<std::string>{"-0"}));
    EXPECT_EQ(bench.stored(1, 0), (std::vector<std::string>{"-1", "1-"}));
    EXPECT_EQ(bench.stored(0, 1), (std::vector<std::string>{"-1"}));
    EXPECT_EQ(bench.stored(1, 1), (std::vector<std::string>{"00", "11"}));
    const auto count = format_of(bench, "       3");
    EXPECT_EQ(count.colour, colours::blue);
    EXPECT_TRUE(count.bold);
    const auto done = format_of(bench, " *** Primes Generation done");
    EXPECT_EQ(done.colour, colours::navy);
    EXPECT_TRUE(done.bold);
    EXPECT_EQ(format_of(bench, "  MT (incl. DC-Set)").colour, colours::black);
}

TEST(PrimesReport, CnsLevelOneLinesPerOutputAndPass) {
    PrimeBench bench(1, polarity_automatic);
    two_outputs(bench.problem);
    Primes_CNS(bench.ctx, bench.problem, bench.store);
    const std::string title = " *** CNS Primes (9):  Results of CNS Generation of Prime Implicants (MT incl. DC-Set)";
    EXPECT_EQ(bench.lines(),
              join({{" Prime Generation    : Consensus - CNS "},
                    heading(title),
                    {" *** Output Function  y( 0) : f = 0       2  MT (incl. DC-Set)  generate      1  Prime Implicants",
                     " *** Output Function  y( 1) : g = 0       3  MT (incl. DC-Set)  generate      2  Prime Implicants",
                     "",
                     " *** Output Function  y( 0) : f = 1       2  MT (incl. DC-Set)  generate      1  Prime Implicants",
                     " *** Output Function  y( 1) : g = 1       2  MT (incl. DC-Set)  generate      2  Prime Implicants",
                     "", " *** Primes Generation done", ""}}));
    // More "-" first; at equal counts the "-" at the lower variable first.
    EXPECT_EQ(bench.stored(1, 0), (std::vector<std::string>{"-1", "1-"}));
    EXPECT_EQ(bench.stored(1, 1), (std::vector<std::string>{"00", "11"}));
}

TEST(PrimesReport, EmptySetIsNotDefinedAndStoresNothing) {
    for (int method = 0; method < 2; ++method) {
        PrimeBench bench(1, polarity_one_set);
        make_problem(bench.problem, 3, 1);
        if (method == 0) Primes_QMC(bench.ctx, bench.problem, bench.store);
        else Primes_CNS(bench.ctx, bench.problem, bench.store);
        const auto lines = bench.lines();
        ASSERT_GE(lines.size(), 7u);
        EXPECT_EQ(lines[6], " *** Output Function  y( 0) : f = 1    is not defined");
        EXPECT_EQ(bench.store.last(0, 1), -1);
        EXPECT_EQ(bench.store.last(0, 0), -1);
        const auto text = format_of(bench, "    is not defined");
        EXPECT_EQ(text.colour, colours::red);
        EXPECT_TRUE(text.bold);
    }
}

TEST(PrimesReport, QmcLevelTwoListsMintermsAndPrimes) {
    PrimeBench bench(2, polarity_one_set);
    two_merging_minterms(bench.problem);
    Primes_QMC(bench.ctx, bench.problem, bench.store);
    EXPECT_EQ(bench.lines(),
              join({{" Prime Generation    : Quine-McCluskey - QMC "},
                    heading(" *** QMC Primes (1):  2 Minterms (plus DC-set) before QMC Compaction"),
                    {" ***  Output function y(0) : f = 1", "", "    0   01", "    1   11", "", " ***  2 Minterms", ""},
                    heading(" *** QMC Primes (4):  1 Prime Implicants after 2 QMC Comparison Step(s)"),
                    {" ***  Output function y(0) : f = 1", "", "    0   -1", "", " ***  1 Prime Implicants"}}));
    EXPECT_EQ(format_of(bench, " ***  2 Minterms").colour, colours::blue);
    EXPECT_EQ(format_of(bench, " ***  Output function y(0)").colour, colours::blue);
    const auto primes = format_of(bench, " ***  1 Prime Implicants");
    EXPECT_EQ(primes.colour, colours::navy);
    EXPECT_TRUE(primes.bold);
}

TEST(PrimesReport, QmcSingleMintermIsDoneAfterOneStep) {
    PrimeBench bench(2, polarity_one_set);
    make_problem(bench.problem, 2, 1);
    set_y(bench.problem, 2, 0, kOne);
    Primes_QMC(bench.ctx, bench.problem, bench.store);
    const auto lines = bench.lines();
    const std::string title = " *** QMC Primes (4):  1 Prime Implicants after 1 QMC Comparison Step(s)";
    EXPECT_NE(std::find(lines.begin(), lines.end(), title), lines.end());
    EXPECT_EQ(bench.stored(0, 1), (std::vector<std::string>{"10"}));
}

TEST(PrimesReport, EmptySetAtLevelTwo) {
    PrimeBench bench(2, polarity_one_set);
    make_problem(bench.problem, 2, 1);
    Primes_QMC(bench.ctx, bench.problem, bench.store);
    EXPECT_EQ(bench.lines(),
              join({{" Prime Generation    : Quine-McCluskey - QMC "},
                    heading(" *** QMC Primes (1):  0 Minterms (plus DC-set) before QMC Compaction"),
                    {" ***  Output function y(0) : f = 1", "", " Function is not defined (no Minterms or no Implicants exist)",
                     "", " ***  0 Minterms", ""},
                    heading(" *** QMC Primes (4):  0 Prime Implicants after 1 QMC Comparison Step(s)"),
                    {" ***  Output function y(0) : f = 1", "", " Function is not defined (no Minterms or no Implicants exist)",
                     "", " ***  0 Prime Implicants"}}));
}

TEST(PrimesReport, CnsLevelTwoListsMintermsAndPrimes) {
    PrimeBench bench(2, polarity_one_set);
    two_merging_minterms(bench.problem);
    Primes_CNS(bench.ctx, bench.problem, bench.store);
    EXPECT_EQ(bench.lines(),
              join({{" Prime Generation    : Consensus - CNS "},
                    heading(" *** CNS Primes (1a):  2 Minterms (incl. DC-set) before recursive CNS Cofactor"),
                    {" ***  Output function y(0) : f = 1", "", "    0   01", "    1   11", "", " ***  2 Minterms", ""},
                    heading(" *** CNS Primes (8):  1 Prime Implicants after CONSENSUS Reduction of 1 Term(s)"),
                    {" ***  Output function y(0) : f = 1", "", "    0   -1", "", " ***  1 Prime Implicants"}}));
}

TEST(PrimesReport, HeadingsAndListsReachTheStatusLines) {
    StatusWindow window;
    TextWorkArea area;
    RunContext ctx(area, window);
    ctx.options.display_level = 2;
    ctx.options.page_by_page = 0;
    Problem problem;
    PrimeStore store;
    two_merging_minterms(problem);
    Primes_QMC(ctx, problem, store);
    EXPECT_EQ(window.status, " *** QMC Primes (4):  1 Prime Implicants after 2 QMC Comparison Step(s)");
    EXPECT_EQ(window.polarity, " Output function y(0) : f = 1");
}

// Level 3: the comparison of the two groups, the merged cube, the carried row of a step.
TEST(PrimesReport, QmcLevelThreeShowsComparisons) {
    PrimeBench bench(3, polarity_one_set);
    make_problem(bench.problem, 3, 1);
    for (int m : {0, 1, 6}) set_y(bench.problem, m, 0, kOne);
    Primes_QMC(bench.ctx, bench.problem, bench.store);
    const auto lines = bench.lines();
    auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has(" Compare group with  0 ones to group with  1 ones:"));
    EXPECT_TRUE(has("    0   000"));
    EXPECT_TRUE(has("    1   001   =>      0   00-"));
    EXPECT_TRUE(has(" Compare group with  1 ones to group with  2 ones:"));
    EXPECT_TRUE(has("   -none-"));
    EXPECT_TRUE(has(" *** No further Comparisons"));
    EXPECT_TRUE(has(" *** QMC Primes (2):  1 intermediate Implicants after 1 QMC Comparison Step(s)"));
    EXPECT_TRUE(has(" *** QMC Primes (3):  1 non-compacted Implicant(s) added"));
    EXPECT_TRUE(has(" *** QMC Primes (4):  2 Prime Implicants after 2 QMC Comparison Step(s)"));
    EXPECT_EQ(bench.stored(0, 1), (std::vector<std::string>{"00-", "110"}));
}

// Level 4: a merged cube produced a second time is reported and not stored twice.
TEST(PrimesReport, QmcLevelFourReportsExistingCubes) {
    PrimeBench bench(4, polarity_one_set);
    make_problem(bench.problem, 2, 1);
    for (int m = 0; m < 4; ++m) set_y(bench.problem, m, 0, kOne);
    Primes_QMC(bench.ctx, bench.problem, bench.store);
    const auto lines = bench.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "    2   -1   =>          exists already"), lines.end());
    EXPECT_EQ(bench.stored(0, 1), (std::vector<std::string>{"--"}));
}

// Level 4 of the consensus method: the recursion's headings carry xtree.
TEST(PrimesReport, CnsLevelFourShowsTheRecursion) {
    PrimeBench bench(4, polarity_one_set);
    make_problem(bench.problem, 2, 1);
    for (int m : {0, 1, 2}) set_y(bench.problem, m, 0, kOne);
    Primes_CNS(bench.ctx, bench.problem, bench.store);
    const auto lines = bench.lines();
    auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has(" *** CNS Primes (2a):  Splitting Variable chosen: xtree = .."));
    EXPECT_TRUE(has(" *** CNS Primes (3b-0):  0-Cofactor has complete Binary Variables: xtree = .."));
    EXPECT_TRUE(has("     0   0-      <-- 1 variable(s) set to -, 0 re-inserted and return"));
    EXPECT_TRUE(has(" *** CNS Primes (3a-1):  1-Cofactor has one Line => No further Processing: xtree = .."));
    EXPECT_TRUE(has(" *** CNS Primes (5):  CONSENSUS of 0- and 1-Cofactor: xtree = .."));
    EXPECT_TRUE(has(" *** CNS Primes (6):  Remaining Terms after SCC ABSORPTION: xtree = .."));
    EXPECT_TRUE(has(" Splitting Variable x(0) : x0"));
    EXPECT_TRUE(has(" Recursion Level = 1"));
    EXPECT_TRUE(has("               1   -0"));
    EXPECT_EQ(bench.stored(0, 1), (std::vector<std::string>{"-0", "0-"}));
}

}  // namespace
}  // namespace vormel::testing
