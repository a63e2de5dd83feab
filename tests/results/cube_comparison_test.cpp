// The cube methods' proof of the final terms: it must accept right results, reject planted faults,
// and find identical and inverse outputs as the minterm comparison does.
#include <gtest/gtest.h>

#include <random>

#include "cubes/result_proof.h"
#include "input/output_analysis.h"
#include "model/problem.h"
#include "results/cube_comparison.h"
#include "results/problem_fixture.h"

namespace vormel {
namespace {

using testing::add_row;

// Input rows only (no expanded table), as a cube-method run of a wide function has them.
Problem rows_problem(int nx, int ny, const std::vector<std::pair<std::string, std::string>>& rows) {
    Problem p;
    p.xmax = nx - 1;
    p.ymax = ny - 1;
    for (int i = 0; i < nx; ++i) p.xnames.push_back("x" + std::to_string(i));
    for (int j = 0; j < ny; ++j) p.ynames.push_back("y" + std::to_string(j));
    p.intab = TermTable(nx, ny);
    for (const auto& [x, y] : rows) add_row(p.intab, x, y);
    p.rest_values.assign(static_cast<std::size_t>(std::max(ny, kMaxOutputs)), kZero);
    p.polarity.assign(static_cast<std::size_t>(ny), 1);
    p.out_related.assign(static_cast<std::size_t>(ny), -1);
    p.out_code.assign(static_cast<std::size_t>(ny), relation_ordinary);
    return p;
}

TermTable terms_of(int nx, int ny, const std::vector<std::pair<std::string, std::string>>& rows) {
    TermTable t(nx, ny);
    for (const auto& [x, y] : rows) add_row(t, x, y);
    return t;
}

// y0 = x0 x1 + x2, a don't care on 000-; y1 = x0 x1 (the 1 wins where the second row says 0);
// every other point is 0 ($REST).
Problem two_outputs() { return rows_problem(4, 2, {{"11--", "11"}, {"--1-", "10"}, {"000-", "-0"}}); }

TEST(CubeProof, AcceptsAResultAndRejectsPlantedFaults) {
    Problem p = two_outputs();
    EXPECT_TRUE(cubes::prove_result(p, terms_of(4, 2, {{"11--", "11"}, {"--1-", "1-"}})).empty());
    // The don't care points may go either way.
    EXPECT_TRUE(cubes::prove_result(p, terms_of(4, 2, {{"11--", "11"}, {"--1-", "1-"}, {"000-", "1-"}})).empty());

    // A term too big: x1 alone reaches 0100, a 0 of y0.
    auto faults = cubes::prove_result(p, terms_of(4, 2, {{"-1--", "1-"}, {"--1-", "1-"}, {"11--", "-1"}}));
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].output, 0);
    EXPECT_FALSE(faults[0].missing);
    EXPECT_EQ(faults[0].cube, "-1--");

    // A term missing: nothing covers x2 for y0.
    faults = cubes::prove_result(p, terms_of(4, 2, {{"11--", "11"}}));
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].output, 0);
    EXPECT_TRUE(faults[0].missing);
    EXPECT_EQ(faults[0].cube, "--1-");

    // A wrong output bit: x2 also feeds y1, which is 0 at 0010.
    faults = cubes::prove_result(p, terms_of(4, 2, {{"11--", "11"}, {"--1-", "11"}}));
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].output, 1);
    EXPECT_FALSE(faults[0].missing);
}

TEST(CubeProof, OutputsOfPolarityZeroAreProvenInverted) {
    Problem p = two_outputs();
    p.polarity = {1, 0};
    // y1 realised by its 0 set: /x0 + x0 /x1.
    EXPECT_TRUE(cubes::prove_result(p, terms_of(4, 2, {{"11--", "1-"}, {"--1-", "1-"}, {"0---", "-0"}, {"10--", "-0"}})).empty());
    // Its 1 set given as the terms is wrong twice over.
    const auto faults = cubes::prove_result(p, terms_of(4, 2, {{"11--", "10"}, {"--1-", "1-"}}));
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_EQ(faults[0].output, 1);
    EXPECT_EQ(faults[1].output, 1);
}

