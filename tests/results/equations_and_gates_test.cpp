#include <gtest/gtest.h>

#include "results/boolean_equations.h"
#include "results/count_gates.h"
#include "results/problem_fixture.h"

namespace vormel {
namespace {

using testing::add_row;
using testing::Harness;
using testing::heading_lines;
using testing::make_problem;

// The section body: the lines after the heading.
std::vector<std::string> body(Harness& h) {
    const auto lines = h.lines();
    return {lines.begin() + 5, lines.end()};
}

TEST(BooleanEquations, OneOutputHasNoSharedNames) {
    Harness h;
    Problem p = make_problem({"a", "b", "c"}, {"y"});
    TermTable t(3, 1);
    add_row(t, "11-", "1");
    add_row(t, "-01", "1");
    boolean_equations(h.ctx, p, t);
    const std::vector<std::string> expected = {"  y =  a *  b", "    + /b *  c", "", " *** Boolean Equations done", ""};
    EXPECT_EQ(body(h), expected);
    const auto lines = h.lines();
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              heading_lines(" *** Final Results (3):  Boolean Equations"));
}

TEST(BooleanEquations, OneLiteralSharedTermIsWrittenInlineAndCostsOnlyOrInputs) {
    Problem p = make_problem({"a", "b", "c"}, {"f", "g"});
    TermTable t(3, 2);
    add_row(t, "1--", "11");
    add_row(t, "-11", "1-");
    add_row(t, "0-0", "-1");
    {
        Harness h;
        boolean_equations(h.ctx, p, t);
        const std::vector<std::string> expected = {"  f =  a", "    +  b *  c", "", "  g =  a", "    + /a * /c", "",
                                                   " *** Boolean Equations done", ""};
        EXPECT_EQ(body(h), expected);
    }
    Harness h;
    count_gates(h.ctx, p, t);
    const std::vector<std::string> expected = {"   2 * AND_2    2 * OR_2", "", " *** Total Number of Gate Inputs: 8", ""};
    EXPECT_EQ(body(h), expected);
}

TEST(BooleanEquations, NonOrdinaryOutputsGetOneLine) {
    Harness h;
    Problem p = make_problem({"a", "b"}, {"y", "z1", "z2", "z3", "z4", "z5", "long"});
    p.polarity = {0, 1, 1, 1, 0, 1, 1};
    p.out_code = {relation_ordinary, relation_const0, relation_const1, relation_undefined_normal,
                  relation_undefined_inverted, relation_identical, relation_inverse};
    p.out_related = {-1, 1, 2, 3, 4, 0, 0};
    TermTable t(2, 7);
    add_row(t, "1-", "0....00");
    boolean_equations(h.ctx, p, t);
    const std::vector<std::string> expected = {
        "    /y =  a", "", "    z1 =  0", "", "    z2 =  1", "", "    z3 =  0", "", "    z4 =  1", "",
        "    z5 =  y",  "", "  long =  /y", "", " *** Boolean Equations done", ""};
    EXPECT_EQ(body(h), expected);
}

TEST(BooleanEquations, SharedTermsAreNamedOnlyForOrdinaryOutputs) {
    Problem p = make_problem({"a", "b"}, {"f", "g", "h"});
    p.out_code = {relation_ordinary, relation_identical, relation_ordinary};
    p.out_related = {-1, 0, -1};
    TermTable t(2, 3);
    add_row(t, "11", "11.");   // feeds f and the identical g: one ordinary output
    add_row(t, "01", "1.1");   // feeds f and h
    add_row(t, "10", "..1");
    const auto names = name_shared_terms(p, t);
    EXPECT_EQ(names, (std::vector<std::string>{"", "PT_0", ""}));
}

TEST(CountGates, TheTwentyOneGateInputsExample) {
    Problem p = make_problem({"a", "b", "c", "d", "e"}, {"o1", "o2", "o3"});
    TermTable t(5, 3);
    add_row(t, "11---", "1.1");
    add_row(t, "-11--", "1..");
    add_row(t, "--11-", ".11");
    add_row(t, "---11", ".1.");
    add_row(t, "1---1", "..1");
    add_row(t, "0-0-0", "..1");
    Harness h;
    count_gates(h.ctx, p, t);
    const std::vector<std::string> expected = {"   5 * AND_2    2 * OR_2", "   1 * AND_3    1 * OR_4", "",
                                               " *** Total Number of Gate Inputs: 21", ""};
    EXPECT_EQ(body(h), expected);
    const auto lines = h.lines();
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              heading_lines(" *** Final Results (4):  Number of Gates (without Inverters)"));

    Harness quiet;
    quiet.ctx.options.display_level = 0;
    count_gates(quiet.ctx, p, t);
    EXPECT_EQ(quiet.lines(), (std::vector<std::string>{" *** Total Number of Gate Inputs: 21", ""}));
}

TEST(CountGates, OrSizesOutlastingAndSizesLeaveTheAndColumnBlank) {
    Problem p = make_problem({"a", "b", "c"}, {"f", "g"});
    TermTable t(3, 2);
    add_row(t, "11-", "1.");
    add_row(t, "0-1", "1.");
    add_row(t, "-01", "11");
    add_row(t, "1--", ".1");
    Harness h;
    count_gates(h.ctx, p, t);
    const std::vector<std::string> expected = {"   3 * AND_2    1 * OR_2", "                1 * OR_3", "",
                                               " *** Total Number of Gate Inputs: 11", ""};
    EXPECT_EQ(body(h), expected);
}

TEST(CountGates, InvertedSingleLiteralOutputNeedsNoGate) {
    Problem p = make_problem({"a", "b"}, {"z"});
    p.polarity = {0};
    TermTable t(2, 1);
    add_row(t, "1-", "0");
    Harness h;
    boolean_equations(h.ctx, p, t);
    EXPECT_EQ(body(h)[0], " /z =  a");
    Harness g;
    count_gates(g.ctx, p, t);
    EXPECT_EQ(body(g), (std::vector<std::string>{"       - no Gates -", "", " *** Total Number of Gate Inputs: 0", ""}));
}

}  // namespace
}  // namespace vormel
