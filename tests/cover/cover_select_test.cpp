#include <gtest/gtest.h>

#include <memory>

#include "cover/cover_fixture.h"
#include "cover/cover_select.h"
#include "report/number_format.h"

namespace {

using cover_test::CoverBench;
using cover_test::function_values;

std::string heading(const std::string& title) {
    const std::string rule(title.size() + 1, '_');
    return rule + "\n\n" + title + "\n" + rule + "\n\n";
}

const std::string kCoverF = " *** Select Cover (1): Covering Function y(0):  F = 1";

// f = m(0, 1, 2, 5, 6, 7): every minterm lies in exactly two of the six primes.
std::unique_ptr<CoverBench> cyclic(int level) {
    auto b = std::make_unique<CoverBench>(3, std::vector<std::vector<int>>{function_values(3, {0, 1, 2, 5, 6, 7})}, level);
    b->set_primes(0, 1, {"00-", "0-0", "-01", "-10", "1-1", "11-"});
    return b;
}

TEST(CoverSelect, CyclicCoreStartsWithWeightedChoiceThenDominance) {
    auto bench = cyclic(3);
    CoverBench& b = *bench;
    vormel::Cover_Single(b.ctx, b.problem, b.store);
    const std::string dashes(38, '-');
    const std::string expected = heading(kCoverF) +
                                 "     MT  PI :  0  1  2  3  4  5  MTcover\n"
                                 "   " + dashes + "\n"
                                 "      0 000 :  #  #  -  -  -  -     2\n"
                                 "      1 001 :  #  -  #  -  -  -     2\n"
                                 "      2 010 :  -  #  -  #  -  -     2\n"
                                 "      5 101 :  -  -  #  -  #  -     2\n"
                                 "      6 110 :  -  -  -  #  -  #     2\n"
                                 "      7 111 :  -  -  -  -  #  #     2\n"
                                 "   " + dashes + "\n"
                                 "    numLit  :  2  2  2  2  2  2 MTmin=2\n"
                                 "    PIcover :  #  #  #  #  #  #\n"
                                 "\n"
                                 " ALT PI    0 =  00-  covering  33.3 % with  MT   0   1\n"
                                 "     PI    3 =  -10  dominating PI    1 =  0-0\n"
                                 "     PI    4 =  1-1  dominating PI    2 =  -01\n"
                                 " SEC PI    3 =  -10  covering  66.6 % with  MT   2   6\n"
                                 "     PI    4 =  1-1  dominating PI    5 =  11-\n"
                                 " SEC PI    4 =  1-1  covering 100.0 % with  MT   5   7\n"
                                 "\n"
                                 " ***  3 Product Terms\n";
    EXPECT_EQ(b.area.text(), expected);
    EXPECT_EQ(b.stored(0, 1), (std::vector<std::string>{"00-", "-10", "1-1"}));

    const auto& text = b.area.text();
    const auto choice = b.area.format_at(text.find(" ALT PI"));
    EXPECT_TRUE(choice.colour == vormel::colours::blue);
    EXPECT_TRUE(choice.bold);
    const auto dominance = b.area.format_at(text.find("  dominating PI    1"));
    EXPECT_TRUE(dominance.colour == vormel::colours::green);
    EXPECT_FALSE(dominance.bold);
    const auto total = b.area.format_at(text.find(" ***  3 Product Terms"));
    EXPECT_TRUE(total.colour == vormel::colours::navy);
    EXPECT_TRUE(total.bold);
}

TEST(CoverSelect, LevelTwoShowsChoicesOnlyAndLevelOneOneLine) {
    auto two_bench = cyclic(2);
    CoverBench& two = *two_bench;
    vormel::Cover_Single(two.ctx, two.problem, two.store);
    EXPECT_EQ(two.area.text(), heading(kCoverF) +
                                   " ALT PI    0 =  00-  covering  33.3 % with  MT   0   1\n"
                                   " SEC PI    3 =  -10  covering  66.6 % with  MT   2   6\n"
                                   " SEC PI    4 =  1-1  covering 100.0 % with  MT   5   7\n"
                                   "\n"
                                   " ***  3 Product Terms\n");

    auto one_bench = cyclic(1);
    CoverBench& one = *one_bench;
    vormel::Cover_Single(one.ctx, one.problem, one.store);
    EXPECT_EQ(one.area.text(),
              heading(" *** Select Cover (2):  Results of Weighted covering Process (Minterms without DC-Set)") +
                  " *** Output Function  y( 0) : F = 1       6  MT and      6  total PI covered by       3  Product Terms\n"
                  "\n"
                  " *** Cover done\n\n");

    auto zero_bench = cyclic(0);
    CoverBench& zero = *zero_bench;
    vormel::Cover_Single(zero.ctx, zero.problem, zero.store);
    EXPECT_EQ(zero.area.text(), "");
    EXPECT_EQ(zero.stored(0, 1), one.stored(0, 1));
}

TEST(CoverSelect, EssentialPrimesAreTakenInIndexOrderWithoutDominance) {
    CoverBench b(3, {function_values(3, {0, 1, 6, 7})}, 3);
    b.set_primes(0, 1, {"00-", "11-"});
    vormel::Cover_Single(b.ctx, b.problem, b.store);
    const auto& text = b.area.text();
    EXPECT_NE(text.find("   " + std::string(11, '-') + "-E--E-" + std::string(9, '-') + "\n"), std::string::npos);
    EXPECT_NE(text.find("\n ESS PI    0 =  00-  covering  50.0 % with  MT   0   1\n"
                        " ESS PI    1 =  11-  covering 100.0 % with  MT   6   7\n\n ***  2 Product Terms\n"),
              std::string::npos);
    EXPECT_EQ(text.find("dominating"), std::string::npos);
    EXPECT_EQ(b.stored(0, 1), (std::vector<std::string>{"00-", "11-"}));
}

// f = m(0, 1, 5) with don't cares 3 and 7. After "00-", the two primes on minterm 5 have equal
// rows; only the one that lost minterm 1 is flagged changed, and the higher index goes.
TEST(CoverSelect, EqualRowsDropTheHigherIndexWhateverTheLiterals) {
    const auto values = function_values(3, {0, 1, 5}, {3, 7});
    CoverBench b(3, {values}, 3);
    b.set_primes(0, 1, {"00-", "1-1", "--1", "-11"});
    vormel::Cover_Single(b.ctx, b.problem, b.store);
    const auto& text = b.area.text();
    EXPECT_NE(text.find("    PIcover :  #  #  #   \n"), std::string::npos);
    EXPECT_NE(text.find("\n     PI    3 =  -11  not used (generated by DC-set)\n"
                        " ESS PI    0 =  00-  covering  66.6 % with  MT   0   1\n"
                        "     PI    1 =  1-1  dominating PI    2 =  --1\n"
                        " SEC PI    1 =  1-1  covering 100.0 % with  MT   5\n"),
              std::string::npos);
    EXPECT_EQ(b.stored(0, 1), (std::vector<std::string>{"00-", "1-1"}));

    CoverBench swapped(3, {values}, 3);
    swapped.set_primes(0, 1, {"00-", "--1", "1-1", "-11"});
    vormel::Cover_Single(swapped.ctx, swapped.problem, swapped.store);
    EXPECT_NE(swapped.area.text().find("     PI    1 =  --1  dominating PI    2 =  1-1\n"), std::string::npos);
    EXPECT_EQ(swapped.stored(0, 1), (std::vector<std::string>{"00-", "--1"}));
}

TEST(CoverSelect, ConstantOneIsMarkedTrivial) {
    CoverBench b(2, {function_values(2, {0, 1, 2, 3})}, 2);
    b.set_primes(0, 1, {"--"});
    vormel::Cover_Single(b.ctx, b.problem, b.store);
    EXPECT_NE(b.area.text().find("\n ESS PI    0 =  --  covering 100.0 % with  MT   0   1   2   3    <-- trivial Function !\n"),
              std::string::npos);
}

TEST(CoverSelect, MintermListIsCutAfterNineteenAtLevelTwo) {
    std::vector<int> ones;
    for (int line = 0; line < 25; ++line) ones.push_back(line);
    const auto values = function_values(6, ones, {25, 26, 27, 28, 29, 30, 31});
    std::string all;
    for (int line = 0; line < 25; ++line) all += vormel::format_mask(" ###", line);
    const std::string head = " ESS PI    0 =  0-----  covering 100.0 % with  MT";

    CoverBench two(6, {values}, 2);
    two.set_primes(0, 1, {"0-----"});
    vormel::Cover_Single(two.ctx, two.problem, two.store);
    EXPECT_NE(two.area.text().find(head + all.substr(0, 19 * 4) + " ...\n"), std::string::npos);

    // Nineteen numbers fill the list, so the mark follows even when nothing is left out.
    std::vector<int> dont_cares;
    for (int line = 19; line < 32; ++line) dont_cares.push_back(line);
    CoverBench exact(6, {function_values(6, std::vector<int>(ones.begin(), ones.begin() + 19), dont_cares)}, 2);
    exact.set_primes(0, 1, {"0-----"});
    vormel::Cover_Single(exact.ctx, exact.problem, exact.store);
    EXPECT_NE(exact.area.text().find(head + all.substr(0, 19 * 4) + " ...\n"), std::string::npos);

    CoverBench three(6, {values}, 3);
    three.set_primes(0, 1, {"0-----"});
    vormel::Cover_Single(three.ctx, three.problem, three.store);
    EXPECT_NE(three.area.text().find(head + all + "\n"), std::string::npos);
}

// Both polarities of two outputs; the second output is constant 0, so its 1-set is empty.
TEST(CoverSelect, AutomaticPolarityCoversBothSetsAndReportsEmptyOnes) {
    CoverBench b(3, {function_values(3, {0, 1, 2, 5, 6, 7}), function_values(3, {})}, 1);
    b.ctx.options.polarity_mode = vormel::polarity_automatic;
    for (int j = 0; j < 2; ++j) {
        for (int v = 0; v < 2; ++v) b.set_primes(j, v, cover_test::brute_force_primes(b.problem, j, v));
    }
    vormel::Cover_Single(b.ctx, b.problem, b.store);
    EXPECT_EQ(b.area.text(),
              heading(" *** Select Cover (2):  Results of Weighted covering Process (Minterms without DC-Set)") +
                  " *** Output Function  y( 0) : F    = 0       2  MT and      2  total PI covered by       2  Product Terms\n"
                  " *** Output Function  y( 1) : OUT1 = 0       8  MT and      1  total PI covered by       1  Product Terms\n"
                  "\n"
                  " *** Output Function  y( 0) : F    = 1       6  MT and      6  total PI covered by       3  Product Terms\n"
                  " *** Output Function  y( 1) : OUT1 = 1    is not defined\n"
                  "\n"
                  " *** Cover done\n\n");
    EXPECT_EQ(b.store.last(1, 1), -1);
    EXPECT_EQ(b.stored(1, 0), (std::vector<std::string>{"---"}));
    EXPECT_EQ(b.stored(0, 0), (std::vector<std::string>{"011", "100"}));
}

TEST(CoverSelect, NoPositiveWeightEndsTheStepWithAnError) {
    auto bench = cyclic(2);
    CoverBench& b = *bench;
    vormel::Cover_Single(b.ctx, b.problem, b.store, vormel::CoverWeights{-1.0, 0.0});
    EXPECT_EQ(b.ctx.error_flag, -1);
    const auto& text = b.area.text();
    const auto at = text.find(" *** System Error: no Prime Implicant of positive weight left for 6 open Minterm(s)");
    ASSERT_NE(at, std::string::npos);
    EXPECT_TRUE(b.area.format_at(at).colour == vormel::colours::red);
    EXPECT_EQ(text.find("Product Terms"), std::string::npos);
    EXPECT_EQ(b.store.last(0, 1), 5);
}

TEST(CoverSelect, MatrixOfMoreThan991PrimesIsNotDisplayed) {
    CoverBench b(2, {function_values(2, {0, 1, 2, 3})}, 3);
    b.set_primes(0, 1, std::vector<std::string>(992, "--"));
    vormel::Cover_Single(b.ctx, b.problem, b.store);
    EXPECT_EQ(b.area.text().find(heading(kCoverF) + "\n*** Matrix too large for display ...\n\n"), 0u);
    EXPECT_EQ(b.stored(0, 1), (std::vector<std::string>{"--"}));
}

}  // namespace

