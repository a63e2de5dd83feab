// The importer of the common PLA dialect: seeded random files against a minterm-by-minterm oracle of
// the dialect's meaning, the public benchmark files against our normalized copies, and refusals.
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "input/input_test_support.h"
#include "support/test_session.h"
#include "input/pla_import.h"
#include "model/valid_name.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;
using testing::InputRun;

// Expands our .pla text as a run of a file named `name` would.
std::unique_ptr<InputRun> expand_text(const std::string& text, const std::string& name = "imported.pla") {
    auto run = std::make_unique<InputRun>();
    RunContext& ctx = run->ctx();
    ctx.options.display_level = 0;
    ctx.options.page_by_page = 0;
    ctx.input_file = (testing::test_directory() / name).string();
    ctx.input_text = text;
    ctx.run_state = 5;
    read_input_file(ctx, run->problem());
    if (ctx.error_flag == 0) {
        run->problem().rest_default = 0;
        expand_inputs(ctx, run->problem());
    }
    return run;
}

struct RandomPla {
    int inputs = 0, outputs = 0;
    std::string type;
    std::string phase;
    std::vector<std::string> in;   // cube inputs, 0 1 -
    std::vector<std::string> out;  // cube outputs, 1 0 - ~
};

bool cube_holds(const std::string& cube, int minterm) {
    const int n = static_cast<int>(cube.size());
    for (int i = 0; i < n; ++i) {
        const int bit = (minterm >> (n - 1 - i)) & 1;
        if (cube[i] != '-' && cube[i] - '0' != bit) return false;
    }
    return true;
}

// Cubes may overlap: where they do, the types differ in which entry wins.
RandomPla random_pla(std::mt19937& rng) {
    RandomPla p;
    p.inputs = 1 + static_cast<int>(rng() % 6);
    p.outputs = 1 + static_cast<int>(rng() % 4);
    static const char* const kTypes[] = {"f", "fd", "fr", "fdr"};
    p.type = kTypes[rng() % 4];
    if (rng() % 2) {
        for (int j = 0; j < p.outputs; ++j) p.phase += "01"[rng() % 2];
    }
    const int count = 1 + static_cast<int>(rng() % 8);
    for (int c = 0; c < count; ++c) {
        std::string cube, outs;
        for (int i = 0; i < p.inputs; ++i) cube += "01-"[rng() % 3];
        for (int j = 0; j < p.outputs; ++j) outs += "10-~"[rng() % 4];
        p.in.push_back(cube);
        p.out.push_back(outs);
    }
    return p;
}

// The dialect written with its synonyms, a title, split cubes and names that need renaming.
std::string dialect_text(const RandomPla& p, std::mt19937& rng) {
    std::string text = "title line of another tool\n.i " + std::to_string(p.inputs) + "\n.o " + std::to_string(p.outputs) + "\n";
    text += ".ilb";
    for (int i = 0; i < p.inputs; ++i) text += " in<" + std::to_string(i) + ">";
    text += "\n.ob";
    for (int j = 0; j < p.outputs; ++j) text += " " + std::to_string(j) + "out";
    text += "\n.type " + p.type + "\n";
    if (!p.phase.empty()) text += ".phase " + p.phase + "\n";
    for (std::size_t c = 0; c < p.in.size(); ++c) {
        std::string in = p.in[c], out = p.out[c];
        for (char& ch : in) {
            if (ch == '-' && rng() % 2) ch = '2';
            else if (ch == '1' && rng() % 3 == 0) ch = '4';
            else if (ch == '0' && rng() % 3 == 0) ch = '3';
        }
        for (char& ch : out) {
            if (ch == '-' && rng() % 2) ch = '2';
            else if (ch == '1' && rng() % 3 == 0) ch = '4';
            else if (ch == '0' && rng() % 3 == 0) ch = '3';
        }
        text += rng() % 4 == 0 ? in + "\n   " + out + " # split\n" : in + " | " + out + "\n";
    }
    return text + ".e\n";
}

