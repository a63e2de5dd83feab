// Every wide benchmark function (past 22 inputs or 100 outputs) through a whole console run of the
// shared method, as a user runs it (long tests: the release run): imported, proven by the run itself,
// and, where the function has no don't cares, proven again by ABC against the exported BLIF.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "cli/vormelc_process.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> wide_files() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(VORMEL_BENCH_DIR) / "pla-wide")) {
        if (entry.path().extension() == ".pla") names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The file as plain rows for ABC: cubes split over lines joined, comments and .p dropped. Empty
// when an output of some cube is a don't care (ABC would read it otherwise than the file means).
std::string plain_rows(const std::string& text) {
    std::istringstream in(text);
    std::string out, pending;
    int inputs = 0, outputs = 0;
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string first;
        if (!(words >> first)) continue;
        if (first[0] == '.') {
            if (first == ".i") words >> inputs;
            if (first == ".o") words >> outputs;
            if (first != ".p") out += line + "\n";
            continue;
        }
        for (char c : line) {
            if (c != ' ' && c != '\t' && c != '|' && c != '\r') pending += c;
        }
        if (static_cast<int>(pending.size()) < inputs + outputs) continue;
        const std::string outs = pending.substr(static_cast<std::size_t>(inputs));
        if (outs.find_first_of("-2~") != std::string::npos) return "";
        out += pending.substr(0, static_cast<std::size_t>(inputs)) + " " + outs + "\n";
        pending.clear();
    }
    return out;
}

bool abc_present() { return std::system("command -v berkeley-abc > /dev/null 2>&1") == 0; }

// One console run of the shared method with `polarity`: proven by the run, and by ABC where it can.
void run_and_judge(const std::string& stem, const std::string& polarity) {
    testing::TempDir dir;
    const std::string name = stem + ".pla";
    const std::string text = testing::read_file((fs::path(VORMEL_BENCH_DIR) / "pla-wide" / name).string());
    dir.write(name, text);
    const testing::Outcome run = testing::run_script(
        dir, "cd " + testing::shell_quoted(dir.path()) + " && \"$V\" -q --import --method shared --polarity " + polarity +
                 " --export blif --summary s.json " + name);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string report = testing::read_file(dir.path() + "/" + name + ".rpt");
    EXPECT_NE(report.find(" *** Comparison with original expanded Inputs successful."), std::string::npos);
    EXPECT_EQ(report.find("Comparison failed"), std::string::npos);
    EXPECT_TRUE(std::regex_search(testing::read_file(dir.path() + "/s.json"), std::regex("\"proof\":\\s*\"passed\"")));
    EXPECT_LT(report.size(), 2'000'000u);

    const std::string rows = plain_rows(text);
    if (rows.empty() || !abc_present()) return;
    dir.write("reference.pla", rows);
    // By position: the reference has no names.
    const testing::Outcome cec = testing::run_script(
        dir, "cd " + testing::shell_quoted(dir.path()) + " && berkeley-abc -c 'cec -n reference.pla " + name + ".blif'");
    EXPECT_NE(cec.out.find("Networks are equivalent"), std::string::npos) << cec.out << cec.err;
}

class WideBenchmarks : public ::testing::TestWithParam<std::string> {};

TEST_P(WideBenchmarks, SharedMethodRunsProvesAndExports) { run_and_judge(GetParam(), "1"); }

// Inverted outputs make wide covers of many small cubes on disjoint inputs; ex4 ran for more than
// ten minutes when the tautology, the reduce and the irredundant searches split input by input.
TEST_P(WideBenchmarks, AutomaticPolarityRunsProvesAndExports) { run_and_judge(GetParam(), "auto"); }

INSTANTIATE_TEST_SUITE_P(LargeInputs, WideBenchmarks, ::testing::ValuesIn(wide_files()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace vormel
