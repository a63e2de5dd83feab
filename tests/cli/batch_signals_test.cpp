// A batch of runs between pipes, limits and signals: the same protections as a single run.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "vormelc_process.h"

namespace vormel::testing {
namespace {

namespace fs = std::filesystem;

const std::string kSmall = "a,b:f\n00:0\n01:1\n10:1\n11:1\n";

std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A table of 10 inputs whose level-2 report runs to many kilobytes.
std::string long_table() {
    std::string text = "x0,x1,x2,x3,x4,x5,x6,x7,x8,x9:f,g\n";
    for (int m = 0; m < 1024; m += 3) {
        for (int i = 9; i >= 0; --i) text += static_cast<char>('0' + ((m >> i) & 1));
        text += m % 7 < 3 ? ":10\n" : ":01\n";
    }
    return text;
}

TEST(BatchSignals, ReaderThatGoesAwayEndsOnlyTheEchoAndTheSummaryIsWritten) {
    // vormelc a b | head -1 killed the batch with SIGPIPE (141) and wrote no summary.
    TempDir dir;
    const std::string a = dir.write("a.tab", long_table());
    const std::string b = dir.write("b.tab", kSmall);
    const std::string summary = dir.path() + "/s.json";
    for (const std::string jobs : {"1", "2"}) {
        fs::remove(summary);
        const Outcome outcome = run_script(dir, "\"$V\" -l 2 --jobs " + jobs + " --summary " + shell_quoted(summary) + " " +
                                                    shell_quoted(a) + " " + shell_quoted(b) +
                                                    " | head -1 >/dev/null; exit ${PIPESTATUS[0]}");
        EXPECT_EQ(outcome.status, 0) << jobs << ": " << outcome.err;
        EXPECT_NE(read_file(summary).find("\"status\": \"saved\""), std::string::npos) << jobs;
        EXPECT_NE(read_file(a + ".rpt").find(" *** End of "), std::string::npos) << jobs;
    }
}

TEST(BatchSignals, FileSizeLimitGivesTheReasonAndLeavesNoTemporary) {
    // ulimit -f ended the batch by SIGXFSZ (153), without a word, with a .vormel-* temporary left.
    TempDir dir;
    const std::string folder = dir.path() + "/work";
    fs::create_directory(folder);
    std::ofstream(folder + "/big.tab") << long_table();
    std::ofstream(folder + "/small.tab") << kSmall;
    const Outcome outcome = run_script(dir, "cd " + shell_quoted(folder) +
                                                " && ulimit -f 8 && \"$V\" -q -l 2 --summary all.json big.tab small.tab");
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_NE(outcome.err.find("vormelc: big.tab: "), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("File too large"), std::string::npos) << outcome.err;
    const std::vector<std::string> left = names_in(folder);
    for (const std::string& name : left) EXPECT_EQ(name.find(".vormel-"), std::string::npos) << name;
    EXPECT_TRUE(fs::exists(folder + "/small.tab.rpt"));
    EXPECT_NE(read_file(folder + "/all.json").find("\"failure\": \"Save Error: "), std::string::npos)
        << read_file(folder + "/all.json");
}

TEST(BatchSignals, InterruptStopsTheRunsAndRemovesThePrivateScratchFolder) {
    // kill -INT of the batch ended it with 130 while its runs went on and left vormelc-batch-<pid>/.
    TempDir dir;
    const std::string tmp = dir.path() + "/tmp";
    fs::create_directory(tmp);
    std::string files;
    for (const char* name : {"s1.pla", "s2.pla", "s3.pla"}) {
        fs::copy_file(std::string(VORMEL_BENCH_DIR) + "/pla/ex1010.pla", dir.path() + "/" + name);
        files += " " + shell_quoted(dir.path() + "/" + name);
    }
    // While the runs work: note the children and the scratch folder's mode, then interrupt.
    const std::string script = "export TMPDIR=" + shell_quoted(tmp) + "; \"$V\" -q --jobs 2 --method exact " +
                               "--exact-limit 600" + files + " & batch=$!; " +
                               "for i in $(seq 100); do [ -n \"$(ls " + shell_quoted(tmp) +
                               ")\" ] && [ $(pgrep -c -P $batch) -ge 2 ] && break; sleep 0.1; done; "
                               "children=$(pgrep -P $batch); stat -c %a " + shell_quoted(tmp) + "/*; "
                               "kill -INT $batch; wait $batch; status=$?; sleep 0.5; "
                               "for c in $children; do kill -0 $c 2>/dev/null && echo alive $c; done; exit $status";
    const Outcome outcome = run_script(dir, script);
    EXPECT_EQ(outcome.status, 128 + SIGINT) << outcome.err;
    EXPECT_EQ(outcome.out, "700\n") << "the scratch folder is private; no child outlives the batch";
    EXPECT_TRUE(names_in(tmp).empty());
    for (const char* name : {"s1.pla", "s2.pla", "s3.pla"}) EXPECT_FALSE(fs::exists(dir.path() + "/" + name + ".rpt"));
}

}  // namespace
}  // namespace vormel::testing
