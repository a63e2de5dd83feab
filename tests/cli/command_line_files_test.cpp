// The files a call names: no output may replace an input or a report of the call, by any spelling
// or link, and an input must be a file the reports can go beside.
#include <gtest/gtest.h>

#include <filesystem>

#include "vormelc_process.h"

namespace vormel::testing {
namespace {

namespace fs = std::filesystem;

const std::string kTable = "a,b:f\n00:0\n01:1\n10:1\n11:1\n";
const std::string kPla = ".i 2\n.o 1\n.p 1\n1- 1\n.e\n";

// A refused call: usage status, the reason on stderr, no run (so no report), the input unchanged.
void expect_refused(const TempDir& dir, const std::string& arguments, const std::string& input, const std::string& text,
                    const std::string& reason) {
    const Outcome outcome = run_vormelc(dir, "-q " + arguments);
    EXPECT_EQ(outcome.status, 2) << arguments << "\n" << outcome.err;
    EXPECT_NE(outcome.err.find(reason), std::string::npos) << arguments << "\n" << outcome.err;
    EXPECT_FALSE(fs::exists(input + ".rpt")) << arguments;
    EXPECT_EQ(read_file(input), text) << arguments;
}

TEST(CommandLineFiles, ExportOrSummaryOverTheInputIsRefusedBeforeAnyRun) {
    // --export dc1.pla dc1.pla overwrote the input and exited 0.
    TempDir dir;
    const std::string input = dir.write("dc1.pla", kPla);
    fs::create_directory(dir.path() + "/sub");
    fs::create_symlink(input, dir.path() + "/link.pla");
    fs::create_hard_link(input, dir.path() + "/hard.pla");
    const std::string p = dir.path();
    const std::string overwrite = "would overwrite the input file " + input;
    for (const std::string& spelling : {input, p + "/sub/../dc1.pla", p + "/./dc1.pla", p + "/link.pla", p + "/hard.pla"}) {
        expect_refused(dir, "--export " + spelling + " " + input, input, kPla, overwrite);
    }
    const std::string json_input = dir.write("x.json", kTable);
    expect_refused(dir, "--summary " + json_input + " " + json_input, json_input, kTable,
                   "--summary " + json_input + " would overwrite the input file");
    const std::string svg_input = dir.write("x.svg", kTable);
    expect_refused(dir, "--kmap " + p + "/sub/../x.svg " + svg_input, svg_input, kTable, "would overwrite the input file");
}

TEST(CommandLineFiles, AnOutputThatIsAReportOfTheRunOrAnotherInputIsRefused) {
    TempDir dir;
    const std::string input = dir.write("f.tab", kTable);
    // A link named like an export that leads to the report this run writes.
    fs::create_symlink(input + ".rpt", dir.path() + "/report.pla");
    expect_refused(dir, "--export " + dir.path() + "/report.pla " + input, input, kTable,
                   "would overwrite the report file " + input + ".rpt");
    // In a batch, the export of one input beside it is the other input.
    const std::string x = dir.write("x", kTable);
    const std::string x_pla = dir.write("x.pla", kPla);
    expect_refused(dir, "--export pla " + x + " " + x_pla, x, kTable, "would overwrite the input file " + x_pla);
    EXPECT_EQ(read_file(x_pla), kPla);
    expect_refused(dir, "--kmap " + dir.path() + "/k.svg --diagram " + dir.path() + "/./k.svg " + input, input, kTable,
                   "name the same file");
}

TEST(CommandLineFiles, SummaryMustBeAJsonFile) {
    TempDir dir;
    const std::string input = dir.write("f.tab", kTable);
    expect_refused(dir, "--summary " + dir.path() + "/f.txt " + input, input, kTable, "it must end in .json");
}

TEST(CommandLineFiles, StandardInputIsRefusedNotReportedBesideTheRedirectedFile) {
    // vormelc /dev/stdin < file wrote its reports beside the redirected file.
    TempDir dir;
    const std::string input = dir.write("f.tab", kTable);
    const Outcome outcome = run_script(dir, "\"$V\" -q /dev/stdin < " + shell_quoted(input));
    EXPECT_EQ(outcome.status, 2) << outcome.err;
    EXPECT_NE(outcome.err.find("/dev/stdin is standard input or a device, not a file of its own"), std::string::npos)
        << outcome.err;
    EXPECT_FALSE(fs::exists(input + ".rpt"));
    // Also through a link of our own.
    fs::create_symlink("/dev/stdin", dir.path() + "/in.tab");
    EXPECT_EQ(run_script(dir, "\"$V\" -q " + shell_quoted(dir.path() + "/in.tab") + " < " + shell_quoted(input)).status, 2);
    EXPECT_FALSE(fs::exists(input + ".rpt"));
}

}  // namespace
}  // namespace vormel::testing
