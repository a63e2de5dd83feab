// Round trips of the exported result. Our strict reader reads an exported PLA back (the importer
// one with a .phase line) and must expand it to the minimized values; Berkeley ABC, an outside
// judge, must prove the PLA, BLIF, Verilog and the equations, each file as written, equivalent to
// the input of every fully specified file.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "export/blif_writer.h"
#include "export/equation_writer.h"
#include "export/pla_writer.h"
#include "export/result_view.h"
#include "export/verilog_writer.h"
#include "input/expand_inputs.h"
#include "input/pla_import.h"
#include "input/read_input.h"
#include "report/text_work_area.h"
#include "run/command_fsm.h"
#include "run/session.h"
#include "support/run_inputs.h"
#include "support/test_session.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;

constexpr int kLargestBenchInputs = 10;
constexpr int kLargestAutomaticOutputs = 16;

struct Case {
    std::string name;   // gtest name
    fs::path path;      // a file, or empty for a generated text
    std::string text;   // the generated text (a .tab)
};

void PrintTo(const Case& c, std::ostream* out) { *out << (c.path.empty() ? c.name : c.path.string()); }

// Fully specified random tables whose outputs include a copy, an inverse and a constant of other
// columns, and tables with don't cares; seeded, so every run sees the same ones.
std::string random_table(unsigned seed) {
    std::mt19937 rng(seed);
    const int n = 2 + static_cast<int>(rng() % 5);
    const int m = 3 + static_cast<int>(rng() % 4);
    const bool with_dc = seed % 3 == 0;
    std::vector<std::string> columns(static_cast<std::size_t>(m), std::string(1u << n, '0'));
    for (int j = 0; j < m; ++j) {
        const int kind = static_cast<int>(rng() % 6);
        for (int r = 0; r < (1 << n); ++r) {
            char& v = columns[j][r];
            if (j > 0 && kind == 0) v = columns[0][r];
            else if (j > 0 && kind == 1) v = columns[0][r] == '1' ? '0' : columns[0][r] == '0' ? '1' : '-';
            else if (kind == 2) v = seed % 2 ? '1' : '0';
            else v = with_dc && rng() % 5 == 0 ? '-' : "01"[rng() % 2];
        }
    }
    std::string text = "; random table " + std::to_string(seed) + "\n";
    for (int i = 0; i < n; ++i) text += (i ? ", a" : "a") + std::to_string(i);
    text += " : ";
    for (int j = 0; j < m; ++j) text += (j ? ", f" : "f") + std::to_string(j);
    text += "\n";
    for (int r = 0; r < (1 << n); ++r) {
        for (int i = 0; i < n; ++i) text += ((r >> (n - 1 - i)) & 1) ? '1' : '0';
        text += " : ";
        for (int j = 0; j < m; ++j) text += columns[j][r];
        text += "\n";
    }
    return text;
}

// The small inputs and the random tables, or the large inputs (see support/run_inputs.h).
std::vector<Case> list_cases(bool large) {
    std::vector<Case> cases;
    for (const testing::InputFile& file :
         large ? testing::large_inputs(kLargestBenchInputs) : testing::small_inputs(kLargestBenchInputs)) {
        cases.push_back({file.name, file.path, ""});
    }
    if (large) return cases;
    for (unsigned seed = 1; seed <= 12; ++seed) cases.push_back({"random_" + std::to_string(seed), {}, random_table(seed)});
    return cases;
}

// A whole run at display level 0 in a scratch directory.
struct WholeRun {
    TextWorkArea area;
    SilentRunWindow window;
    Session session{area, window};
    std::string input;

    WholeRun(const std::string& path, int polarity_mode) : input(path) {
        RunContext& ctx = session.ctx;
        area.set_plain_text(testing::read_file(path));
        ctx.input_file = path;
        ctx.options.display_level = 0;
        ctx.options.page_by_page = 0;
        ctx.options.polarity_mode = polarity_mode;
        ctx.run_state = 4;
        Vormel_CommandFSM(session);
    }
};

// The expanded table our strict reader makes of a .pla text.
ExpandedTable read_back(const std::string& text, const std::string& dir) {
    TextWorkArea area;
    SilentRunWindow window;
    Session session(area, window);
    RunContext& ctx = session.ctx;
    ctx.options.display_level = 0;
    ctx.options.page_by_page = 0;
    ctx.input_file = dir + "/read_back.pla";
    ctx.input_text = text;
    ctx.run_state = 5;
    read_input_file(ctx, session.problem);
    session.problem.rest_default = 0;
    if (ctx.error_flag == 0) expand_inputs(ctx, session.problem);
    EXPECT_EQ(ctx.error_flag, 0) << text << area.text();
    return session.problem.extab;
}

