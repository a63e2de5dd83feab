// vormelc's import, export, summary and batch options as a user calls them.
#include <filesystem>

#include <gtest/gtest.h>

#include "support/run_program.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::run_program;
using testing::TempDir;
using testing::vormelc;

std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(VormelcImport, ConvertsRunsAndShowsTheConvertedTextInTheReport) {
    TempDir dir;
    const std::string input = dir.write("other.pla", "an old title\n.i 2\n.o 1\n.ilb CPIPE1s<0> b\n.ob f<1>\n.type fr\n12 4\n0- 3\n.e\n");
    const auto outcome = run_program(dir, vormelc("-q --import " + input + " --export blif"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string report = read_file(input + ".rpt");
    // The exports spell the names as the file did (our reader reads them in upper case).
    EXPECT_NE(read_file(input + ".blif").find(".inputs CPIPE1s_0 b\n.outputs f_1\n"), std::string::npos) << read_file(input + ".blif");
    EXPECT_EQ(report.find("# renamed"), std::string::npos) << "names our reader takes are kept as written\n" << report;
    EXPECT_NE(report.find(".ilb CPIPE1s<0> b\r\n.ob f<1>\r\n.type fr\r\n.p 2\r\n1- 1\r\n0- 0\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Comparison with original expanded Inputs successful"), std::string::npos);
    EXPECT_EQ(read_file(input).rfind("an old title", 0), 0u) << "the input file is never changed";
}

// Most files of the common dialect have no extension, or another one: the dialect is the content.
// A .pla file's reader used to be chosen by the name, so --import refused every other name.
TEST(VormelcImport, AnyFileNameIsImported) {
    TempDir dir;
    for (const std::string name : {"majority", "majority.txt", "majority.tab"}) {
        const std::string input = dir.write(name, ".i 3\n.o 1\n.ilb a b c\n.ob m\n110 1\n1-1 1\n011 1\n.e\n");
        const auto outcome = run_program(dir, vormelc("-q --method shared --import " + input + " --export eqn"));
        ASSERT_EQ(outcome.status, 0) << name << ": " << outcome.err;
        EXPECT_NE(read_file(input + ".rpt").find("Comparison with original expanded Inputs successful"), std::string::npos) << name;
        EXPECT_NE(read_file(input + ".eqn").find("m = a * b + b * c + a * c;"), std::string::npos) << read_file(input + ".eqn");
    }
}

TEST(VormelcImport, RefusedFileGivesItsReasonAndNoRun) {
    TempDir dir;
    const std::string input = dir.write("fsm.pla", ".i 2\n.o 1\n.kiss\n");
    const auto outcome = run_program(dir, vormelc("-q --import " + input));
    EXPECT_NE(outcome.status, 0);
    EXPECT_NE(outcome.err.find("cannot be imported: line 3: state machines (.kiss)"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(input + ".rpt"));
}

TEST(VormelcExport, WritesEachFormatAndASummary) {
    TempDir dir;
    const std::string input = dir.write("adder.tab", "a,b,c:s,k\n000:00\n001:10\n010:10\n011:01\n100:10\n101:01\n110:01\n111:11\n");
    const std::string summary = dir.path() + "/run.json";
    const auto outcome = run_program(dir, vormelc("-q --polarity 0 " + input + " --export blif --export " + dir.path() +
                                                  "/out.v --export eqn --export pla --summary " + summary));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(read_file(input + ".blif").find(".model adder\n.inputs A B C\n.outputs S K\n"), std::string::npos);
    EXPECT_NE(read_file(dir.path() + "/out.v").find("module adder (A, B, C, S, K);"), std::string::npos);
    EXPECT_NE(read_file(input + ".eqn").find("S = !("), std::string::npos) << read_file(input + ".eqn");
    // Outputs realised inverted are complemented back unless --pla-phase asks for a .phase line.
    EXPECT_EQ(read_file(input + ".pla").find(".phase"), std::string::npos) << read_file(input + ".pla");
    EXPECT_NE(read_file(input + ".pla").find("# given by the complement of their terms: S K\n"), std::string::npos);
    const std::string json = read_file(summary);
    EXPECT_NE(json.find("\"status\": \"saved\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"proof\": \"passed\""), std::string::npos);
    EXPECT_NE(json.find("{\"name\": \"S\", \"relation\": \"ordinary\", \"other_output\": null, \"polarity\": \"0\""),
              std::string::npos);
    EXPECT_NE(json.find("\"step_seconds\": {\"expand\": "), std::string::npos);
}

TEST(VormelcExport, PlaPhaseKeepsTheTermsOfOutputsRealisedInverted) {
    TempDir dir;
    const std::string input = dir.write("adder.tab", "a,b,c:s,k\n000:00\n001:10\n010:10\n011:01\n100:10\n101:01\n110:01\n111:11\n");
    const auto outcome = run_program(dir, vormelc("-q --polarity 0 --pla-phase " + input + " --export pla"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(read_file(input + ".pla").find(".phase 00\n"), std::string::npos) << read_file(input + ".pla");
}

TEST(VormelcExport, UnknownFormatIsAUsageError) {
    TempDir dir;
    const std::string input = dir.write("f.tab", "a:f\n1:1\n");
    const auto outcome = run_program(dir, vormelc("-q " + input + " --export out.vhd"));
    EXPECT_NE(outcome.status, 0);
    EXPECT_NE(outcome.err.find("names no export"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(input + ".rpt"));
}

TEST(VormelcBatch, SeveralFilesRunAtOnceAndEndWithATableOfAll) {
    TempDir dir;
    const std::string good = dir.write("good.tab", "a,b:f\n00:0\n01:1\n10:1\n11:1\n");
    const std::string other = dir.write("other.tab", "a:f\n1:1\n");
    const std::string bad = dir.write("bad.tab", "a:f\n1:2\n");
    const std::string summary = dir.path() + "/all.json";
    const auto outcome = run_program(dir, vormelc("-q --jobs 2 --export blif --summary " + summary + " " + good + " " + other +
                                                  " " + bad));
    EXPECT_NE(outcome.status, 0) << "one file fails";
    EXPECT_NE(outcome.out.find("status   proof"), std::string::npos) << outcome.out;
    for (const std::string& file : {good, other, bad}) EXPECT_NE(outcome.out.find(file), std::string::npos) << outcome.out;
    EXPECT_EQ(count_of(outcome.out, "saved    passed"), 2u) << outcome.out;
    EXPECT_TRUE(fs::exists(good + ".blif"));
    EXPECT_FALSE(fs::exists(bad + ".blif"));
    const std::string json = read_file(summary);
    EXPECT_EQ(count_of(json, "\"file\": "), 3u) << json;
    EXPECT_EQ(count_of(json, "\"status\": \"failed\""), 1u) << json;
}

TEST(VormelcBatch, AnExportPathForSeveralFilesIsRefused) {
    TempDir dir;
    const std::string a = dir.write("a.tab", "a:f\n1:1\n");
    const std::string b = dir.write("b.tab", "a:f\n0:1\n");
    const auto outcome = run_program(dir, vormelc("-q " + a + " " + b + " --export " + dir.path() + "/x.blif"));
    EXPECT_NE(outcome.status, 0);
    EXPECT_NE(outcome.err.find("with several input files --export takes pla, blif, v or eqn"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(a + ".rpt"));
}

TEST(VormelcBatch, JobsWithOneFileIsASingleRunThatTakesPicturesAndExports) {
    // --jobs 2 with one file refused --kmap and --export FILE as "several input files".
    TempDir dir;
    const std::string input = dir.write("one.tab", "a,b:f\n00:0\n01:1\n10:1\n11:1\n");
    const auto outcome = run_program(dir, vormelc("-q --jobs 2 --kmap " + dir.path() + "/k.svg --export " + dir.path() +
                                                  "/one.blif " + input));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(fs::exists(dir.path() + "/k.svg"));
    EXPECT_TRUE(fs::exists(dir.path() + "/one.blif"));
}

TEST(VormelcBatch, AnInputNamedLikeAnOptionValueKeepsTheOptionForEveryRun) {
    // -l 2 2 p82.pla: the children's arguments were stripped of every "2", the level's value too.
    TempDir dir;
    const std::string table = "a,b:f\n00:0\n01:1\n10:1\n11:1\n";
    dir.write("2", table);
    dir.write("p.tab", table);
    const auto outcome = run_program(dir, "cd " + dir.path() + " && " + vormelc("-q -l 2 2 p.tab"));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    for (const char* report : {"/2.rpt", "/p.tab.rpt"}) {
        // Level 2 shows the expanded table, level 0 does not.
        EXPECT_NE(read_file(dir.path() + report).find("Fully Expanded Input Table"), std::string::npos) << report;
    }
}

}  // namespace
}  // namespace vormel
