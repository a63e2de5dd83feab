// Equation rules (continuation, operators) and the equation parser (names, rows, merge).
#include <gtest/gtest.h>

#include <random>

#include "input/equation_parser.h"
#include "input/equation_rules.h"
#include "input_test_support.h"

namespace vormel::testing {
namespace {

using Lines = std::vector<std::string>;

std::string row_text(const TermTable& t, int r) {
    std::string s;
    for (int i = 0; i < t.nx; ++i) s += "01-"[t.x(r)[i]];
    s += ':';
    for (int j = 0; j < t.ny; ++j) s += "01-"[t.y(r)[j]];
    return s;
}

Lines rows_of(const TermTable& t) {
    Lines rows;
    for (int r = 0; r <= t.last; ++r) rows.push_back(row_text(t, r));
    return rows;
}

TEST(EquationRules, Operators) {
    EXPECT_EQ(normalise_operators("F = A AND NOT B"), "F=A*/B");
    EXPECT_EQ(normalise_operators("G = !A & C # B*C"), "G=/A*C+B*C");
    EXPECT_EQ(normalise_operators("F =NOT A OR B"), "F=/A+B");
}

TEST(EquationInput, ContinuationAndComments) {
    auto run = run_input("; two outputs\nF = A AND NOT B\n    OR C\nG = !A & C # B*C\nEND\n", "bol");
    ASSERT_FALSE(run->failed()) << run->text();
    EXPECT_EQ(run->problem().input_lines, (Lines{"F=A*/B+C", "G=/A*C+B*C"}));
    EXPECT_EQ(run->problem().xnames, (Lines{"A", "B", "C"}));
    EXPECT_EQ(run->problem().ynames, (Lines{"F", "G"}));
    EXPECT_EQ(rows_of(run->problem().intab), (Lines{"10-:10", "--1:10", "0-1:01", "-11:01"}));
    EXPECT_EQ(run->expanded(), "00 11 00 11 10 10 00 11");
    EXPECT_EQ(run->text(),
              " Number of Variables : X-Input =  3   Y-Output =   2\n"
              " Type of Input File  : BOOLEAN\n");
}

TEST(EquationInput, KeywordsAndSymbolsGiveTheSameRow) {
    auto words = run_input("F = A AND NOT B\n", "bol");
    auto symbols = run_input("F=A*/B\n", "txt");
    EXPECT_EQ(rows_of(words->problem().intab), (Lines{"10:1"}));
    EXPECT_EQ(rows_of(symbols->problem().intab), (Lines{"10:1"}));
}

TEST(EquationInput, ContinuationLines) {
    auto run = run_input("F = A\n+ B  -- second term\n\nEND\n", "bol");
    EXPECT_EQ(run->problem().input_lines, (Lines{"F=A+B"}));
}

TEST(EquationInput, MergePassOrsOutputsAndKeepsEveryTerm) {
    auto shared = run_input("F=A*B\nG=B*A\n", "bol");
    EXPECT_EQ(rows_of(shared->problem().intab), (Lines{"11:11"}));
    EXPECT_EQ(shared->expanded(), "00 00 00 11");
    auto repeated = run_input("F=A+A+B+A\n", "bol");
    EXPECT_EQ(rows_of(repeated->problem().intab), (Lines{"1-:1", "-1:1"}));
}

TEST(EquationInput, LastLiteralWinsAndInputsByFirstOccurrence) {
    EXPECT_EQ(rows_of(run_input("F=A*/A\n", "bol")->problem().intab), (Lines{"0:1"}));
    auto order = run_input("F=B+A\n", "bol");
    EXPECT_EQ(order->problem().xnames, (Lines{"B", "A"}));
    EXPECT_EQ(order->expanded(), "0 1 1 1");
}

TEST(EquationInput, MoreTermsThanMintermsAndLines) {
    // Twelve product terms over one input: the table must hold them all before the merge.
    auto run = run_input("F=A+/A+A+/A+A+/A+A+/A+A+/A+A+/A\n", "bol");
    ASSERT_FALSE(run->failed()) << run->text();
    EXPECT_EQ(rows_of(run->problem().intab), (Lines{"1:1", "0:1"}));
    EXPECT_EQ(run->expanded(), "1 1");
}

TEST(EquationErrors, EmptyNames) {
    auto trailing = run_input("F=A+\n", "bol");
    EXPECT_TRUE(trailing->failed());
    EXPECT_NE(trailing->text().find("\n *** Error 11: Invalid X_name or Y_name in boolean line F=A+\n"), std::string::npos);
    auto no_output = run_input("=A\n", "bol");
    EXPECT_NE(no_output->text().find("\n *** Error 11: Invalid X_name or Y_name in boolean line =A\n"), std::string::npos);
}

TEST(EquationErrors, TooManyInputs) {
    std::string equation = "F=A0";
    for (int i = 1; i < 23; ++i) equation += "*A" + std::to_string(i);
    const std::string path = write_input(equation + "\n", "bol", "wide");
    auto run = run_file(path);
    EXPECT_TRUE(run->failed());
    EXPECT_NE(run->text().find("\n *** Error 12: No valid Truth Table or boolean input format in file : " + path + "\n"),
              std::string::npos);
}

// The merge pass as written: compare, merge, move the last row in, compare that one again.
void merge_plainly(TermTable& t) {
    for (int b = 0; b < t.last; ++b) {
        int r = b + 1;
        while (r <= t.last) {
            if (std::equal(t.x(r), t.x(r) + t.nx, t.x(b))) {
                for (int j = 0; j < t.ny; ++j) t.y(b)[j] = std::max(t.y(b)[j], t.y(r)[j]);
                t.copy_row(r, t, t.last);
                --t.last;
            } else {
                ++r;
            }
        }
    }
}

TEST(EquationMerge, MatchesThePlainMergeOnRandomTables) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 300; ++trial) {
        const int nx = 1 + static_cast<int>(random() % 4);
        const int ny = 1 + static_cast<int>(random() % 3);
        const int rows = static_cast<int>(random() % 40);
        TermTable table(nx, ny, rows);
        for (int r = 0; r < rows; ++r) {
            const int row = table.append_row();
            for (int i = 0; i < nx; ++i) table.x(row)[i] = static_cast<std::uint8_t>(random() % 3);
            for (int j = 0; j < ny; ++j) table.y(row)[j] = static_cast<std::uint8_t>(random() % 2);
        }
        TermTable expected = table;
        merge_plainly(expected);
        merge_equal_terms(table);
        ASSERT_EQ(rows_of(table), rows_of(expected)) << "trial " << trial;
    }
}

}  // namespace
}  // namespace vormel::testing