TEST(CubeProof, RestValuesAndWideFunctions) {
    // 30 or 300 inputs, of which two are used; $REST 1: every point no row names is 1.
    for (const int n : {30, 300}) {
        SCOPED_TRACE(n);
        const auto at = [n](int a, char va, int b, char vb) {
            std::string text(static_cast<std::size_t>(n), '-');
            if (a >= 0) text[static_cast<std::size_t>(a)] = va;
            if (b >= 0) text[static_cast<std::size_t>(b)] = vb;
            return text;
        };
        const int far = n - 3;
        Problem p = rows_problem(n, 1, {{at(7, '1', far, '0'), "0"}});
        p.rest_values[0] = kOne;
        EXPECT_TRUE(cubes::prove_result(p, terms_of(n, 1, {{at(7, '0', -1, '-'), "1"}, {at(far, '1', -1, '-'), "1"}})).empty());
        const auto faults = cubes::prove_result(p, terms_of(n, 1, {{at(7, '0', -1, '-'), "1"}}));
        ASSERT_EQ(faults.size(), 1u);
        EXPECT_TRUE(faults[0].missing);
    }
}

TEST(CubeComparison, ReportsTheVerdictWithTheComparisonsLines) {
    testing::Harness h;
    h.ctx.options.prime_method = method_shared;
    Problem p = two_outputs();
    cube_comparison(h.ctx, p, terms_of(4, 2, {{"11--", "11"}, {"--1-", "1-"}}));
    EXPECT_GE(h.find_line(" *** Comparison with original expanded Inputs successful."), 0);
    EXPECT_EQ(p.cube_proof, ProofOutcome::passed);
    EXPECT_EQ(h.ctx.error_flag, 0);

    testing::Harness bad;
    bad.ctx.options.prime_method = method_shared;
    cube_comparison(bad.ctx, p, terms_of(4, 2, {{"11--", "11"}}));
    EXPECT_GE(bad.find_line(" y0: not covered: input cube --1-"), 0);
    EXPECT_GE(bad.find_line(" *** Algorithmic Error : Comparison failed."), 0);
    EXPECT_EQ(p.cube_proof, ProofOutcome::failed);
    EXPECT_EQ(bad.ctx.error_flag, -1);
}

// Random final terms over 5 inputs and 6 outputs, some outputs copies or complements of others:
// the relations found on cubes must be those the minterm comparison finds.
TEST(CubeComparison, EqualOutputsFoundOnCubesMatchTheMintermComparison) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 200; ++trial) {
        const int nx = 5, ny = 6;
        Problem p = testing::make_problem({"a", "b", "c", "d", "e"}, {"y0", "y1", "y2", "y3", "y4", "y5"});
        for (int j = 0; j < ny; ++j) p.polarity[j] = static_cast<int>(rng() % 2);
        p.polarity[1] = p.polarity[0];
        p.polarity[3] = 1 - p.polarity[2];
        // y1 takes y0's terms with its polarity (identical), y3 takes y2's with the other one (inverse).
        TermTable terms(nx, ny);
        const int count = 1 + static_cast<int>(rng() % 4);
        for (int t = 0; t < count; ++t) {
            std::string x, y;
            for (int i = 0; i < nx; ++i) x += "01--"[rng() % 4];
            for (int j = 0; j < ny; ++j) y += rng() % 2 ? static_cast<char>('0' + p.polarity[j]) : '-';
            y[1] = y[0] == '-' ? '-' : static_cast<char>('0' + p.polarity[1]);
            y[3] = y[2] == '-' ? '-' : static_cast<char>('0' + p.polarity[3]);
            add_row(terms, x, y);
        }
        Problem by_minterms = p;
        std::vector<std::uint8_t> uncovered;
        for (int j = 0; j < ny; ++j) uncovered.push_back(p.polarity[j] == 0 ? kOne : kZero);
        testing::Harness h;
        find_equal_functions(h.ctx, by_minterms, FinalOutput(nx, terms, uncovered));
        cubes::mark_equal_realised_outputs(p, terms);
        ASSERT_EQ(p.out_code, by_minterms.out_code) << "trial " << trial;
        ASSERT_EQ(p.out_related, by_minterms.out_related) << "trial " << trial;
        ASSERT_EQ(p.out_code[1], relation_identical);
    }
}

}  // namespace
}  // namespace vormel
