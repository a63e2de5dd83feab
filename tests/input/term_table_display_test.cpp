#include "input/term_table_display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "input/output_analysis.h"
#include "results/problem_fixture.h"

namespace vormel {
namespace {

using testing::add_row;
using testing::Harness;
using testing::make_problem;
using testing::set_minterm;

std::vector<std::string> slice(const std::vector<std::string>& lines, int from, int count) {
    return {lines.begin() + from, lines.begin() + from + count};
}

TEST(TermTableDisplay, ExpandedTableStaircaseRuleAndRows) {
    Harness h;
    h.ctx.run_state = 5;
    Problem p = make_problem({"a", "b", "c"}, {"f", "g"});
    set_minterm(p, 5, "1-");
    set_minterm(p, 6, "01");
    display_term_table(h.ctx, p, p.extab, true, TableMode::plain);
    const std::vector<std::string> expected = {
        "      c",     "     b|  f",  "    a||  |g", "    +++--++", " 0  000  00", " 1  001  00", " 2  010  00",
        " 3  011  00", " 4  100  00", " 5  101  1-", " 6  110  01", " 7  111  00",
        " ***  X_Literals = 24   Y_Literals = 15   P_Terms = 8   "};
    EXPECT_EQ(h.lines(), expected);
    const auto stats = h.format_of(" ***  X_Literals");
    EXPECT_EQ(stats.colour, colours::navy);
    EXPECT_TRUE(stats.bold);
    // Plain rows carry no colour: the only formatted run is the statistics line.
    EXPECT_EQ(h.area.runs().size(), 1u);
}

TEST(TermTableDisplay, LongNamesAndMoreOutputsThanInputs) {
    Harness h;
    Problem p = make_problem({"in1", "b"}, {"f", "gg", "h"});
    TermTable t(2, 3);
    add_row(t, "1-", "1.0");
    display_term_table(h.ctx, p, t, false, TableMode::plain);
    const auto lines = h.lines();
    const std::vector<std::string> expected = {"          f", "       b  |gg", "    in1|  ||h", "    --++--+++",
                                               " 0    1-  1.0"};
    EXPECT_EQ(slice(lines, 0, 5), expected);
}

TEST(TermTableDisplay, RowNumberWidthFollowsTheExpandedRowCount) {
    Harness h;
    // 16 minterms: two digits, so row numbers take three characters.
    Problem p = make_problem({"a", "b", "c", "d"}, {"f"});
    TermTable t(4, 1);
    add_row(t, "01-1", "1");
    display_term_table(h.ctx, p, t, true, TableMode::plain);
    const auto lines = h.lines();
    EXPECT_EQ(lines[3], "     a|||  f");
    EXPECT_EQ(lines[4], "     ++++--+");
    EXPECT_EQ(lines[5], "  0  01-1  1");
}

TEST(TermTableDisplay, FinalModeMarksConstantInverseAndUndefinedOutputs) {
    Harness h;
    Problem p = make_problem({"a", "b", "c"}, {"F", "G", "H", "I", "J"});
    p.polarity = {1, 1, 0, 1, 0};
    p.expanded_literals = 6;
    TermTable t(3, 5);
    add_row(t, "---", "1....");
    add_row(t, "1-0", ".10..");
    display_term_table(h.ctx, p, t, false, TableMode::final);
    const std::vector<std::string> expected = {
        "         F",
        "         |G",
        "      c  ||H",
        "     b|  |||I",
        "    a||  ||||J",
        "    +++--+++++",
        " 0  ---  1....",
        " 1  1-0  .10..",
        " Trivial Function:               F = 1",
        " Inverse functions:              H = /G",
        " Setting undefined Function to:  I = 0",
        " Setting undefined Function to:  J = 1",
        " ***  X_Literals = 2   Y_Literals = 2   P_Terms = 1                        : Gain = 1.5"};
    EXPECT_EQ(h.lines(), expected);
    EXPECT_EQ(p.out_code, (std::vector<int>{relation_const1, relation_ordinary, relation_inverse, relation_undefined_normal,
                                            relation_undefined_inverted}));
    EXPECT_EQ(p.out_related[2], 1);
    EXPECT_EQ(p.out_related[3], 3);
    EXPECT_EQ(h.format_of(" Trivial").colour, colours::blue);
    EXPECT_FALSE(h.format_of(" Trivial").bold);
    EXPECT_EQ(h.format_of(" Setting").colour, colours::red);
    EXPECT_TRUE(h.format_of(" Setting").bold);
}

TEST(TermTableDisplay, EqualFunctionsNeedTheSameDontCarePositions) {
    Problem p = make_problem({"a"}, {"A", "B", "C", "D"});
    TermTable t(1, 4);
    // B agrees with A where both are specified but leaves row 0 open: neither identical nor inverse.
    add_row(t, "1", "1.10");
    add_row(t, "0", "0001");
    Harness h;
    find_equal_functions(h.ctx, p, t);
    EXPECT_EQ(p.out_code[1], relation_ordinary);
    EXPECT_EQ(p.out_code[2], relation_identical);
    EXPECT_EQ(p.out_related[2], 0);
    // C, once marked, is no candidate for D.
    EXPECT_EQ(p.out_code[3], relation_inverse);
    EXPECT_EQ(p.out_related[3], 0);
}

// Long columns are compared a word of 64 rows at a time: relations must hold over every row, the
// last partial word included, as a row-by-row reading of the columns gives them.
TEST(TermTableDisplay, EqualAndInverseFunctionsOverManyRows) {
    std::mt19937 random(17);
    for (int trial = 0; trial < 40; ++trial) {
        // Past the first 4,096 rows the columns are compared as bits.
        const int rows = trial % 3 == 0 ? 4000 + static_cast<int>(random() % 2000) : 1 + static_cast<int>(random() % 300);
        // Many outputs alike make many long comparisons, which go over to bits after a few.
        const int outputs = trial % 3 == 0 ? 14 : 2 + static_cast<int>(random() % 6);
        std::vector<std::string> names;
        for (int j = 0; j < outputs; ++j) names.push_back("Y" + std::to_string(j));
        Problem p = make_problem({"a"}, names);
        TermTable t(1, outputs);
        // Outputs made from a few base columns, copied, inverted or disturbed in one row.
        std::vector<std::string> columns(static_cast<std::size_t>(outputs), std::string(static_cast<std::size_t>(rows), '0'));
        for (char& c : columns[0]) c = "01-"[random() % 3];
        for (int j = 1; j < outputs; ++j) {
            std::string& col = columns[static_cast<std::size_t>(j)];
            col = columns[random() % static_cast<unsigned>(std::min(j, 2))];
            if (random() % 2 == 0) {
                for (char& c : col) c = c == '-' ? '-' : static_cast<char>('0' + '1' - c);
            }
            // A difference anywhere, or in the last word of a long column.
            const std::size_t at = random() % 2 == 0 ? random() % col.size() : col.size() - 1 - random() % std::min<std::size_t>(col.size(), 70);
            if (random() % 4 == 0) col[at] = "01-"[random() % 3];
        }
        for (int r = 0; r < rows; ++r) {
            std::string y;
            for (const std::string& col : columns) y += col[static_cast<std::size_t>(r)] == '-' ? '.' : col[static_cast<std::size_t>(r)];
            add_row(t, "1", y);
        }
        p.out_related.assign(static_cast<std::size_t>(outputs), -1);
        p.out_code.assign(static_cast<std::size_t>(outputs), relation_ordinary);
        std::vector<int> code = p.out_code;
        std::vector<int> related = p.out_related;
        for (int i = 1; i < outputs; ++i) {
            for (int k = 0; k < i; ++k) {
                if (code[static_cast<std::size_t>(k)] > relation_const1) continue;
                bool identical = true, inverse = true;
                for (int r = 0; r < rows; ++r) {
                    const char a = columns[static_cast<std::size_t>(i)][static_cast<std::size_t>(r)];
                    const char b = columns[static_cast<std::size_t>(k)][static_cast<std::size_t>(r)];
                    identical = identical && a == b;
                    inverse = inverse && ((a == '-') == (b == '-')) && (a == '-' || a != b);
                }
                if (identical || inverse) {
                    related[static_cast<std::size_t>(i)] = k;
                    code[static_cast<std::size_t>(i)] = identical ? relation_identical : relation_inverse;
                }
            }
        }
        Harness h;
        find_equal_functions(h.ctx, p, t);
        ASSERT_EQ(p.out_code, code) << "trial " << trial;
        ASSERT_EQ(p.out_related, related) << "trial " << trial;
    }
}

TEST(TermTableDisplay, ALaterMatchWithAConstantOverwritesAnEarlierOne) {
    Problem p = make_problem({"a"}, {"A", "B", "C"});
    TermTable t(1, 3);
    add_row(t, "-", "111");
    Harness h;
    find_constant_functions(h.ctx, p, t);
    EXPECT_EQ(p.out_code, (std::vector<int>{relation_const1, relation_const1, relation_const1}));
    p.out_code[0] = relation_ordinary;
    p.out_code[2] = relation_ordinary;
    find_equal_functions(h.ctx, p, t);
    EXPECT_EQ(p.out_code[2], relation_identical);
    EXPECT_EQ(p.out_related[2], 1);
}

TEST(TermTableDisplay, EmptyTableShowsNoTermsAndZeroStatistics) {
    Harness h;
    Problem p = make_problem({"a", "b"}, {"f"});
    TermTable t(2, 1);
    display_term_table(h.ctx, p, t, true, TableMode::plain);
    const std::vector<std::string> expected = {" *** No Terms to be displayed",
                                               " ***  X_Literals = 0   Y_Literals = 0   P_Terms = 0   "};
    EXPECT_EQ(h.lines(), expected);
    EXPECT_EQ(h.format_of(" *** No Terms").colour, colours::red);
    EXPECT_TRUE(h.format_of(" *** No Terms").bold);
}

TEST(TermTableDisplay, RestLineStandsUnderTheColumns) {
    Harness h;
    Problem p = make_problem({"a", "b", "c"}, {"f", "g"});
    p.rest_used = true;
    p.rest_values[0] = kOne;
    p.rest_values[1] = kDash;
    TermTable t(3, 2);
    add_row(t, "1-0", "1-");
    display_term_table(h.ctx, p, t, true, TableMode::plain);
    const auto lines = h.lines();
    EXPECT_EQ(lines[4], " 0  1-0  1-");
    EXPECT_EQ(lines[5], "  $REST  1-");
}

struct GainCase {
    double expanded_literals;
    const char* gain_text;  // nullptr: no gain figure
};

class TermTableGain : public ::testing::TestWithParam<GainCase> {};

TEST_P(TermTableGain, GainStartsAtPosition75) {
    Harness h;
    Problem p = make_problem({"a", "b"}, {"f"});
    TermTable t(2, 1);
    add_row(t, "1-", "1");  // two literals in all
    p.expanded_literals = GetParam().expanded_literals;
    display_term_table(h.ctx, p, t, true, TableMode::plain);
    const std::string stats = " ***  X_Literals = 1   Y_Literals = 1   P_Terms = 1   ";
    const std::string last = h.lines().back();
    if (GetParam().gain_text == nullptr) {
        EXPECT_EQ(last, stats + "  ");
    } else {
        EXPECT_EQ(last, stats + std::string(75 - stats.size(), ' ') + ": Gain = " + GetParam().gain_text);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, TermTableGain,
                         ::testing::Values(GainCase{2.0, nullptr}, GainCase{2.98, "1.49"}, GainCase{3.0, "1.5"},
                                           GainCase{4.08, "2.0"}, GainCase{1.0, "0.50"}));

TEST(TermTableDisplay, NoGainBeforeBundleOptimization) {
    Harness h;
    h.ctx.run_state = 7;
    Problem p = make_problem({"a"}, {"f"});
    p.expanded_literals = 10;
    TermTable t(1, 1);
    add_row(t, "1", "1");
    display_term_table(h.ctx, p, t, true, TableMode::plain);
    EXPECT_EQ(h.lines().back(), " ***  X_Literals = 1   Y_Literals = 1   P_Terms = 1   ");
}

TEST(TermTableDisplay, NoteWhenMoreTermsThanInputRows) {
    Harness h;
    h.ctx.run_state = 5;
    Problem p = make_problem({"a"}, {"f"});
    p.intab.last = 0;
    TermTable t(1, 1);
    add_row(t, "1", "1");
    add_row(t, "0", "0");
    display_term_table(h.ctx, p, t, true, TableMode::plain);
    EXPECT_EQ(h.lines().back(), " *** Note: Final Number of P_Terms is larger than the original Input Table");
    EXPECT_EQ(h.format_of(" *** Note").colour, colours::blue);
}

TEST(TermTableDisplay, ComparisonColoursDontCaresAndMismatches) {
    Harness h;
    Problem p = make_problem({"a", "b"}, {"f", "g"});
    set_minterm(p, 1, "-1");
    set_minterm(p, 3, "11");
    // Rows 1 (a don't care taken as 1) and 3 are 1 in both outputs.
    TermTable terms(2, 2);
    for (const char* cube : {"01", "11"}) {
        const int row = terms.append_row();
        for (int i = 0; i < 2; ++i) terms.x(row)[i] = cube[i] == '1' ? kOne : kZero;
        terms.y(row)[0] = terms.y(row)[1] = kOne;
    }
    p.expanded_final_output = FinalOutput(2, terms, {kZero, kZero});

    h.ctx.diag.start_timer(" Final comparison");
    display_term_table(h.ctx, p, p.expanded_final_output, true, TableMode::comparison);
    h.ctx.report.flush_display(1);
    EXPECT_EQ(h.ctx.error_flag, 0);
    const auto lines = h.lines();
    const std::vector<std::string> expected = {
        "     b  f", "    a|  |g", "    ++--++", " 0  00  00", " 1  01  11", " 2  10  00", " 3  11  11",
        " *** Original Output Don't Cares result in the  blue 0 and 1  values",
        " Identical functions:            g = f",
        " *** Comparison with original expanded Inputs successful.", ""};
    EXPECT_EQ(lines, expected);
    const std::size_t row1 = h.area.text().find(" 1  01  11");
    const auto blue = h.area.format_at(row1 + 8);
    EXPECT_EQ(blue.colour, colours::blue);
    EXPECT_TRUE(blue.bold);
    EXPECT_FALSE(h.area.format_at(row1 + 9).bold);
    EXPECT_EQ(h.format_of(" *** Comparison").colour, colours::green);
    EXPECT_TRUE(h.format_of("  blue 0 and 1  ").bold);
    EXPECT_FALSE(h.format_of(" *** Original").bold);
}

TEST(TermTableDisplay, ComparisonFailureStopsWithErrorFlag) {
    Harness h;
    Problem p = make_problem({"a"}, {"f"});
    set_minterm(p, 1, "1");
    p.expanded_final_output = FinalOutput(1, TermTable(1, 1), {kZero});
    h.ctx.diag.start_timer(" Final comparison");
    display_term_table(h.ctx, p, p.expanded_final_output, true, TableMode::comparison);
    EXPECT_NE(h.ctx.error_flag, 0);
    const auto lines = h.lines();
    EXPECT_EQ(lines.back(), " *** Algorithmic Error : Comparison failed.");
    const auto red = h.area.format_at(h.area.text().find(" 1  1  0") + 7);
    EXPECT_EQ(red.colour, colours::red);
    EXPECT_TRUE(red.bold);
}

TEST(TermTableDisplay, InterruptedComparisonStillComparesEveryRow) {
    Harness h;
    h.ctx.options.page_by_page = 1;
    h.ctx.report.set_page_length(10);
    // The window answers Continue; emulate Interrupt by a window that stops at the first page end.
    struct Interrupting : SilentRunWindow {
        QueryAnswer ask_query(QueryKind) override { return QueryAnswer::stop; }
    } window;
    RunContext ctx(h.area, window);
    ctx.run_state = 9;
    ctx.report.set_page_length(10);
    Problem p = make_problem({"a", "b", "c", "d"}, {"f"});
    set_minterm(p, 15, "1");
    p.expanded_final_output = FinalOutput(4, TermTable(4, 1), {kZero});
    ctx.diag.start_timer(" Final comparison");
    display_term_table(ctx, p, p.expanded_final_output, true, TableMode::comparison);
    EXPECT_NE(ctx.error_flag, 0);
    EXPECT_GE(h.find_line(" ... Display interrupted ..."), 0);
    EXPECT_EQ(h.lines().back(), " *** Algorithmic Error : Comparison failed.");
}

}  // namespace
}  // namespace vormel