bool abc_present() {
    static const bool present = std::system("command -v berkeley-abc > /dev/null 2>&1") == 0;
    return present;
}

// ABC's combinational equivalence check of two files; "" when proved equivalent, else its output.
std::string abc_cec(const std::string& reference, const std::string& candidate, const std::string& dir) {
    const std::string log = dir + "/abc.log";
    const std::string command = "cd '" + dir + "' && berkeley-abc -c 'cec " + reference + " " + candidate + "' > '" + log + "' 2>&1";
    const int status = std::system(command.c_str());
    const std::string output = testing::read_file(log);
    if (status == 0 && output.find("Networks are equivalent") != std::string::npos) return "";
    return output.empty() ? "no output" : output;
}

// The input as ABC should read it: the file itself for a benchmark PLA (names set to ours), or its
// expanded table as minterm rows.
std::string reference_pla(const Case& c, const Problem& p, const ResultView& view) {
    auto names = [&view] {
        std::string text = ".ilb";
        for (const std::string& name : view.inputs) text += " " + name;
        text += "\n.ob";
        for (const std::string& name : view.outputs) text += " " + name;
        return text + "\n";
    };
    std::string text;
    if (c.path.parent_path().filename() == "pla") {
        std::istringstream in(testing::read_file(c.path.string()));
        for (std::string line; std::getline(in, line);) {
            if (line.rfind(".ilb", 0) == 0 || line.rfind(".ob", 0) == 0) continue;
            text += line + "\n";
            if (line.rfind(".o ", 0) == 0) text += names();
        }
        return text;
    }
    text = ".i " + std::to_string(p.inputs()) + "\n.o " + std::to_string(p.outputs()) + "\n" + names();
    for (int r = 0; r <= p.extab.last; ++r) {
        for (int i = 0; i < p.inputs(); ++i) text += p.extab.x(r, i) ? '1' : '0';
        text += ' ';
        for (int j = 0; j < p.outputs(); ++j) text += p.extab.y(r)[j] == kOne ? '1' : '0';
        text += '\n';
    }
    return text + ".e\n";
}

bool fully_specified(const Problem& p) {
    return std::find(p.extab.ys.begin(), p.extab.ys.end(), kDash) == p.extab.ys.end();
}

// The rows of the report's final table: the terms it counts and any all-"-" row of a constant.
int report_rows(const Problem& p) {
    int rows = 0;
    for (int r = 0; r <= p.final_terms.last; ++r) {
        const std::uint8_t* y = p.final_terms.y(r);
        rows += std::any_of(y, y + p.outputs(), [](std::uint8_t v) { return v != kDash; });
    }
    return rows;
}

class ExportRoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(ExportRoundTrip, ReadBackAndOutsideJudgeAgreeWithTheResult) {
    const Case& c = GetParam();
    testing::TempDir dir;
    const std::string input = c.path.empty() ? dir.write(c.name + ".tab", c.text)
                                             : dir.write(c.path.filename().string(), testing::read_file(c.path.string()));
    int outputs = 0;
    for (int mode : {polarity_zero_set, polarity_automatic}) {
        // The automatic search costs seconds on many outputs (and more under the sanitizers).
        if (mode == polarity_automatic && outputs > kLargestAutomaticOutputs) break;
        SCOPED_TRACE("polarity mode " + std::to_string(mode));
        WholeRun run(input, mode);
        ASSERT_TRUE(run.session.report_saved) << run.area.text();
        const Problem& p = run.session.problem;
        outputs = p.outputs();
        const ResultView view = result_view(p, input);

        const std::string complemented = write_pla(view, PlaPhase::complemented_back);
        const ExpandedTable back = read_back(complemented, dir.path());
        EXPECT_TRUE(back.ys == p.expanded_final_output.to_table().ys) << "complemented PLA\n" << complemented;

        const std::string with_phase = write_pla(view, PlaPhase::phase_line);
        const PlaImport imported = import_pla(with_phase);
        ASSERT_EQ(imported.error, "");
        EXPECT_TRUE(read_back(imported.text, dir.path()).ys == p.expanded_final_output.to_table().ys) << "PLA with .phase\n" << with_phase;
        // b11: the report counted 27 terms, its export had 26 rows (a term of an inverse output
        // was dropped).
        EXPECT_EQ(with_phase.find(".p " + std::to_string(report_rows(p)) + "\n"), with_phase.find(".p ")) << with_phase;
        const std::string count = ": " + std::to_string(count_literals(p.final_terms).product_terms) + " as the report counts them\n";
        EXPECT_NE(complemented.find(count), std::string::npos) << complemented;

        if (!abc_present() || !fully_specified(p)) continue;
        std::ofstream(dir.path() + "/reference.pla") << reference_pla(c, p, view);
        std::ofstream(dir.path() + "/result.pla") << complemented;
        std::ofstream(dir.path() + "/result.blif") << write_blif(view);
        std::ofstream(dir.path() + "/result.v") << write_verilog(view);
        std::ofstream(dir.path() + "/result.eqn") << write_equations(view);
        EXPECT_EQ(abc_cec("reference.pla", "result.pla", dir.path()), "") << complemented;
        EXPECT_EQ(abc_cec("reference.pla", "result.blif", dir.path()), "") << write_blif(view);
        EXPECT_EQ(abc_cec("reference.pla", "result.v", dir.path()), "") << write_verilog(view);
        EXPECT_EQ(abc_cec("reference.pla", "result.eqn", dir.path()), "") << write_equations(view);
        if (HasFailure()) return;
    }
}