// The dialect's meaning, point by point, from which sets name the point: f: ON, else 0; fd: a don't
// care wins over ON, else 0; fr: ON or OFF, else free; fdr: OFF, else a don't care, else ON, else
// free. ON and OFF together, without a don't care that takes the ON away, is a contradiction (""
// then). A .phase 0 swaps ON and OFF.
std::string oracle(const RandomPla& p) {
    const bool has_d = p.type.find('d') != std::string::npos;
    const bool has_r = p.type.find('r') != std::string::npos;
    std::string expected;
    for (int m = 0; m < (1 << p.inputs); ++m) {
        if (m > 0) expected += ' ';
        for (int j = 0; j < p.outputs; ++j) {
            bool on = false, off = false, dc = false;
            for (std::size_t c = 0; c < p.in.size(); ++c) {
                if (!cube_holds(p.in[c], m)) continue;
                on = on || p.out[c][j] == '1';
                off = off || (has_r && p.out[c][j] == '0');
                dc = dc || (has_d && p.out[c][j] == '-');
            }
            if (on && off && !dc) return "";
            char value = has_r ? '-' : '0';
            if (off) value = '0';
            else if (dc) value = '-';
            else if (on) value = '1';
            if (!p.phase.empty() && p.phase[j] == '0' && value != '-') value = value == '1' ? '0' : '1';
            expected += value;
        }
    }
    return expected;
}

TEST(PlaImport, RandomFilesOfEveryTypeMeanWhatTheDialectSays) {
    std::mt19937 rng(20240611);
    int contradictions = 0;
    for (int round = 0; round < 600; ++round) {
        const RandomPla p = random_pla(rng);
        const std::string source = dialect_text(p, rng);
        SCOPED_TRACE(source);
        const PlaImport imported = import_pla(source);
        ASSERT_EQ(imported.error, "");
        const auto run = expand_text(imported.text);
        const std::string expected = oracle(p);
        if (expected.empty()) {
            // A point in both ON and OFF: our reader names the conflict.
            EXPECT_NE(run->text().find("Error 9:"), std::string::npos) << imported.text << run->text();
            ++contradictions;
            continue;
        }
        ASSERT_FALSE(run->failed()) << imported.text << run->text();
        EXPECT_EQ(run->expanded(), expected) << imported.text;
        for (int i = 0; i < p.inputs; ++i) EXPECT_EQ(run->problem().xnames[i], "IN<" + std::to_string(i) + ">");
        for (int j = 0; j < p.outputs; ++j) EXPECT_EQ(run->problem().ynames[j], "N" + std::to_string(j) + "OUT");
        if (HasFailure()) return;
    }
    EXPECT_GT(contradictions, 0);
}

// Hand cases of overlapping rows, against the expanded values a point at a time.
TEST(PlaImport, OverlapsMeanWhatTheTypeSays) {
    struct Case {
        const char* text;
        const char* expanded;  // points 00 01 10 11
    };
    const Case cases[] = {
        // fd: the don't care over the 1 stays a don't care; the 0 of the second row says nothing.
        {".i 2\n.o 2\n.type fd\n1- 11\n-1 -0\n", "00 -0 11 -1"},
        {".i 2\n.o 1\n1- 1\n11 -\n", "0 0 1 -"},
        // f: only the 1 entries count.
        {".i 2\n.o 1\n.type f\n1- 1\n11 -\n0- 0\n", "0 0 1 1"},
        // fr: 1 ON, 0 OFF, "-" nothing, the rest free.
        {".i 2\n.o 2\n.type fr\n1- 1-\n01 00\n", "-- 00 1- 1-"},
        // fdr: a don't care over a 1 is a don't care, a 0 stays OFF, the rest is free.
        {".i 2\n.o 1\n.type fdr\n1- 1\n-1 -\n00 0\n", "0 - 1 -"},
        {".i 2\n.o 1\n.type fdr\n-1 0\n11 -\n", "- 0 - 0"},
        // .phase 0 without an OFF set: the points named neither ON nor don't care become ON.
        {".i 2\n.o 2\n.type fd\n.phase 01\n1- 11\n-1 -0\n", "10 -0 01 -1"},
        {".i 2\n.o 1\n.type fr\n.phase 0\n1- 1\n01 0\n", "- 1 0 0"},
    };
    for (const Case& c : cases) {
        const PlaImport imported = import_pla(c.text);
        ASSERT_EQ(imported.error, "") << c.text;
        const auto run = expand_text(imported.text);
        ASSERT_FALSE(run->failed()) << c.text << imported.text << run->text();
        EXPECT_EQ(run->expanded(), c.expanded) << c.text << imported.text;
    }
}

