// Numbered input errors of the readers and parsers: the exact report line, and that the run stops.
#include <gtest/gtest.h>

#include "input_test_support.h"

namespace vormel::testing {
namespace {

// The run failed with exactly this error line (after its blank line) as the last report text.
void expect_error(const InputRun& run, const std::string& line) {
    EXPECT_TRUE(run.failed());
    EXPECT_EQ(run.session.ctx.error_count, 1);
    const std::string tail = "\n" + line + "\n";
    ASSERT_GE(run.text().size(), tail.size()) << run.text();
    EXPECT_EQ(run.text().substr(run.text().size() - tail.size()), tail) << run.text();
}

// A classic run of a function past its limits: the count error, then the line that names the cube methods.
void expect_count_error(const InputRun& run, const std::string& line) {
    expect_error(run, line + "\n *** QMC and Consensus expand every minterm (at most 22 inputs and 100 outputs): "
                             "choose the method Shared (--method shared) or Exact, which work on cubes at any width.");
}

std::string names(const char* prefix, int count) {
    std::string list;
    for (int i = 0; i < count; ++i) list += (i ? "," : "") + std::string(prefix) + std::to_string(i);
    return list;
}

TEST(TableErrors, NameCounts) {
    auto inputs = run_input(names("x", 23) + ":f\n" + std::string(23, '1') + ":1\n", "tab");
    expect_count_error(*inputs, " *** Error 2: Number of  X names  is larger than the allowed maximum of 22");
    auto outputs = run_input("a:" + names("y", 101) + "\n", "tab");
    expect_count_error(*outputs, " *** Error 3: Number of Y names  is larger than the allowed maximum of 100");
    auto most_inputs = run_input(names("x", 22) + ":f\n", "tab");
    EXPECT_FALSE(most_inputs->failed()) << most_inputs->text();
    EXPECT_EQ(most_inputs->problem().extab.rows(), 1 << 22);
    auto most_outputs = run_input("a:" + names("y", 100) + "\n", "tab");
    EXPECT_FALSE(most_outputs->failed()) << most_outputs->text();
    EXPECT_EQ(most_outputs->problem().extab.ny, 100);
    // The cube methods take the same tables without expanding them, up to their own limit.
    auto wide = run_input(names("x", 23) + ":" + names("y", 101) + "\n" + std::string(23, '1') + ":" + std::string(101, '1') + "\n",
                          "tab", 0, QueryAnswer::none, method_shared);
    EXPECT_FALSE(wide->failed()) << wide->text();
    EXPECT_EQ(wide->problem().extab.rows(), 0);
    EXPECT_EQ(wide->problem().outputs(), 101);
    expect_error(*run_input("a:" + names("y", 4097) + "\n", "tab", 0, QueryAnswer::none, method_shared),
                 " *** Error 9: Number of Y names  is larger than the allowed maximum of 4096");
}

TEST(TableErrors, BadNames) {
    expect_error(*run_input("1a,b:f\n", "tab"), " *** Error 8: Invalid X_name or Y_name in Table line: 1A,B:F");
    expect_error(*run_input("a,,b:f\n", "tab"), " *** Error 8: Invalid X_name or Y_name in Table line: A,,B:F");
    expect_error(*run_input("a,b:\n", "tab"), " *** Error 8: Invalid X_name or Y_name in Table line: A,B:");
}

TEST(TableErrors, Entries) {
    expect_error(*run_input("a,b:f\n1:1\n", "tab"), " *** Error 4: Wrong number of X_entries: X 1");
    expect_error(*run_input("a,b:f\n12:1\n", "tab"), " *** Error 5: Invalid characters in X_entry: X 12");
    expect_error(*run_input("a,b:f\n11:11\n", "tab"), " *** Error 6: Wrong number of Y_entries: Y 11");
    expect_error(*run_input("a,b:f\n11\n", "tab"), " *** Error 6: Wrong number of Y_entries: Y ");
    expect_error(*run_input("a,b:f\n11:2\n", "tab"), " *** Error 7: Invalid characters in Y_entry: Y 2");
    expect_error(*run_input("a,b:f\n11:1\n$REST: 2\n", "tab"), " *** Error 7: Invalid characters in Y_entry: $REST : 2");
}

TEST(TableErrors, Characters) {
    expect_error(*run_input("a,b:f\n1|0:1\n", "tab"), " *** Error 15: Invalid character in input line: 1|0:1");
    expect_error(*run_input("a,b:f\n1 ~ 0 : 1\n", "tab"), " *** Error 15: Invalid character in input line: 1~0:1");
    expect_error(*run_input("a,b:f {x}\n", "tab"), " *** Error 15: Invalid character in input line: A,B:F{X}");
    auto nul = run_input(std::string("a,b:f\n1\0" "0:1\n", 11), "tab");
    EXPECT_TRUE(nul->failed());
    EXPECT_NE(nul->text().find(" *** Error 15: "), std::string::npos);
    // A comment is cut before the check.
    EXPECT_FALSE(run_input("a,b:f ; {|~}\n10:1\n", "tab")->failed());
}

TEST(TableErrors, TdfRowWithDash) {
    expect_error(*run_input("(a) => (f);\nB\"-\" => B\"1\";\n", "tdf"),
                 " *** Error 1: No '-' allowed in *.tdf line B\"-\":B\"1\"");
}

TEST(TableErrors, NeitherTableNorEquations) {
    const std::string path = write_input("just a title\n\n; and a comment\n", "tab", "no_table");
    expect_error(*run_file(path), " *** Error 12: No valid Truth Table or boolean input format in file : " + path);
    const std::string empty = write_input("", "tab", "empty");
    expect_error(*run_file(empty), " *** Error 12: No valid Truth Table or boolean input format in file : " + empty);
}

TEST(NameErrors, ANameGivenTwiceIsRefusedInEveryReader) {
    const std::string twice = " *** Error 8: Invalid X_name or Y_name in Table line: A: input 1 and input 2 (given twice)";
    expect_error(*run_input("a, a, c : f, g\n0 0 0 : 1 0\n", "tab"), twice);
    expect_error(*run_input("(a, a) => (f);\nB\"01\" => B\"1\";\n", "tdf"), twice);
    expect_error(*run_input("*IDE\n*FUN\n$HEADER:X[a,a,c]:Y[f,g]\nX000:Y10\n*END\n", "dcb"), twice);
    expect_error(*run_input(".i 3\n.o 2\n.ilb a a c\n.ob f g\n000 10\n", "pla"), twice);
    expect_error(*run_input("a, b : f, f\n00 : 10\n", "tab"),
                 " *** Error 8: Invalid X_name or Y_name in Table line: F: output 1 and output 2 (given twice)");
    expect_error(*run_input("a, f : f\n00 : 1\n", "tab"),
                 " *** Error 8: Invalid X_name or Y_name in Table line: F: input 2 and output 1 (given twice)");
    // Names are read in upper case: a and A are one name.
    EXPECT_TRUE(run_input("a, A : f\n00 : 1\n", "tab")->failed());
    // In equations an output may take several lines; only a name both input and output clashes.
    EXPECT_FALSE(run_input("F = A * B\nF = C\n", "bol")->failed());
    expect_error(*run_input("F = A * B\nG = F\n", "bol"),
                 " *** Error 11: Invalid X_name or Y_name in boolean line F: input 3 and output 1 (an input and an output of the same name)");
}

TEST(EquationErrors, DoubledOrDanglingNotIsRefusedNotDropped) {
    expect_error(*run_input("Q = //A * B\n", "bol"), " *** Error 11: Invalid X_name or Y_name in boolean line Q=//A*B");
    expect_error(*run_input("Q = ///A\n", "bol"), " *** Error 11: Invalid X_name or Y_name in boolean line Q=///A");
    expect_error(*run_input("Q = !/A + B\n", "bol"), " *** Error 11: Invalid X_name or Y_name in boolean line Q=//A+B");
    expect_error(*run_input("Q = B AND NOT /A\n", "bol"), " *** Error 11: Invalid X_name or Y_name in boolean line Q=B*//A");
    expect_error(*run_input("Q = B * /\n", "bol"), " *** Error 11: Invalid X_name or Y_name in boolean line Q=B*/");
    expect_error(*run_input("Q = A/B\n", "bol"), " *** Error 11: Invalid X_name or Y_name in boolean line Q=A/B");
    auto single = run_input("Q = /A * B + NOT C\n", "bol");
    EXPECT_FALSE(single->failed()) << single->text();
    EXPECT_EQ(single->problem().xnames, (std::vector<std::string>{"A", "B", "C"}));
}

TEST(InputErrors, AHugeLineIsQuotedByItsStartOnly) {
    const std::string huge(1 << 20, '1');
    auto run = run_input("a,b:f\n" + huge + ":1\n", "tab");
    EXPECT_TRUE(run->failed());
    const std::string error = run->session.ctx.diag.first_error();
    EXPECT_EQ(error, "Error 4: Wrong number of X_entries: X " + std::string(Diagnostics::kMaxQuoted - 2, '1') + " ... (" +
                         std::to_string(huge.size() + 2) + " bytes)");
    EXPECT_LT(run->text().size(), 2000u);
}

TEST(PlaErrors, Directives) {
    const std::string no_i = write_input(".o 1\n1 1\n", "pla", "no_i");
    expect_error(*run_file(no_i), " *** Error 17: .i <n>  missing in file : " + no_i);
    const std::string no_o = write_input(".i 1\n1 1\n", "pla", "no_o");
    expect_error(*run_file(no_o), " *** Error 18: .o <n>  missing in file : " + no_o);
    const std::string count = write_input(".i 1\n.o 1\n.p 3\n1 1\n0 0\n.e\n", "pla", "count");
    expect_error(*run_file(count), " *** Error 19: .p 3  not equal to number of lines = 2 in file:  " + count);
}

TEST(PlaErrors, NamesBeforeCount) {
    // The names are joined into one, so the two-character entries do not fit.
    expect_error(*run_input(".ilb a b\n.i 2\n.o 1\n10 1\n", "pla"), " *** Error 4: Wrong number of X_entries: X 10");
}

TEST(PlaErrors, OutOfRangeCountsAreNameErrors) {
    expect_count_error(*run_input(".i 1000\n.o 1\n1 1\n", "pla"),
                       " *** Error 2: Number of  X names  is larger than the allowed maximum of 22");
    expect_count_error(*run_input(".i 99999999999\n.o 1\n1 1\n", "pla"),
                       " *** Error 2: Number of  X names  is larger than the allowed maximum of 22");
    expect_count_error(*run_input(".i 1\n.o 1000\n1 1\n", "pla"),
                       " *** Error 3: Number of Y names  is larger than the allowed maximum of 100");
    expect_error(*run_input(".i 99999999999\n.o 1\n1 1\n", "pla", 0, QueryAnswer::none, method_exact),
                 " *** Error 9: Number of  X names  is larger than the allowed maximum of 4096");
    const std::string negative = write_input(".i -5\n.o 1\n1 1\n", "pla", "negative");
    expect_error(*run_file(negative), " *** Error 17: .i <n>  missing in file : " + negative);
}

TEST(PlaErrors, WrongCharactersSurfaceAsEntryErrors) {
    expect_error(*run_input(".i 2\n.o 1\n1x 1\n", "pla"), " *** Error 5: Invalid characters in X_entry: X 1X");
    expect_error(*run_input(".i 2\n.o 1\n11 4\n", "pla"), " *** Error 7: Invalid characters in Y_entry: Y 4");
}

}  // namespace
}  // namespace vormel::testing