std::string case_name(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Inputs, ExportRoundTrip, ::testing::ValuesIn(list_cases(false)), case_name);
INSTANTIATE_TEST_SUITE_P(LargeInputs, ExportRoundTrip, ::testing::ValuesIn(list_cases(true)), case_name);

// A Verilog export of module.pla named its module "module"; --import upper-cased every name, so
// ABC's check by name of the original against the export failed.
TEST(ExportNames, KeywordsAreRenamedAndImportedNamesKeepTheirSpelling) {
    testing::TempDir dir;
    const std::string original = ".i 3\n.o 3\n.ilb wire readRFaccessA1 c\n.ob output f g\n.type fd\n11- 100\n0-1 011\n.e\n";
    const PlaImport imported = import_pla(original);
    ASSERT_EQ(imported.error, "");
    const std::string input = dir.write("module.pla", imported.text);
    WholeRun run(input, polarity_zero_set);
    ASSERT_TRUE(run.session.report_saved) << run.area.text();
    const ResultView view = result_view(run.session.problem, input, {imported.input_names, imported.output_names});
    const std::string verilog = write_verilog(view);
    EXPECT_NE(verilog.find("module module_ (wire_, readRFaccessA1, c, output_, f, g);\n"), std::string::npos) << verilog;
    EXPECT_NE(verilog.find("// renamed wire -> wire_\n"), std::string::npos) << verilog;
    EXPECT_NE(write_blif(view).find(".inputs wire_ readRFaccessA1 c\n"), std::string::npos) << write_blif(view);

    if (!abc_present()) return;
    // The original with the keywords spelled as the exports spell them; names are matched by ABC.
    std::string reference = original;
    reference.replace(reference.find("wire"), 4, "wire_");
    reference.replace(reference.find("output"), 6, "output_");
    std::ofstream(dir.path() + "/reference.pla") << reference;
    std::ofstream(dir.path() + "/result.v") << verilog;
    std::ofstream(dir.path() + "/result.blif") << write_blif(view);
    std::ofstream(dir.path() + "/result.pla") << write_pla(view, PlaPhase::complemented_back);
    for (const char* result : {"result.v", "result.blif", "result.pla"}) {
        EXPECT_EQ(abc_cec("reference.pla", result, dir.path()), "") << result;
    }
}

TEST(ExportRoundTrip, OuterJudgeIsInstalledOrTheChecksAreSkipped) {
    if (!abc_present()) GTEST_SKIP() << "berkeley-abc is not installed: the equivalence checks are skipped";
    testing::TempDir dir;
    // A judge that proves everything would make the checks above worthless.
    std::ofstream(dir.path() + "/a.pla") << ".i 2\n.o 1\n.ilb a b\n.ob f\n11 1\n.e\n";
    std::ofstream(dir.path() + "/b.blif") << ".model m\n.inputs a b\n.outputs f\n.names a b f\n1- 1\n.end\n";
    EXPECT_NE(abc_cec("a.pla", "b.blif", dir.path()), "");
}

}  // namespace
}  // namespace vormel