TEST(PlaImport, NamesStayAsWrittenWhereOurReaderTakesThemAndEachChangeIsNoted) {
    EXPECT_EQ(valid_name_of("CPIPE1s<0>"), "CPIPE1s_0");
    EXPECT_EQ(valid_name_of("<<a b>>"), "a_b");
    EXPECT_EQ(valid_name_of("7seg"), "N7seg");
    EXPECT_EQ(valid_name_of("***"), "N");
    // Our reader reads names in upper case: names that differ in case only would be one name.
    const PlaImport imported = import_pla(".i 4\n.o 2\n.ilb readRFaccessA1 a,0 A:0 READRFACCESSA1\n.ob 7seg f<1>\n1--- 11\n");
    ASSERT_EQ(imported.error, "");
    EXPECT_NE(imported.text.find(".ilb readRFaccessA1 a_0 A_0_2 READRFACCESSA1_2\n.ob N7seg f<1>\n"), std::string::npos)
        << imported.text;
    for (const char* note : {"# renamed a,0 -> a_0\n", "# renamed A:0 -> A_0_2\n", "# renamed READRFACCESSA1 -> READRFACCESSA1_2\n",
                             "# renamed 7seg -> N7seg\n"}) {
        EXPECT_NE(imported.text.find(note), std::string::npos) << note << imported.text;
    }
    EXPECT_EQ(imported.text.find("renamed readRFaccessA1"), std::string::npos);
    EXPECT_EQ(imported.text.find("renamed f<1>"), std::string::npos);
    EXPECT_EQ(imported.input_names, (std::vector<std::string>{"readRFaccessA1", "a_0", "A_0_2", "READRFACCESSA1_2"}));
    EXPECT_EQ(imported.output_names, (std::vector<std::string>{"N7seg", "f<1>"}));
    const auto run = expand_text(imported.text);
    ASSERT_FALSE(run->failed()) << run->text();
    EXPECT_EQ(run->problem().xnames, (std::vector<std::string>{"READRFACCESSA1", "A_0", "A_0_2", "READRFACCESSA1_2"}));
}

// Names over 64 characters passed the importer and failed the run with error 8; two names of 64
// characters that our reader reads as one became one of 66.
TEST(PlaImport, LongNamesAreShortenedToWhatOurReaderTakes) {
    const std::string long_name(70, 'a');
    const std::string full(64, 'b');
    const std::string full_upper(64, 'B');
    const PlaImport imported = import_pla(".i 3\n.o 1\n.ilb " + long_name + " " + full + " " + full_upper + "\n.ob f\n111 1\n");
    ASSERT_EQ(imported.error, "");
    EXPECT_NE(imported.text.find("# renamed " + long_name + " -> " + std::string(64, 'a') + "\n"), std::string::npos) << imported.text;
    EXPECT_NE(imported.text.find("# renamed " + full_upper + " -> " + std::string(62, 'B') + "_2\n"), std::string::npos) << imported.text;
    const auto run = expand_text(imported.text);
    ASSERT_FALSE(run->failed()) << run->text();
    for (const std::string& name : run->problem().xnames) EXPECT_LE(name.size(), 64u) << name;
}

// The same name given twice was renamed to A_2: a plainly wrong problem run as if it were sound.
// It now reaches our reader as written (one converted name per source name), which refuses it.
TEST(PlaImport, ANameGivenTwiceIsRefusedNotRenamed) {
    const PlaImport imported = import_pla(".i 3\n.o 2\n.ilb a a c\n.ob f g\n000 10\n011 11\n1-1 01\n.e\n");
    ASSERT_EQ(imported.error, "");
    EXPECT_EQ(imported.text.find("renamed"), std::string::npos) << imported.text;
    const auto run = expand_text(imported.text);
    EXPECT_TRUE(run->failed());
    EXPECT_EQ(run->session.ctx.diag.first_error(),
              "Error 8: Invalid X_name or Y_name in Table line: A: input 1 and input 2 (given twice)");
    // A name the importer has to convert, given twice, converts to one name and is refused alike.
    const PlaImport converted = import_pla(".i 2\n.o 1\n.ilb x,1 x,1\n.ob f\n11 1\n");
    ASSERT_EQ(converted.error, "");
    EXPECT_EQ(converted.input_names, (std::vector<std::string>{"x_1", "x_1"}));
    EXPECT_TRUE(expand_text(converted.text)->failed());
}

// A CR-only file was read by our reader but refused by the importer; a title holding a CR became a
// comment that our reader split into a stray line (error 17).
TEST(PlaImport, LineEndsAndTitlesAreTakenAsOurReaderTakesThem) {
    const std::string cr_only = ".i 2\r.o 1\r11 1\r0- 1\r.e\r";
    const PlaImport imported = import_pla("a title\r" + cr_only);
    ASSERT_EQ(imported.error, "");
    const auto ours = expand_text(imported.text);
    const auto native = expand_text(cr_only);
    ASSERT_FALSE(ours->failed()) << ours->text();
    ASSERT_FALSE(native->failed()) << native->text();
    EXPECT_EQ(ours->expanded(), native->expanded());
    EXPECT_EQ(ours->expanded(), "1 1 0 1");

    const PlaImport titled = import_pla("one\rtwo\fthree\r\n.i 1\n.o 1\n1 1\n");
    ASSERT_EQ(titled.error, "");
    EXPECT_NE(titled.text.find("# title: one\n# title: two three\n.i 1\n"), std::string::npos) << titled.text;
    EXPECT_FALSE(expand_text(titled.text)->failed());
}

