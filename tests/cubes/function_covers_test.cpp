// The ON, DC and OFF covers built from the input rows must mean exactly what the minterm expansion
// gives, on the shipped examples, the benchmark files and hand-made tables with $REST and conflicts.
#include <filesystem>
#include <set>
#include <stdexcept>

#include <gtest/gtest.h>

#include "cubes/cube_oracle.h"
#include "cubes/function_covers.h"
#include "input/pla_import.h"
#include "model/problem.h"
#include "run/command_fsm.h"
#include "support/test_session.h"

namespace vormel::cubes {
namespace {

namespace fs = std::filesystem;
constexpr int kLargestCheckedInputs = 14;

// Point of the cube oracle (bit i = input i) for expanded row r (input 0 the most significant bit).
std::uint32_t point_of_row(std::uint32_t r, int nx) {
    std::uint32_t p = 0;
    for (int i = 0; i < nx; ++i) p |= ((r >> (nx - 1 - i)) & 1u) << i;
    return p;
}

// "" when every point of every output lies in exactly the cover its expanded value names.
std::string compare_with_expansion(const Problem& problem, const FunctionCovers& f) {
    const int nx = problem.inputs();
    for (int r = 0; r <= problem.extab.last; ++r) {
        const std::uint32_t p = point_of_row(static_cast<std::uint32_t>(r), nx);
        for (int j = 0; j < problem.outputs(); ++j) {
            const std::uint8_t v = problem.extab.y(r)[j];
            const bool on = testing::cover_has(f.on, p, j, nx);
            const bool dc = testing::cover_has(f.dc, p, j, nx);
            const bool off = testing::cover_has(f.off, p, j, nx);
            if (on != (v == kOne) || dc != (v == kDash) || off != (v == kZero)) {
                return "row " + std::to_string(r) + " output " + std::to_string(j) + " expanded " + std::to_string(v) +
                       " covers " + std::to_string(on) + std::to_string(dc) + std::to_string(off);
            }
        }
    }
    return "";
}

// Reads and expands one file as a level-1 run does, leaving the problem in the session.
bool load(vormel::testing::TestRun& run, const std::string& path) {
    run.ctx.input_file = path;
    run.ctx.options.display_level = 1;
    run.ctx.options.page_by_page = 0;
    run.area.set_plain_text(vormel::testing::read_file(path));
    run.ctx.run_state = 4;
    Vormel_CommandFSM(run.session);
    return run.ctx.run_state == 5;
}

std::string check_text(const std::string& name, const std::string& text) {
    vormel::testing::TempDir dir;
    vormel::testing::TestRun run;
    if (!load(run, dir.write(name, text))) return "not read: " + run.area.text();
    return compare_with_expansion(run.session.problem, function_covers(run.session.problem));
}

TEST(FunctionCovers, ShippedExamplesAndBenchmarkFilesMeanTheirExpansion) {
    std::vector<fs::path> files;
    for (const fs::path& dir : {fs::path(VORMEL_SOURCE_DIR) / "examples", fs::path(VORMEL_BENCH_DIR) / "pla"}) {
        ASSERT_TRUE(fs::is_directory(dir)) << dir;
        for (const auto& entry : fs::directory_iterator(dir)) {
            static const std::set<std::string> kinds = {".tab", ".tdf", ".dcb", ".pla", ".bol"};
            if (kinds.count(entry.path().extension().string())) files.push_back(entry.path());
        }
    }
    ASSERT_GT(files.size(), 10u);
    int checked = 0;
    for (const fs::path& path : files) {
        vormel::testing::TempDir dir;
        vormel::testing::TestRun run;
        const std::string copy = dir.write(path.filename().string(), vormel::testing::read_file(path.string()));
        ASSERT_TRUE(load(run, copy)) << path;
        const Problem& problem = run.session.problem;
        if (problem.inputs() > kLargestCheckedInputs) continue;
        EXPECT_EQ(compare_with_expansion(problem, function_covers(problem)), "") << path;
        ++checked;
    }
    EXPECT_GT(checked, 20);
}

TEST(FunctionCovers, RestValuesDontCaresAndWinningOnes) {
    // $REST fills what no row covers: 1, "-" and 0 per output.
    EXPECT_EQ(check_text("rest.tab", "a, b, c : x, y, z\n1 - 0 : 1 0 -\n0 1 1 : - 1 0\n$REST : 1 - 0\n"), "");
    // Ones win over zeros in an fd .pla; a "-" row only marks points nobody specifies.
    EXPECT_EQ(check_text("fd.pla", ".i 3\n.o 2\n1-- 10\n11- 01\n-1- -0\n0-1 -1\n.e\n"), "");
    // Equations: a term of one output is 0 for nothing else.
    EXPECT_EQ(check_text("eq.bol", "X = A AND B OR /C\nY = A AND /B\nEND\n"), "");
}

// Imported files of type fd with don't-care rows: each row that a don't care splits leaves pieces
// whose "-" entries lie inside other rows, which the don't-care cover leaves out before its
// complement; the covers must still mean the expansion.
TEST(FunctionCovers, ImportedDontCareRowsMeanTheirExpansion) {
    std::uint64_t state = 12345;
    const auto draw = [&state](int n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state >> 33) % static_cast<std::uint64_t>(n));
    };
    for (int k = 0; k < 40; ++k) {
        const int nx = 3 + draw(6), ny = 1 + draw(5), rows = 2 + draw(14);
        std::string text = ".i " + std::to_string(nx) + "\n.o " + std::to_string(ny) + "\n.type fd\n";
        for (int r = 0; r < rows; ++r) {
            for (int i = 0; i < nx; ++i) text += "01--"[draw(4)];
            text += ' ';
            const char mark = draw(3) == 0 ? '-' : '1';
            for (int j = 0; j < ny; ++j) text += draw(2) ? mark : '0';
            text += '\n';
        }
        const PlaImport imported = import_pla(text + ".e\n");
        ASSERT_TRUE(imported.error.empty()) << imported.error << "\n" << text;
        EXPECT_EQ(check_text("imported.pla", imported.text), "") << text;
    }
}

