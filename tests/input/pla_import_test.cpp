// The importer of the common PLA dialect: seeded random files against a minterm-by-minterm oracle of
// the dialect's meaning, the public benchmark files against our normalized copies, and refusals.
#include <filesystem>
#include <fstream>
#include <random>
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

// Pairwise disjoint cubes: every point is named by one cube at most, where the dialect's types all
// agree on what a character means.
RandomPla random_pla(std::mt19937& rng) {
    RandomPla p;
    p.inputs = 1 + static_cast<int>(rng() % 6);
    p.outputs = 1 + static_cast<int>(rng() % 4);
    static const char* const kTypes[] = {"f", "fd", "fr", "fdr"};
    p.type = kTypes[rng() % 4];
    if (rng() % 2) {
        for (int j = 0; j < p.outputs; ++j) p.phase += "01"[rng() % 2];
    }
    const int tries = 1 + static_cast<int>(rng() % 12);
    for (int t = 0; t < tries; ++t) {
        std::string cube;
        for (int i = 0; i < p.inputs; ++i) cube += "01-"[rng() % 3];
        bool disjoint = true;
        for (const std::string& other : p.in) {
            bool meet = true;
            for (int i = 0; i < p.inputs; ++i) meet = meet && (cube[i] == '-' || other[i] == '-' || cube[i] == other[i]);
            disjoint = disjoint && !meet;
        }
        if (!disjoint) continue;
        std::string outs;
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

// The dialect's meaning, point by point: 1 is the ON set, 0 the OFF set where the type has one,
// "-" the don't-care set where it has one; points no set names are 0 where the type has no OFF set,
// else free; a .phase 0 swaps ON and OFF.
std::string oracle(const RandomPla& p) {
    const bool has_d = p.type.find('d') != std::string::npos;
    const bool has_r = p.type.find('r') != std::string::npos;
    std::string expected;
    for (int m = 0; m < (1 << p.inputs); ++m) {
        if (m > 0) expected += ' ';
        for (int j = 0; j < p.outputs; ++j) {
            char value = has_r ? '-' : '0';
            for (std::size_t c = 0; c < p.in.size(); ++c) {
                if (!cube_holds(p.in[c], m)) continue;
                const char ch = p.out[c][j];
                if (ch == '1') value = '1';
                else if (ch == '0' && has_r) value = '0';
                else if (ch == '-' && has_d) value = '-';
            }
            if (!p.phase.empty() && p.phase[j] == '0' && value != '-') value = value == '1' ? '0' : '1';
            expected += value;
        }
    }
    return expected;
}

TEST(PlaImport, RandomFilesOfEveryTypeMeanWhatTheDialectSays) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 300; ++round) {
        const RandomPla p = random_pla(rng);
        const std::string source = dialect_text(p, rng);
        SCOPED_TRACE(source);
        const PlaImport imported = import_pla(source);
        ASSERT_EQ(imported.error, "");
        const auto run = expand_text(imported.text);
        ASSERT_FALSE(run->failed()) << imported.text << run->text();
        EXPECT_EQ(run->expanded(), oracle(p)) << imported.text;
        for (int i = 0; i < p.inputs; ++i) EXPECT_EQ(run->problem().xnames[i], "IN_" + std::to_string(i));
        for (int j = 0; j < p.outputs; ++j) EXPECT_EQ(run->problem().ynames[j], "N" + std::to_string(j) + "OUT");
        if (HasFailure()) return;
    }
}

TEST(PlaImport, NamesBecomeValidUniqueAndEachRenameIsNoted) {
    EXPECT_EQ(valid_name_of("CPIPE1s<0>"), "CPIPE1S_0");
    EXPECT_EQ(valid_name_of("<<a b>>"), "A_B");
    EXPECT_EQ(valid_name_of("7seg"), "N7SEG");
    EXPECT_EQ(valid_name_of("***"), "N");
    const PlaImport imported = import_pla(".i 3\n.o 1\n.ilb a<0> a[0] Plain\n.ob f.x\n1-- 1\n");
    ASSERT_EQ(imported.error, "");
    EXPECT_NE(imported.text.find("# renamed a<0> -> A_0\n"), std::string::npos) << imported.text;
    EXPECT_NE(imported.text.find("# renamed a[0] -> A_0_2\n"), std::string::npos) << imported.text;
    EXPECT_EQ(imported.text.find("renamed Plain"), std::string::npos) << "a change of case is no rename";
    EXPECT_NE(imported.text.find(".ilb A_0 A_0_2 PLAIN\n.ob F_X\n"), std::string::npos) << imported.text;
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
        {".i 23\n.o 1\n", "at most 22"},
        {".i 2\n.o 101\n", "at most 100"},
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
// normalized copy.
TEST(PlaImport, BenchmarkOriginalsExpandLikeTheNormalizedCopies) {
    const fs::path originals = fs::path(VORMEL_BENCH_DIR) / "pla-original";
    const fs::path normalized = fs::path(VORMEL_BENCH_DIR) / "pla";
    ASSERT_TRUE(fs::is_directory(originals)) << originals;
    int compared = 0;
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
        EXPECT_TRUE(ours->problem().extab.ys == reference->problem().extab.ys);
        ++compared;
    }
    EXPECT_EQ(compared, 40);
}

}  // namespace
}  // namespace vormel