namespace {

// Records the status lines and answers Break from the n-th "Reset ?" on.
class RecordingWindow : public vormel::SilentRunWindow {
public:
    explicit RecordingWindow(int break_at = 0) : break_at_(break_at) {}
    void set_status_line(std::string_view text) override { status.emplace_back(text); }
    void set_polarity_line(std::string_view text) override { polarity.emplace_back(text); }
    vormel::QueryAnswer ask_query(vormel::QueryKind kind) override {
        if (kind == vormel::QueryKind::reset && ++resets == break_at_) return vormel::QueryAnswer::stop;
        return vormel::QueryAnswer::proceed;
    }
    std::vector<std::string> status;
    std::vector<std::string> polarity;
    int resets = 0;

private:
    int break_at_;
};

TEST(CoverSelect, StatusLinesFollowTheProgress) {
    vormel::TextWorkArea area;
    RecordingWindow window;
    vormel::RunContext ctx(area, window);
    ctx.options.display_level = 2;
    CoverBench b(3, {function_values(3, {0, 1, 2, 5, 6, 7})}, 2);
    b.set_primes(0, 1, {"00-", "0-0", "-01", "-10", "1-1", "11-"});
    vormel::Cover_Single(ctx, b.problem, b.store);
    EXPECT_EQ(window.status, (std::vector<std::string>{" *** Select Cover:", " *** Select Cover (1):",
                                                       " *** Select Cover:   33.3 % done", " *** Select Cover:   66.6 % done",
                                                       " *** Select Cover:  100.0 % done"}));
    EXPECT_EQ(window.polarity, (std::vector<std::string>{" Covering Function y(0):  F = 1"}));
}

TEST(CoverSelect, BreakAtThePauseAfterAnOutputEndsTheStep) {
    vormel::TextWorkArea area;
    RecordingWindow window(1);
    vormel::RunContext ctx(area, window);
    ctx.options.display_level = 2;
    CoverBench b(3, {function_values(3, {0, 1, 6, 7}), function_values(3, {0, 1, 2, 5, 6, 7})}, 2);
    b.set_primes(0, 1, {"00-", "11-"});
    b.set_primes(1, 1, {"00-", "0-0", "-01", "-10", "1-1", "11-"});
    vormel::Cover_Single(ctx, b.problem, b.store);
    EXPECT_EQ(ctx.error_flag, -1);
    EXPECT_EQ(window.resets, 1);
    EXPECT_EQ(area.text().find("Covering Function y(1)"), std::string::npos);
    EXPECT_EQ(b.store.last(1, 1), 5);
}

}  // namespace