// Random rows of 10 literals over 32 inputs: the OFF cover runs to about 400,000 cubes (seconds and
// 400 MB to build, far more with fewer literals). A caller that can do without it gets ON and DC
// alone, at once, and no inversion can be built from them.
TEST(FunctionCovers, OffCoverTooLargeIsLeftUnbuiltWhenOptional) {
    const std::string text = vormel::testing::read_file(std::string(VORMEL_SOURCE_DIR) + "/tests/data/random_sparse_32.pla");
    vormel::testing::TempDir dir;
    vormel::testing::TestRun run;
    run.ctx.options.prime_method = method_shared;  // the classic methods stop at 22 inputs
    ASSERT_TRUE(load(run, dir.write("wide.pla", text)));
    const FunctionCovers bounded = function_covers(run.session.problem, true);
    EXPECT_FALSE(bounded.off_built);
    EXPECT_TRUE(bounded.off.empty());
    EXPECT_FALSE(bounded.on.empty());
    EXPECT_THROW(with_polarity(bounded, {1, 0, 1}), std::logic_error);
    EXPECT_TRUE(with_polarity(bounded, {1, 1, 1}).on == bounded.on);

    // A function whose OFF cover is small builds it either way.
    vormel::testing::TestRun small;
    ASSERT_TRUE(load(small, dir.write("small.pla", ".i 3\n.o 2\n1-- 10\n11- 01\n.e\n")));
    const FunctionCovers f = function_covers(small.session.problem, true);
    EXPECT_TRUE(f.off_built);
    EXPECT_TRUE(f.off == function_covers(small.session.problem).off);
}

TEST(FunctionCovers, PolarityInversionSwapsOnAndOffOfThoseOutputsOnly) {
    vormel::testing::TempDir dir;
    vormel::testing::TestRun run;
    ASSERT_TRUE(load(run, dir.write("f.tab", "a, b, c : x, y\n1 - 0 : 1 0\n0 1 1 : - 1\n$REST : 0 -\n")));
    const FunctionCovers f = function_covers(run.session.problem);
    const FunctionCovers g = with_polarity(f, {0, 1});
    for (std::uint32_t p = 0; p < 8; ++p) {
        EXPECT_EQ(testing::cover_has(g.on, p, 0, 3), testing::cover_has(f.off, p, 0, 3));
        EXPECT_EQ(testing::cover_has(g.off, p, 0, 3), testing::cover_has(f.on, p, 0, 3));
        EXPECT_EQ(testing::cover_has(g.on, p, 1, 3), testing::cover_has(f.on, p, 1, 3));
        EXPECT_EQ(testing::cover_has(g.dc, p, 1, 3), testing::cover_has(f.dc, p, 1, 3));
    }
}

}  // namespace
}  // namespace vormel::cubes
