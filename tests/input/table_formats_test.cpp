// The general reader's table rules per extension, the .pla reader and the table parser, checked on
// small files with hand-worked normalised lines and expanded tables.
#include <gtest/gtest.h>

#include "input_test_support.h"

namespace vormel::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(TableFormats, TabSkipsTitleReadsBlanksAndX) {
    auto run = run_input("Example title\n"
                         "a, b, c : f, g     ; header\n"
                         "0 0 - : 1 0\n"
                         "1 X 1 : 0 1\n"
                         "$REST : - -\n",
                         "tab");
    ASSERT_FALSE(run->failed()) << run->text();
    EXPECT_EQ(run->problem().input_lines, (Lines{"A,B,C:F,G", "00-:10", "1-1:01", "$REST:--"}));
    EXPECT_EQ(run->problem().xnames, (Lines{"A", "B", "C"}));
    EXPECT_EQ(run->problem().ynames, (Lines{"F", "G"}));
    EXPECT_EQ(run->expanded(), "10 10 -- -- -- 01 -- 01");
    EXPECT_EQ(run->text(),
              " Number of Variables : X-Input =  3   Y-Output =   2\n"
              " Type of Input File  : TABLE\n");
    EXPECT_FALSE(run->problem().rest_used);
}

TEST(TableFormats, TdfAndDcbGiveTheSameTable) {
    const Lines expected{"A,B,C:F,G", "00-:10", "1-1:01"};
    auto tdf = run_input("SUBDESIGN example\n"
                         "( a, b, c : INPUT; f, g : OUTPUT; )\n"
                         "BEGIN\n"
                         "TABLE\n"
                         "(a, b, c) => (f, g);   -- header\n"
                         "B\"00X\" => B\"10\";\n"
                         "B\"1X1\" => B\"01\";\n"
                         "END TABLE;\n"
                         "END;\n",
                         "tdf");
    ASSERT_FALSE(tdf->failed()) << tdf->text();
    EXPECT_EQ(tdf->problem().input_lines, expected);
    EXPECT_EQ(tdf->expanded(), "10 10 00 00 00 01 00 01");

    auto dcb = run_input("*IDE\nany: text = here\n*FUN\n$HEADER:X[a,b,c]:Y[f,g]\nX00-:Y10\nX1-1:Y01\n*END\n", "dcb");
    ASSERT_FALSE(dcb->failed()) << dcb->text();
    EXPECT_EQ(dcb->problem().input_lines, expected);
    EXPECT_EQ(dcb->expanded(), tdf->expanded());
}

TEST(TableFormats, BlanksTabsAndArrows) {
    auto run = run_input("a,\tb : f\n1\tx : 1\n0 0 => 1\n", "txt");
    ASSERT_FALSE(run->failed()) << run->text();
    EXPECT_EQ(run->problem().input_ext, "txt");
    // "=>" becomes ":" before the kind is decided, so this is a table, not equations.
    EXPECT_EQ(run->problem().input_lines, (Lines{"A,B:F", "1-:1", "00:1"}));
    EXPECT_EQ(run->expanded(), "1 0 1 1");
}

TEST(TableFormats, RestShorterThanOutputsLeavesZeros) {
    auto run = run_input("a:f,g,h\n1:1-1\n$REST:-\n", "tab");
    ASSERT_FALSE(run->failed()) << run->text();
    EXPECT_EQ(run->expanded(), "-00 1-1");
    EXPECT_EQ(run->problem().rest_values[3], 0);
}

TEST(TableFormats, UmlautsAreUpperCasedNames) {
    auto run = run_input("\xc3\xa4, \xc3\x9f : \xc3\xbc\n11:1\n", "tab");
    ASSERT_FALSE(run->failed()) << run->text();
    EXPECT_EQ(run->problem().xnames, (Lines{"\xc3\x84", "\xc3\x9f"}));
    EXPECT_EQ(run->problem().ynames, (Lines{"\xc3\x9c"}));
}

TEST(PlaFormat, GeneratedNamesSeparatorsAndDefaultType) {
    auto run = run_input("# comment\n.i 2\n.o 2\n\n10|1~  # row\n0- ~1\n.e\n11 11\n", "pla");
    ASSERT_FALSE(run->failed()) << run->text();
    EXPECT_EQ(run->problem().input_lines, (Lines{"x0,x1:y0,y1", "10:10", "0-:01", "$REST:00"}));
    EXPECT_EQ(run->problem().pla_type, "FD");
    EXPECT_EQ(run->expanded(), "01 01 10 00");
}

TEST(PlaFormat, NamesAndTypes) {
    auto fr = run_input(".i 2\n.o 1\n.ilb a b\n.ob f\n.type fr\n1- 1\n", "pla");
    ASSERT_FALSE(fr->failed()) << fr->text();
    EXPECT_EQ(fr->problem().input_lines, (Lines{"A,B:F", "1-:1", "$REST:-"}));
    EXPECT_EQ(fr->expanded(), "- - 1 1");
    EXPECT_EQ(fr->problem().pla_type, "FR");

    auto f = run_input(".i 2\n.o 1\n.TYPE F\n1- 1\n", "PLA");
    ASSERT_FALSE(f->failed()) << f->text();
    EXPECT_EQ(f->problem().input_lines.back(), "1-:1");
    EXPECT_EQ(f->expanded(), "0 0 1 1");

    // Names beyond the count run into the last one.
    auto extra = run_input(".i 2\n.o 1\n.ilb a b c\n1- 1\n", "pla");
    EXPECT_EQ(extra->problem().input_lines.front(), "A,BC:y0");
}

