// The console program as a user runs it: exit status, stderr and the files it leaves.
#include <gtest/gtest.h>

#include <filesystem>

#include "vormelc_process.h"

namespace {

using vormel::testing::Outcome;
using vormel::testing::read_file;
using vormel::testing::run_vormelc;
using vormel::testing::TempDir;

TEST(Vormelc, RunsAFileAndSavesBothReportFiles) {
    TempDir dir;
    const std::string input = dir.write("half_adder.tab", "a,b:s,c\n00:00\n01:10\n10:10\n11:01\n");
    const Outcome outcome = run_vormelc(dir, input);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find(" *** Start of  Vormel "), std::string::npos);
    EXPECT_EQ(outcome.out.find('\r'), std::string::npos);     // the terminal echo uses plain line ends
    EXPECT_EQ(outcome.out.find("\x1b["), std::string::npos);  // and no colours when piped
    const std::string report = read_file(input + ".rpt");
    EXPECT_EQ(report.rfind("a,b:s,c\r\n00:00\r\n", 0), 0u);
    EXPECT_NE(read_file(input + ".rpt.rtf").find("\\colortbl"), std::string::npos);
}

TEST(Vormelc, QuietRunEchoesNothing) {
    TempDir dir;
    const std::string input = dir.write("q.tab", "a:f\n1:1\n");
    const Outcome outcome = run_vormelc(dir, "-q -l 2 " + input);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_TRUE(std::filesystem::exists(input + ".rpt"));
}

TEST(Vormelc, MissingFileAndDirectoryFailWithTheReasonOnStderr) {
    TempDir dir;
    Outcome outcome = run_vormelc(dir, dir.path() + "/absent.tab");
    EXPECT_NE(outcome.status, 0);
    EXPECT_NE(outcome.err.find("Requested File is not accessible:  "), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/absent.tab.rpt"));

    outcome = run_vormelc(dir, dir.path());
    EXPECT_NE(outcome.status, 0);
    EXPECT_NE(outcome.err.find("Requested file is a folder, not a file:  "), std::string::npos);
}

TEST(Vormelc, UnwritableReportKeepsTheInputAndFails) {
    TempDir dir;
    const std::string text = "a:f\n1:1\n";
    const std::string input = dir.write("r.tab", text);
    std::filesystem::create_directory(input + ".rpt");
    const Outcome outcome = run_vormelc(dir, "-q " + input);
    EXPECT_NE(outcome.status, 0);
    EXPECT_NE(outcome.err.find(" Output file ( .rpt ) NOT Saved"), std::string::npos) << outcome.err;
    EXPECT_EQ(read_file(input), text);
}

TEST(Vormelc, RejectsBadOptionsAndExplainsThem) {
    TempDir dir;
    Outcome outcome = run_vormelc(dir, "--help");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("--polarity"), std::string::npos);
    // Usage errors exited with the parser's own numbers (105, 106): they are 2, and --help says so.
    EXPECT_NE(outcome.out.find("Exit status: 0 the report files were saved; 1 "), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("2 a usage error"), std::string::npos) << outcome.out;
    for (const char* bad : {"-l 7 x.tab", "--bogus x.tab", "", "--rolexa many x.tab", "--jobs 0 a.tab"}) {
        outcome = run_vormelc(dir, bad);
        EXPECT_EQ(outcome.status, 2) << bad << ": " << outcome.err;
    }
    outcome = run_vormelc(dir, "--version");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("Version "), std::string::npos);
}

TEST(Vormelc, EveryMethodRunsAndBadMethodOrLimitIsRefusedBeforeAnyRun) {
    TempDir dir;
    const std::string input = dir.write("m.tab", "a,b:s,c\n00:00\n01:10\n10:10\n11:01\n");
    Outcome outcome = run_vormelc(dir, "--help");
    for (const char* word : {"qmc", "cns", "shared", "exact", "--exact-limit"}) {
        EXPECT_NE(outcome.out.find(word), std::string::npos) << word;
    }
    for (const char* method : {"qmc", "cns", "shared", "exact"}) {
        std::filesystem::remove(input + ".rpt");
        outcome = run_vormelc(dir, std::string("-q --exact-limit 5 --method ") + method + " " + input);
        EXPECT_EQ(outcome.status, 0) << method << ": " << outcome.err;
        EXPECT_TRUE(std::filesystem::exists(input + ".rpt")) << method;
    }
    std::filesystem::remove(input + ".rpt");
    for (const char* bad : {"--method sat", "--exact-limit 0", "--exact-limit -2", "--exact-limit soon"}) {
        outcome = run_vormelc(dir, std::string("-q ") + bad + " " + input);
        EXPECT_EQ(outcome.status, 2) << bad;
        const std::string option = std::string(bad).substr(0, std::string(bad).find(' '));
        EXPECT_EQ(outcome.err.rfind(option + ": ", 0), 0u) << outcome.err;
        EXPECT_FALSE(std::filesystem::exists(input + ".rpt")) << bad;
    }
}

}  // namespace
