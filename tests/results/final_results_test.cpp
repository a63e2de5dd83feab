#include "results/final_results.h"

#include <regex>

#include <gtest/gtest.h>

#include "results/problem_fixture.h"

namespace vormel {
namespace {

using testing::add_row;
using testing::fill_expanded;
using testing::Harness;
using testing::heading_lines;
using testing::make_problem;

void append(std::vector<std::string>& to, const std::vector<std::string>& lines) {
    to.insert(to.end(), lines.begin(), lines.end());
}

// Inputs a, b, c; y = b + a/c; z realised by its 0-set a/c (polarity 0).
Problem shared_term_example() {
    Problem p = make_problem({"a", "b", "c"}, {"y", "z"});
    fill_expanded(p, [](int r) {
        const bool a = r & 4, b = r & 2, c = r & 1;
        const bool a_not_c = a && !c;
        return std::string{(b || a_not_c) ? '1' : '0', a_not_c ? '0' : '1'};
    });
    p.polarity = {1, 0};
    p.final_terms = TermTable(3, 2);
    add_row(p.final_terms, "1-0", "10");
    add_row(p.final_terms, "-1-", "1-");
    return p;
}

TEST(FinalResults, WholeReportOfTheSharedTermExample) {
    Harness h;
    Problem p = shared_term_example();
    final_results(h.ctx, p);
    ASSERT_EQ(h.ctx.error_flag, 0);

    std::vector<std::string> expected;
    append(expected, heading_lines(" *** Final Results (0):  Output Polarity"));
    append(expected, {" Final Polarity = 10", ""});
    append(expected, heading_lines(" *** Final Results (1):  Minimum Product Terms"));
    append(expected, {"      c", "     b|  y", "    a||  |z", "    +++--++", " 0  -1-  1.", " 1  1-0  10",
                      " ***  X_Literals = 3   Y_Literals = 3   P_Terms = 2   " + std::string(21, ' ') +
                          ": Gain = 6.7"});
    append(expected, heading_lines(" *** Final Results (2):  Comparison of Expanded Final Output with Input"));
    append(expected, {"      c", "     b|  y", "    a||  |z", "    +++--++", " 0  000  01", " 1  001  01",
                      " 2  010  11", " 3  011  11", " 4  100  10", " 5  101  01", " 6  110  10", " 7  111  11",
                      " *** Comparison with original expanded Inputs successful.", ""});
    append(expected, heading_lines(" *** Final Results (3):  Boolean Equations"));
    append(expected, {"  PT_0 =  a * /c", "", "", "     y =  b", "       +  PT_0", "", "    /z =  PT_0", "",
                      " *** Boolean Equations done", ""});
    append(expected, heading_lines(" *** Final Results (4):  Number of Gates (without Inverters)"));
    append(expected, {"   1 * AND_2    1 * OR_2", "", " *** Total Number of Gate Inputs: 4", ""});

    const auto lines = h.lines();
    ASSERT_EQ(lines.size(), expected.size() + 5);
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i;
    const std::string end = lines[expected.size() + 2];
    EXPECT_TRUE(std::regex_match(end, std::regex(R"( \*\*\* End of  Vormel  - .+ - \d\d-\d\d-\d{4}\.  Total CPU time: .+ s)")))
        << end;
    EXPECT_NE(end.find(version_label()), std::string::npos);

    // The realised values of every minterm are kept for later inspection.
    EXPECT_EQ(p.expanded_final_output.to_table().ys, p.extab.ys);
    EXPECT_TRUE(h.format_of(" *** Boolean Equations done").bold);
    EXPECT_EQ(h.format_of("   1 * AND_2").colour, colours::blue);
}

TEST(FinalResults, WrongTermsFailTheProofAndEndTheStep) {
    Harness h;
    Problem p = shared_term_example();
    p.final_terms.y(1)[0] = kDash;  // y loses its term b
    final_results(h.ctx, p);
    EXPECT_NE(h.ctx.error_flag, 0);
    const auto lines = h.lines();
    EXPECT_EQ(lines.back(), " *** Algorithmic Error : Comparison failed.");
    EXPECT_EQ(h.find_line(" *** Final Results (3):  Boolean Equations"), -1);
    // Minterm 2 (a=0, b=1, c=0): y is 1 in the input but 0 now, printed red.
    const std::size_t row = h.area.text().find(" 2  010  01");
    ASSERT_NE(row, std::string::npos);
    EXPECT_EQ(h.area.format_at(row + 9).colour, colours::red);
}

TEST(FinalResults, EmptyResultUsesThePlaceholderRow) {
    Harness h;
    Problem p = make_problem({"a", "b"}, {"f", "g"});
    fill_expanded(p, [](int r) { return std::string{'0', r == 3 ? '-' : '1'}; });
    p.polarity = {1, 0};
    p.final_terms = TermTable(2, 2);
    final_results(h.ctx, p);
    ASSERT_EQ(h.ctx.error_flag, 0);
    EXPECT_GE(h.find_line(" *** No Terms to be displayed"), 0);
    EXPECT_GE(h.find_line(" Setting undefined Function to:  f = 0"), 0);
    EXPECT_GE(h.find_line(" Setting undefined Function to:  g = 1"), 0);
    EXPECT_GE(h.find_line(" *** Original Output Don't Cares result in the  blue 0 and 1  values"), 0);
    EXPECT_GE(h.find_line(" *** Comparison with original expanded Inputs successful."), 0);
    EXPECT_GE(h.find_line("  f =  0"), 0);
    EXPECT_GE(h.find_line("  g =  1"), 0);
    EXPECT_GE(h.find_line("       - no Gates -"), 0);
    EXPECT_GE(h.find_line(" *** Total Number of Gate Inputs: 0"), 0);
}

TEST(FinalResults, BreakAtTheResetPauseEndsWithoutTheProof) {
    struct Breaking : SilentRunWindow {
        QueryAnswer ask_query(QueryKind kind) override {
            return kind == QueryKind::reset ? QueryAnswer::stop : QueryAnswer::proceed;
        }
    } window;
    TextWorkArea area;
    RunContext ctx(area, window);
    ctx.run_state = 9;
    ctx.options.display_level = 2;
    Problem p = shared_term_example();
    final_results(ctx, p);
    EXPECT_NE(ctx.error_flag, 0);
    EXPECT_NE(area.text().find("Minimum Product Terms"), std::string::npos);
    EXPECT_EQ(area.text().find("Comparison of Expanded"), std::string::npos);
    EXPECT_EQ(area.text().find("End of"), std::string::npos);
}

TEST(FinalResults, LevelZeroStillWritesTheTotalButNoGateListing) {
    Harness h;
    h.ctx.options.display_level = 0;
    Problem p = shared_term_example();
    final_results(h.ctx, p);
    EXPECT_EQ(h.find_line(" *** Final Results (4):  Number of Gates (without Inverters)"), -1);
    EXPECT_GE(h.find_line(" *** Total Number of Gate Inputs: 4"), 0);
    EXPECT_NE(h.area.text().find(" *** End of "), std::string::npos);
}

}  // namespace
}  // namespace vormel