TEST(PlaFormat, WrongTypeIsWarnedAndReadAsFd) {
    const std::string path = write_input(".i 1\n.o 1\n.type xyz\n1 1\n", "pla", "wrong_type");
    auto run = run_file(path);
    ASSERT_FALSE(run->failed()) << run->text();
    EXPECT_EQ(run->text(), " *** System Warning 4: Ignore wrong pla type XYZ in input file " + path +
                               ". Use .type fd ...\n"
                               " Number of Variables : X-Input =  1   Y-Output =   1\n"
                               " Type of Input File  : TABLE\n");
    EXPECT_EQ(run->problem().pla_type, "FD");
    EXPECT_EQ(run->problem().input_lines.back(), "$REST:0");
}

TEST(PlaFormat, FdConflictOnesWin) {
    auto run = run_input(".i 2\n.o 1\n.type fd\n1- 1\n11 0\n", "pla");
    ASSERT_FALSE(run->failed()) << run->text();
    EXPECT_EQ(run->expanded(), "0 0 1 1");
}

TEST(ReformattedInput, LevelFourListsTheNormalisedLines) {
    auto run = run_input("a,b:f\n1-:1\n$REST:-\n", "tab", 4);
    ASSERT_FALSE(run->failed()) << run->text();
    const std::string title = " *** Expand Input (2):  Re-formatted Input File (TABLE)";
    const std::string rule(title.size() + 1, '_');
    const std::string expected = rule + "\n\n" + title + "\n" + rule + "\n\n A,B:F\n 1-:1\n $REST:-\n" +
                                 "___________________________________________\n\n"
                                 " *** Expand Input (3):  Input Table Format\n"
                                 "___________________________________________\n\n";
    EXPECT_EQ(run->text().substr(0, expected.size()), expected);
    const std::string expanded_title = " *** Expand Input (4):  Fully Expanded Input Table. $REST values used";
    EXPECT_NE(run->text().find("\n" + expanded_title + "\n"), std::string::npos);
    EXPECT_FALSE(run->problem().rest_used);
}

TEST(ReformattedInput, HeadingsGoToTheStatusLineAndEachDetailPauses) {
    auto run = run_input("a,b:f\n1-:1\n", "tab", 4, QueryAnswer::proceed);
    ASSERT_FALSE(run->failed()) << run->text();
    EXPECT_EQ(run->window.status_lines, (Lines{" *** Expand Input (2):  Re-formatted Input File (TABLE)",
                                               " *** Expand Input (3):  Input Table Format",
                                               " *** Expand Input (4):  Fully Expanded Input Table"}));
    EXPECT_EQ(run->window.queries, (std::vector<QueryKind>{QueryKind::reset, QueryKind::reset}));
}

TEST(ReformattedInput, BreakAtTheResetQueryEndsTheStep) {
    auto run = run_input("a,b:f\n1-:1\n", "tab", 4, QueryAnswer::stop);
    EXPECT_TRUE(run->failed());
    EXPECT_EQ(run->ctx().error_count, 0);
    EXPECT_EQ(run->text().find("Expand Input (3)"), std::string::npos);
    auto pla = run_input(".i 1\n.o 1\n.type q\n1 1\n", "pla", 0, QueryAnswer::stop);
    EXPECT_TRUE(pla->failed());
    EXPECT_EQ(pla->text().find("Number of Variables"), std::string::npos);
}

TEST(ReformattedInput, LevelOneShowsOnlyTheExpandedHeading) {
    auto run = run_input("a,b:f\n1-:1\n", "tab", 1);
    EXPECT_EQ(run->text().find("Expand Input (2)"), std::string::npos);
    EXPECT_EQ(run->text().find("Expand Input (3)"), std::string::npos);
    EXPECT_NE(run->text().find("\n *** Expand Input (4):  Fully Expanded Input Table\n"), std::string::npos);
}

TEST(Expansion, ConflictingRowsRaiseErrorNine) {
    auto run = run_input("a,b:f\n1-:1\n11:0\n", "tab");
    EXPECT_TRUE(run->failed());
    EXPECT_EQ(run->text(),
              " Number of Variables : X-Input =  2   Y-Output =   1\n"
              "\n"
              " *** Error 9: Entry line:             11 0\n"
              "     in conflict with expanded line:  11 1\n");
}

TEST(Expansion, DontCareNeverOverridesASpecifiedValue) {
    auto first = run_input("a,b:f\n-1:-\n11:1\n", "tab");
    auto second = run_input("a,b:f\n11:1\n-1:-\n", "tab");
    EXPECT_EQ(first->expanded(), "0 - 0 1");
    EXPECT_EQ(second->expanded(), "0 - 0 1");
}

TEST(Expansion, MintermNumbersPutTheFirstInputFirst) {
    auto run = run_input("a,b,c:f\n110:1\n", "tab");
    ASSERT_FALSE(run->failed());
    EXPECT_EQ(run->expanded(), "0 0 0 0 0 0 1 0");
    EXPECT_EQ(run->problem().extab.x(6, 0), 1);
    EXPECT_EQ(run->problem().extab.x(6, 2), 0);
    EXPECT_EQ(run->problem().expanded_final_output.rows(), 0);  // made by the final comparison
    // Eight minterms with one specified output each: 8 x 3 X literals + 8 Y literals.
    EXPECT_EQ(run->problem().expanded_literals, 32);
}

}  // namespace
}  // namespace vormel::testing