TEST(PlaImport, EachUnsupportedConstructIsRefusedWithItsReason) {
    struct Case {
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {".mv 4 2 3 4\n", "multiple-valued variables (.mv)"},
        {".i 2\n.o 1\n.kiss\n", "state machines (.kiss)"},
        {".i 2\n.o 1\n.symbolic a b ;\n", "the directive .symbolic"},
        {".i 2\n.o 1\n.type fx\n", ".type must be f, fd, fr or fdr"},
        {".i 2\n.o 1\n11 0\n.type fr\n", "line 4: .type after the first cube"},
        {".i 2\n.o 2\n.phase 1\n11 11\n", ".phase has 1 values for 2 outputs"},
        {".i 2\n.o 1\n.phase 1x\n", ".phase needs one string of 0 and 1"},
        {".i 2\n.o 1\n1x 1\n", "'x' is no input value"},
        {".i 2\n.o 1\n11 5\n", "'5' is no output value"},
        {".i 2\n.o 1\n11 1\n1\n", "a cube ends after 1 of its 3 values"},
        {".o 1\n11 1\n", ".i missing before the first cube"},
        {".i 2\n.o 1\n.ilb a\n11 1\n", ".ilb names 1 inputs, .i declares 2"},
        {".i 4097\n.o 1\n", "at most 4096"},
        {".i 2\n.o 4097\n", "at most 4096"},
        {".i 0\n.o 1\n", ".i needs one number of at least 1"},
        {"just a title\n", ".i missing"},
    };
    for (const Case& c : cases) {
        const PlaImport imported = import_pla(c.text);
        EXPECT_NE(imported.error.find(c.reason), std::string::npos) << c.text << " gave: " << imported.error;
        EXPECT_EQ(imported.text, "") << c.text;
    }
}

// Every public benchmark file in its original dialect, imported, expands to the table of our
// normalized copy, except where a don't-care cube meets a 1 or a 0 of another cube of the same
// output: the dialect keeps such a point a don't care (its 0 says nothing), our copy, read by our
// own rules, makes it 1 or 0. Don't cares over 1 entries are in alu2 and mark1 only.
TEST(PlaImport, BenchmarkOriginalsExpandLikeTheNormalizedCopies) {
    const fs::path originals = fs::path(VORMEL_BENCH_DIR) / "pla-original";
    const fs::path normalized = fs::path(VORMEL_BENCH_DIR) / "pla";
    ASSERT_TRUE(fs::is_directory(originals)) << originals;
    int compared = 0;
    std::set<std::string> over_one, over_zero;
    for (const auto& entry : fs::directory_iterator(originals)) {
        const fs::path copy = normalized / entry.path().filename();
        ASSERT_TRUE(fs::exists(copy)) << copy;
        SCOPED_TRACE(entry.path().string());
        const PlaImport imported = import_pla(testing::read_file(entry.path().string()));
        ASSERT_EQ(imported.error, "");
        const auto ours = expand_text(imported.text, entry.path().filename().string());
        const auto reference = testing::run_file(copy.string());
        ASSERT_FALSE(ours->failed()) << ours->text();
        ASSERT_FALSE(reference->failed());
        EXPECT_EQ(ours->problem().xnames, reference->problem().xnames);
        EXPECT_EQ(ours->problem().ynames, reference->problem().ynames);
        const auto& mine = ours->problem().extab.ys;
        const auto& theirs = reference->problem().extab.ys;
        ASSERT_EQ(mine.size(), theirs.size());
        for (std::size_t k = 0; k < mine.size(); ++k) {
            if (mine[k] == theirs[k]) continue;
            ASSERT_TRUE(mine[k] == kDash && theirs[k] != kDash) << "entry " << k << ": " << int(mine[k]) << " against " << int(theirs[k]);
            (theirs[k] == kOne ? over_one : over_zero).insert(entry.path().filename().string());
        }
        ++compared;
    }
    EXPECT_EQ(compared, 40);
    EXPECT_EQ(over_one, (std::set<std::string>{"alu2.pla", "mark1.pla"}));
    EXPECT_EQ(over_zero, (std::set<std::string>{"alu2.pla", "mark1.pla", "pdc.pla", "spla.pla", "t2.pla"}));
}

}  // namespace
}  // namespace vormel
