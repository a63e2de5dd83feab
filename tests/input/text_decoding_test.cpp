// Text decoding faults of odd but valid text files: a byte-order mark, old Macintosh line ends, a
// $REST line without its colon, names too long to report, and names with characters outside ASCII.
#include <gtest/gtest.h>

#include <random>

#include "input_test_support.h"
#include "run/command_fsm.h"
#include "support/test_session.h"

namespace vormel::testing {
namespace {

const char* const kBom = "\xEF\xBB\xBF";

void expect_last_line(const InputRun& run, const std::string& line) {
    EXPECT_TRUE(run.failed());
    const std::string tail = "\n" + line + "\n";
    ASSERT_GE(run.text().size(), tail.size()) << run.text();
    EXPECT_EQ(run.text().substr(run.text().size() - tail.size()), tail) << run.text();
}

TEST(TextDecoding, ByteOrderMarkAtTheStartIsSkipped) {
    // Was Error 15 for a .tab (the mark is no allowed character) and Error 17 for a .pla (".i" unseen).
    for (const auto& [text, ext] : {std::pair<std::string, std::string>{"a,b:f\n01:1\n", "tab"},
                                    {".i 2\n.o 1\n01 1\n.e\n", "pla"},
                                    {"F = A * /B\n", "bol"}}) {
        auto plain = run_input(text, ext);
        auto marked = run_input(kBom + text, ext);
        ASSERT_FALSE(marked->failed()) << ext << "\n" << marked->text();
        EXPECT_EQ(marked->problem().xnames, plain->problem().xnames) << ext;
        EXPECT_EQ(marked->expanded(), plain->expanded()) << ext;
    }
}

TEST(TextDecoding, CarriageReturnAloneEndsALine) {
    // Old Macintosh files were read as one line. CR, LF and CR LF may even be mixed.
    const std::string lf = "; title\na,b,c:f,g\n00-:10\n1-1:01\n$REST:-0\n";
    auto reference = run_input(lf, "tab");
    ASSERT_FALSE(reference->failed()) << reference->text();
    for (const std::string& text : {std::string("; title\ra,b,c:f,g\r00-:10\r1-1:01\r$REST:-0\r"),
                                    std::string("; title\r\na,b,c:f,g\r00-:10\n1-1:01\r\n$REST:-0")}) {
        auto run = run_input(text, "tab");
        ASSERT_FALSE(run->failed()) << run->text();
        EXPECT_EQ(run->problem().intab.last, 1);
        EXPECT_EQ(run->expanded(), reference->expanded());
    }
    auto pla = run_input(".i 2\r.o 1\r.p 2\r01 1\r10 1\r.e\r", "pla");
    ASSERT_FALSE(pla->failed()) << pla->text();
    EXPECT_EQ(pla->expanded(), "0 1 1 0");
}

TEST(TextDecoding, RestWithoutItsColonIsAnErrorNotLostData) {
    // "$REST 1" used to be dropped, so every uncovered minterm silently became 0.
    auto run = run_input("a,b:f\n11:0\n$REST 1\n", "tab");
    expect_last_line(*run, " *** Error 7: Invalid characters in Y_entry: $REST : $REST1  (\":\" missing after $REST)");
    auto with_colon = run_input("a,b:f\n11:0\n$REST: 1\n", "tab");
    ASSERT_FALSE(with_colon->failed()) << with_colon->text();
    EXPECT_EQ(with_colon->expanded(), "1 1 1 0");
}

TEST(TextDecoding, NamesOverSixtyFourCharactersAreRefusedWithTheLimit) {
    const std::string longest(kMaxNameLength, 'N');
    auto fits = run_input("a," + longest + ":f\n1-:1\n", "tab");
    EXPECT_FALSE(fits->failed()) << fits->text();
    const std::string limit = "... (a name may have at most 64 characters)";
    expect_last_line(*run_input("a," + longest + "X:f\n1-:1\n", "tab"),
                     " *** Error 8: Invalid X_name or Y_name in Table line: NNNNNNNNNNNNNNNNNNNN" + limit);
    expect_last_line(*run_input(".i 2\n.o 1\n.ilb a " + longest + "q\n1- 1\n.e\n", "pla"),
                     " *** Error 8: Invalid X_name or Y_name in Table line: NNNNNNNNNNNNNNNNNNNN" + limit);
    expect_last_line(*run_input("F = A + /" + longest + "B\n", "bol"),
                     " *** Error 11: Invalid X_name or Y_name in boolean line NNNNNNNNNNNNNNNNNNNN" + limit);
    // Umlauts count as one character each, and the cut never splits one.
    const std::string umlauts = "\xC3\x84";  // Ä
    std::string wide;
    for (int i = 0; i < kMaxNameLength; ++i) wide += umlauts;
    EXPECT_FALSE(run_input("a:" + wide + "\n1:1\n", "tab")->failed());
    auto too_wide = run_input("a:" + wide + umlauts + "\n1:1\n", "tab");
    std::string start;
    for (int i = 0; i < 20; ++i) start += umlauts;
    expect_last_line(*too_wide, " *** Error 8: Invalid X_name or Y_name in Table line: " + start + limit);
}

TEST(TextDecoding, HugeNamesNoLongerMakeHugeReports) {
    // A 20 KB file with one 20,000-character name made a 1.3 GB report; a 10 MB continuation line
    // of an equation is one name as well.
    const std::string name(20'000, 'N');
    std::string table = "a,b," + name + ":f\n";
    for (int i = 0; i < 20; ++i) table += "1-" + std::to_string(i % 2) + ":1\n";
    auto run = run_input(table, "tab", 4);
    EXPECT_TRUE(run->failed());
    EXPECT_LT(run->text().size(), 2 * table.size() + 4096);
    auto equation = run_input("F = A +\n" + std::string(10'000'000, 'B') + "\n", "bol");
    EXPECT_TRUE(equation->failed());
    EXPECT_LT(equation->text().size(), 4096u);
}

// A whole run from text in a scratch file; the lines naming the file are left out.
std::string whole_report(const std::string& text, const std::string& ext, int level, int polarity_mode) {
    TempDir dir;
    TestRun run;
    run.ctx.input_file = dir.write("names." + ext, text);
    run.area.set_plain_text(text);
    run.ctx.options.display_level = level;
    run.ctx.options.page_by_page = 0;
    run.ctx.options.polarity_mode = polarity_mode;
    run.ctx.run_state = 4;
    run.ctx.report.set_text_size(9 * 20);
    for (int guard = 0; guard < 10 && run.ctx.run_state != 10; ++guard) Vormel_CommandFSM(run.session);
    EXPECT_TRUE(run.session.report_saved) << run.area.text();
    std::string report;
    for (const std::string& line : run.lines()) {
        if (line.find(dir.path()) == std::string::npos) report += line + "\n";
    }
    return report;
}

// Each umlaut back to the ASCII letter it stands for, character for character.
std::string to_ascii(std::string text) {
    static const std::pair<const char*, char> kLetters[] = {
        {"\xC3\x84", 'A'}, {"\xC3\x96", 'O'}, {"\xC3\x9C", 'U'}, {"\xC3\x9F", 'S'}};
    for (const auto& [umlaut, letter] : kLetters) {
        for (auto at = text.find(umlaut); at != std::string::npos; at = text.find(umlaut, at)) text.replace(at, 2, 1, letter);
    }
    return text;
}

TEST(TextDecoding, NamesOutsideAsciiAlignLikeAsciiNames) {
    // Columns were counted in bytes: the staircase header, the heading rules, the level-1 output
    // lines and the equations shifted by one for every umlaut. The report of names with umlauts must
    // read, letter for letter, like the report of the same names in ASCII.
    std::mt19937 random(7);
    const char* const kPieces[] = {"\xC3\x84", "\xC3\x96", "\xC3\x9C", "\xC3\x9F", "A", "O", "U", "S"};
    int serial = 0;  // names given twice are refused: each name starts distinct
    const auto name = [&](std::size_t length) {
        std::string text = "N" + std::to_string(serial++);
        for (std::size_t i = 0; i < length; ++i) text += kPieces[random() % 8];
        return text;
    };
    for (int round = 0; round < 3; ++round) {
        std::string header;
        for (int i = 0; i < 3; ++i) header += (i ? "," : "") + name(random() % 6);
        header += ":";
        for (int j = 0; j < 3; ++j) header += (j ? "," : "") + name(random() % 6);
        std::string table = header + "\n";
        for (int m = 0; m < 8; ++m) {
            for (int i = 2; i >= 0; --i) table += static_cast<char>('0' + ((m >> i) & 1));
            table += ':';
            for (int j = 0; j < 3; ++j) table += "01-"[random() % 3];
            table += '\n';
        }
        const int mode = round == 0 ? polarity_one_set : polarity_automatic;
        for (int level : {1, 4}) {
            EXPECT_EQ(to_ascii(whole_report(table, "tab", level, mode)), whole_report(to_ascii(table), "tab", level, mode))
                << "level " << level << "\n" << table;
        }
    }
    const std::string equations = "\xC3\x9C" "BERTRAG = A\xC3\x84 * B + A\xC3\x84 * C + B * C\nS = A\xC3\x84 * /B + /A\xC3\x84 * B\n";
    EXPECT_EQ(to_ascii(whole_report(equations, "bol", 4, polarity_one_set)),
              whole_report(to_ascii(equations), "bol", 4, polarity_one_set));
}

}  // namespace
}  // namespace vormel::testing
