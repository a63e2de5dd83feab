// The exact method's solver from the console program: it never reads standard input (its
// command-line front end prompted "Coin:" and waited on an open pipe) and prints nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "vormelc_process.h"

namespace vormel::testing {
namespace {

TEST(ExactSolverCli, StandardInputIsNeverRead) {
    TempDir dir;
    std::filesystem::copy_file(std::string(VORMEL_BENCH_DIR) + "/pla/mlp4.pla", dir.path() + "/mlp4.pla");
    const std::string input = dir.path() + "/mlp4.pla";
    dir.write("stdin.txt", "quit\n");
    // The shell reads on from the same open file: what the run took is gone.
    const Outcome outcome = run_script(dir, "{ \"$V\" --method exact --exact-limit 60 -l 1 " + shell_quoted(input) +
                                                "; echo \"status $?\"; read -r rest; echo \"left: $rest\"; } < " +
                                                shell_quoted(dir.path() + "/stdin.txt"));
    EXPECT_NE(outcome.out.find("status 0"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.out.find("left: quit"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("Proven minimum: 121"), std::string::npos);
    EXPECT_EQ(outcome.out.find("Coin"), std::string::npos);
    EXPECT_EQ(outcome.err.find("Coin"), std::string::npos);
}

TEST(ExactSolverCli, CtrlCAtAnyMomentOfTheSolveEndsTheRun) {
    // Around 2 s into ex1010 the solver starts: its LP code pointed SIGINT at its own handler for a
    // moment, and a Ctrl+C then was lost (the run went on to its limit and exited 0).
    TempDir dir;
    const std::string input = dir.path() + "/ex1010.pla";
    std::filesystem::copy_file(std::string(VORMEL_BENCH_DIR) + "/pla/ex1010.pla", input);
    for (const char* moment : {"0.3", "1.2", "2.0", "2.3", "2.8"}) {
        const Outcome outcome = run_script(
            dir, "\"$V\" -q --method exact --exact-limit 60 " + shell_quoted(input) + " & p=$!; sleep " + moment +
                     "; start=$(date +%s%N); kill -INT $p; wait $p; status=$?; echo \"status $status ms $(( ($(date +%s%N) - start) / 1000000 ))\"");
        int status = -1, ms = -1;
        ASSERT_EQ(std::sscanf(outcome.out.c_str(), "status %d ms %d", &status, &ms), 2) << outcome.out;
        EXPECT_EQ(status, 130) << "at " << moment << " s: " << outcome.err;
        EXPECT_LT(ms, 2000) << "at " << moment << " s";  // generous: a lost break ran on for a minute
    }
}

}  // namespace
}  // namespace vormel::testing
